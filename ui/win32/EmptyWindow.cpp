#include "ui/win32/EmptyWindow.h"

#include "ui/win32/WindowClass.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() {
    RegisterWindowClass({.Name = "TForm1", .Background = ButtonFaceBackground()});
    Handle = CreateWindowExA(0, "TForm1", "Form1", WS_OVERLAPPEDWINDOW, 418, 312, 418, 284, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    Form1 = this;
}

TForm1::~TForm1() {
    DestroyWindow(Handle);
    Form1 = nullptr;
}
