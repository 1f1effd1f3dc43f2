// The main window's controls, its tool bar and its menu, created in the Tab order.
#include "ui/controls/SpeedButton.h"
#include "ui/controls/StandardControls.h"
#include "ui/main_window/MainWindow.h"
#include "ui/win32/Layout.h"
#include "ui/win32/Pictures.h"

#include <commctrl.h>

void TMainForm::CreateMenu() {
    MainMenu = ::CreateMenu();
    FileMenu = CreatePopupMenu();
    AppendMenuA(FileMenu, MF_STRING, idFileOpenItem, "&Open...\tCtrl+O");
    AppendMenuA(FileMenu, MF_STRING, idFileSaveItem, "&Save\tCtrl+S");
    AppendMenuA(FileMenu, MF_STRING, idFileSaveAsItem, "Save &As...\tF12");
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
    Tooltips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
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
        const wchar_t* Hint;
    };
    const PictureButton buttons[] = {
        {&SpeedButton1, idSpeedButton1, 8, L"otwiera plik z pomiarami"},
        {&SpeedButton2, idSpeedButton2, 40, L"zapisuje pomiary do pliku"},
        {&SpeedButton3, idSpeedButton3, 72, L"drukuje wybrany pomiar (kliknij w tabelkę)"},
        {&SpeedButton7, idSpeedButton7, 104, L"podgląd wydruku wybranego pomiaru"},
        {&SpeedButton4, idSpeedButton4, 136, L"ustawienia drukarki"},
        {&SpeedButton6, idSpeedButton6, 168, L"informacje"},
        {&SpeedButton5, idSpeedButton5, 200, L"wyjscie"},
    };
    for (const PictureButton& b : buttons) {
        *b.Button = CreateChild(SpeedButtonClass, "", 0, b.Left, 4, 25, 25, SpeedBar, b.Id, Font);
        AddHint(*b.Button, b.Hint);
    }
    DrawToolPictures();
    sbStart =
        CreateChild(SpeedButtonClass, "Connect", 0, 248, 3, 101, 28, SpeedBar, idsbStart, Font);
    AddHint(sbStart, MenuHint(idsbStart));
    Label1 = CreateChild("STATIC", "?\?-?\?-?\?", SS_LEFTNOWORDWRAP, 440, 8, 59, 16, SpeedBar, 0,
                         ClockFont);
    Label2 = CreateChild("STATIC", "?\?:?\?:?\?", SS_LEFTNOWORDWRAP, 576, 8, 57, 16, SpeedBar, 0,
                         ClockFont);
}

void TMainForm::CreateEntryFields() {
    // Each caption comes just before its field: assistive tools name a field by the caption before
    // it in the window order, and the caption's access key moves the focus to the Tab stop after
    // it. F, M and H are the menus' letters.
    struct Caption {
        HWND* Control;
        const char* Text;
        int Left, Top, Width, Height;
        DWORD Align = SS_RIGHT;
    };
    const auto createCaption = [this](const Caption& c) {
        *c.Control = CreateChild("STATIC", c.Text, c.Align, c.Left, c.Top, c.Width, c.Height,
                                 Handle, 0, Font);
    };
    struct Field {
        Caption Label;
        HWND* Control;
        int Id;
        int Left, Top, Width;
    };
    const Field fields[] = {
        {{&Label3, "&name", 42, 64, 26, 13}, &Edit1, idEdit1, 80, 56, 313},
        {{&StaticText2, "&adres", 40, 88, 30, 17}, &Edit2, idEdit2, 80, 80, 313},
        {{&StaticText3, "adre&s", 40, 112, 30, 17}, &Edit3, idEdit3, 80, 104, 313},
        {{&StaticText4, "&reg.No.", 32, 144, 39, 17}, &Edit6, idEdit6, 80, 136, 105},
        {{&StaticText6, "mar&k", 40, 192, 27, 17}, &Edit7, idEdit7, 80, 184, 105},
        {{&StaticText7, "m&odel", 32, 216, 32, 17}, &Edit8, idEdit8, 80, 208, 105},
        {{&StaticText8, "r&un [km]", 24, 240, 42, 17}, &Edit9, idEdit9, 80, 232, 105},
        {{&StaticText9, "commen&t", 24, 272, 47, 17}, &Edit10, idEdit10, 80, 264, 625},
        {{&StaticText10, "d&iagnostician", 8, 296, 66, 17}, &Edit11, idEdit11, 80, 288, 625},
    };
    // No field takes more than the file keeps, so nothing typed is dropped without a word.
    for (const Field& f : fields) {
        createCaption(f.Label);
        *f.Control = CreateChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, f.Left, f.Top, f.Width,
                                 21, Handle, f.Id, Font, WS_EX_CLIENTEDGE);
        SendMessageA(*f.Control, EM_LIMITTEXT, ShortString::Capacity, 0);
    }

    const int colWidths[] = {40, 69, 68, 40, 40, 40};
    Tabela.Create(Handle, idTabela, 400, 56, 306, 163, Font, colWidths);

    createCaption({&StaticText5, "&car type", 24, 168, 42, 17});
    // The drop-down's list reaches below the field; its height is the closed box plus the list.
    rodzaj_pojazdu = CreateChild("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 80, 160,
                                 105, 120, Handle, idrodzaj_pojazdu, BoldFont);
    for (const char* item : {"passenger", "lorry", "bus", "other"})
        SendMessageA(rodzaj_pojazdu, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SizeVehicleTypeBox();
    AddHint(rodzaj_pojazdu, L"wybierz typ auta");
    if (HWND inner = GetWindow(rodzaj_pojazdu, GW_CHILD))
        AddHint(inner, L"wybierz typ auta");

    createCaption({&Label4, "r&esult", 408, 232, 25, 13, SS_LEFT});
    txtTmp = CreateChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 440, 224, 265, 21, Handle,
                         idtxtTmp, Font, WS_EX_CLIENTEDGE);
    AlignCaptions();
}
