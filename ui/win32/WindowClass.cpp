#include "ui/win32/WindowClass.h"

void RegisterWindowClass(const WindowClass& windowClass) {
    WNDCLASSA registered{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), windowClass.Name, &registered))
        return;
    registered.style = windowClass.Style;
    registered.lpfnWndProc = windowClass.Procedure;
    registered.hInstance = GetModuleHandleA(nullptr);
    registered.hIcon = windowClass.Icon;
    registered.hCursor = LoadCursor(nullptr, IDC_ARROW);
    registered.hbrBackground = windowClass.Background;
    registered.lpszClassName = windowClass.Name;
    RegisterClassA(&registered);
}
