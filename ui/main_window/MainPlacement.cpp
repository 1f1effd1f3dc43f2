// Where the window opens: at the place its design gives it, unless a window of another copy of the
// program is there already (a second file opened from Explorer starts a second copy); it then
// opens a title bar's height down and to the right, as cascaded windows do, so that neither
// hides the other, and starts again at the work area's corner where it would leave the work area.
#include "ui/main_window/MainWindow.h"

namespace {

// A visible window of the class, other than the one placed, whose top left corner is there.
bool WindowOfClassAt(const char* className, HWND placed, POINT at) {
    for (HWND other = FindWindowExA(nullptr, nullptr, className, nullptr); other;
         other = FindWindowExA(nullptr, other, className, nullptr)) {
        RECT r;
        if (other != placed && IsWindowVisible(other) && !IsIconic(other) &&
            GetWindowRect(other, &r) && r.left == at.x && r.top == at.y)
            return true;
    }
    return false;
}

} // namespace

void TMainForm::StepAsideFromOtherCopies() {
    char className[64] = "";
    GetClassNameA(Handle, className, sizeof className);
    RECT window;
    GetWindowRect(Handle, &window);
    POINT at{window.left, window.top};
    const SIZE size{window.right - window.left, window.bottom - window.top};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(Handle, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME) +
                     GetSystemMetrics(SM_CXPADDEDBORDER);
    // As many tries as there are places down the work area: where every one is taken, the last
    // is as good as any.
    const int tries = 1 + (work.bottom - work.top) / step;
    for (int tried = 0; tried < tries && WindowOfClassAt(className, Handle, at); ++tried) {
        at.x += step;
        at.y += step;
        if (at.x + size.cx > work.right || at.y + size.cy > work.bottom)
            at = {work.left, work.top};
    }
    if (at.x != window.left || at.y != window.top)
        SetWindowPos(Handle, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
