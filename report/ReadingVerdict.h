#pragma once
// The verdict printed beside a reading, judged from the reading's text as the grid shows it, so
// that a page never shows a verdict its reading contradicts.

#include "report/ReportLayout.h"

#include <string>
#include <string_view>

// Whether the text is a reading as the grid shows it: three digits, a decimal comma and a digit
// ("075,3", tenths of a percent), or "-----", the meter's 9999 for no value. Connect's "0,0" and
// an empty cell hold none.
bool HoldsReading(std::string_view shown);

// "positive" when the shown reading meets its limit (FrontLimit or SideLimit; "-----" meets every
// limit, as in the result box), else "negative"; empty for a text that holds no reading.
std::string_view ReadingVerdict(std::string_view shown, float limit);

// Why the measurement's report lacks a verdict, for the question before it is printed; empty when
// each of its three texts holds a reading. "Record 4 holds no reading from the meter, so its
// report shows no verdict." when none does, else naming the windows: "Record 4 holds no left or
// right reading from the meter, so its report shows no left or right verdict."
std::string MissingVerdictNotice(int record, const ReportMeasurement& measurement);
