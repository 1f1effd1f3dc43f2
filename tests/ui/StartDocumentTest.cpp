// Starting from a document or a shortcut: the document named at start opens as File > Open
// opens it, and the program's own files are found beside wmx.exe when the working folder lacks
// them; the document becomes the first of the recent files. The last cases start the real
// wmx.exe as Explorer would.
#include "ProgramRun.h"
#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"
#include "ui/win32/UserSettings.h"

#include <commdlg.h>

#include <cstdlib>

namespace {

// "Łódź": a folder whose name code page 1252 cannot hold.
const std::wstring PolishFolder = L"\u0141\u00f3d\u017a";

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
    // The same document in a folder of Polish letters, under a name of Polish letters too.
    std::wstring WritePolishDocument() {
        const std::wstring folder = Widen(Folder) + L"\\" + PolishFolder;
        CreateDirectoryW(folder.c_str(), nullptr);
        const std::wstring path = folder + L"\\pomiar \u015b\u0107.wmx";
        MoveFileW(Widen(WriteDocument()).c_str(), path.c_str());
        CreatedWide = {path, folder};
        return path;
    }
    void TearDown() override {
        for (const std::wstring& path : CreatedWide) {
            DeleteFileW(path.c_str());
            RemoveDirectoryW(path.c_str());
        }
        for (const std::string& path : Created) {
            DeleteFileA(path.c_str());
            RemoveDirectoryA(path.c_str());
        }
        MainFormTest::TearDown();
    }
    std::vector<std::string> Created;
    std::vector<std::wstring> CreatedWide;
};

TEST_F(StartDocumentTest, DocumentNamedAtStartOpensAsFileOpenWould) {
    WriteConfig(*SampleStore());
    const std::string document = WriteDocument();
    Window->SetStartDocument(Widen(document));
    ShowWindow();
    EXPECT_EQ(WindowText(Form->Edit1), "Document Customer") << "instead of config.wmx";
    EXPECT_EQ(CurrentRecord, 1);
    EXPECT_EQ(Form->Tabela.Row(), 1);
    EXPECT_EQ(Form->Tabela.Cells(1, 4), "2026-01-04") << "dates shown as after opening";
    EXPECT_EQ(MeasurementStore.Slot(1).FrontValue, 711) << "values recomputed as after opening";
    EXPECT_EQ(WindowText(Form->Handle), "set one.wmx - Kavra Tintra");

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
    Window->SetStartDocument(Widen(Path("missing.wmx")));
    MessageBoxSeen error;
    Dialogs.Expect(AnswerMessageBox(error));
    ShowWindow();
    EXPECT_EQ(error.Text, "File not found.");
    EXPECT_TRUE(error.HasIcon);
    EXPECT_EQ(CurrentRecord, 0);
    EXPECT_EQ(WindowText(Form->Edit1), "") << "config.wmx is not read instead";
}

TEST_F(StartDocumentTest, ProgramStartedWithAQuotedPathOpensThatDocument) {
    const std::string exe = Path("wmx.exe");
    ASSERT_TRUE(CopyFileA(WMX_EXE, exe.c_str(), FALSE));
    const std::string document = WriteDocument();
    // As the file association passes it: "%1", blanks and all; the working folder has no
    // config.wmx, so any error box would show.
    ProgramRun run(exe, L"\"" + Widen(document) + L"\"", Folder);
    ASSERT_TRUE(run.Main);
    EXPECT_EQ(run.FirstField("Document Customer"), "Document Customer");
    EXPECT_FALSE(run.Window("#32770")) << "no error box";
    EXPECT_EQ(ProgramRun::TextOf(run.Main), "set one.wmx - Kavra Tintra");
    const std::vector<std::string> recent = RecentFiles();
    ASSERT_FALSE(recent.empty()) << "the program keeps the document among the recent files";
    EXPECT_EQ(recent.front(), document);
}

// Under every code page: where the code page cannot hold the letters (1252), through the path's
// short name; where it can (1250, UTF-8), through the path itself. tests/ui/CMakeLists.txt runs
// this under each of them.
TEST_F(StartDocumentTest, ProgramStartedWithAPathOfPolishLettersOpensThatDocument) {
    if (const char* codePage = std::getenv("WMX_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(codePage))) << "the run's code page";
    }
    const std::string exe = Path("wmx.exe");
    ASSERT_TRUE(CopyFileA(WMX_EXE, exe.c_str(), FALSE));
    const std::wstring document = WritePolishDocument();
    ASSERT_NE(GetFileAttributesW(document.c_str()), INVALID_FILE_ATTRIBUTES);
    ProgramRun run(exe, L"\"" + document + L"\"", Folder);
    ASSERT_TRUE(run.Main);
    EXPECT_EQ(run.FirstField("Document Customer"), "Document Customer") << "code page " << GetACP();
    EXPECT_FALSE(run.Window("#32770")) << "no error box";
}

// A path that the code page cannot hold and that has no short name (a file that is not there):
// the error box names it, as the code page shows it.
TEST_F(StartDocumentTest, ProgramStartedWithAPathTheCodePageCannotHoldNamesItInTheErrorBox) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "the name as code page 1252 shows it";
    const std::string exe = Path("wmx.exe");
    ASSERT_TRUE(CopyFileA(WMX_EXE, exe.c_str(), FALSE));
    const std::wstring folder = Widen(Folder) + L"\\" + PolishFolder;
    CreateDirectoryW(folder.c_str(), nullptr);
    CreatedWide = {folder};
    ProgramRun run(exe, L"\"" + folder + L"\\pomiar \u015b\u0107.wmx\"", Folder);
    ASSERT_TRUE(run.Main);
    const HWND box = run.ErrorBox();
    ASSERT_TRUE(box) << "no error box";
    EXPECT_EQ(ProgramRun::TextOf(GetDlgItem(box, 0xFFFF)),
              "Cannot open file \"" + Folder +
                  "\\?\xf3"
                  "d?\\pomiar ??.wmx\". File not found.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

// A second copy started on another file opens where it leaves the first window in sight: down and
// to the right of it, and back at the work area's corner where that would leave the work area.
TEST_F(StartDocumentTest, ASecondCopyOpensWhereItDoesNotHideTheFirst) {
    WriteConfig(*SampleStore());
    ShowWindow();
    const std::string document = WriteDocument();
    RECT first;
    GetWindowRect(Form->Handle, &first);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(Form->Handle, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    const auto expectOnTheWorkArea = [&](const RECT& r) {
        EXPECT_GE(r.left, work.left);
        EXPECT_GE(r.top, work.top);
        EXPECT_LE(r.right, work.right);
        EXPECT_LE(r.bottom, work.bottom);
    };
    RECT second;
    {
        ProgramRun run(WMX_EXE, L"\"" + Widen(document) + L"\"", Folder);
        ASSERT_TRUE(run.Main);
        GetWindowRect(run.Main, &second);
    }
    const int step = second.left - first.left;
    ASSERT_GT(step, 0) << "to the right";
    EXPECT_EQ(second.top - first.top, step) << "and as far down";
    expectOnTheWorkArea(second);

    // Windows of the same class at every place down to the work area's edge.
    struct Windows {
        std::vector<HWND> All;
        ~Windows() {
            for (HWND window : All)
                DestroyWindow(window);
        }
    } others;
    const SIZE size{second.right - second.left, second.bottom - second.top};
    for (POINT at{second.left, second.top};
         at.x + size.cx <= work.right && at.y + size.cy <= work.bottom;
         at.x += step, at.y += step) {
        others.All.push_back(CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "TMainForm", "",
                                             WS_POPUP | WS_VISIBLE, at.x, at.y, size.cx, size.cy,
                                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
        ASSERT_TRUE(others.All.back());
    }
    ProcessMessages();
    RECT third;
    {
        ProgramRun run(WMX_EXE, L"\"" + Widen(document) + L"\"", Folder);
        ASSERT_TRUE(run.Main);
        GetWindowRect(run.Main, &third);
    }
    expectOnTheWorkArea(third);
    EXPECT_FALSE(third.left == first.left && third.top == first.top);
    for (HWND other : others.All) {
        RECT r;
        GetWindowRect(other, &r);
        EXPECT_FALSE(third.left == r.left && third.top == r.top) << "over another at " << r.left;
    }
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
    ProgramRun run(exe, L"", Folder);
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
