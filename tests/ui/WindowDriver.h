#pragma once
// Drives the real main window in this process: a temporary working folder, the window created
// and shown as at start-up, and the dialogs it opens answered through their own controls.

#include "data/MeasurementFile.h"
#include "data/StoreImage.h"
#include "ui/main_window/Application.h"
#include "ui/main_window/MainWindow.h"
#include "ui/win32/ErrorDisplay.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

// A path or text in the system's ANSI code page, for the wide functions.
inline std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    wide.data(), static_cast<int>(wide.size())));
    return wide;
}

// Each dialog box that the program opens is handed to the next queued action once it is up; a
// dialog with no action left is recorded and cancelled, so that a test never hangs on it.
class DialogDriver {
  public:
    using Action = std::function<void(HWND)>;
    DialogDriver();
    ~DialogDriver();
    void Expect(Action action) { Actions.push_back(std::move(action)); }
    std::vector<std::string> Unexpected;
    std::size_t Pending() const { return Actions.size(); }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    std::deque<Action> Actions;
    std::set<HWND> Seen;
    HHOOK HookHandle = nullptr;
    HWND Relay = nullptr;
};

struct MessageBoxSeen {
    std::string Caption;
    std::string Text;
    bool HasIcon = false;
    HICON Icon = nullptr;
};

// Notes what a message box shows.
void NoteMessageBox(HWND box, MessageBoxSeen& seen);
// Answers a message box with a button after noting what it showed.
DialogDriver::Action AnswerMessageBox(MessageBoxSeen& seen, int button = IDOK);
// Types a file name into a file dialog and presses its OK button; notes the filter shown first.
DialogDriver::Action ChooseFile(const std::string& fileName, std::string* filter = nullptr);
DialogDriver::Action PressButton(int button);

// The PDFs that the private print queue (scripts/test.sh starts it) has written so far.
int PdfCount();

class MainFormTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Writes config.wmx into the working folder before the window is shown.
    void WriteConfig(const MeasurementSet& store) const;
    // A new main window in place of the one before, as at the program's next start; not shown.
    void NewWindow();
    void ShowWindow();
    // A command as from the window's menu.
    void Command(int id);
    // A change as the user makes it: a letter typed into the customer's name.
    void ChangeTheName();
    std::string Path(const std::string& name) const { return Folder + "\\" + name; }
    // Where the program keeps its recovery copy in this test.
    std::string RecoveryCopyFile() const { return Path("appdata\\Kavra Tintra\\recovery.dat"); }

    void Click(HWND control, int x, int y);
    void ClickRow(int row);
    void PressKey(HWND control, UINT key);
    void Type(HWND control, const std::string& text);
    void Focus(HWND control);
    // Real input, as from the keyboard and the mouse: the system delivers it to the window with
    // the keyboard focus or under the pointer.
    static void Keystroke(WORD key, WORD modifier = 0);
    // The same, without handling the messages here: for a dialog's own loop to take.
    static void SendKeystroke(WORD key, WORD modifier = 0);
    static void MovePointerTo(HWND control);
    static void MouseClick();

    static std::unique_ptr<MeasurementSet> SampleStore();

    std::string Folder;
    std::string PreviousFolder;
    std::wstring OwnAppData;
    DialogDriver Dialogs;
    std::unique_ptr<TMainForm> Window;
    // What the window is made of, where the tests look.
    MainWindowParts* Form = nullptr;
};

// The window shown over a config.wmx that holds the sample store.
class SampleWindowTest : public MainFormTest {
  protected:
    void SetUp() override;
};
