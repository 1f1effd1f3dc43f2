#pragma once
// The texts Connect writes into every row of the grid before the meter is read. They stand for
// no date, time or reading, so the report prints none of them.

inline constexpr char PlaceholderDateText[] = "00-00-00";
inline constexpr char PlaceholderTimeText[] = "00:00:00";
inline constexpr char PlaceholderReadingText[] = "0,0";
