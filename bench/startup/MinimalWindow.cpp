// The yardstick: the smallest window program, one empty top-level window and a message loop.
// Built with WMX_SAME_DLLS it is the baseline of what the system costs wmx.exe before the program
// does anything: it also imports the same system libraries and initialises the common controls
// as wmx.exe does (built with and without wmx.exe's manifest).
#include <windows.h>

#ifdef WMX_SAME_DLLS
#include <commctrl.h>
#include <commdlg.h>
#endif

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#ifdef WMX_SAME_DLLS
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // One cheap call into each of the other libraries, so that each is loaded at start.
    CommDlgExtendedError();
    RegCloseKey(nullptr);
    GetStockObject(DEFAULT_GUI_FONT);
#endif
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
