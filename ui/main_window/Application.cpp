#include "ui/main_window/Application.h"

#include "ui/main_window/Accelerators.h"
#include "ui/main_window/MainWindow.h"
#include "ui/port_dialog/PortDialog.h"

#include <commctrl.h>

void ProcessMessage(MSG& msg) {
    if (MainForm) {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE)
            MainForm->UpdateHintFromPointer();
        // A click ends the tooltip of the control clicked.
        if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN)
            SendMessageA(MainForm->Tooltips, TTM_POP, 0, 0);
        // The shortcut keys come before the dialog keys, for the main window, the port dialog and
        // their controls; they act in the main window.
        const auto within = [&msg](HWND window) {
            return window && (msg.hwnd == window || IsChild(window, msg.hwnd));
        };
        if ((within(MainForm->Handle) || (Form2 && within(Form2->Handle))) &&
            TranslateAcceleratorA(MainForm->Handle, MainAccelerators(), &msg))
            return;
        if (IsDialogMessageA(MainForm->Handle, &msg))
            return;
    }
    // The port dialog moves its focus with Tab as well.
    if (Form2 && IsDialogMessageA(Form2->Handle, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT)
            ProcessMessage(msg);
    }
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        ProcessMessage(msg);
    return static_cast<int>(msg.wParam);
}
