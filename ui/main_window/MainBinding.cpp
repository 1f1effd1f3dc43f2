// Binding of the measurement store to the entry fields and the grid.
#include "ui/main_window/MainWindow.h"

#include "ui/controls/StandardControls.h"

#include <string>

namespace {
const char* const ColumnTitles[TStringGrid::ColCount] = {"record", "date", "time",
                                                         "front",  "left", "right"};
}

void TMainForm::getTab(std::uint8_t n) {
    const MeasurementRecord& customer = MeasurementStore.Slot(1);
    const MeasurementRecord& slot = MeasurementStore.Slot(n);
    SetWindowTextTo(Edit1, GetText(customer.CustomerName));
    SetWindowTextTo(Edit2, GetText(customer.CustomerAddress1));
    SetWindowTextTo(Edit3, GetText(customer.CustomerAddress2));
    SetWindowTextTo(Edit6, GetText(slot.RegistrationNo));
    // An index outside the list shows no selection and an empty box.
    const bool listed =
        slot.VehicleType >= 0 && slot.VehicleType < SendMessageA(rodzaj_pojazdu, CB_GETCOUNT, 0, 0);
    SendMessageA(rodzaj_pojazdu, CB_SETCURSEL, listed ? slot.VehicleType : -1, 0);
    SetWindowTextTo(Edit7, GetText(slot.Make));
    SetWindowTextTo(Edit8, GetText(slot.Model));
    SetWindowTextTo(Edit9, GetText(slot.Mileage));
    SetWindowTextTo(Edit10, GetText(slot.Comment));
    SetWindowTextTo(Edit11, GetText(slot.Diagnostician));
    SetWindowTextTo(txtTmp, GetText(slot.Verdict));
    for (int c = 0; c < TStringGrid::ColCount; ++c)
        Tabela.SetCell(c, 0, ColumnTitles[c]);
    for (unsigned r = 1; r <= MeasurementSet::SlotCount; ++r) {
        const MeasurementRecord& row = MeasurementStore.Slot(r);
        Tabela.SetCell(0, r, std::to_string(r));
        Tabela.SetCell(3, r, GetText(row.FrontText));
        Tabela.SetCell(4, r, GetText(row.LeftText));
        Tabela.SetCell(5, r, GetText(row.RightText));
    }
}

void TMainForm::setTab(std::uint8_t n) {
    MeasurementRecord& customer = MeasurementStore.Slot(1);
    MeasurementRecord& slot = MeasurementStore.Slot(n);
    SetText(customer.CustomerName, WindowText(Edit1));
    SetText(customer.CustomerAddress1, WindowText(Edit2));
    SetText(customer.CustomerAddress2, WindowText(Edit3));
    SetText(slot.RegistrationNo, WindowText(Edit6));
    slot.VehicleType = VehicleTypeIndex();
    SetText(slot.Make, WindowText(Edit7));
    SetText(slot.Model, WindowText(Edit8));
    SetText(slot.Mileage, WindowText(Edit9));
    SetText(slot.Comment, WindowText(Edit10));
    SetText(slot.Diagnostician, WindowText(Edit11));
    for (unsigned r = 1; r <= MeasurementSet::SlotCount; ++r) {
        MeasurementRecord& row = MeasurementStore.Slot(r);
        SetText(row.DateText, Tabela.Cells(1, r));
        SetText(row.TimeText, Tabela.Cells(2, r));
        SetText(row.FrontText, Tabela.Cells(3, r));
        SetText(row.LeftText, Tabela.Cells(4, r));
        SetText(row.RightText, Tabela.Cells(5, r));
    }
}

void TMainForm::ShowSlot(std::uint8_t n) {
    CurrentRecord = n;
    getTab(CurrentRecord);
}

void TMainForm::StoreShownSlot() {
    CurrentRecord = static_cast<std::uint8_t>(Tabela.Row());
    setTab(CurrentRecord);
}

void TMainForm::TabelaClick() {
    ShowSlot(static_cast<std::uint8_t>(Tabela.Row()));
}
void TMainForm::TabelaEnter() {
    StoreShownSlot();
}
void TMainForm::Edit1Exit() {
    StoreShownSlot();
}
void TMainForm::Edit2Exit() {
    StoreShownSlot();
}
void TMainForm::Edit3Exit() {
    StoreShownSlot();
}
void TMainForm::Edit6Exit() {
    StoreShownSlot();
}
void TMainForm::Edit7Exit() {
    StoreShownSlot();
}
void TMainForm::Edit8Exit() {
    StoreShownSlot();
}
void TMainForm::Edit9Exit() {
    StoreShownSlot();
}
void TMainForm::Edit10Exit() {
    StoreShownSlot();
}
void TMainForm::Edit11Exit() {
    StoreShownSlot();
}
void TMainForm::rodzaj_pojazduExit() {
    StoreShownSlot();
}
