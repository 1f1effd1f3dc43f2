#include "WindowDriver.h"

#include "ui/Application.h"
#include "ui/Controls.h"

void Click(HWND control) {
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ProcessMessages();
}

bool Identify(TMainForm& form, TForm2& dialog, const char* port) {
    if (WindowText(form.sbStart) != "Connect")
        Click(form.sbStart);
    Click(form.sbStart);
    for (int i = 0; i < dialog.COMM_select.Count(); ++i) {
        if (WindowText(dialog.COMM_select.Entry(i)) == port)
            Click(dialog.COMM_select.Entry(i));
    }
    Click(dialog.btTestComm);
    return PumpUntil([&] { return IsWindowEnabled(dialog.btOK) != FALSE; }, StepLimitMs);
}
