// Start-up, layout and keyboard navigation of the main window.
#include "WindowDriver.h"

#include "GridDesign.h"

#include "ui/controls/StandardControls.h"
#include "ui/port_dialog/PortDialog.h"
#include "ui/win32/EmptyWindow.h"

#include <commctrl.h>

namespace {

std::vector<std::string> GridRow(TStringGrid& grid, int row) {
    std::vector<std::string> cells;
    for (int c = 0; c < TStringGrid::ColCount; ++c)
        cells.push_back(grid.Cells(c, row));
    return cells;
}

TEST_F(MainFormTest, StartsWithoutConfigShowingOneErrorThenAnEmptyGrid) {
    MessageBoxSeen error;
    Dialogs.Expect(AnswerMessageBox(error));
    ShowWindow();
    EXPECT_EQ(error.Caption, "ui_tests") << "the application's title";
    EXPECT_EQ(error.Text, "File not found.");
    EXPECT_TRUE(error.HasIcon);

    EXPECT_TRUE(IsWindowVisible(Form->Handle));
    EXPECT_EQ(CurrentRecord, 0);
    EXPECT_EQ(GridRow(Form->Tabela, 0), std::vector<std::string>(6, "")) << "no titles";
    EXPECT_EQ(GridRow(Form->Tabela, 1), std::vector<std::string>(6, ""));
    EXPECT_EQ(WindowText(Form->rodzaj_pojazdu), "passenger");
    EXPECT_TRUE(Form->Timer1.Enabled());
    EXPECT_FALSE(Form->Session.Timer2.Enabled());
    EXPECT_FALSE(Form->Session.Timer3.Enabled());
}

TEST_F(MainFormTest, StartsWithConfigShowingSlotOneAndTheReadings) {
    WriteConfig(*SampleStore());
    EXPECT_EQ(Form->StatusText(3), "Status:") << "until the first hint";
    ShowWindow();
    EXPECT_EQ(CurrentRecord, 1);
    EXPECT_EQ(GridRow(Form->Tabela, 0),
              (std::vector<std::string>{"record", "date", "time", "front", "left", "right"}));
    EXPECT_EQ(GridRow(Form->Tabela, 4),
              (std::vector<std::string>{"4", "", "", "074,1", "064,2", "084,3"}))
        << "date and time stay empty after start-up loading";
    EXPECT_EQ(Form->Tabela.Cells(5, 9), "-----");
    EXPECT_EQ(WindowText(Form->Edit1), "Customer One");
    EXPECT_EQ(WindowText(Form->Edit6), "REG 1");
    EXPECT_EQ(WindowText(Form->rodzaj_pojazdu), "lorry") << "slot 1's type replaces passenger";
    EXPECT_EQ(WindowText(Form->txtTmp), "positive");
    EXPECT_EQ(Form->Tabela.Row(), 1);
    for (const MeasurementRecord& slot : MeasurementStore.Slots) {
        EXPECT_EQ(slot.FrontValue, 0);
        EXPECT_EQ(slot.LeftValue, 0);
        EXPECT_EQ(slot.RightValue, 0);
    }
    EXPECT_EQ(GetText(MeasurementStore.Slot(7).Verdict), "positive");
}

TEST_F(MainFormTest, ControlsSitWhereTheLayoutPutsThem) {
    WriteConfig(*SampleStore());
    ShowWindow();
    RECT client;
    GetClientRect(Form->Handle, &client);
    EXPECT_EQ(client.right, 725);
    EXPECT_EQ(client.bottom, 342);
    const struct {
        const char* Name;
        HWND Control;
        RECT Expected; // left, top, right, bottom in its parent's client area
        const char* Text;
    } cases[] = {
        {"SpeedBar", Form->SpeedBar, {0, 0, 725, 33}, ""},
        {"SpeedButton1", Form->SpeedButton1, {8, 4, 33, 29}, ""},
        {"SpeedButton7", Form->SpeedButton7, {104, 4, 129, 29}, ""},
        {"SpeedButton5", Form->SpeedButton5, {200, 4, 225, 29}, ""},
        {"SpeedButton6", Form->SpeedButton6, {168, 4, 193, 29}, ""},
        {"sbStart", Form->sbStart, {248, 3, 349, 31}, "Connect"},
        {"Label3", Form->Label3, {42, 64, 68, 77}, "&name"},
        {"StaticText10", Form->StaticText10, {8, 296, 74, 313}, "d&iagnostician"},
        {"Label4", Form->Label4, {408, 232, 433, 245}, "r&esult"},
        {"Edit1", Form->Edit1, {80, 56, 393, 77}, "Customer One"},
        {"Edit10", Form->Edit10, {80, 264, 705, 285}, "Comment 1"},
        {"rodzaj_pojazdu", Form->rodzaj_pojazdu, {80, 160, 185, 0}, "lorry"},
        {"txtTmp", Form->txtTmp, {440, 224, 705, 245}, "positive"},
        {"Tabela", Form->Tabela.Handle, {400, 56, 706, 219}, ""},
        {"Image1", Form->Image1, {192, 136, 393, 233}, ""},
        {"StatusBar", Form->StatusBar, {0, 0, 725, 342}, ""},
    };
    for (const auto& c : cases) {
        RECT r;
        GetWindowRect(c.Control, &r);
        MapWindowPoints(nullptr, GetParent(c.Control), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, c.Expected.left) << c.Name;
        if (c.Control == Form->StatusBar) {
            EXPECT_EQ(r.bottom, 342) << "along the bottom";
            EXPECT_EQ(r.right, 725);
            continue;
        }
        EXPECT_EQ(r.top, c.Expected.top) << c.Name;
        EXPECT_EQ(r.right, c.Expected.right) << c.Name;
        if (c.Expected.bottom) {
            EXPECT_EQ(r.bottom, c.Expected.bottom) << c.Name;
        }
        EXPECT_EQ(WindowText(c.Control), c.Text) << c.Name;
    }
    EXPECT_EQ(WindowText(Form->Handle), "Kavra Tintra");
    EXPECT_EQ(WindowText(Form->Label1), "?\?-?\?-??");
    EXPECT_EQ(WindowText(Form->Label2), "??:??:??");
    const char* const panels[] = {"Port:", "Sent:", "Received:"};
    for (int panel = 0; panel < 3; ++panel)
        EXPECT_EQ(Form->StatusText(panel), panels[panel]);
    for (int c = 0; c < GridDesign::Columns; ++c) {
        const RECT cell = Form->Tabela.CellRect(c, 1);
        EXPECT_EQ(cell.right - cell.left, GridDesign::ColWidths[c]) << c;
    }
    for (int r = 0; r < GridDesign::Rows; ++r) {
        const RECT cell = Form->Tabela.CellRect(1, r);
        EXPECT_EQ(cell.bottom - cell.top, GridDesign::RowHeight) << r;
    }
    EXPECT_EQ(SendMessageA(Form->rodzaj_pojazdu, CB_GETCOUNT, 0, 0), 4);
}

TEST_F(MainFormTest, TabMovesThroughTheFieldsInTheLayoutsOrder) {
    WriteConfig(*SampleStore());
    ShowWindow();
    Focus(Form->Edit1);
    ASSERT_EQ(GetFocus(), Form->Edit1);
    const std::vector<HWND> expected = {Form->Edit2,          Form->Edit3,  Form->Edit6,
                                        Form->Edit7,          Form->Edit8,  Form->Edit9,
                                        Form->Edit10,         Form->Edit11, Form->Tabela.Handle,
                                        Form->rodzaj_pojazdu, Form->txtTmp, Form->Edit1};
    std::vector<HWND> visited;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        PressKey(GetFocus(), VK_TAB);
        HWND focus = GetFocus();
        // A drop-down combo keeps its focus on its inner edit.
        if (GetParent(focus) == Form->rodzaj_pojazdu)
            focus = Form->rodzaj_pojazdu;
        visited.push_back(focus);
    }
    EXPECT_EQ(visited, expected);
}

// Form1 comes with the main window; the port dialog only with the first Connect, hidden until
// Connect shows it, at its own place.
TEST_F(MainFormTest, SecondaryFormsAreCreatedHidden) {
    TForm1 form1;
    WriteConfig(*SampleStore());
    ShowWindow();
    EXPECT_EQ(Form2, nullptr) << "no port dialog before Connect";
    EXPECT_FALSE(FindWindowA("TForm2", nullptr));
    const TForm2& form2 = Form->PortDialog();
    const struct {
        HWND Window;
        const char* Caption;
        RECT Expected;
    } cases[] = {{form1.Handle, "Form1", {418, 312, 836, 596}},
                 {form2.Handle, "communication", {590, 198, 924, 568}}};
    for (const auto& c : cases) {
        EXPECT_FALSE(IsWindowVisible(c.Window)) << c.Caption;
        EXPECT_EQ(WindowText(c.Window), c.Caption);
        RECT r;
        GetWindowRect(c.Window, &r);
        EXPECT_TRUE(EqualRect(&r, &c.Expected))
            << c.Caption << " at " << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    }
    EXPECT_EQ(GetWindow(form2.Handle, GW_OWNER), Form->Handle);
    EXPECT_EQ(Form1, &form1);
    EXPECT_EQ(Form2, &form2);
}

TEST_F(MainFormTest, ApplicationTitleAndErrorTextFollowTheirRules) {
    const struct {
        const char* File;
        const char* Title;
    } titles[] = {{"C:\\apps\\WMX.EXE", "Wmx"},
                  {"wmx.exe", "wmx"},
                  {"C:\\x\\Pomiar.Tint.exe", "Pomiar"},
                  {"noext", "noext"}};
    for (const auto& t : titles)
        EXPECT_EQ(ApplicationTitleOf(t.File), t.Title) << t.File;
    const struct {
        const char* Message;
        const char* Shown;
    } texts[] = {{"File not found", "File not found."},
                 {"Disk full.", "Disk full."},
                 {"Error 5", "Error 5."},
                 {"Odd!", "Odd!"},
                 {"Dash-", "Dash-"},
                 {"", ""}};
    for (const auto& t : texts)
        EXPECT_EQ(ErrorBoxText(t.Message), t.Shown) << t.Message;
}

} // namespace
