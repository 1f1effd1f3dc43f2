#pragma once
// The port selection dialog: created hidden at start, shown by Connect.

#include <windows.h>

class TForm2 {
  public:
    TForm2();
    ~TForm2();
    TForm2(const TForm2&) = delete;
    TForm2& operator=(const TForm2&) = delete;
    HWND Handle = nullptr;
};

extern TForm2* Form2;
