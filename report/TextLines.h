#pragma once
// A report text laid out over the lines of its place, in plain C++: which part of the text goes on
// which line and at what character height, for a measure of text widths that the caller gives.

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// The width of a text drawn at a character height, in the units of the lines' width.
using TextMeasure = std::function<int(std::string_view text, int characterHeight)>;

struct TextLines {
    int CharacterHeight = 0;
    // Each line's part of the text, first line first; a line that does not fit is cut where it is
    // drawn. Together with the blanks at the breaks they are the whole text.
    std::vector<std::string_view> Lines;
};

// Fills the lines in order at the largest character height from `height` down to `smallest` at
// which the whole text fits, breaking at blanks (within a word only where the word alone is wider
// than a line). Where it does not fit even at `smallest`, the last line takes the rest. A text
// that fits its first line is that line at `height`.
TextLines BreakIntoLines(std::string_view text, int width, std::size_t lineCount, int height,
                         int smallest, const TextMeasure& measure);
