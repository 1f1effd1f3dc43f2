// The program's entry: creates the main window, the hidden Form1 and Form2, in this order, and
// runs the message loop until the main window closes. "wmx.exe PATH" opens PATH at start.
#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/ProgramFiles.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        TMainForm mainForm;
        TForm1 form1;
        TForm2 form2;
        mainForm.StartFile = StartDocument();
        mainForm.Show();
        return RunMessageLoop();
    } catch (const std::exception& error) {
        ShowError(error);
        return 1;
    }
}
