#pragma once
// The printed test report of the selected measurement: the form image "protokol.bmp" from the
// working folder with the measurement's values written onto it, stretched over one page.

#include "report/ReportImage.h"
#include "report/ReportLayout.h"

#include <windows.h>

#include <functional>
#include <string>

constexpr const char* ReportFormFile = "protokol.bmp";

// What the main window supplies, asked for only once the printer is chosen and the form loaded.
struct ReportSource {
    // The entry fields and the vehicle-type combo box as displayed.
    std::function<ReportEntries()> ReadEntries;
    // Makes the grid's selected row the current record and returns that row's date, time and
    // reading texts as shown.
    std::function<ReportMeasurement()> SelectMeasurement;
    // The form image; the main window may find it elsewhere than in the working folder.
    std::string FormFile = ReportFormFile;
};

// One composed report: the form image with the texts written onto it, the job title it is printed
// under, and the registration number on it as typed, which the preview's title names.
struct ReportPage {
    ReportImage Image;
    std::string JobTitle;
    std::string RegistrationNo;
};

// Composes the page from what the source supplies: loads the form, reads the entries, selects
// the measurement and writes the texts. Throws EReportError when the form image is missing or
// not a bitmap.
ReportPage ComposeReportPage(const ReportSource& source);

// Prints a composed page on the printer as one job of one page.
void PrintReportPage(HDC printer, const ReportPage& page);

// Shows the print dialog, then composes the report and prints it on the chosen printer. Nothing
// happens when the dialog is cancelled. Errors (the form image missing or not a bitmap, a failed
// print job) are thrown as EReportError before or instead of printing.
void PrintTestReport(HWND owner, const ReportSource& source);

// Shows the printer set-up dialog; the printer chosen there is used by every later report.
void SetUpPrinter(HWND owner);
