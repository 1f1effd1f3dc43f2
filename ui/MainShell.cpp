// The window's shell: clock, hints, information boxes and exit.
#include "ui/Main.h"

#include "ui/Controls.h"

namespace {
constexpr const char* WebAddress = "http://www.wmx-tint.example/";
constexpr const char* CompanyLine = "WMX window tint measurement software, inspection station kit";
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

void TMainForm::Timer1Timer() {
    char date[80] = "";
    char time[80] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time);
    SetWindowTextA(Label1, date);
    SetWindowTextA(Label2, time);
    ResizeToText(Label1);
    ResizeToText(Label2);
}

void TMainForm::ShowHint(const std::string& hint) {
    SetStatusText(3, hint);
}

void TMainForm::HelpAbout() {
    MessageBoxA(Handle, WebAddress, "Kavra Tintra", MB_OK);
}

void TMainForm::Image1Click() {
    MessageBoxA(Handle, CompanyLine, "Kavra Tintra", MB_OK);
}

void TMainForm::FileExit() {
    DestroyWindow(Handle);
}
