#include "ui/print_preview/PrintPreview.h"

#include "report/ReportPrinter.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/EventBinding.h"
#include "ui/win32/ModalScope.h"
#include "ui/win32/Pictures.h"
#include "ui/win32/WindowClass.h"
#include "ui/win32/WindowObject.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace {

constexpr const char* PrintPreviewClass = "TPrintPreview";
constexpr DWORD PreviewStyle = WS_OVERLAPPEDWINDOW;
// Grey around the page, at 96 dpi.
constexpr int DesignMargin = 16;
// One step of the arrow keys and of a wheel notch's line, at 96 dpi.
constexpr int DesignLine = 20;
constexpr int WheelLines = 3;

bool ControlDown() {
    return GetKeyState(VK_CONTROL) < 0;
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
    RouteMessagesTo(Handle, *this);
}

TPrintPreview::~TPrintPreview() {
    if (Handle) {
        SetWindowLongPtrA(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
        DestroyWindow(Handle);
    }
}

void TPrintPreview::Show(ReportPage page) {
    Page.emplace(std::move(page));
    ActualSize = false;
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
    const int pageHeight = std::max(1, height - static_cast<int>(frame.cy) - 2 * Margin());
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

RECT TPrintPreview::PageRect() const {
    RECT client;
    GetClientRect(Handle, &client);
    const int width = Page->Image.Width();
    const int height = Page->Image.Height();
    const int margin = Margin();
    if (ActualSize) {
        // Centred where the window is larger than the page with its surround, else scrolled.
        const int left =
            client.right >= width + 2 * margin ? (client.right - width) / 2 : margin - Origin.x;
        const int top =
            client.bottom >= height + 2 * margin ? (client.bottom - height) / 2 : margin - Origin.y;
        return {left, top, left + width, top + height};
    }
    // Whole, as large as the window allows with its aspect kept.
    const int roomWidth = std::max(1, static_cast<int>(client.right) - 2 * margin);
    const int roomHeight = std::max(1, static_cast<int>(client.bottom) - 2 * margin);
    int shownWidth = roomWidth, shownHeight = roomHeight;
    if (static_cast<long long>(roomWidth) * height <= static_cast<long long>(roomHeight) * width)
        shownHeight = MulDiv(height, roomWidth, width);
    else
        shownWidth = MulDiv(width, roomHeight, height);
    const int left = (client.right - shownWidth) / 2;
    const int top = (client.bottom - shownHeight) / 2;
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
    Origin = {};
    if (actualSize) {
        Origin.x = Margin() + static_cast<int>(std::lround(x * Page->Image.Width())) - anchor.x;
        Origin.y = Margin() + static_cast<int>(std::lround(y * Page->Image.Height())) - anchor.y;
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
        const struct {
            int Bar;
            int Extent;
            int Shown;
            LONG& Position;
        } bars[] = {
            {SB_HORZ, Page->Image.Width() + 2 * Margin(), client.right, Origin.x},
            {SB_VERT, Page->Image.Height() + 2 * Margin(), client.bottom, Origin.y},
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
    RECT client;
    GetClientRect(Handle, &client);
    const POINT centre{client.right / 2, client.bottom / 2};
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
        UpdateScrollBars();
        InvalidateRect(Handle, nullptr, FALSE);
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
    case WM_DPICHANGED: {
        Dpi = LOWORD(wParam);
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateScrollBars();
        InvalidateRect(Handle, nullptr, FALSE);
        return 0;
    }
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
