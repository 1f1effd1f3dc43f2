#include "ui/Application.h"

#include "ui/Accelerators.h"
#include "ui/Main.h"
#include "ui/Unit2.h"

#include <commctrl.h>

#include <cctype>

std::string ApplicationTitleOf(std::string_view exeFileName) {
    const auto slash = exeFileName.find_last_of("\\/");
    if (slash != std::string_view::npos)
        exeFileName.remove_prefix(slash + 1);
    std::string title(exeFileName.substr(0, exeFileName.find('.')));
    for (std::size_t i = 1; i < title.size(); ++i)
        title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
    return title;
}

const std::string& ApplicationTitle() {
    static const std::string title = [] {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        return ApplicationTitleOf(path);
    }();
    return title;
}

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

void ShowError(const std::exception& error, HWND owner) {
    if (!owner && MainForm)
        owner = MainForm->Handle;
    MessageBoxA(owner, ErrorBoxText(error.what()).c_str(), ApplicationTitle().c_str(),
                MB_OK | MB_ICONERROR);
}

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
