#include "ui/port_dialog/PortDialog.h"
#include "meter/PortEntryText.h"
#include "ui/controls/StandardControls.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/EventBinding.h"
#include "ui/win32/Layout.h"
#include "ui/win32/Pictures.h"
#include "ui/win32/UserSettings.h"
#include "ui/win32/WindowClass.h"
#include "ui/win32/WindowObject.h"

#include <commctrl.h>
#include <dbt.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

TForm2* Form2 = nullptr;

namespace {

constexpr const char* Form2Class = "TForm2";
constexpr const char* OtherPort = "other = ";

enum Form2ControlId : int { idCOMM_select = 10, idCOMM, idbtOK, idbtTestComm, idbtFind, idHint };

const TEventBinding<TForm2> Bindings[] = {
    {idbtTestComm, BN_CLICKED, &TForm2::btTestCommClick},
    {idbtFind, BN_CLICKED, &TForm2::btFindClick},
    {idbtOK, BN_CLICKED, &TForm2::btOKClick},
};

// The dialog at 96 dpi: wider and taller than the design's 238 x 330, for Find beside TEST and
// the line under the buttons.
constexpr int DialogLeft = 590, DialogTop = 198, DialogWidth = 334, DialogHeight = 370;
constexpr int ListWidth = 275;

// Where a port stands in a table of ports found (its entry in the list), or -1.
int IndexOfPort(const PortTable& table, const std::string& port) {
    for (int i = 0; i < table.PortCount; ++i) {
        if (!port.empty() && table.PortNames[i] == port)
            return i;
    }
    return -1;
}

} // namespace

TForm2::TForm2(HWND owner, MeterSession& session) : Session(session) {
    RegisterWindowClass(
        {.Name = Form2Class, .Background = ButtonFaceBackground(), .Icon = ProgramIcon(SM_CXICON)});
    // Owned by the main window: it stays in front of it and has no taskbar button of its own.
    Handle = CreateWindowExA(WS_EX_CONTROLPARENT, Form2Class, "communication",
                             WS_CAPTION | WS_SYSMENU, DialogLeft, DialogTop, DialogWidth,
                             DialogHeight, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!Handle)
        throw std::runtime_error("The port dialog cannot be created");
    // Created at its 96-dpi figures, then scaled to its screen before any control is made.
    const int dpi = ScreenDpi(Handle);
    SetLayoutDpi(Handle, dpi);
    SetWindowPos(Handle, nullptr, ScaledTo(DialogLeft, dpi), ScaledTo(DialogTop, dpi),
                 ScaledTo(DialogWidth, dpi), ScaledTo(DialogHeight, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Font = UiFont(8, false, dpi);
    COMM_select.Create(Handle, idCOMM_select, "found serial ports", 24, 16, ListWidth, 193, Font);
    COMM = CreateChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 24, 210, ListWidth, 21, Handle,
                       idCOMM, Font, WS_EX_CLIENTEDGE);
    SendMessageA(COMM, EM_LIMITTEXT, PortTable::MaxNameLength, 0);
    // A hint in grey that is never the text itself: what the user types stays.
    SendMessageW(COMM, EM_SETCUEBANNER, TRUE,
                 reinterpret_cast<LPARAM>(L"type other serial port (e.g. COM5)"));
    ShowWindow(COMM, SW_HIDE);
    btOK = CreateChild("BUTTON", "OK", WS_TABSTOP | BS_OWNERDRAW, 32, 240, 75, 41, Handle, idbtOK,
                       Font);
    btTestComm = CreateChild("BUTTON", "TEST", WS_TABSTOP | BS_PUSHBUTTON, 128, 240, 75, 41, Handle,
                             idbtTestComm, Font);
    btFind = CreateChild("BUTTON", "Fin&d", WS_TABSTOP | BS_PUSHBUTTON, 224, 240, 75, 41, Handle,
                         idbtFind, Font);
    Hint = CreateChild("STATIC", "", SS_LEFT | SS_NOPREFIX, 24, 290, ListWidth, 40, Handle, idHint,
                       Font);
    RouteMessagesTo(Handle, *this);
    Session.AddListener(*this);
    Form2 = this;
}

TForm2::~TForm2() {
    Session.RemoveListener(*this);
    SetWindowLongPtrA(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
    DestroyWindow(Handle);
    Form2 = nullptr;
}

// Connect starts the dialog afresh even where it stayed open since an earlier connection: its OK
// belonged to a port that Disconnect has closed since.
void TForm2::Show() {
    RunHandler(*this, &TForm2::FormShow);
    // The keyboard starts on the chosen port (on the group's first entry when none is).
    const int chosen = COMM_select.ItemIndex();
    Focus.Remember(chosen >= 0 ? COMM_select.Entry(chosen) : nullptr);
    if (GetForegroundWindow() == Handle)
        Focus.Activate(Handle, WA_ACTIVE);
    ShowWindow(Handle, SW_SHOW);
    SetForegroundWindow(Handle);
}

// The main window's button says "Connect" now: TEST waits for the next Connect too, so that no
// port is opened while the window says none is.
void TForm2::PortClosed() {
    const HWND focus = GetFocus();
    if (focus == btOK || focus == btTestComm || focus == btFind) {
        const int chosen = COMM_select.ItemIndex();
        SetFocus(COMM_select.Entry(std::max(chosen, 0)));
    }
    EnableWindow(btOK, FALSE);
    EnableWindow(btTestComm, FALSE);
    EnableWindow(btFind, FALSE);
}

void TForm2::IdentificationStarted() {
    // Find's own line stays while it tries port after port.
    if (!Session.Finding())
        SetWindowTextA(Hint, "");
}

// Said here too: the main window's status bar may lie under the dialog.
void TForm2::IdentificationUnanswered(const std::string& port) {
    SetWindowTextA(Hint, NoAnswerText(port).c_str());
}

void TForm2::FindTrying(const std::string& text) {
    SetWindowTextA(Hint, text.c_str());
}

// The port where the meter answered is the one chosen, as if TEST had run there.
void TForm2::FindEnded(const FindOutcome& outcome) {
    EnableWindow(btTestComm, TRUE);
    SetWindowTextA(Hint, outcome.Text.c_str());
    const int found = IndexOfPort(Session.Ports, outcome.Port);
    if (outcome.Found && found >= 0)
        COMM_select.SetItemIndex(found);
}

void TForm2::Hide() {
    Session.StopFind();
    ShowWindow(Handle, SW_HIDE);
}

void TForm2::SelectEntry(int index) {
    if (COMM_select.SetItemIndex(index))
        RunHandler(*this, &TForm2::COMM_selectClick);
}

void TForm2::FormShow() {
    EnableWindow(btOK, FALSE);
    EnableWindow(btTestComm, TRUE);
    EnableWindow(btFind, TRUE);
    SetWindowTextA(Hint, "");
    ChosenSinceShown = false;
    FillList();
    // The port that last identified a meter where it is listed; else the last port found, none
    // when there is none.
    const int remembered = IndexOfPort(Session.Ports, RememberedMeterPort());
    SelectEntry(remembered >= 0 ? remembered : Session.Ports.PortCount - 1);
}

void TForm2::FillList() {
    COMM_select.Clear();
    const PortDeviceNames devices = Session.PortList.DeviceNames();
    for (int i = 0; i < Session.Ports.PortCount; ++i) {
        const std::string& port = Session.Ports.PortNames[i];
        const auto device = devices.find(port);
        COMM_select.Add(PortEntryText(port, device == devices.end() ? "" : device->second));
    }
    COMM_select.Add(OtherPort);
}

// A port plugged in or pulled while the dialog is up: the list follows without another Connect
// (which would clear the table). The choice the user made stays while its port is there; a port
// that has just come is chosen when the user has chosen none; the port of the running
// identification or poll stays listed.
void TForm2::FollowThePorts() {
    const int chosen = COMM_select.ItemIndex();
    const bool otherChosen = chosen == Session.Ports.PortCount;
    const std::string chosenPort =
        chosen >= 0 && !otherChosen ? Session.Ports.PortNames[chosen] : "";
    PortTable found;
    ReadPortNames(found, Session.PortList.Root, Session.PortList.SubKey.c_str());
    const TComm32& comm = Session.Comm32;
    if (comm.Connected() && IndexOfPort(Session.Ports, comm.CommPort) >= 0 &&
        IndexOfPort(found, comm.CommPort) < 0 && found.PortCount < PortTable::MaxPorts)
        found.PortNames[found.PortCount++] = comm.CommPort;
    std::string arrived;
    for (int i = 0; i < found.PortCount; ++i) {
        if (IndexOfPort(Session.Ports, found.PortNames[i]) < 0)
            arrived = found.PortNames[i];
    }
    if (std::equal(found.PortNames.begin(), found.PortNames.begin() + found.PortCount,
                   Session.Ports.PortNames.begin(),
                   Session.Ports.PortNames.begin() + Session.Ports.PortCount))
        return;
    Session.Ports = found;
    FillList();
    int select = Session.Ports.PortCount - 1;
    if (otherChosen)
        select = Session.Ports.PortCount;
    else if (!ChosenSinceShown && !arrived.empty())
        select = IndexOfPort(Session.Ports, arrived);
    else if (IndexOfPort(Session.Ports, chosenPort) >= 0)
        select = IndexOfPort(Session.Ports, chosenPort);
    // Only the choice moves: the handler would act as if the user had chosen.
    COMM_select.SetItemIndex(select);
}

void TForm2::COMM_selectClick() {
    if (COMM_select.ItemIndex() == Session.Ports.PortCount)
        ShowWindow(COMM, SW_SHOW);
}

void TForm2::btTestCommClick() {
    const int chosen = COMM_select.ItemIndex();
    // Nothing to test before a port is chosen, nor after Disconnect (a command may come while
    // the button is disabled).
    if (chosen < 0 || !IsWindowEnabled(btTestComm))
        return;
    EnableWindow(btOK, FALSE);
    Session.StartIdentification(chosen == Session.Ports.PortCount
                                    ? WindowText(COMM).substr(0, PortTable::MaxNameLength)
                                    : Session.Ports.PortNames[chosen]);
}

// Find: a second click stops it. Nothing else opens a port while it runs: TEST and OK wait.
void TForm2::btFindClick() {
    if (Session.Finding()) {
        Session.StopFind();
        return;
    }
    if (!IsWindowEnabled(btFind))
        return;
    EnableWindow(btOK, FALSE);
    EnableWindow(btTestComm, FALSE);
    Session.StartFind(
        std::vector<std::string>(Session.Ports.PortNames.begin(),
                                 Session.Ports.PortNames.begin() + Session.Ports.PortCount));
}

// Enter then reads the meter, where the keyboard is still in the dialog.
void TForm2::MeterIdentified(const std::string&) {
    EnableWindow(btOK, TRUE);
    if (!Session.Finding())
        SetWindowTextA(Hint, "");
    const HWND focus = GetFocus();
    if (focus && (focus == Handle || IsChild(Handle, focus)))
        SetFocus(btOK);
}

void TForm2::btOKClick() {
    // Enter reaches here even while OK is disabled; the poll needs the identified port open.
    if (!IsWindowEnabled(btOK) || !Session.StartPoll()) {
        EnableWindow(btOK, FALSE);
        return;
    }
    ShowWindow(Handle, SW_HIDE);
}

// The standard OK button: a green tick before its caption, framed as the default button.
void TForm2::DrawOkButton(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool enabled = !(item.itemState & ODS_DISABLED);
    const int shift = item.itemState & ODS_SELECTED ? 1 : 0;
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (shift ? DFCS_PUSHED : 0));

    HGDIOBJ oldFont = SelectObject(dc, Font);
    char caption[16] = "";
    const int length = GetWindowTextA(btOK, caption, sizeof caption);
    SIZE text{};
    GetTextExtentPoint32A(dc, caption, length, &text);
    const int tickWidth = Scaled(Handle, 14), tickHeight = Scaled(Handle, 11),
              gap = Scaled(Handle, 5), tickJoint = Scaled(Handle, 5);
    const int left = (r.left + r.right - tickWidth - gap - text.cx) / 2 + shift;
    const int middle = (r.top + r.bottom) / 2 + shift;

    HPEN pen = CreatePen(PS_SOLID, Scaled(Handle, 3),
                         enabled ? RGB(0, 128, 0) : GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    const POINT tick[] = {{left, middle},
                          {left + tickJoint, middle + tickHeight / 2},
                          {left + tickWidth, middle - tickHeight / 2}};
    Polyline(dc, tick, 3);
    SelectObject(dc, oldPen);
    DeleteObject(pen);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    TextOutA(dc, left + tickWidth + gap, middle - text.cy / 2, caption, length);
    SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&r, -Scaled(Handle, 3), -Scaled(Handle, 3));
        DrawFocusRect(dc, &r);
    }
}

LRESULT TForm2::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        const int entry = COMM_select.IndexOf(reinterpret_cast<HWND>(lParam));
        if (entry >= 0) {
            if (HIWORD(wParam) == BN_CLICKED) {
                ChosenSinceShown = true;
                SelectEntry(entry);
            }
            return 0;
        }
        // Escape, through the dialog keys of the message loop: as the close box.
        if (LOWORD(wParam) == IDCANCEL && !lParam) {
            Hide();
            return 0;
        }
        DispatchEvent<TForm2>(*this, Bindings, LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    case WM_DEVICECHANGE:
        if (IsWindowVisible(Handle) &&
            (wParam == DBT_DEVNODES_CHANGED || wParam == DBT_DEVICEARRIVAL ||
             wParam == DBT_DEVICEREMOVECOMPLETE))
            RunHandler(*this, &TForm2::FollowThePorts);
        return TRUE;
    // Enter presses OK, the default button, when it is enabled.
    case DM_GETDEFID:
        return MAKELRESULT(idbtOK, DC_HASDEFID);
    // As a dialog box: the focus is kept while the dialog is inactive and comes back to the
    // same control, or to the first tab stop the first time.
    case WM_ACTIVATE:
        if (Focus.Activate(Handle, wParam))
            return 0;
        break;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.hwndItem == btOK)
            DrawOkButton(item);
        return TRUE;
    }
    case WM_DPICHANGED:
        Font = UiFont(8, false, LOWORD(wParam));
        RelayoutAtDpi(Handle, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        COMM_select.Arrange();
        return 0;
    // The close box only hides the dialog; Connect shows it again.
    case WM_CLOSE:
        Hide();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(Handle, msg, wParam, lParam);
}
