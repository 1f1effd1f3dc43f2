// The store and the window kept in step through clicks, focus changes and typing.
#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"

namespace {

class BindingTest : public SampleWindowTest {};

TEST_F(BindingTest, ClickingARowStoresTheFieldIntoTheOldSlotThenShowsTheNewOne) {
    Focus(Form->Edit6);
    SetWindowTextA(Form->Edit6, "typed for one");
    SetWindowTextA(Form->Edit1, "New Customer");
    ClickRow(4);
    EXPECT_EQ(GetFocus(), Form->Tabela.Handle);
    EXPECT_EQ(Form->Tabela.Row(), 4);
    EXPECT_EQ(CurrentRecord, 4);
    EXPECT_EQ(GetText(MeasurementStore.Slot(1).RegistrationNo), "typed for one");
    EXPECT_EQ(GetText(MeasurementStore.Slot(4).RegistrationNo), "REG 4") << "slot 4 untouched";
    EXPECT_EQ(GetText(MeasurementStore.Slot(1).CustomerName), "New Customer");

    const struct {
        HWND Control;
        const char* Text;
    } shown[] = {
        {Form->Edit1, "New Customer"},
        {Form->Edit2, "Street 1"},
        {Form->Edit3, "Town 2"},
        {Form->Edit6, "REG 4"},
        {Form->rodzaj_pojazdu, "passenger"},
        {Form->Edit7, "Make 4"},
        {Form->Edit8, "Model 4"},
        {Form->Edit9, "4000"},
        {Form->Edit10, "Comment 4"},
        {Form->Edit11, "Inspector 4"},
        {Form->txtTmp, "negative"},
    };
    for (const auto& s : shown)
        EXPECT_EQ(WindowText(s.Control), s.Text);

    ClickRow(1);
    EXPECT_EQ(WindowText(Form->Edit6), "typed for one");
}

TEST_F(BindingTest, ArrowKeysInTheGridShowTheNextSlot) {
    ClickRow(2);
    PressKey(Form->Tabela.Handle, VK_DOWN);
    EXPECT_EQ(Form->Tabela.Row(), 3);
    EXPECT_EQ(CurrentRecord, 3);
    EXPECT_EQ(WindowText(Form->Edit7), "Make 3");
    PressKey(Form->Tabela.Handle, VK_UP);
    PressKey(Form->Tabela.Handle, VK_UP);
    EXPECT_EQ(WindowText(Form->Edit7), "Make 1");
}

TEST_F(BindingTest, LeavingAFieldStoresAllNineGridRows) {
    // As the meter link writes a polled reading.
    for (int r = 1; r <= 9; ++r) {
        Form->Tabela.SetCell(1, r, std::string("2026-02-0").append(std::to_string(r)));
        Form->Tabela.SetCell(2, r, "11:11:1" + std::to_string(r));
        Form->Tabela.SetCell(5, r, "09" + std::to_string(r) + ",0");
    }
    Focus(Form->Edit8);
    PressKey(Form->Edit8, VK_TAB);
    EXPECT_EQ(GetFocus(), Form->Edit9);
    for (unsigned r = 1; r <= 9; ++r) {
        const MeasurementRecord& slot = MeasurementStore.Slot(r);
        EXPECT_EQ(GetText(slot.DateText), std::string("2026-02-0").append(std::to_string(r)));
        EXPECT_EQ(GetText(slot.TimeText), "11:11:1" + std::to_string(r));
        EXPECT_EQ(GetText(slot.RightText), "09" + std::to_string(r) + ",0");
        EXPECT_EQ(GetText(slot.FrontText), "07" + std::to_string(r) + ",1");
    }
}

// A field takes no more than the file keeps: what shows is what is stored, nothing is dropped.
TEST_F(BindingTest, NoFieldTakesMoreThanTheFileKeeps) {
    std::string typed;
    for (int i = 0; i < 300; ++i)
        typed += static_cast<char>('a' + i % 26);
    const std::string kept = typed.substr(0, 255);
    const struct {
        HWND MainWindowParts::*Field;
        ShortString MeasurementRecord::*Stored;
    } fields[] = {
        {&MainWindowParts::Edit1, &MeasurementRecord::CustomerName},
        {&MainWindowParts::Edit2, &MeasurementRecord::CustomerAddress1},
        {&MainWindowParts::Edit3, &MeasurementRecord::CustomerAddress2},
        {&MainWindowParts::Edit6, &MeasurementRecord::RegistrationNo},
        {&MainWindowParts::Edit7, &MeasurementRecord::Make},
        {&MainWindowParts::Edit8, &MeasurementRecord::Model},
        {&MainWindowParts::Edit9, &MeasurementRecord::Mileage},
        {&MainWindowParts::Edit10, &MeasurementRecord::Comment},
        {&MainWindowParts::Edit11, &MeasurementRecord::Diagnostician},
    };
    for (const auto& f : fields) {
        HWND field = (*Form).*f.Field;
        SCOPED_TRACE(GetDlgCtrlID(field));
        Focus(field);
        SetWindowTextA(field, "");
        Type(field, typed);
        EXPECT_TRUE(WindowText(field) == kept) << WindowText(field).size();
        PressKey(field, VK_TAB);
        EXPECT_TRUE(GetText(MeasurementStore.Slot(1).*f.Stored) == kept);
    }
}

TEST_F(BindingTest, VehicleTypeStoresTheMatchingItemOrMinusOne) {
    const struct {
        const char* Typed;
        int Stored;
        const char* ShownAgain;
    } cases[] = {{"bus", 2, "bus"}, {"tractor", -1, ""}, {"", -1, ""}, {"other", 3, "other"}};
    for (const auto& c : cases) {
        Focus(Form->rodzaj_pojazdu);
        SetWindowTextA(Form->rodzaj_pojazdu, "");
        Type(GetFocus(), c.Typed);
        PressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(MeasurementStore.Slot(1).VehicleType, c.Stored) << c.Typed;
        ClickRow(5);
        ClickRow(1);
        EXPECT_EQ(WindowText(Form->rodzaj_pojazdu), c.ShownAgain) << c.Typed;
    }
    MeasurementStore.Slot(6).VehicleType = 7;
    ClickRow(6);
    EXPECT_EQ(WindowText(Form->rodzaj_pojazdu), "");
    EXPECT_EQ(Form->VehicleTypeIndex(), -1);
}

TEST_F(BindingTest, VerdictFieldIsNeverStored) {
    Focus(Form->txtTmp);
    SetWindowTextA(Form->txtTmp, "edited");
    ClickRow(3);
    ClickRow(1);
    EXPECT_EQ(WindowText(Form->txtTmp), "positive");
    EXPECT_EQ(GetText(MeasurementStore.Slot(1).Verdict), "positive");
}

} // namespace
