#include "ui/controls/SpeedButton.h"

#include "ui/controls/StandardControls.h"
#include "ui/win32/WindowClass.h"

namespace {

struct ButtonState {
    HBITMAP Normal = nullptr;
    HBITMAP Disabled = nullptr;
    HFONT Font = nullptr;
    bool Pressed = false;
    // Held down as the choice in force.
    bool Down = false;
};

ButtonState* StateOf(HWND hwnd) {
    return reinterpret_cast<ButtonState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// A button held down has the face of a checked tool button: a mesh of the face and highlight
// colours.
void FillHeldDown(HDC dc, const RECT& r) {
    static const WORD mesh[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, mesh);
    HBRUSH brush = CreatePatternBrush(pattern);
    const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
    const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    FillRect(dc, &r, brush);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    DeleteObject(brush);
    DeleteObject(pattern);
}

void PaintButton(HWND hwnd, ButtonState& state) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    RECT r;
    GetClientRect(hwnd, &r);
    if (state.Down && !state.Pressed)
        FillHeldDown(dc, r);
    else
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    const bool sunken = state.Pressed || state.Down;
    DrawEdge(dc, &r, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    const bool enabled = IsWindowEnabled(hwnd);
    const int shift = sunken ? 1 : 0;
    if (HBITMAP picture = enabled ? state.Normal : state.Disabled) {
        BITMAP info;
        GetObjectA(picture, sizeof info, &info);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, picture);
        BitBlt(dc, (r.right - info.bmWidth) / 2 + shift, (r.bottom - info.bmHeight) / 2 + shift,
               info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    } else {
        char caption[64];
        GetWindowTextA(hwnd, caption, sizeof caption);
        HGDIOBJ oldFont =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        OffsetRect(&r, shift, shift);
        DrawTextA(dc, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, oldFont);
    }
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK SpeedButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ButtonState* state = StateOf(hwnd);
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new ButtonState));
        break;
    case WM_NCDESTROY:
        delete state;
        break;
    case WM_SETFONT:
        state->Font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->Font);
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(hwnd);
        state->Pressed = true;
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONUP: {
        if (!state->Pressed)
            return 0;
        state->Pressed = false;
        ReleaseCapture();
        InvalidateRect(hwnd, nullptr, TRUE);
        RECT r;
        GetClientRect(hwnd, &r);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&r, at))
            SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                         reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (state->Pressed) {
            state->Pressed = false;
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_PAINT:
        PaintButton(hwnd, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT answer; ForwardedToParent(hwnd, msg, wParam, lParam, answer))
        return answer;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        RECT r;
        GetClientRect(hwnd, &r);
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
        EndPaint(hwnd, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

void RegisterToolBarClasses() {
    RegisterWindowClass(
        {.Name = PanelClass, .Procedure = PanelProc, .Background = ButtonFaceBackground()});
    RegisterWindowClass({.Name = SpeedButtonClass,
                         .Procedure = SpeedButtonProc,
                         .Style = CS_DBLCLKS,
                         .Background = ButtonFaceBackground()});
}

void SetSpeedButtonPictures(HWND button, HBITMAP normal, HBITMAP disabled) {
    ButtonState* state = StateOf(button);
    state->Normal = normal;
    state->Disabled = disabled;
    InvalidateRect(button, nullptr, TRUE);
}

void SetSpeedButtonDown(HWND button, bool down) {
    ButtonState* state = StateOf(button);
    if (state->Down == down)
        return;
    state->Down = down;
    InvalidateRect(button, nullptr, TRUE);
}
