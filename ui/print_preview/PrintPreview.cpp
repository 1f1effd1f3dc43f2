#include "ui/print_preview/PrintPreview.h"

#include "report/ReportPrinter.h"
#include "ui/controls/SpeedButton.h"
#include "ui/controls/StandardControls.h"
#include "ui/win32/AnsiPath.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/EventBinding.h"
#include "ui/win32/Layout.h"
#include "ui/win32/ModalScope.h"
#include "ui/win32/Pictures.h"
#include "ui/win32/WindowClass.h"
#include "ui/win32/WindowObject.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

constexpr const char* PrintPreviewClass = "TPrintPreview";
constexpr DWORD PreviewStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// Grey around the page, at 96 dpi.
constexpr int DesignMargin = 16;
// The tool bar across the top, at 96 dpi: as high as the main window's.
constexpr int DesignToolBarHeight = 33;
enum ToolButtonId : int { idPrint = 1, idWholePage, idActualSize, idClose };
// One step of the arrow keys and of a wheel notch's line, at 96 dpi.
constexpr int DesignLine = 20;
constexpr int WheelLines = 3;

bool ControlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

// "Print Preview - KR 1G5T2, record 4": the registration number as typed, without the blanks
// around it, and "Print Preview - record 4" where the field is blank.
std::wstring PreviewTitle(const std::string& registration, int record) {
    std::wstring title = L"Print Preview - ";
    const auto first = registration.find_first_not_of(" \t");
    if (first != std::string::npos) {
        const auto length = registration.find_last_not_of(" \t") - first + 1;
        title += WideText(registration.substr(first, length)) + L", ";
    }
    return title + L"record " + std::to_wstring(record);
}

} // namespace

TPrintPreview::TPrintPreview(HWND owner) {
    // The surround and the page are painted together, so nothing flickers in between: no
    // background brush.
    RegisterWindowClass({.Name = PrintPreviewClass,
                         .Style = CS_HREDRAW | CS_VREDRAW,
                         .Icon = ProgramIcon(SM_CXICON)});
    // Owned, not a child: it stays in front of the main window, goes with it and has no taskbar
    // button of its own, while the main window goes on working beside it.
    Handle = CreateWindowExA(0, PrintPreviewClass, "Print Preview", PreviewStyle, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (!Handle)
        throw std::runtime_error("The print preview cannot be created");
    Dpi = ScreenDpi(Handle);
    SetLayoutDpi(Handle, Dpi);
    CreateToolBar();
    RouteMessagesTo(Handle, *this);
}

TPrintPreview::~TPrintPreview() {
    if (Handle) {
        SetWindowLongPtrA(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
        DestroyWindow(Handle);
    }
}

// Buttons that take no focus, so that the keys keep acting in the preview; each one's tooltip
// names its key.
void TPrintPreview::CreateToolBar() {
    RegisterToolBarClasses();
    ToolBar = CreateChild(PanelClass, "", 0, 0, 0, 0, 0, Handle, 0, nullptr);
    Tooltips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    const struct {
        HWND* Button;
        int Id;
        const char* Caption;
        int Left;
        const wchar_t* Tip;
    } buttons[] = {
        {&PrintButton, idPrint, "Print", 8, L"Print the page shown (Ctrl+P)"},
        {&WholePageButton, idWholePage, "Whole page", 91, L"Show the whole page (-)"},
        {&ActualSizeButton, idActualSize, "Actual size", 166,
         L"Show the page at actual size, one pixel of the form to one of the screen (+)"},
        {&CloseButton, idClose, "Close", 249, L"Close the preview (Esc)"},
    };
    const HFONT font = UiFont(8, false, Dpi);
    for (const auto& b : buttons) {
        *b.Button =
            CreateChild(SpeedButtonClass, b.Caption, 0, b.Left, 4, 75, 25, ToolBar, b.Id, font);
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = ToolBar;
        tool.uId = reinterpret_cast<UINT_PTR>(*b.Button);
        tool.lpszText = const_cast<wchar_t*>(b.Tip);
        SendMessageW(Tooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// Across the top, as wide as the window; its edge moves with the width, so all of it is drawn
// again.
void TPrintPreview::PlaceToolBar() {
    RECT client;
    GetClientRect(Handle, &client);
    SetWindowPos(ToolBar, nullptr, 0, 0, client.right, ToolBarHeight(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(ToolBar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int TPrintPreview::ToolBarHeight() const {
    return ScaledTo(DesignToolBarHeight, Dpi);
}

void TPrintPreview::ToolButtonClicked(int id) {
    switch (id) {
    case idPrint:
        RunHandler(*this, &TPrintPreview::PrintPage);
        break;
    case idWholePage:
        Zoom(false, PageAreaCentre());
        break;
    case idActualSize:
        Zoom(true, PageAreaCentre());
        break;
    case idClose:
        // Once the button's click is over: the button goes with the window.
        PostMessageA(Handle, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

// The button of the size shown is held down.
void TPrintPreview::ShowSizeChosen() {
    SetSpeedButtonDown(WholePageButton, !ActualSize);
    SetSpeedButtonDown(ActualSizeButton, ActualSize);
}

void TPrintPreview::Show(ReportPage page, int record) {
    SetWindowTextW(Handle, PreviewTitle(page.RegistrationNo, record).c_str());
    Page.emplace(std::move(page));
    ActualSize = false;
    ShowSizeChosen();
    Origin = {};
    if (!IsWindowVisible(Handle)) {
        PlaceAtDefaultSize();
        ShowWindow(Handle, SW_SHOW);
    }
    UpdateScrollBars();
    InvalidateRect(Handle, nullptr, FALSE);
    SetForegroundWindow(Handle);
}

// Each opening starts from the same size: most of the work area's height, as wide as the page
// needs there, centred on the owner's monitor.
void TPrintPreview::PlaceAtDefaultSize() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(GetWindow(Handle, GW_OWNER), MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    const RECT& work = monitor.rcWork;
    const int workWidth = work.right - work.left;
    const int workHeight = work.bottom - work.top;
    const SIZE frame = FrameSizeFor(0, 0, PreviewStyle, 0, false, Dpi);
    const int height = workHeight * 9 / 10;
    const int pageHeight =
        std::max(1, height - static_cast<int>(frame.cy) - ToolBarHeight() - 2 * Margin());
    const int pageWidth = MulDiv(pageHeight, Page->Image.Width(), Page->Image.Height());
    const int width =
        std::min(workWidth * 9 / 10, pageWidth + 2 * Margin() + static_cast<int>(frame.cx));
    SetWindowPos(Handle, nullptr, work.left + (workWidth - width) / 2,
                 work.top + (workHeight - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int TPrintPreview::Margin() const {
    return ScaledTo(DesignMargin, Dpi);
}

RECT TPrintPreview::PageArea() const {
    RECT area;
    GetClientRect(Handle, &area);
    area.top = std::min(area.bottom, static_cast<LONG>(ToolBarHeight()));
    return area;
}

POINT TPrintPreview::PageAreaCentre() const {
    const RECT area = PageArea();
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

RECT TPrintPreview::PageRect() const {
    const RECT area = PageArea();
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    const int width = Page->Image.Width();
    const int height = Page->Image.Height();
    const int margin = Margin();
    if (ActualSize) {
        // Centred where the area is larger than the page with its surround, else scrolled.
        const int left =
            areaWidth >= width + 2 * margin ? (areaWidth - width) / 2 : margin - Origin.x;
        const int top = area.top + (areaHeight >= height + 2 * margin ? (areaHeight - height) / 2
                                                                      : margin - Origin.y);
        return {left, top, left + width, top + height};
    }
    // Whole, as large as the area allows with its aspect kept.
    const int roomWidth = std::max(1, areaWidth - 2 * margin);
    const int roomHeight = std::max(1, areaHeight - 2 * margin);
    int shownWidth = roomWidth, shownHeight = roomHeight;
    if (static_cast<long long>(roomWidth) * height <= static_cast<long long>(roomHeight) * width)
        shownHeight = MulDiv(height, roomWidth, width);
    else
        shownWidth = MulDiv(width, roomHeight, height);
    const int left = (areaWidth - shownWidth) / 2;
    const int top = area.top + (areaHeight - shownHeight) / 2;
    return {left, top, left + shownWidth, top + shownHeight};
}

// Straight from the composed page: nothing is copied or drawn again for a repaint.
void TPrintPreview::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle, &paint);
    if (Page) {
        const RECT page = PageRect();
        HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ old = SelectObject(source, Page->Image.Handle());
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, page.left, page.top, page.right - page.left, page.bottom - page.top, source,
                   0, 0, Page->Image.Width(), Page->Image.Height(), SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        ExcludeClipRect(dc, page.left, page.top, page.right, page.bottom);
    }
    RECT client;
    GetClientRect(Handle, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
    EndPaint(Handle, &paint);
}

// The point of the page under the anchor stays under it where the window allows.
void TPrintPreview::Zoom(bool actualSize, POINT anchor) {
    if (actualSize == ActualSize)
        return;
    const RECT before = PageRect();
    const double x =
        std::clamp(double(anchor.x - before.left) / (before.right - before.left), 0.0, 1.0);
    const double y =
        std::clamp(double(anchor.y - before.top) / (before.bottom - before.top), 0.0, 1.0);
    ActualSize = actualSize;
    ShowSizeChosen();
    Origin = {};
    if (actualSize) {
        const int top = PageArea().top;
        Origin.x = Margin() + static_cast<int>(std::lround(x * Page->Image.Width())) - anchor.x;
        Origin.y =
            top + Margin() + static_cast<int>(std::lround(y * Page->Image.Height())) - anchor.y;
    }
    UpdateScrollBars();
    InvalidateRect(Handle, nullptr, FALSE);
}

// At actual size each bar spans the page with its surround and shows where the window is; a bar
// that one dimension needs narrows the other, so they are set until the client area stays.
void TPrintPreview::UpdateScrollBars() {
    if (UpdatingScrollBars || !Page)
        return;
    UpdatingScrollBars = true;
    for (int pass = 0; pass < 3; ++pass) {
        RECT client;
        GetClientRect(Handle, &client);
        const RECT area = PageArea();
        const struct {
            int Bar;
            int Extent;
            int Shown;
            LONG& Position;
        } bars[] = {
            {SB_HORZ, Page->Image.Width() + 2 * Margin(), area.right - area.left, Origin.x},
            {SB_VERT, Page->Image.Height() + 2 * Margin(), area.bottom - area.top, Origin.y},
        };
        for (const auto& b : bars) {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_ALL;
            // Fitted, a range within one page hides the bar.
            info.nMax = ActualSize ? b.Extent - 1 : 0;
            info.nPage = ActualSize ? static_cast<UINT>(std::max(0, b.Shown)) : 0;
            info.nPos = ActualSize ? b.Position : 0;
            SetScrollInfo(Handle, b.Bar, &info, TRUE);
            info.fMask = SIF_POS;
            GetScrollInfo(Handle, b.Bar, &info);
            b.Position = info.nPos;
        }
        RECT after;
        GetClientRect(Handle, &after);
        if (EqualRect(&client, &after))
            break;
    }
    UpdatingScrollBars = false;
}

void TPrintPreview::Scroll(int bar, int request, int trackPosition) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!ActualSize || !GetScrollInfo(Handle, bar, &info))
        return;
    const int line = ScaledTo(DesignLine, Dpi);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP:
        position -= line;
        break;
    case SB_LINEDOWN:
        position += line;
        break;
    case SB_PAGEUP:
        position -= static_cast<int>(info.nPage);
        break;
    case SB_PAGEDOWN:
        position += static_cast<int>(info.nPage);
        break;
    case SB_TOP:
        position = info.nMin;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = trackPosition;
        break;
    default:
        return;
    }
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(Handle, bar, &info, TRUE);
    GetScrollInfo(Handle, bar, &info);
    (bar == SB_HORZ ? Origin.x : Origin.y) = info.nPos;
    InvalidateRect(Handle, nullptr, FALSE);
}

void TPrintPreview::KeyDown(WPARAM key) {
    const POINT centre = PageAreaCentre();
    switch (key) {
    case VK_ESCAPE:
        SendMessageA(Handle, WM_CLOSE, 0, 0);
        break;
    case 'P':
        if (ControlDown())
            RunHandler(*this, &TPrintPreview::PrintPage);
        break;
    case VK_ADD:
    case VK_OEM_PLUS:
        Zoom(true, centre);
        break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
        Zoom(false, centre);
        break;
    case VK_UP:
        Scroll(SB_VERT, SB_LINEUP);
        break;
    case VK_DOWN:
        Scroll(SB_VERT, SB_LINEDOWN);
        break;
    case VK_LEFT:
        Scroll(SB_HORZ, SB_LINEUP);
        break;
    case VK_RIGHT:
        Scroll(SB_HORZ, SB_LINEDOWN);
        break;
    case VK_PRIOR:
        Scroll(SB_VERT, SB_PAGEUP);
        break;
    case VK_NEXT:
        Scroll(SB_VERT, SB_PAGEDOWN);
        break;
    case VK_HOME:
        Scroll(SB_VERT, SB_TOP);
        break;
    case VK_END:
        Scroll(SB_VERT, SB_BOTTOM);
        break;
    default:
        break;
    }
}

// With Ctrl the wheel zooms about the pointer, up to actual size and down to the whole page;
// without it, it scrolls.
void TPrintPreview::MouseWheel(WPARAM wParam, LPARAM lParam) {
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(Handle, &at);
        if (notches != 0)
            Zoom(notches > 0, at);
        return;
    }
    for (int i = 0; i < WheelLines * std::abs(notches); ++i)
        Scroll(SB_VERT, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
}

void TPrintPreview::PrintPage() {
    const TModalScope modal(Handle);
    const PrinterDc printer = ShowPrintDialog(Handle);
    if (printer)
        PrintReportPage(printer.get(), *Page);
}

LRESULT TPrintPreview::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        PlaceToolBar();
        UpdateScrollBars();
        InvalidateRect(Handle, nullptr, FALSE);
        return 0;
    case WM_COMMAND:
        ToolButtonClicked(LOWORD(wParam));
        return 0;
    case WM_KEYDOWN:
        KeyDown(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        MouseWheel(wParam, lParam);
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL: {
        // The thumb's 32-bit position; the message carries 16 bits of it.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        const int bar = msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
        GetScrollInfo(Handle, bar, &info);
        Scroll(bar, LOWORD(wParam), info.nTrackPos);
        return 0;
    }
    case WM_DPICHANGED:
        // The tool bar's buttons and fonts are laid out again at the new DPI as the window takes
        // the rectangle suggested.
        Dpi = LOWORD(wParam);
        RelayoutAtDpi(Handle, Dpi, *reinterpret_cast<const RECT*>(lParam));
        PlaceToolBar();
        UpdateScrollBars();
        InvalidateRect(Handle, nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        Page.reset();
        break;
    case WM_NCDESTROY: {
        const LRESULT result = DefWindowProcA(Handle, msg, wParam, lParam);
        Handle = nullptr;
        return result;
    }
    default:
        break;
    }
    return DefWindowProcA(Handle, msg, wParam, lParam);
}
