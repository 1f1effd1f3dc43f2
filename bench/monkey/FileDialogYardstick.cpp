// A yardstick for the monkey's answer check: how long a bare window program's thread is away in
// the system's Open dialog before the dialog's own loop runs, for its first three dialogs. The
// first use loads the common dialogs and the shell, the same for any program.
#include <windows.h>

#include <commdlg.h>

#include <cstdio>

namespace {

LARGE_INTEGER Called;
double UpMs = 0;

double MsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
}

// The dialog is up and about to run its loop: that is the stall's end; it is then cancelled.
UINT_PTR CALLBACK Hook(HWND dialog, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        UpMs = MsSince(Called);
        PostMessageA(GetParent(dialog), WM_COMMAND, IDCANCEL, 0);
    }
    return 0;
}

} // namespace

int main() {
    HWND owner = CreateWindowA("STATIC", "yardstick", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
    std::printf("a bare window program's Open dialog here, until its loop runs:");
    for (int i = 1; i <= 3; ++i) {
        char name[MAX_PATH] = "";
        OPENFILENAMEA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = "wmx\0*.wmx\0";
        dialog.lpstrFile = name;
        dialog.nMaxFile = MAX_PATH;
        dialog.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
        dialog.lpfnHook = Hook;
        QueryPerformanceCounter(&Called);
        GetOpenFileNameA(&dialog);
        std::printf(" %s %.0f ms", i == 1 ? "first" : "then", UpMs);
    }
    std::printf("\n");
    DestroyWindow(owner);
    return 0;
}
