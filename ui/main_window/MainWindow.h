#pragma once
// The main window: tool bar, entry fields, the measurement grid, logo, status bar, menu and
// timers. Every control's event is bound to a member handler in one table (MainWindow.cpp); other
// parts add a handler by defining the member in their own file and adding its line there.

#include "data/MeasurementRecord.h"
#include "ui/controls/StringGrid.h"
#include "ui/meter_session/MeterSession.h"
#include "ui/win32/ActivationFocus.h"
#include "ui/win32/WindowTimer.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct ReportSource;
class TPrintPreview;
class TForm2;

// The store of the nine measurements and the slot the window refers to, shared by every part.
extern MeasurementSet MeasurementStore;
extern std::uint8_t CurrentRecord;

// A date and time in the system's short date and long time formats; the PC's current ones when
// none is given.
std::string ShortDateText(const SYSTEMTIME* at = nullptr);
std::string LongTimeText(const SYSTEMTIME* at = nullptr);

// Control, menu item and timer identifiers (menu items and their tool buttons share handlers
// through the dispatch table, not through their numbers).
enum ControlId : int {
    idSpeedBar = 100,
    idSpeedButton1,
    idSpeedButton2,
    idSpeedButton3,
    idSpeedButton4,
    idSpeedButton5,
    idSpeedButton6,
    idsbStart,
    idEdit1,
    idEdit2,
    idEdit3,
    idEdit6,
    idEdit7,
    idEdit8,
    idEdit9,
    idEdit10,
    idEdit11,
    idrodzaj_pojazdu,
    idtxtTmp,
    idTabela,
    idImage1,
    idStatusBar,
    idSpeedButton7,
    idFileOpenItem = 200,
    idFileSaveAsItem,
    idFilePrintItem,
    idFilePrintSetupItem,
    idFileExitItem,
    idHelpAboutItem,
    idFilePrintPreviewItem,
    // The recent files' items, the newest first, and the separator below them.
    idRecentFile1 = 210,
    idRecentFilesEnd = idRecentFile1 + 4,
    idRecentFilesSeparator = idRecentFilesEnd,
    idTimer1 = 300,
    idTimer2,
    idTimer3,
    idRecoveryTimer,
};

class TMainForm : private MeterSessionListener {
  public:
    TMainForm();
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Shows the window; the first time, FormShow runs (start-up loading).
    void Show();

    // Shown data, for the binding, the meter link and the report.
    std::string StatusText(int panel) const;
    void SetStatusText(int panel, const std::string& text);
    int VehicleTypeIndex() const;
    void SetWaitCursor(bool waiting);

    // The report of the selected row as the window shows it, for Print and Print Preview.
    ReportSource ShownReport();

    // Binding of the store to the window.
    void getTab(std::uint8_t n);
    void setTab(std::uint8_t n);

    // Handlers.
    void FormShow();
    void ShowHint(const std::string& hint);
    void Timer1Timer();
    void HelpAbout();
    void Image1Click();
    void FileExit();
    void FileOpen();
    void FileSaveAs();
    void FilePrint();
    void FilePrintPreview();
    void FilePrintSetup();
    void TabelaClick();
    void TabelaEnter();
    void Edit1Exit();
    void Edit2Exit();
    void Edit3Exit();
    void Edit6Exit();
    void Edit7Exit();
    void Edit8Exit();
    void Edit9Exit();
    void Edit10Exit();
    void Edit11Exit();
    void rodzaj_pojazduExit();
    // The meter session's side (MainMeterLink.cpp).
    void sbStartClick();
    // The port dialog, made at the first Connect.
    TForm2& PortDialog();
    // "Connect" or "Disconnect", on the tool button and in the Meter menu.
    void SetStartCaption(const char* caption);
    void FormCloseQuery();
    void FormClose();
    // The recovery copy (MainRecovery.cpp).
    void RecoveryTimerTimer();

    // Unsaved entries and readings (MainFile.cpp): whether the set has changed since it was
    // opened or saved; true when it may be replaced or dropped now, after asking the user whether
    // to save it first where it has changed.
    bool MeasurementsChanged = false;
    bool ChangesSavedOrDropped();

    HWND Handle = nullptr;
    HWND SpeedBar = nullptr;
    HWND SpeedButton1 = nullptr, SpeedButton2 = nullptr, SpeedButton3 = nullptr,
         SpeedButton4 = nullptr, SpeedButton5 = nullptr, SpeedButton6 = nullptr,
         SpeedButton7 = nullptr;
    HWND sbStart = nullptr;
    HWND Label1 = nullptr, Label2 = nullptr, Label3 = nullptr, Label4 = nullptr;
    // Captions of the entry fields: "adres", "adres", "reg.No.", "car type", "mark", "model",
    // "run [km]", "comment" and "diagnostician".
    HWND StaticText2 = nullptr, StaticText3 = nullptr, StaticText4 = nullptr, StaticText5 = nullptr,
         StaticText6 = nullptr, StaticText7 = nullptr, StaticText8 = nullptr, StaticText9 = nullptr,
         StaticText10 = nullptr;
    HWND Edit1 = nullptr;          // customer name
    HWND Edit2 = nullptr;          // customer address, first line
    HWND Edit3 = nullptr;          // customer address, second line
    HWND Edit6 = nullptr;          // registration number
    HWND Edit7 = nullptr;          // make
    HWND Edit8 = nullptr;          // model
    HWND Edit9 = nullptr;          // mileage
    HWND Edit10 = nullptr;         // comment
    HWND Edit11 = nullptr;         // diagnostician
    HWND rodzaj_pojazdu = nullptr; // vehicle type
    HWND txtTmp = nullptr;         // the verdict shown: "positive" or "negative"
    TStringGrid Tabela;            // the nine measurements: date, time, front, left, right
    HWND Image1 = nullptr;
    HWND StatusBar = nullptr;
    HWND Tooltips = nullptr;
    HMENU MainMenu = nullptr, FileMenu = nullptr, MeterMenu = nullptr, HelpMenu = nullptr;
    TTimer Timer1; // the clock
    // One tick a moment after a change: the recovery copy is written then.
    TTimer RecoveryTimer;
    // The meter's port, the link, the identification and the poll; handed to the port dialog.
    MeterSession Session{CurrentRecord};
    std::unique_ptr<TForm2> Dialog;
    // The print preview last opened; its window may have been closed since.
    std::unique_ptr<TPrintPreview> Preview;

    // Each dialog keeps the last chosen name for its next use.
    std::string OpenDialogFileName;
    std::string SaveDialogFileName;
    // The recent files as the File menu lists them.
    std::vector<std::string> ListedRecentFiles;
    // The document to open at start instead of "config.wmx", as the system named it; empty for
    // none.
    std::wstring StartFile;
    // The file the set was last opened from or saved to; empty for "config.wmx" or none.
    std::string DocumentFile;

  private:
    void RequestSent() override;
    void DeliveryDecoded(const DeliveryOutcome& outcome) override;
    void IdentificationStarted() override;
    void IdentificationUnanswered(const std::string& port) override;
    void MeterIdentified(const std::string& port) override;
    void PollTicked() override;
    void PollEnded() override;
    void PortClosed() override;
    void LineLost(const std::string& port) override;

    template <class Owner>
    friend LRESULT CALLBACK RouteToOwner(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void CreateToolBar();
    void CreateEntryFields();
    void CreateMenu();
    // The layout at a DPI (MainLayout.cpp).
    void PlaceAtDpi(int dpi);
    void MoveToDpi(int dpi, const RECT& suggested);
    void UseFontsAt(int dpi);
    void PlaceStatusParts();
    void DrawToolPictures();
    void PlaceBars();
    void SizeVehicleTypeBox();
    void AlignCaptions();
    // The hints (MainHints.cpp).
    void AddHint(HWND control, const char* hint);
    static const char* MenuHint(int id);
    void MenuItemSelected(WPARAM wParam, LPARAM lParam);
    void DispatchCommand(int id, int code);
    LRESULT DispatchNotify(NMHDR& header);
    void ShowSlot(std::uint8_t n);
    void StoreShownSlot();
    void OpenFile(const std::string& fileName);
    void ShowWholeSet();
    bool SaveAs();
    // The set has changed, or is kept where it belongs now (saved or dropped) (MainRecovery.cpp).
    void MarkChanged();
    void ChangesSettled();
    bool OfferRecovery();
    LRESULT QueryEndSession(LPARAM reason);
    void EndSession(bool ending);
    // The recent files (MainRecentFiles.cpp).
    void ShowRecentFiles();
    void OpenRecentFile(std::size_t index);
    void NoteUserChange(int id, int code);
    void ResizeToText(HWND label);
    const char* HintOf(HWND control) const;
    void UpdateHintFromPointer();
    friend void ProcessMessage(MSG& msg);

    HFONT Font = nullptr, ClockFont = nullptr, BoldFont = nullptr;
    HBITMAP Pictures[14] = {};
    HBITMAP Logo = nullptr;
    bool Waiting = false;
    TActivationFocus Focus;
    bool Shown = false;
    // Set by FormCloseQuery: whether the window may close.
    bool CanClose = false;
    // A close asked for while the port's wait ran, done once it is over.
    bool CloseAfterWait = false;
    std::string CurrentHint;
    // The client area at 96 dpi.
    static constexpr int ClientWidth = 725;
    static constexpr int ClientHeight = 342;
};

extern TMainForm* MainForm;
