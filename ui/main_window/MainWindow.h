#pragma once
// The main window: tool bar, entry fields, the measurement grid, logo, status bar, menu and
// timers. Every control's event is bound to a member handler in one table (MainWindow.cpp); other
// parts add a handler by defining the member in their own file and adding its line there.

#include "ui/main_window/MainWindowParts.h"
#include "ui/win32/ActivationFocus.h"
#include "ui/win32/EventBinding.h"

#include <windows.h>

#include <cstdint>
#include <string>

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
    idFileSaveItem,
    // The recent files' items, the newest first, and the separator below them.
    idRecentFile1 = 210,
    idRecentFilesEnd = idRecentFile1 + 4,
    idRecentFilesSeparator = idRecentFilesEnd,
    idTimer1 = 300,
    idTimer2,
    idTimer3,
    idRecoveryTimer,
    idFindTimer,
};

class TMainForm : private MainWindowParts, private MeterSessionListener {
  public:
    TMainForm();
    ~TMainForm();
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Shows the window; the first time, FormShow runs (start-up loading).
    void Show();
    // The document to open at start instead of "config.wmx", as the system named it.
    void SetStartDocument(std::wstring document);
    using MainWindowParts::Handle;

    // Tests and benchmarks look inside the window through this door alone.
    friend MainWindowParts& Inside(TMainForm& window) { return window; }

  private:
    // Every event of the window's controls, bound to its handler (MainWindow.cpp).
    static const TEventBinding<TMainForm> Bindings[];

    void SetWaitCursor(bool waiting);

    // Binding of the store to the window.
    void getTab(std::uint8_t n);
    void setTab(std::uint8_t n);

    // Handlers.
    void FormShow();
    void ShowHint(const std::wstring& hint);
    void Timer1Timer();
    void HelpAbout();
    void Image1Click();
    void FileExit();
    void FileOpen();
    void FileSave();
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
    // "Connect" or "Disconnect", on the tool button and in the Meter menu.
    void SetStartCaption(const char* caption);
    void FormCloseQuery();
    void FormClose();
    // The recovery copy (MainRecovery.cpp).
    void RecoveryTimerTimer();
    // True when the set may be replaced or dropped now, after asking the user whether to save it
    // first where it has changed (MainFile.cpp).
    bool ChangesSavedOrDropped();

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
    void AddHint(HWND control, const wchar_t* hint);
    static const wchar_t* MenuHint(int id);
    void MenuItemSelected(WPARAM wParam, LPARAM lParam);
    void DispatchCommand(int id, int code);
    LRESULT DispatchNotify(NMHDR& header);
    void ShowSlot(std::uint8_t n);
    void StoreShownSlot();
    void OpenFile(const std::string& fileName);
    void ShowWholeSet();
    // Save writes the set to its file, Save As to a file the user names; both give false when the
    // user cancels, and a failed save throws (MainFile.cpp).
    bool Save();
    bool SaveAs();
    void WriteSet(const std::string& fileName);
    // The title names the set's file and marks unsaved changes (MainTitle.cpp).
    void ShowTitle();
    // Moves the window off the place where another copy of the program has its window
    // (MainPlacement.cpp).
    void StepAsideFromOtherCopies();
    // The set has changed, or is kept where it belongs now (saved or dropped) (MainRecovery.cpp).
    void MarkChanged();
    void ChangesSettled();
    bool OfferRecovery();
    LRESULT QueryEndSession(LPARAM reason);
    void EndSession(bool ending);
    // The recent files (MainRecentFiles.cpp).
    void ShowRecentFiles();
    void OpenRecentFile(std::size_t index);
    // The path of the recent file whose menu item has the id; null for other ids.
    const std::string* ListedRecentFile(int id) const;
    void NoteUserChange(int id, int code);
    void ResizeToText(HWND label);
    const wchar_t* HintOf(HWND control) const;
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
    std::wstring CurrentHint;
    // The client area at 96 dpi.
    static constexpr int ClientWidth = 725;
    static constexpr int ClientHeight = 342;
};

extern TMainForm* MainForm;
