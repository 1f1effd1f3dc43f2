// The baseline of what Windows and Wine cost before the program does anything: one empty
// window like the minimal one, in a program that imports the same system libraries as wmx.exe
// and initialises the common controls as it does. Built with and without wmx.exe's manifest.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // One cheap call into each of the other libraries, so that each is loaded at start.
    CommDlgExtendedError();
    RegCloseKey(nullptr);
    GetStockObject(DEFAULT_GUI_FONT);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "SameDll";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("SameDll", "SameDll", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 30, 44, 733,
                                396, nullptr, nullptr, instance, nullptr);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
