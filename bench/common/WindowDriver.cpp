#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"
#include "ui/main_window/Application.h"

#include <cstring>

void Click(HWND control) {
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ProcessMessages();
}

bool Identify(MainWindowParts& form, TForm2& dialog, const char* port) {
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

namespace {
BoxAnswers* Answers = nullptr;
const UINT BoxUp = RegisterWindowMessageA("wmx bench box up");
constexpr const char* SaveQuestion = "Save changes to the measurements?";
constexpr const char* Answered = "wmx bench answered";
} // namespace

void KeepAppDataInWorkingFolder() {
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    SetEnvironmentVariableW(L"LOCALAPPDATA", folder);
}

BoxAnswers::BoxAnswers(StepWatch& watch) : Watch(watch) {
    Answers = this;
    Relay =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(Relay, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RelayProc));
    HookHandle = SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
}

BoxAnswers::~BoxAnswers() {
    UnhookWindowsHookEx(HookHandle);
    DestroyWindow(Relay);
    Answers = nullptr;
}

// The box is seen while it is being activated; it is answered once its own loop takes the relayed
// message, when it is complete.
LRESULT CALLBACK BoxAnswers::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        char className[32] = "";
        GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof className);
        if (std::strcmp(className, "#32770") == 0)
            PostMessageA(Answers->Relay, BoxUp, wParam, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK BoxAnswers::RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != BoxUp)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    HWND box = reinterpret_cast<HWND>(wParam);
    // A box is activated again while its answer waits, or after it has gone.
    if (!IsWindow(box) || GetPropA(box, Answered))
        return 0;
    SetPropA(box, Answered, box);
    const std::string text = WindowText(GetDlgItem(box, 0xFFFF));
    if (text != SaveQuestion)
        Answers->Watch.Fail("a box nobody expected: \"" + WindowText(box) + ": " + text + "\"");
    ++Answers->SaveQuestions;
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    return 0;
}
