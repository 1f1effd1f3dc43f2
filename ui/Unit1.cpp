#include "ui/Unit1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() {
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), "TForm1", &windowClass)) {
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = "TForm1";
        RegisterClassA(&windowClass);
    }
    Handle = CreateWindowExA(0, "TForm1", "Form1", WS_OVERLAPPEDWINDOW, 418, 312, 418, 284, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    Form1 = this;
}

TForm1::~TForm1() {
    DestroyWindow(Handle);
    Form1 = nullptr;
}
