#include "ui/Unit2.h"

TForm2* Form2 = nullptr;

TForm2::TForm2() {
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), "TForm2", &windowClass)) {
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = "TForm2";
        RegisterClassA(&windowClass);
    }
    Handle =
        CreateWindowExA(WS_EX_CONTROLPARENT, "TForm2", "communication", WS_CAPTION | WS_SYSMENU,
                        590, 198, 238, 330, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Form2 = this;
}

TForm2::~TForm2() {
    DestroyWindow(Handle);
    Form2 = nullptr;
}
