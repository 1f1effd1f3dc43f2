#include "ui/win32/Layout.h"

#include "ui/win32/Dpi.h"

#include <vector>

namespace {

// Window properties: the top-level window's DPI, and a control's design position and size.
const char* const DpiProperty = "wmx.dpi";
const char* const PositionProperty = "wmx.at";
const char* const SizeProperty = "wmx.size";
const char* const PlacedProperty = "wmx.placed";

HANDLE Pack(int low, int high) {
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(MAKELONG(low, high)));
}
int Low(HANDLE packed) {
    return LOWORD(reinterpret_cast<UINT_PTR>(packed));
}
int High(HANDLE packed) {
    return HIWORD(reinterpret_cast<UINT_PTR>(packed));
}

RECT RectInParent(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A control of no design size is left where it is, for its container to place again.
BOOL CALLBACK RelayoutControl(HWND control, LPARAM newDpi) {
    if (!GetPropA(control, PlacedProperty))
        return TRUE;
    const int dpi = static_cast<int>(newDpi);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    const HFONT scaledFont = UiFontAtDpi(font, dpi);
    if (scaledFont != font)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(scaledFont), TRUE);
    const HANDLE position = GetPropA(control, PositionProperty);
    if (const HANDLE size = GetPropA(control, SizeProperty)) {
        SetWindowPos(control, nullptr, ScaledTo(Low(position), dpi), ScaledTo(High(position), dpi),
                     ScaledTo(Low(size), dpi), ScaledTo(High(size), dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        FitCaption(control);
    }
    return TRUE;
}

// Where a field's text starts, in its parent: the top of its edit's formatting rectangle (of the
// edit inside a drop-down combo box).
int TextTop(HWND field) {
    HWND edit = field;
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    if (GetComboBoxInfo(field, &combo) && combo.hwndItem)
        edit = combo.hwndItem;
    RECT text{};
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    POINT top{text.left, text.top};
    MapWindowPoints(edit, GetParent(field), &top, 1);
    return top.y;
}

struct SharedFont {
    int Points;
    bool Bold;
    int Dpi;
    HFONT Font;
};

std::vector<SharedFont>& SharedFonts() {
    static std::vector<SharedFont> fonts;
    return fonts;
}

} // namespace

int LayoutDpi(HWND window) {
    HWND topLevel = GetAncestor(window, GA_ROOT);
    if (const HANDLE dpi = GetPropA(topLevel, DpiProperty))
        return static_cast<int>(reinterpret_cast<INT_PTR>(dpi));
    return ScreenDpi(topLevel);
}

void SetLayoutDpi(HWND topLevel, int dpi) {
    SetPropA(topLevel, DpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
}

int Scaled(HWND window, int value) {
    return ScaledTo(value, LayoutDpi(window));
}

void RememberDesign(HWND control, int left, int top, int width, int height) {
    SetPropA(control, PlacedProperty, reinterpret_cast<HANDLE>(1));
    SetPropA(control, PositionProperty, Pack(left, top));
    SetPropA(control, SizeProperty, Pack(width, height));
}

void FitCaption(HWND control) {
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    const DWORD style = GetWindowLongA(control, GWL_STYLE);
    const DWORD type = style & SS_TYPEMASK;
    if (LayoutDpi(control) == DesignDpi || lstrcmpiA(className, "Static") != 0 || type > SS_RIGHT)
        return;
    char text[256] = "";
    const int length = GetWindowTextA(control, text, sizeof text);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    // Measured as the caption draws itself: an access key's "&" takes no room.
    RECT extent{};
    DrawTextA(dc, text, length, &extent,
              DT_CALCRECT | DT_SINGLELINE | (style & SS_NOPREFIX ? DT_NOPREFIX : 0));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    const RECT r = RectInParent(control);
    const int missing = extent.right - (r.right - r.left);
    if (missing <= 0)
        return;
    const int left = type == SS_RIGHT    ? r.left - missing
                     : type == SS_CENTER ? r.left - missing / 2
                                         : r.left;
    SetWindowPos(control, nullptr, left, r.top, extent.right, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void AlignCaptionWithField(HWND caption, HWND field) {
    const int textTop = TextTop(field);
    const int designTextTop = High(GetPropA(field, PositionProperty)) + textTop -
                              static_cast<int>(RectInParent(field).top);
    const int designGap = High(GetPropA(caption, PositionProperty)) - designTextTop;
    const RECT r = RectInParent(caption);
    SetWindowPos(caption, nullptr, r.left, textTop + Scaled(caption, designGap), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RelayoutAtDpi(HWND topLevel, int dpi, const RECT& suggested) {
    SetLayoutDpi(topLevel, dpi);
    EnumChildWindows(topLevel, &RelayoutControl, dpi);
    SetWindowPos(topLevel, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Controls that only shrank are not repainted by themselves.
    RedrawWindow(topLevel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HFONT UiFont(int points, bool bold, int dpi) {
    for (const SharedFont& f : SharedFonts()) {
        if (f.Points == points && f.Bold == bold && f.Dpi == dpi)
            return f.Font;
    }
    // The raster face has three sizes, drawn for 96 dpi; at other DPIs its TrueType twin gives
    // every size in proportion to the layout.
    const bool design = dpi == DesignDpi;
    const HFONT font =
        CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                    FALSE, DEFAULT_CHARSET, design ? OUT_DEFAULT_PRECIS : OUT_TT_ONLY_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                    design ? "MS Sans Serif" : "Microsoft Sans Serif");
    SharedFonts().push_back({points, bold, dpi, font});
    return font;
}

HFONT UiFontAtDpi(HFONT font, int dpi) {
    for (const SharedFont& f : SharedFonts()) {
        if (f.Font == font)
            return UiFont(f.Points, f.Bold, dpi);
    }
    return font;
}
