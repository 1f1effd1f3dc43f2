#pragma once
// A report text written into the place of the form that holds it, so that it never crosses the
// place's right edge: its box, and for the comment the lines of the remarks area below it too.

#include "report/ReportLayout.h"

#include <windows.h>

#include <span>
#include <string_view>

// Writes the text in the report's font and colours already set on the dc, line by line from the
// top-left corners given, each line ending left of `right`: at the report's character height
// where it fits those lines, else at the largest smaller height that does, each line on the base
// line it has at the full height; below the smallest height the last line is cut at `right`.
void WriteFittedText(HDC dc, std::string_view text, std::span<const PixelPoint> lines, int right);
