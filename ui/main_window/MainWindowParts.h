#pragma once
// What the main window is made of: its controls, menus and timers, the meter session, the windows
// it opens and the state of the set it shows, with the queries on them. The window's own files use
// these as its members; tests and benchmarks reach them through Inside() (MainWindow.h), and no
// other code does.

#include "data/MeasurementRecord.h"
#include "ui/controls/StringGrid.h"
#include "ui/meter_session/MeterSession.h"
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

struct MainWindowParts {
    std::string StatusText(int panel) const;
    void SetStatusText(int panel, const std::string& text);
    int VehicleTypeIndex() const;
    // The report of the selected row as the window shows it, for Print and Print Preview
    // (MainReport.cpp).
    ReportSource ShownReport();
    // The port dialog, made at the first Connect (MainMeterLink.cpp).
    TForm2& PortDialog();

    // Whether the set has changed since it was opened or saved (MainFile.cpp); the title marks
    // it.
    bool MeasurementsChanged = false;

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

    // The Open dialog keeps the last chosen name for its next use; Save As proposes DocumentFile.
    std::string OpenDialogFileName;
    // The recent files as the File menu lists them.
    std::vector<std::string> ListedRecentFiles;
    // The document to open at start instead of "config.wmx", as the system named it; empty for
    // none.
    std::wstring StartFile;
    // The file the set was last opened from or saved to, which Save writes and the title names;
    // empty for "config.wmx" or none.
    std::string DocumentFile;
};
