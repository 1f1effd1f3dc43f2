#include "ui/main_window/MainWindow.h"

#include "ui/controls/SpeedButton.h"
#include "ui/controls/StandardControls.h"
#include "ui/print_preview/PrintPreview.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/ErrorDisplay.h"
#include "ui/win32/EventBinding.h"
#include "ui/win32/Layout.h"
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
constexpr int ClientWidth = 725;
constexpr int ClientHeight = 342;

// Pseudo event codes for the dispatch table beside the controls' own notification codes.
constexpr UINT Click = 0; // BN_CLICKED, STN_CLICKED and menu commands
constexpr UINT TimerTick = WM_TIMER;

// Every event of the window's controls, bound to its handler.
const TEventBinding<TMainForm> Bindings[] = {
    {idSpeedButton1, Click, &TMainForm::FileOpen},
    {idFileOpenItem, Click, &TMainForm::FileOpen},
    {idSpeedButton2, Click, &TMainForm::FileSaveAs},
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
    {idTimer2, TimerTick, &TMainForm::Timer2Timer},
    {idTimer3, TimerTick, &TMainForm::Timer3Timer},
    {idRecoveryTimer, TimerTick, &TMainForm::RecoveryTimerTimer},
};

// Connect's hint, on the tool button and on its menu item alike.
constexpr const char* StartHint = "polacz sie z Tintrem";

constexpr const char* RecentFileHint = "Open this file";

struct MenuHint {
    int Id;
    const char* Hint;
};

const MenuHint MenuHints[] = {
    {idFileOpenItem, "Open an existing file"},
    {idFileSaveAsItem, "Save current file under a new name"},
    {idFilePrintItem, "Print current file"},
    {idFilePrintPreviewItem, "Show the report as it will be printed"},
    {idFilePrintSetupItem, "Change printer setup"},
    {idFileExitItem, "Exit this application"},
    {idHelpAboutItem, "Show program information"},
    {idRecentFile1, RecentFileHint},
    {idRecentFile1 + 1, RecentFileHint},
    {idRecentFile1 + 2, RecentFileHint},
    {idRecentFile1 + 3, RecentFileHint},
    {idsbStart, StartHint},
};

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

void TTimer::Create(HWND owner, UINT id, UINT interval) {
    Owner = owner;
    Id = id;
    Interval = interval;
    SetEnabled(true);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled)
        SetTimer(Owner, Id, Interval, nullptr);
    else
        KillTimer(Owner, Id);
    IsEnabled = enabled;
}

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
    CreateControls();
    RouteMessagesTo(Handle, *this);
    Timer1.Create(Handle, idTimer1, 500);
    Timer2.Create(Handle, idTimer2, 300);
    Timer3.Create(Handle, idTimer3, 500);
    RecoveryTimer.Create(Handle, idRecoveryTimer, 1000);
    Comm32.OnReceiveData = [this](const void* buffer, std::uint16_t length) {
        try {
            Comm32ReceiveData(buffer, length);
        } catch (const std::exception& error) {
            ShowError(error, Handle);
        }
    };
    Comm32.OnRequestHangup = [this](TComm32*) { Comm32RequestHangup(); };
    Comm32.OnWaitOver = [this](TComm32*) {
        if (CloseAfterWait) {
            CloseAfterWait = false;
            PostMessageA(Handle, WM_CLOSE, 0, 0);
        }
    };
    MainForm = this;
}

TMainForm::~TMainForm() {
    // The component's threads must not outlive it, whichever way the window goes.
    Comm32.ClosePort();
    if (IsWindow(Handle)) {
        SetWindowLongPtrA(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
        DestroyWindow(Handle);
    }
    for (HBITMAP picture : Pictures)
        DeleteObject(picture);
    DeleteObject(Logo);
    MainForm = nullptr;
}

void TMainForm::CreateMenu() {
    MainMenu = ::CreateMenu();
    FileMenu = CreatePopupMenu();
    AppendMenuA(FileMenu, MF_STRING, idFileOpenItem, "&Open...\tCtrl+O");
    AppendMenuA(FileMenu, MF_STRING, idFileSaveAsItem, "Save &As...\tCtrl+S");
    AppendMenuA(FileMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(FileMenu, MF_STRING, idFilePrintItem, "&Print\tCtrl+P");
    AppendMenuA(FileMenu, MF_STRING, idFilePrintPreviewItem, "Print Pre&view");
    AppendMenuA(FileMenu, MF_STRING, idFilePrintSetupItem, "P&rint Setup...");
    AppendMenuA(FileMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(FileMenu, MF_STRING, idFileExitItem, "E&xit");
    // Connect and Disconnect, as the tool button (its caption follows the button's).
    MeterMenu = CreatePopupMenu();
    AppendMenuA(MeterMenu, MF_STRING, idsbStart, "&Connect\tF5");
    HelpMenu = CreatePopupMenu();
    AppendMenuA(HelpMenu, MF_STRING, idHelpAboutItem, "&About...");
    AppendMenuA(MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(FileMenu), "&File");
    AppendMenuA(MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(MeterMenu), "&Meter");
    AppendMenuA(MainMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(HelpMenu), "&Help");
}

void TMainForm::CreateControls() {
    Tooltips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    CreateToolBar();
    // Created in the Tab order: the creation order is the order IsDialogMessage follows.
    CreateEntryFields();

    Logo = DrawLogo(LayoutDpi(Handle));
    Image1 = CreateChild("STATIC", "", SS_OWNERDRAW | SS_NOTIFY, 192, 136, 201, 97, Handle,
                         idImage1, nullptr);

    StatusBar = CreateWindowExA(
        0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 0,
        0, Handle, reinterpret_cast<HMENU>(idStatusBar), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(StatusBar, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
    PlaceStatusParts();
    const char* panelTexts[] = {"Port:", "Sent:", "Received:", "Status:"};
    for (int i = 0; i < 4; ++i)
        SetStatusText(i, panelTexts[i]);
}

void TMainForm::CreateToolBar() {
    SpeedBar = CreateChild(PanelClass, "", 0, 0, 0, ClientWidth, 33, Handle, idSpeedBar, Font);
    struct PictureButton {
        HWND* Button;
        int Id;
        int Left;
        const char* Hint;
    };
    const PictureButton buttons[] = {
        {&SpeedButton1, idSpeedButton1, 8, "otwiera plik z pomiarami"},
        {&SpeedButton2, idSpeedButton2, 40, "zapisuje pomiary do pliku"},
        {&SpeedButton3, idSpeedButton3, 72, "drukuje wybrany pomiar (kliknij w tabelk\xea)"},
        {&SpeedButton7, idSpeedButton7, 104,
         "podgl\xb9"
         "d wydruku wybranego pomiaru"},
        {&SpeedButton4, idSpeedButton4, 136, "ustawienia drukarki"},
        {&SpeedButton6, idSpeedButton6, 168, "informacje"},
        {&SpeedButton5, idSpeedButton5, 200, "wyjscie"},
    };
    for (const PictureButton& b : buttons) {
        *b.Button = CreateChild(SpeedButtonClass, "", 0, b.Left, 4, 25, 25, SpeedBar, b.Id, Font);
        AddHint(*b.Button, b.Hint);
    }
    DrawToolPictures();
    sbStart =
        CreateChild(SpeedButtonClass, "Connect", 0, 248, 3, 101, 28, SpeedBar, idsbStart, Font);
    AddHint(sbStart, StartHint);
    Label1 = CreateChild("STATIC", "?\?-?\?-?\?", SS_LEFTNOWORDWRAP, 440, 8, 59, 16, SpeedBar, 0,
                         ClockFont);
    Label2 = CreateChild("STATIC", "?\?:?\?:?\?", SS_LEFTNOWORDWRAP, 576, 8, 57, 16, SpeedBar, 0,
                         ClockFont);
}

void TMainForm::CreateEntryFields() {
    struct Caption {
        HWND* Control;
        const char* Text;
        int Left, Top, Width, Height;
        DWORD Align;
    };
    const Caption captions[] = {
        {&Label3, "name", 42, 64, 26, 13, SS_RIGHT},
        {&StaticText2, "adres", 40, 88, 30, 17, SS_RIGHT},
        {&StaticText3, "adres", 40, 112, 30, 17, SS_RIGHT},
        {&StaticText4, "reg.No.", 32, 144, 39, 17, SS_RIGHT},
        {&StaticText5, "car type", 24, 168, 42, 17, SS_RIGHT},
        {&StaticText6, "mark", 40, 192, 27, 17, SS_RIGHT},
        {&StaticText7, "model", 32, 216, 32, 17, SS_RIGHT},
        {&StaticText8, "run [km]", 24, 240, 42, 17, SS_RIGHT},
        {&StaticText9, "comment", 24, 272, 47, 17, SS_RIGHT},
        {&StaticText10, "diagnostician", 8, 296, 66, 17, SS_RIGHT},
        {&Label4, "result", 408, 232, 25, 13, SS_LEFT},
    };
    for (const Caption& c : captions)
        *c.Control = CreateChild("STATIC", c.Text, c.Align, c.Left, c.Top, c.Width, c.Height,
                                 Handle, 0, Font);

    struct Field {
        HWND* Control;
        int Id;
        int Left, Top, Width;
    };
    const Field fields[] = {
        {&Edit1, idEdit1, 80, 56, 313},    {&Edit2, idEdit2, 80, 80, 313},
        {&Edit3, idEdit3, 80, 104, 313},   {&Edit6, idEdit6, 80, 136, 105},
        {&Edit7, idEdit7, 80, 184, 105},   {&Edit8, idEdit8, 80, 208, 105},
        {&Edit9, idEdit9, 80, 232, 105},   {&Edit10, idEdit10, 80, 264, 625},
        {&Edit11, idEdit11, 80, 288, 625},
    };
    // No field takes more than the file keeps, so nothing typed is dropped without a word.
    for (const Field& f : fields) {
        *f.Control = CreateChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, f.Left, f.Top, f.Width,
                                 21, Handle, f.Id, Font, WS_EX_CLIENTEDGE);
        SendMessageA(*f.Control, EM_LIMITTEXT, ShortString::Capacity, 0);
    }

    const int colWidths[] = {40, 69, 68, 40, 40, 40};
    Tabela.Create(Handle, idTabela, 400, 56, 306, 163, Font, colWidths);

    // The drop-down's list reaches below the field; its height is the closed box plus the list.
    rodzaj_pojazdu = CreateChild("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 80, 160,
                                 105, 120, Handle, idrodzaj_pojazdu, BoldFont);
    for (const char* item : {"passenger", "lorry", "bus", "other"})
        SendMessageA(rodzaj_pojazdu, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SizeVehicleTypeBox();
    AddHint(rodzaj_pojazdu, "wybierz typ auta");
    if (HWND inner = GetWindow(rodzaj_pojazdu, GW_CHILD))
        AddHint(inner, "wybierz typ auta");

    txtTmp = CreateChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 440, 224, 265, 21, Handle,
                         idtxtTmp, Font, WS_EX_CLIENTEDGE);
    AlignCaptions();
}

void TMainForm::AddHint(HWND control, const char* hint) {
    SetPropA(control, "hint", const_cast<char*>(hint));
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<char*>(hint);
    SendMessageA(Tooltips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

const char* TMainForm::HintOf(HWND control) const {
    return static_cast<const char*>(GetPropA(control, "hint"));
}

// The hint of the control under the pointer or of the nearest container that has one.
void TMainForm::UpdateHintFromPointer() {
    POINT at;
    GetCursorPos(&at);
    std::string hint;
    for (HWND h = WindowFromPoint(at); h && h != Handle; h = GetParent(h)) {
        if (const char* text = HintOf(h)) {
            hint = text;
            break;
        }
    }
    if (hint != CurrentHint) {
        CurrentHint = hint;
        ShowHint(hint);
    }
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

std::string TMainForm::StatusText(int panel) const {
    const auto length = LOWORD(SendMessageA(StatusBar, SB_GETTEXTLENGTHA, panel, 0));
    std::string text(length + 1, '\0');
    SendMessageA(StatusBar, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

void TMainForm::SetStatusText(int panel, const std::string& text) {
    SendMessageA(StatusBar, SB_SETTEXTA, panel, reinterpret_cast<LPARAM>(text.c_str()));
}

// The item whose text the box shows; text typed into the box that matches no item gives -1.
int TMainForm::VehicleTypeIndex() const {
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
        DispatchCommand(static_cast<int>(wParam), TimerTick);
        return 0;
    case WM_INITMENUPOPUP:
        // The recent files are listed as the menu opens, not at start: reading and shortening
        // them then costs the start nothing.
        if (reinterpret_cast<HMENU>(wParam) == FileMenu)
            ShowRecentFiles();
        return 0;
    case WM_MENUSELECT: {
        const bool closed = HIWORD(wParam) == 0xFFFF && lParam == 0;
        const char* hint = "";
        for (const MenuHint& h : MenuHints) {
            if (!closed && h.Id == LOWORD(wParam) && !(HIWORD(wParam) & MF_POPUP))
                hint = h.Hint;
        }
        CurrentHint = hint;
        ShowHint(hint);
        return 0;
    }
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
        if (Comm32.Waiting()) {
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
