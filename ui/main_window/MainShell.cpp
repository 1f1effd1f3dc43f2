// The window's shell: clock, hints, information boxes and exit.
#include "ui/main_window/MainWindow.h"

#include "ui/controls/StandardControls.h"
#include "ui/win32/ModalScope.h"

#include <commctrl.h>

#include <cstring>

namespace {
constexpr const char* WebAddress = "http://www.wmx-tint.example/";
constexpr const char* CompanyLine = "WMX window tint measurement software, inspection station kit";

// The program's version as its version resource gives it ("1.0.0"), read from the resource's
// fixed part, which begins with a signature of its own; empty where there is none.
std::string ProgramVersion() {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    const auto* bytes =
        found ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))) : nullptr;
    if (!bytes)
        return {};
    const DWORD size = SizeofResource(nullptr, found);
    for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += sizeof(DWORD)) {
        VS_FIXEDFILEINFO fixed;
        std::memcpy(&fixed, bytes + at, sizeof fixed);
        if (fixed.dwSignature == VS_FFI_SIGNATURE)
            return std::to_string(HIWORD(fixed.dwFileVersionMS)) + "." +
                   std::to_string(LOWORD(fixed.dwFileVersionMS)) + "." +
                   std::to_string(HIWORD(fixed.dwFileVersionLS));
    }
    return {};
}
} // namespace

void TMainForm::ResizeToText(HWND label) {
    const std::string text = WindowText(label);
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, ClockFont);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
}

std::string ShortDateText(const SYSTEMTIME* at) {
    char date[80] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, at, nullptr, date, sizeof date);
    return date;
}

std::string LongTimeText(const SYSTEMTIME* at) {
    char time[80] = "";
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, at, nullptr, time, sizeof time);
    return time;
}

void TMainForm::Timer1Timer() {
    SetWindowTextTo(Label1, ShortDateText());
    SetWindowTextTo(Label2, LongTimeText());
    ResizeToText(Label1);
    ResizeToText(Label2);
}

void TMainForm::ShowHint(const std::wstring& hint) {
    SendMessageW(StatusBar, SB_SETTEXTW, 3, reinterpret_cast<LPARAM>(hint.c_str()));
}

void TMainForm::HelpAbout() {
    const std::string version = ProgramVersion();
    const std::string text =
        version.empty() ? WebAddress : std::string(WebAddress) + "\n\nVersion " + version;
    const TModalScope modal(Handle);
    MessageBoxA(Handle, text.c_str(), "Kavra Tintra", MB_OK);
}

void TMainForm::Image1Click() {
    const TModalScope modal(Handle);
    MessageBoxA(Handle, CompanyLine, "Kavra Tintra", MB_OK);
}

// As the close box: FormClose closes the port before the window goes.
void TMainForm::FileExit() {
    SendMessageA(Handle, WM_CLOSE, 0, 0);
}
