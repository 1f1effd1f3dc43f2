#include "ui/main_window/MainWindow.h"

#include "ui/controls/SpeedButton.h"
#include "ui/controls/StandardControls.h"
#include "ui/port_dialog/PortDialog.h"
#include "ui/print_preview/PrintPreview.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/ErrorDisplay.h"
#include "ui/win32/EventBinding.h"
#include "ui/win32/Layout.h"
#include "ui/win32/NextDialogControl.h"
#include "ui/win32/Pictures.h"
#include "ui/win32/WindowClass.h"
#include "ui/win32/WindowObject.h"

#include <commctrl.h>

#include <iterator>
#include <stdexcept>

MeasurementSet MeasurementStore{};
std::uint8_t CurrentRecord = 0;
TMainForm* MainForm = nullptr;

namespace {

constexpr const char* MainFormClass = "TMainForm";

// Pseudo event codes for the dispatch table beside the controls' own notification codes.
constexpr UINT Click = 0; // BN_CLICKED, STN_CLICKED and menu commands
constexpr UINT TimerTick = WM_TIMER;

void RegisterMainFormClasses() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterToolBarClasses();
    RegisterWindowClass({.Name = MainFormClass,
                         .Background = ButtonFaceBackground(),
                         .Icon = ProgramIcon(SM_CXICON)});
}

// Windows keeps the windows a window owns in front of it when it comes forward; Wine may bring the
// window forward without them, so the program does it itself (the port dialog stays in front),
// by a posted message that runs once the system has finished the activation.
constexpr UINT WM_BRINGOWNEDFORWARD = WM_APP + 1;

BOOL CALLBACK BringOwnedWindowForward(HWND window, LPARAM owner) {
    if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) && IsWindowVisible(window))
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

} // namespace

const TEventBinding<TMainForm> TMainForm::Bindings[] = {
    {idSpeedButton1, Click, &TMainForm::FileOpen},
    {idFileOpenItem, Click, &TMainForm::FileOpen},
    {idSpeedButton2, Click, &TMainForm::FileSave},
    {idFileSaveItem, Click, &TMainForm::FileSave},
    {idFileSaveAsItem, Click, &TMainForm::FileSaveAs},
    {idSpeedButton3, Click, &TMainForm::FilePrint},
    {idFilePrintItem, Click, &TMainForm::FilePrint},
    {idSpeedButton7, Click, &TMainForm::FilePrintPreview},
    {idFilePrintPreviewItem, Click, &TMainForm::FilePrintPreview},
    {idSpeedButton4, Click, &TMainForm::FilePrintSetup},
    {idFilePrintSetupItem, Click, &TMainForm::FilePrintSetup},
    {idSpeedButton6, Click, &TMainForm::HelpAbout},
    {idHelpAboutItem, Click, &TMainForm::HelpAbout},
    {idSpeedButton5, Click, &TMainForm::FileExit},
    {idFileExitItem, Click, &TMainForm::FileExit},
    {idImage1, Click, &TMainForm::Image1Click},
    {idEdit1, EN_KILLFOCUS, &TMainForm::Edit1Exit},
    {idEdit2, EN_KILLFOCUS, &TMainForm::Edit2Exit},
    {idEdit3, EN_KILLFOCUS, &TMainForm::Edit3Exit},
    {idEdit6, EN_KILLFOCUS, &TMainForm::Edit6Exit},
    {idEdit7, EN_KILLFOCUS, &TMainForm::Edit7Exit},
    {idEdit8, EN_KILLFOCUS, &TMainForm::Edit8Exit},
    {idEdit9, EN_KILLFOCUS, &TMainForm::Edit9Exit},
    {idEdit10, EN_KILLFOCUS, &TMainForm::Edit10Exit},
    {idEdit11, EN_KILLFOCUS, &TMainForm::Edit11Exit},
    {idrodzaj_pojazdu, CBN_KILLFOCUS, &TMainForm::rodzaj_pojazduExit},
    {idTimer1, TimerTick, &TMainForm::Timer1Timer},
    {idsbStart, Click, &TMainForm::sbStartClick},
    {idRecoveryTimer, TimerTick, &TMainForm::RecoveryTimerTimer},
};

TMainForm::TMainForm() {
    if (MainForm)
        throw std::logic_error("one main window at a time");
    RegisterMainFormClasses();

    CreateMenu();
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame{0, 0, ClientWidth, ClientHeight};
    AdjustWindowRectEx(&frame, style, TRUE, WS_EX_CONTROLPARENT);
    Handle = CreateWindowExA(WS_EX_CONTROLPARENT, MainFormClass, "Kavra Tintra", style, 30, 44,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, MainMenu,
                             GetModuleHandleA(nullptr), nullptr);
    if (!Handle)
        throw std::runtime_error("The main window cannot be created");
    PlaceAtDpi(ScreenDpi(Handle));
    StepAsideFromOtherCopies();
    CreateControls();
    RouteMessagesTo(Handle, *this);
    Timer1.Create(Handle, idTimer1, 500);
    Session.Attach(Handle, idTimer2, idTimer3, idFindTimer);
    Session.AddListener(*this);
    RecoveryTimer.Create(Handle, idRecoveryTimer, 1000);
    Session.Comm32.OnWaitOver = [this](TComm32*) {
        if (CloseAfterWait) {
            CloseAfterWait = false;
            PostMessageA(Handle, WM_CLOSE, 0, 0);
        }
    };
    MainForm = this;
}

TMainForm::~TMainForm() {
    // The component's threads must not outlive it, whichever way the window goes.
    Dialog.reset();
    Session.Comm32.ClosePort();
    if (IsWindow(Handle)) {
        SetWindowLongPtrA(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
        DestroyWindow(Handle);
    }
    for (HBITMAP picture : Pictures)
        DeleteObject(picture);
    DeleteObject(Logo);
    MainForm = nullptr;
}

void TMainForm::SetStartDocument(std::wstring document) {
    StartFile = std::move(document);
}

void TMainForm::Show() {
    ShowWindow(Handle, SW_SHOW);
    UpdateWindow(Handle);
    if (!Shown) {
        Shown = true;
        RunHandler(*this, &TMainForm::FormShow);
        // The first field of the Tab order takes the keyboard, after the start-up loading.
        if (!IsChild(Handle, GetFocus()))
            SetFocus(Edit1);
    }
}

std::string MainWindowParts::StatusText(int panel) const {
    const auto length = LOWORD(SendMessageA(StatusBar, SB_GETTEXTLENGTHA, panel, 0));
    std::string text(length + 1, '\0');
    SendMessageA(StatusBar, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void MainWindowParts::SetStatusText(int panel, const std::string& text) {
    SendMessageA(StatusBar, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

// The item whose text the box shows; text typed into the box that matches no item gives -1.
int MainWindowParts::VehicleTypeIndex() const {
    const std::string text = WindowText(rodzaj_pojazdu);
    if (text.empty())
        return -1;
    return static_cast<int>(SendMessageA(rodzaj_pojazdu, CB_FINDSTRINGEXACT,
                                         static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str())));
}

void TMainForm::SetWaitCursor(bool waiting) {
    Waiting = waiting;
    SetCursor(LoadCursor(nullptr, waiting ? IDC_WAIT : IDC_ARROW));
}

// What the user types into a field, or chooses in the vehicle-type box, changes the set; a text
// the program puts in a field does not (it leaves the field's modified mark off).
void TMainForm::NoteUserChange(int id, int code) {
    if (code == EN_CHANGE) {
        HWND field = GetDlgItem(Handle, id);
        if (field && SendMessageA(field, EM_GETMODIFY, 0, 0))
            MarkChanged();
    } else if (id == idrodzaj_pojazdu && (code == CBN_EDITCHANGE || code == CBN_SELCHANGE)) {
        MarkChanged();
    }
}

void TMainForm::DispatchCommand(int id, int code) {
    NoteUserChange(id, code);
    // Only focus moves inside the window run the exit handlers, not the window losing the
    // focus to a dialog or another program.
    if (Focus.Inactive() &&
        (code == EN_KILLFOCUS || (id == idrodzaj_pojazdu && code == CBN_KILLFOCUS)))
        return;
    if (code == Click && id >= idRecentFile1 && id < idRecentFilesEnd) {
        const auto index = static_cast<std::size_t>(id - idRecentFile1);
        RunHandler(*this, [index](TMainForm& form) { form.OpenRecentFile(index); });
        return;
    }
    DispatchEvent<TMainForm>(*this, Bindings, id, static_cast<UINT>(code));
}

LRESULT TMainForm::DispatchNotify(NMHDR& header) {
    if (header.hwndFrom != Tabela.Handle)
        return 0;
    switch (TStringGrid::Notify(header)) {
    case TStringGrid::Event::Click:
        RunHandler(*this, &TMainForm::TabelaClick);
        break;
    case TStringGrid::Event::Enter:
        if (!Focus.Inactive())
            RunHandler(*this, &TMainForm::TabelaEnter);
        break;
    case TStringGrid::Event::None:
        break;
    }
    return 0;
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        // A shortcut key runs its command as a click on the item would.
        DispatchCommand(LOWORD(wParam), HIWORD(wParam) == 1 && !lParam ? Click : HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return DispatchNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER:
        if (!Session.Tick(static_cast<UINT>(wParam)))
            DispatchCommand(static_cast<int>(wParam), TimerTick);
        return 0;
    case WM_INITMENUPOPUP:
        // The recent files are listed as the menu opens, not at start: reading and shortening
        // them then costs the start nothing.
        if (reinterpret_cast<HMENU>(wParam) == FileMenu)
            ShowRecentFiles();
        return 0;
    case WM_MENUSELECT:
        MenuItemSelected(wParam, lParam);
        return 0;
    // A caption's access key, from IsDialogMessage in the message loop.
    case WM_NEXTDLGCTL:
        MoveToNextDialogControl(Handle, wParam, lParam);
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.hwndItem == Image1) {
            FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
            HDC source = CreateCompatibleDC(item.hDC);
            HGDIOBJ old = SelectObject(source, Logo);
            BITMAP logo;
            GetObjectA(Logo, sizeof logo, &logo);
            BitBlt(item.hDC, 0, 0, logo.bmWidth, logo.bmHeight, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        }
        return TRUE;
    }
    // The control that had the focus gets it back when the window is activated again, for
    // example after a dialog; neither the loss nor the return counts as leaving or entering it.
    case WM_ACTIVATE:
        // No tooltip stays up over a dialog, nor comes up while one is open.
        SendMessageA(Tooltips, TTM_POP, 0, 0);
        SendMessageA(Tooltips, TTM_ACTIVATE, LOWORD(wParam) != WA_INACTIVE, 0);
        if (LOWORD(wParam) != WA_INACTIVE)
            PostMessageA(Handle, WM_BRINGOWNEDFORWARD, 0, 0);
        if (Focus.Activate(Handle, wParam))
            return 0;
        break;
    case WM_BRINGOWNEDFORWARD:
        EnumThreadWindows(GetCurrentThreadId(), BringOwnedWindowForward,
                          reinterpret_cast<LPARAM>(Handle));
        return 0;
    case WM_SETCURSOR:
        if (Waiting) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_SIZE:
        PlaceBars();
        // The panel's frame and its buttons are drawn for its width: all of it is repainted.
        RedrawWindow(SpeedBar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return 0;
    // Never smaller than the layout.
    case WM_GETMINMAXINFO: {
        const SIZE frame =
            FrameSizeFor(Scaled(Handle, ClientWidth), Scaled(Handle, ClientHeight),
                         GetWindowLongA(Handle, GWL_STYLE), GetWindowLongA(Handle, GWL_EXSTYLE),
                         true, LayoutDpi(Handle));
        auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
        limits.ptMinTrackSize = {frame.cx, frame.cy};
        return 0;
    }
    case WM_DPICHANGED:
        MoveToDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        // Another program may send it while the port's wait handles sent messages: closing then
        // would close the port under the wait, so the close comes after it.
        if (Session.Comm32.Waiting()) {
            CloseAfterWait = true;
            return 0;
        }
        CanClose = false;
        RunHandler(*this, &TMainForm::FormCloseQuery);
        if (!CanClose)
            return 0;
        RunHandler(*this, &TMainForm::FormClose);
        break;
    case WM_QUERYENDSESSION:
        return QueryEndSession(lParam);
    case WM_ENDSESSION:
        EndSession(wParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(Handle, msg, wParam, lParam);
}
