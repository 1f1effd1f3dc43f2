// Starting from a document or a shortcut: the document named at start opens as File > Open
// opens it, and the program's own files are found beside wmx.exe when the working folder lacks
// them. The last two cases start the real wmx.exe as Explorer would.
#include "WindowDriver.h"

#include "ui/Controls.h"

#include <commdlg.h>

namespace {

class StartDocumentTest : public MainFormTest {
  protected:
    // A document in a folder whose name has blanks, with its own customer.
    std::string WriteDocument() {
        const std::string folder = Path("set folder");
        CreateDirectoryA(folder.c_str(), nullptr);
        auto store = SampleStore();
        SetText(store->Slot(1).CustomerName, "Document Customer");
        const std::string path = folder + "\\set one.wmx";
        WriteMeasurementFile(path, *store);
        Created.push_back(path);
        Created.push_back(folder);
        return path;
    }
    void TearDown() override {
        for (const std::string& path : Created) {
            DeleteFileA(path.c_str());
            RemoveDirectoryA(path.c_str());
        }
        MainFormTest::TearDown();
    }
    std::vector<std::string> Created;
};

TEST_F(StartDocumentTest, DocumentNamedAtStartOpensAsFileOpenWould) {
    WriteConfig(*SampleStore());
    const std::string document = WriteDocument();
    Form->StartFile = document;
    ShowWindow();
    EXPECT_EQ(WindowText(Form->Edit1), "Document Customer") << "instead of config.wmx";
    EXPECT_EQ(CurrentRecord, 1);
    EXPECT_EQ(Form->Tabela.Row(), 1);
    EXPECT_EQ(Form->Tabela.Cells(1, 4), "2026-01-04") << "dates shown as after opening";
    EXPECT_EQ(MeasurementStore.Slot(1).FrontValue, 711) << "values recomputed as after opening";

    std::string folder;
    Dialogs.Expect([&folder](HWND dialog) {
        char path[MAX_PATH] = "";
        SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
        folder = path;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Keystroke('O', VK_CONTROL);
    EXPECT_EQ(folder, Path("set folder")) << "the Open dialog starts in the document's folder";
}

TEST_F(StartDocumentTest, UnreadableDocumentAtStartShowsTheOpenError) {
    WriteConfig(*SampleStore());
    Form->StartFile = Path("missing.wmx");
    MessageBoxSeen error;
    Dialogs.Expect(AnswerMessageBox(error));
    ShowWindow();
    EXPECT_EQ(error.Text, "File not found.");
    EXPECT_TRUE(error.HasIcon);
    EXPECT_EQ(CurrentRecord, 0);
    EXPECT_EQ(WindowText(Form->Edit1), "") << "config.wmx is not read instead";
}

// The real program in a process of its own: its main window once it is up, its message boxes.
class ProgramRun {
  public:
    ProgramRun(const std::string& exe, const std::string& arguments, const std::string& folder) {
        std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &Process))
            return;
        WaitForInputIdle(Process.hProcess, 10000);
        for (int i = 0; i < 100 && !(Main = Window("TMainForm")); ++i)
            Sleep(50);
    }
    ~ProgramRun() {
        if (!Process.hProcess)
            return;
        if (Main)
            PostMessageA(Main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(Process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(Process.hProcess, 1);
        CloseHandle(Process.hThread);
        CloseHandle(Process.hProcess);
    }
    // The visible top-level window of this process with the class, when there is one.
    HWND Window(const char* className) const {
        WindowSearch search{Process.dwProcessId, className, nullptr};
        EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
        return search.Found;
    }
    // The main window's first field once it shows the expected text, or as it is after a wait.
    std::string FirstField(const std::string& expected) const {
        std::string text;
        for (int i = 0; i < 100 && (text = TextOf(GetDlgItem(Main, idEdit1))) != expected; ++i)
            Sleep(50);
        return text;
    }
    // Asked of the control itself: another process's edit keeps its text to itself.
    static std::string TextOf(HWND control) {
        char text[256] = "";
        SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND Main = nullptr;

  private:
    struct WindowSearch {
        DWORD Pid;
        const char* Class;
        HWND Found;
    };
    static BOOL CALLBACK Match(HWND window, LPARAM data) {
        auto& search = *reinterpret_cast<WindowSearch*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        if (pid == search.Pid && std::string(name) == search.Class && IsWindowVisible(window))
            search.Found = window;
        return !search.Found;
    }
    PROCESS_INFORMATION Process{};
};

TEST_F(StartDocumentTest, ProgramStartedWithAQuotedPathOpensThatDocument) {
    const std::string exe = Path("wmx.exe");
    ASSERT_TRUE(CopyFileA(WMX_EXE, exe.c_str(), FALSE));
    const std::string document = WriteDocument();
    // As the file association passes it: "%1", blanks and all; the working folder has no
    // config.wmx, so any error box would show.
    ProgramRun run(exe, "\"" + document + "\"", Folder);
    ASSERT_TRUE(run.Main);
    EXPECT_EQ(run.FirstField("Document Customer"), "Document Customer");
    EXPECT_FALSE(run.Window("#32770")) << "no error box";
}

TEST_F(StartDocumentTest, ConfigAndFormAreFoundBesideTheProgramFromAnotherFolder) {
    const std::string programFolder = Path("program");
    CreateDirectoryA(programFolder.c_str(), nullptr);
    const std::string exe = programFolder + "\\wmx.exe";
    Created = {exe, programFolder + "\\config.wmx", programFolder + "\\protokol.bmp",
               programFolder};
    ASSERT_TRUE(CopyFileA(WMX_EXE, exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(WMX_REPORT_FORM, Created[2].c_str(), FALSE));
    auto config = SampleStore();
    SetText(config->Slot(1).CustomerName, "Config Beside The Program");
    WriteMeasurementFile(Created[1], *config);
    // The working folder (the test's own) holds neither file.
    ProgramRun run(exe, "", Folder);
    ASSERT_TRUE(run.Main);
    EXPECT_EQ(run.FirstField("Config Beside The Program"), "Config Beside The Program");
    EXPECT_FALSE(run.Window("#32770")) << "no error box";

    // Print: the print dialog comes up, OK, and the report reaches the queue.
    const int pdfs = PdfCount();
    PostMessageA(run.Main, WM_COMMAND, idFilePrintItem, 0);
    HWND printDialog = nullptr;
    for (int i = 0; i < 100 && !(printDialog = run.Window("#32770")); ++i)
        Sleep(50);
    ASSERT_TRUE(printDialog);
    PostMessageA(printDialog, WM_COMMAND, IDOK, 0);
    HWND box = nullptr;
    for (int i = 0; i < 400 && PdfCount() == pdfs; ++i) {
        Sleep(50);
        if ((box = run.Window("#32770")) && box != printDialog)
            break;
    }
    EXPECT_GT(PdfCount(), pdfs);
    EXPECT_FALSE(box && box != printDialog)
        << "error box: " << ProgramRun::TextOf(GetDlgItem(box, 0xFFFF));
}

} // namespace
