// The yardstick: the smallest window program, one empty top-level window and a message loop.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "Minimal";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("Minimal", "Minimal", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 44, 733,
                                396, nullptr, nullptr, instance, nullptr);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
