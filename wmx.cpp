// The program's entry: creates the main window and the hidden Form1, in this order (the port
// dialog comes with the first Connect), and runs the message loop until the main window closes.
// "wmx.exe PATH" opens PATH at start.
#include "ui/main_window/Application.h"
#include "ui/main_window/MainWindow.h"
#include "ui/main_window/ProgramFiles.h"
#include "ui/win32/EmptyWindow.h"
#include "ui/win32/ErrorDisplay.h"

#include <windows.h>

#include <string>

namespace {

// Marks the end of a start-up phase for a debugger (the start-up benchmark reads them from Wine's
// trace of debug strings).
void StartUpPhaseDone(const char* phase) {
    OutputDebugStringA((std::string("wmx start-up: ") + phase).c_str());
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    StartUpPhaseDone("system");
    try {
        TMainForm mainForm;
        StartUpPhaseDone("main window");
        TForm1 form1;
        StartUpPhaseDone("Form1");
        mainForm.SetStartDocument(StartDocument());
        mainForm.Show();
        StartUpPhaseDone("shown, config.wmx loaded");
        return RunMessageLoop();
    } catch (const std::exception& error) {
        ShowError(error, nullptr);
        return 1;
    }
}
