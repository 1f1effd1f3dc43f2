#pragma once
// An empty window that exists for the whole run and is never shown.

#include <windows.h>

class TForm1 {
  public:
    TForm1();
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;
    HWND Handle = nullptr;
};

extern TForm1* Form1;
