// The File menu's recent files: the last four .wmx files opened or saved, kept per user.
#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"
#include "ui/win32/UserSettings.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class RecentFilesTest : public SampleWindowTest {
  protected:
    void SaveAs(const std::string& name) {
        const bool exists = GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
        Dialogs.Expect(ChooseFile(Path(name)));
        if (exists)
            Dialogs.Expect(PressButton(IDYES)); // replacing it
        Command(idFileSaveAsItem);
        EXPECT_EQ(Dialogs.Pending(), 0u);
    }
    void Open(const std::string& name) {
        Dialogs.Expect(ChooseFile(Path(name)));
        Command(idFileOpenItem);
    }
    // The File menu as the user opens it: the system tells the window first.
    void OpenFileMenu() const {
        SendMessageA(Form->Handle, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Form->FileMenu), 0);
    }
    void ChooseRecentFile(int index) {
        OpenFileMenu();
        Command(idRecentFile1 + index);
    }
    // The menu's list, as shown from the top when it opens; it must stand right above Exit, set
    // off by a separator.
    std::vector<std::string> Shown() const {
        OpenFileMenu();
        std::vector<std::string> items;
        const int count = GetMenuItemCount(Form->FileMenu);
        for (int position = 0; position < count; ++position) {
            const UINT id = GetMenuItemID(Form->FileMenu, position);
            if (id < idRecentFile1 || id >= idRecentFilesEnd)
                continue;
            char text[MAX_PATH] = "";
            GetMenuStringA(Form->FileMenu, position, text, sizeof text, MF_BYPOSITION);
            items.emplace_back(text);
        }
        if (!items.empty()) {
            EXPECT_EQ(GetMenuItemID(Form->FileMenu, count - 1), UINT(idFileExitItem));
            EXPECT_EQ(GetMenuItemID(Form->FileMenu, count - 2), UINT(idRecentFilesSeparator));
            EXPECT_EQ(GetMenuItemID(Form->FileMenu, count - 3),
                      UINT(idRecentFile1 + items.size() - 1));
        }
        return items;
    }
    // The list kept, by the files' names.
    std::vector<std::string> Kept() const {
        std::vector<std::string> names;
        for (const std::string& file : RecentFiles()) {
            EXPECT_EQ(file.rfind(Folder, 0), 0u) << file << " is kept with its full path";
            names.push_back(file.substr(file.find_last_of('\\') + 1));
        }
        return names;
    }
};

using Names = std::vector<std::string>;

TEST_F(RecentFilesTest, OpeningAndSavingPutTheFileFirstAndTheListHoldsFour) {
    EXPECT_EQ(Kept(), Names{}) << "config.wmx loaded at start is not listed";
    EXPECT_EQ(Shown(), Names{});
    const struct {
        const char* Step;
        std::function<void()> Do;
        Names Expected;
    } steps[] = {
        {"save a", [&] { SaveAs("a.wmx"); }, {"a.wmx"}},
        {"save b", [&] { SaveAs("b.wmx"); }, {"b.wmx", "a.wmx"}},
        {"open a again", [&] { Open("a.wmx"); }, {"a.wmx", "b.wmx"}},
        {"save c and d",
         [&] { SaveAs("c.wmx"), SaveAs("d.wmx"); },
         {"d.wmx", "c.wmx", "a.wmx", "b.wmx"}},
        {"a fifth file", [&] { SaveAs("e.wmx"); }, {"e.wmx", "d.wmx", "c.wmx", "a.wmx"}},
        {"save again under a listed name",
         [&] { SaveAs("c.wmx"); },
         {"c.wmx", "e.wmx", "d.wmx", "a.wmx"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Step);
        step.Do();
        EXPECT_EQ(Kept(), step.Expected);
        const Names shown = Shown();
        ASSERT_EQ(shown.size(), step.Expected.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].rfind("&" + std::to_string(i + 1) + " ", 0), 0u) << shown[i];
            EXPECT_NE(shown[i].find(step.Expected[i]), std::string::npos) << shown[i];
        }
    }
}

TEST_F(RecentFilesTest, AChosenFileOpensAndOneThatHasGoneLeavesTheList) {
    SaveAs("first.wmx");
    SaveAs("gone.wmx");
    SaveAs("last.wmx");
    ASSERT_TRUE(DeleteFileA(Path("gone.wmx").c_str()));
    MessageBoxSeen error;
    Dialogs.Expect(AnswerMessageBox(error));
    ChooseRecentFile(1);
    EXPECT_EQ(error.Text, "File not found.\n\n" + Path("gone.wmx")) << "the box names the file";
    EXPECT_TRUE(error.HasIcon);
    EXPECT_EQ(Kept(), (Names{"last.wmx", "first.wmx"}));
    EXPECT_EQ(Shown().size(), 2u);

    SetWindowTextA(Form->Edit1, "shown before");
    ChooseRecentFile(1);
    EXPECT_EQ(Kept(), (Names{"first.wmx", "last.wmx"}));
    EXPECT_EQ(Form->OpenDialogFileName, Path("first.wmx"));
    EXPECT_NE(WindowText(Form->Edit1), "shown before") << "the file's first record is shown";
}

TEST_F(RecentFilesTest, TheListIsKeptAcrossRestartsAndLongPathsAreShortenedInTheMiddle) {
    const std::string deep = std::string(40, 'f');
    ASSERT_TRUE(CreateDirectoryA(Path(deep).c_str(), nullptr));
    SaveAs(deep + "\\deep.wmx");
    SaveAs("near.wmx");
    // A new window, as at the program's next start.
    NewWindow();
    ShowWindow();
    const Names shown = Shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[1].find("..."), std::string::npos) << shown[1];
    EXPECT_NE(shown[1].find("deep.wmx"), std::string::npos) << shown[1];
    EXPECT_LE(shown[1].size(), 3u + 48u) << shown[1];
    EXPECT_EQ(Kept(), (Names{"near.wmx", "deep.wmx"}));
    DeleteFileA(Path(deep + "\\deep.wmx").c_str());
    RemoveDirectoryA(Path(deep).c_str());
}

// A long path leaves out folders, never letters of the file's name; its hint is the whole path.
TEST_F(RecentFilesTest, LongPathsKeepTheFileNameWholeAndTheHintShowsThePath) {
    const std::string of48 = R"(C:\)" + std::string(39, 'p') + R"(\a.wmx)";
    const std::string of49 = R"(C:\)" + std::string(40, 'p') + R"(\a.wmx)";
    const struct {
        std::string Path;
        std::string Shown; // after "&1 "
    } cases[] = {
        {R"(C:\stacja\a.wmx)", R"(C:\stacja\a.wmx)"},
        {of48, of48},
        {of49, R"(C:\...\a.wmx)"},
        {R"(C:\Users\inspektor\Documents\pomiary\2026\stacja\a.wmx)",
         R"(C:\...\Documents\pomiary\2026\stacja\a.wmx)"},
        {R"(C:\pomiary\protokol pomiaru przepuszczalnosci szyb samochodu.wmx)",
         R"(C:\...\protokol pomiaru przepuszczalnosci szyb samochodu.wmx)"},
        // "..." would be no shorter than the one folder it stands for.
        {R"(C:\a\protokol pomiaru przepuszczalnosci szyb samochodu.wmx)",
         R"(C:\a\protokol pomiaru przepuszczalnosci szyb samochodu.wmx)"},
        {R"(\\serwer\udzial\stacja kontroli pojazdow\pomiary 2026\a.wmx)",
         R"(\\serwer\udzial\...\pomiary 2026\a.wmx)"},
        {R"(C:\Dokumenty\pomiary\2026\Kowalski & Syn\stacja\B&K.wmx)",
         R"(C:\...\2026\Kowalski && Syn\stacja\B&&K.wmx)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        RememberRecentFile(c.Path);
        const Names shown = Shown();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.front(), "&1 " + c.Shown);
        SendMessageA(Form->Handle, WM_MENUSELECT, MAKEWPARAM(idRecentFile1, MF_HILITE),
                     reinterpret_cast<LPARAM>(Form->FileMenu));
        EXPECT_EQ(Form->StatusText(3), c.Path);
        ForgetRecentFile(c.Path);
    }
}

} // namespace
