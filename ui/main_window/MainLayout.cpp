// The main window's layout at the DPI of its screen, and again when it moves to a monitor of
// another DPI.
#include "ui/main_window/MainWindow.h"

#include "ui/controls/SpeedButton.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Layout.h"
#include "ui/win32/Pictures.h"

#include <commctrl.h>

#include <iterator>
#include <utility>

void TMainForm::UseFontsAt(int dpi) {
    Font = UiFont(8, false, dpi);
    ClockFont = UiFont(10, true, dpi);
    BoldFont = UiFont(8, true, dpi);
}

// The window is created at its 96-dpi position and client size; both are scaled here, before
// any control is made.
void TMainForm::PlaceAtDpi(int dpi) {
    SetLayoutDpi(Handle, dpi);
    UseFontsAt(dpi);
    if (dpi == DesignDpi)
        return;
    RECT window, client;
    GetWindowRect(Handle, &window);
    GetClientRect(Handle, &client);
    const SIZE frame = FrameSizeFor(ScaledTo(client.right, dpi), ScaledTo(client.bottom, dpi),
                                    GetWindowLongA(Handle, GWL_STYLE),
                                    GetWindowLongA(Handle, GWL_EXSTYLE), true, dpi);
    SetWindowPos(Handle, nullptr, ScaledTo(window.left, dpi), ScaledTo(window.top, dpi), frame.cx,
                 frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::MoveToDpi(int dpi, const RECT& suggested) {
    UseFontsAt(dpi);
    RelayoutAtDpi(Handle, dpi, suggested);
    SendMessageA(StatusBar, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
    PlaceStatusParts();
    DrawToolPictures();
    DeleteObject(Logo);
    Logo = DrawLogo(dpi);
    InvalidateRect(Image1, nullptr, TRUE);
    SizeVehicleTypeBox();
    AlignCaptions();
    PlaceBars();
}

// The tool bar across the top and the status bar along the bottom, as wide as the window.
void TMainForm::PlaceBars() {
    RECT client;
    GetClientRect(Handle, &client);
    SetWindowPos(SpeedBar, nullptr, 0, 0, client.right, Scaled(Handle, 33),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const int statusHeight = Scaled(Handle, 19);
    SetWindowPos(StatusBar, nullptr, 0, client.bottom - statusHeight, client.right, statusHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The closed box is as high as the edit fields; its list hangs below it. The box takes its
// height from its font, which does not grow in step with the layout, and the height it gives
// itself for a field height that is set differs between systems: it is measured after setting.
void TMainForm::SizeVehicleTypeBox() {
    auto field = static_cast<int>(SendMessageA(rodzaj_pojazdu, CB_GETITEMHEIGHT, -1, 0));
    for (int step = 0; step < 2; ++step) {
        RECT box;
        GetWindowRect(rodzaj_pojazdu, &box);
        const int missing = Scaled(Handle, 21) - (box.bottom - box.top);
        if (!missing)
            return;
        field += missing;
        SendMessageA(rodzaj_pojazdu, CB_SETITEMHEIGHT, -1, field);
    }
}

// Each caption level with its field's text, as the design has them.
void TMainForm::AlignCaptions() {
    const std::pair<HWND, HWND> captioned[] = {
        {Label3, Edit1},
        {StaticText2, Edit2},
        {StaticText3, Edit3},
        {StaticText4, Edit6},
        {StaticText5, rodzaj_pojazdu},
        {StaticText6, Edit7},
        {StaticText7, Edit8},
        {StaticText8, Edit9},
        {StaticText9, Edit10},
        {StaticText10, Edit11},
        {Label4, txtTmp},
    };
    for (const auto& [caption, field] : captioned)
        AlignCaptionWithField(caption, field);
}

// The panels' right edges at the window's DPI. The last panel runs to the window's right edge, so
// long hints are not cut.
void TMainForm::PlaceStatusParts() {
    const int designEdges[] = {100, 250, 400};
    int edges[std::size(designEdges) + 1];
    for (std::size_t i = 0; i < std::size(designEdges); ++i)
        edges[i] = Scaled(Handle, designEdges[i]);
    edges[std::size(designEdges)] = -1;
    SendMessageA(StatusBar, SB_SETPARTS, std::size(edges), reinterpret_cast<LPARAM>(edges));
}

void TMainForm::DrawToolPictures() {
    const struct {
        HWND Button;
        ToolPicture Picture;
    } buttons[] = {
        {SpeedButton1, ToolPicture::Open},       {SpeedButton2, ToolPicture::Save},
        {SpeedButton3, ToolPicture::Print},      {SpeedButton7, ToolPicture::PrintPreview},
        {SpeedButton4, ToolPicture::PrintSetup}, {SpeedButton6, ToolPicture::Information},
        {SpeedButton5, ToolPicture::Exit},
    };
    int next = 0;
    for (const auto& b : buttons) {
        const PicturePair pair = DrawToolPicture(b.Picture, LayoutDpi(Handle));
        SetSpeedButtonPictures(b.Button, pair.Normal, pair.Disabled);
        DeleteObject(Pictures[next]);
        DeleteObject(Pictures[next + 1]);
        Pictures[next++] = pair.Normal;
        Pictures[next++] = pair.Disabled;
    }
}
