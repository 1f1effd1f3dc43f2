#pragma once
// A report text written into the form's box that holds it, so that it never crosses the box.

#include "report/ReportLayout.h"

#include <windows.h>

#include <string_view>

// Writes the text with its top-left corner at `at` in the report's font and colours already set on
// the dc: at the report's character height when it fits left of `right`, else at the largest
// smaller height that fits, on the same base line; below the smallest height it is cut at `right`.
void WriteFittedText(HDC dc, std::string_view text, PixelPoint at, int right);
