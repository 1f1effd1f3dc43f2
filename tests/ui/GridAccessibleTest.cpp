// The grid as an assistive tool reads it, through Active Accessibility in the test process.
#include "Accessibility.h"
#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"

#include <string>
#include <utility>
#include <vector>

namespace {

class GridAccessibleTest : public SampleWindowTest {
  protected:
    IAccessible* Table() {
        IAccessible* table = ClientObject(Form->Tabela.Handle);
        EXPECT_TRUE(table);
        return table;
    }
};

// A property the object gives as a number (its role, its state); -1 when it gives none.
using NumberProperty = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, VARIANT*);
long Number(IAccessible& object, long child, NumberProperty property) {
    VARIANT value{};
    (object.*property)(Child(child), &value);
    return value.vt == VT_I4 ? value.lVal : -1;
}

long Role(IAccessible& object, long child) {
    return Number(object, child, &IAccessible::get_accRole);
}

long State(IAccessible& object, long child) {
    return Number(object, child, &IAccessible::get_accState);
}

long ChildCount(IAccessible& object) {
    long count = 0;
    object.get_accChildCount(&count);
    return count;
}

TEST_F(GridAccessibleTest, ATableOfRowsOfCellsNamedByTheirTexts) {
    IAccessible* table = Table();
    ASSERT_TRUE(table);
    EXPECT_EQ(Role(*table, CHILDID_SELF), ROLE_SYSTEM_TABLE);
    EXPECT_EQ(ChildCount(*table), 10);
    for (long r = 0; r < 10; ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        IAccessible* row = Row(*table, r);
        ASSERT_TRUE(row);
        EXPECT_EQ(Role(*row, CHILDID_SELF), ROLE_SYSTEM_ROW);
        EXPECT_EQ(ChildCount(*row), 6);
        for (long c = 0; c < 6; ++c) {
            EXPECT_EQ(Name(*row, c + 1), Form->Tabela.Cells(c, r)) << "column " << c;
            const long role = r == 0   ? ROLE_SYSTEM_COLUMNHEADER
                              : c == 0 ? ROLE_SYSTEM_ROWHEADER
                                       : ROLE_SYSTEM_CELL;
            EXPECT_EQ(Role(*row, c + 1), role) << "column " << c;
        }
        // The same row asked through the table.
        EXPECT_EQ(Name(*table, r + 1), Name(*row, CHILDID_SELF));
        row->Release();
    }
    table->Release();
}

// As the system's lists name their rows: the record and the readings each after its column's
// title, then the date and time as the cells show them; an empty cell says nothing (the start
// shows no dates and times).
TEST_F(GridAccessibleTest, RowsAreNamedByTheirRecordAndContent) {
    Form->Tabela.SetCell(1, 1, "12-11-2026");
    Form->Tabela.SetCell(2, 1, "14:02:37");
    Form->Tabela.SetCell(2, 7, "10:07:00");
    Form->Tabela.SetCell(4, 7, "");
    IAccessible* table = Table();
    ASSERT_TRUE(table);
    const struct {
        long Row;
        const char* Name;
    } rows[] = {
        {0, "headings"},
        {1, "record 1, front 071,1, left 061,2, right 081,3, 12-11-2026 14:02:37"},
        {7, "record 7, front 077,1, right 087,3, 10:07:00"},
        {9, "record 9, front 079,1, left 069,2, right -----"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Name(*table, r.Row + 1), r.Name);
    table->Release();
}

TEST_F(GridAccessibleTest, TheSelectedRowIsSelectedAndFocusedWithTheGrid) {
    ClickRow(4);
    ASSERT_EQ(GetFocus(), Form->Tabela.Handle);
    IAccessible* table = Table();
    ASSERT_TRUE(table);
    for (long r = 1; r < 10; ++r) {
        const long state = State(*table, r + 1);
        EXPECT_EQ((state & STATE_SYSTEM_SELECTED) != 0, r == 4) << "row " << r;
        EXPECT_EQ((state & STATE_SYSTEM_FOCUSED) != 0, r == 4) << "row " << r;
    }
    VARIANT selection{};
    ASSERT_EQ(table->get_accSelection(&selection), S_OK);
    ASSERT_EQ(selection.vt, VT_DISPATCH);
    auto* selected = static_cast<IAccessible*>(selection.pdispVal);
    EXPECT_EQ(Name(*selected, CHILDID_SELF), "record 4, front 074,1, left 064,2, right 084,3");
    selected->Release();
    Focus(Form->Edit1);
    EXPECT_FALSE(State(*table, 5) & STATE_SYSTEM_FOCUSED) << "no focus with the grid's gone";
    EXPECT_TRUE(State(*table, 5) & STATE_SYSTEM_SELECTED);
    table->Release();
}

// Every question that names a child, with the answer each gave.
std::vector<std::pair<std::string, HRESULT>> AskAbout(IAccessible& object, long id) {
    const VARIANT child = Child(id);
    std::vector<std::pair<std::string, HRESULT>> answers;
    const auto text = [&](const char* what, HRESULT answer, BSTR got) {
        SysFreeString(got);
        answers.emplace_back(what, answer);
    };
    const auto variant = [&](const char* what, HRESULT answer, VARIANT& got) {
        VariantClear(&got);
        answers.emplace_back(what, answer);
    };
    BSTR got = nullptr;
    text("name", object.get_accName(child, &got), got);
    text("value", object.get_accValue(child, &got), got);
    text("description", object.get_accDescription(child, &got), got);
    text("help", object.get_accHelp(child, &got), got);
    text("shortcut", object.get_accKeyboardShortcut(child, &got), got);
    text("default action", object.get_accDefaultAction(child, &got), got);
    long topic = 0;
    text("help topic", object.get_accHelpTopic(&got, child, &topic), got);
    VARIANT value{};
    variant("role", object.get_accRole(child, &value), value);
    variant("state", object.get_accState(child, &value), value);
    variant("navigate", object.accNavigate(NAVDIR_NEXT, child, &value), value);
    long left = 0, top = 0, width = 0, height = 0;
    answers.emplace_back("location", object.accLocation(&left, &top, &width, &height, child));
    IDispatch* dispatch = nullptr;
    answers.emplace_back("child", object.get_accChild(child, &dispatch));
    if (dispatch)
        dispatch->Release();
    answers.emplace_back("select", object.accSelect(SELFLAG_TAKESELECTION, child));
    answers.emplace_back("default action done", object.accDoDefaultAction(child));
    BSTR some = SysAllocString(L"x");
    answers.emplace_back("name set", object.put_accName(child, some));
    answers.emplace_back("value set", object.put_accValue(child, some));
    SysFreeString(some);
    return answers;
}

// A tool that asks about a child the table or a row does not have learns that it does not exist.
TEST_F(GridAccessibleTest, ChildrenOutOfRangeAreRefused) {
    IAccessible* table = Table();
    ASSERT_TRUE(table);
    IAccessible* row = Row(*table, 2);
    ASSERT_TRUE(row);
    const struct {
        const char* What;
        IAccessible* Object;
        long Id;
    } cases[] = {{"table", table, -1}, {"table", table, 11}, {"table", table, 99},
                 {"row", row, -1},     {"row", row, 7},      {"row", row, 99}};
    for (const auto& c : cases) {
        for (const auto& [question, answer] : AskAbout(*c.Object, c.Id))
            EXPECT_EQ(answer, E_INVALIDARG) << c.What << " child " << c.Id << ": " << question;
    }
    row->Release();
    table->Release();
}

// A tool may hold the table and its rows after the window has gone: every question then fails,
// and none reaches the grid.
TEST_F(GridAccessibleTest, ObjectsHeldAfterTheWindowIsGoneAnswerNoMore) {
    IAccessible* table = Table();
    ASSERT_TRUE(table);
    IAccessible* row = Row(*table, 3);
    ASSERT_TRUE(row);
    DestroyWindow(Form->Handle);
    ASSERT_FALSE(IsWindow(Form->Tabela.Handle));
    for (IAccessible* object : {table, row}) {
        const char* what = object == table ? "table" : "row";
        for (const long id : {long{CHILDID_SELF}, 1L}) {
            for (const auto& [question, answer] : AskAbout(*object, id))
                EXPECT_TRUE(FAILED(answer)) << what << " child " << id << ": " << question;
        }
        IDispatch* parent = nullptr;
        EXPECT_TRUE(FAILED(object->get_accParent(&parent))) << what;
        EXPECT_FALSE(parent);
        long count = -1;
        EXPECT_TRUE(FAILED(object->get_accChildCount(&count))) << what;
        VARIANT value{};
        EXPECT_TRUE(FAILED(object->get_accFocus(&value))) << what;
        EXPECT_EQ(value.vt, VT_EMPTY);
        EXPECT_TRUE(FAILED(object->get_accSelection(&value))) << what;
        EXPECT_EQ(value.vt, VT_EMPTY);
        EXPECT_TRUE(FAILED(object->accHitTest(0, 0, &value))) << what;
        EXPECT_EQ(value.vt, VT_EMPTY);
    }
    row->Release();
    table->Release();
}

// The events a tool follows: the selection and the focus moving to a row, and a row renamed once
// its cells have changed, the row with the focus spoken again.
TEST_F(GridAccessibleTest, SelectionFocusAndRenamedRowsAreAnnounced) {
    const HWND grid = Form->Tabela.Handle;
    WinEventLog log(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE);
    ClickRow(6);
    EXPECT_FALSE(log.Of(EVENT_OBJECT_SELECTION, grid, 7).empty()) << "row 6 is the table's child 7";
    EXPECT_FALSE(log.Of(EVENT_OBJECT_FOCUS, grid, 7).empty());

    log.Events.clear();
    for (const int row : {2, 6}) {
        for (int c = 3; c <= 5; ++c)
            Form->Tabela.SetCell(c, row, "012,3");
    }
    ProcessMessages();
    for (const long row : {2, 6}) {
        SCOPED_TRACE("row " + std::to_string(row));
        const auto renamed = log.Of(EVENT_OBJECT_NAMECHANGE, grid, row + 1);
        ASSERT_EQ(renamed.size(), 1u) << "once, not once a cell";
        EXPECT_EQ(renamed[0].Name,
                  "record " + std::to_string(row) + ", front 012,3, left 012,3, right 012,3");
    }
    const auto spoken = log.Of(EVENT_OBJECT_FOCUS, grid, 7);
    ASSERT_EQ(spoken.size(), 1u);
    EXPECT_EQ(spoken[0].Name, "record 6, front 012,3, left 012,3, right 012,3");
    EXPECT_TRUE(log.Of(EVENT_OBJECT_FOCUS, grid, 3).empty()) << "row 2 has not the focus";
}

} // namespace
