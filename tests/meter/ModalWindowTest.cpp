// Modal dialogs over the program's other windows: while one is open, neither the main window nor
// the port dialog takes input, and afterwards exactly the windows that took it take it again.
// Real clicks into the real windows under Wine, with the meter on COM6 identified.
#include "LinkFixture.h"

namespace {

class ModalTest : public LinkTest {
  protected:
    // A real click on the control, as the system routes it.
    static void ClickWithTheMouse(HWND control) {
        MovePointerTo(control);
        MouseClick();
    }
    // Moves the dialog beside the window, so that clicks meant for the window reach it.
    static void PlaceBeside(HWND dialog, HWND window) {
        RECT beside;
        GetWindowRect(window, &beside);
        SetWindowPos(dialog, nullptr, beside.right + 10, beside.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    static bool Overlap(HWND one, HWND other) {
        RECT a, b, both;
        GetWindowRect(one, &a);
        GetWindowRect(other, &b);
        return IntersectRect(&both, &a, &b);
    }
};

struct Enabled {
    bool Main = true, Port = true, SaveAs = true;
    bool operator==(const Enabled&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Enabled& e) {
    return out << "main " << e.Main << ", port dialog " << e.Port << ", Save As " << e.SaveAs;
}

TEST_F(ModalTest, SaveAsTakesAllInputUntilItClosesAndABoxOverItGivesBackOnlyWhatItTook) {
    Identify();
    ASSERT_TRUE(IsWindowVisible(Form2->Handle));
    ASSERT_TRUE(IsWindowEnabled(Form2->btOK));
    Enabled duringSaveAs, duringAbout, afterAbout;
    bool clicksReachedThePortDialog = true;
    MessageBoxSeen about;
    Dialogs.Expect([&](HWND saveAs) {
        const auto enabled = [&] {
            return Enabled{IsWindowEnabled(Form->Handle) != FALSE,
                           IsWindowEnabled(Form2->Handle) != FALSE,
                           IsWindowEnabled(saveAs) != FALSE};
        };
        duringSaveAs = enabled();
        PlaceBeside(saveAs, Form2->Handle);
        EXPECT_FALSE(Overlap(saveAs, Form2->Handle));
        ClickWithTheMouse(Form2->btTestComm);
        ClickWithTheMouse(Form2->btOK);
        // TEST would reopen the port and ask the meter again; OK would start the poll and hide
        // the dialog.
        clicksReachedThePortDialog =
            Form->Session.Timer3.Enabled() || Form->Session.Timer2.Enabled() ||
            !IsWindowEnabled(Form2->btOK) || !IsWindowVisible(Form2->Handle);
        // A box opened meanwhile (as an error shown by a handler would be) is modal over Save As.
        Dialogs.Expect([&](HWND box) {
            duringAbout = enabled();
            AnswerMessageBox(about)(box);
        });
        PostMessageA(Form->Handle, WM_COMMAND, idHelpAboutItem, 0);
        ProcessMessages();
        afterAbout = enabled();
        ChooseFile(Path("blocked.wmx"))(saveAs);
    });
    PostMessageA(Form->Handle, WM_COMMAND, idFileSaveAsItem, 0);
    ProcessMessages();
    EXPECT_EQ(Dialogs.Pending(), 0u);
    EXPECT_FALSE(about.Text.empty()) << "the box over Save As came";
    EXPECT_EQ(duringSaveAs, (Enabled{false, false, true}));
    EXPECT_FALSE(clicksReachedThePortDialog);
    EXPECT_EQ(duringAbout, (Enabled{false, false, false}));
    EXPECT_EQ(afterAbout, (Enabled{false, false, true})) << "what Save As took stays taken";
    EXPECT_NE(GetFileAttributesA(Path("blocked.wmx").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(IsWindowEnabled(Form->Handle));
    EXPECT_TRUE(IsWindowEnabled(Form2->Handle));

    // Afterwards the port dialog works again.
    ClickWithTheMouse(Form2->btOK);
    EXPECT_TRUE(Form->Session.Timer2.Enabled()) << "OK started the poll";
}

} // namespace
