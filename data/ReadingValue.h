#pragma once
// Turns a reading as shown in the grid into the number the pass/fail judgement compares.

#include <string_view>

// "075,3" gives 753 (the meter's four digits read as one number), "-----" gives 9999 (no value
// on the meter), "0,0" and an empty text give 0. Characters other than digits are skipped. A
// text with more digits than the display form holds is no reading and gives 0, so every value
// lies between 0 and 9999.
float ReadingValue(std::string_view text);
