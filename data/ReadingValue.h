#pragma once
// Turns a reading as shown in the grid into the number the pass/fail judgement compares.

#include <string_view>

// "075,3" gives 753 (the meter's four digits read as one number), "-----" gives 9999 (no value
// on the meter), "0,0" and an empty text give 0. Characters other than digits are skipped.
float ReadingValue(std::string_view text);
