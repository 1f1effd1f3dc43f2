#pragma once
// One reading of the meter: four characters in tenths of a percent, "9999" when it holds none.

#include <string>
#include <string_view>

// The table's text: "9999" as "-----", otherwise the fourth character after a decimal comma
// (0753 as 075,3). Characters after the fourth are not shown; a shorter text is shown as it is.
std::string DisplayReading(std::string_view reading);

// The reading as a number, unscaled (0753 gives 753), leading blanks skipped. A text that is not
// a decimal number, or one too large for a float, gives 0.
float MeterReadingValue(std::string_view reading);

// "positive" when front, left and right each meet their limit (75,0 and 70,0), else "negative".
const char* Verdict(float front, float left, float right);
