#include "report/TextLines.h"

namespace {

constexpr char Blank = ' ';

std::string_view WithoutTrailingBlanks(std::string_view text) {
    const auto last = text.find_last_not_of(Blank);
    return last == std::string_view::npos ? text.substr(0, 0) : text.substr(0, last + 1);
}

// The longest start of the text that fits the width: up to a blank where one is in reach, else as
// many characters as fit, and at least one so that every line takes something.
std::size_t LineEnd(std::string_view text, int width, int height, const TextMeasure& measure) {
    if (measure(WithoutTrailingBlanks(text), height) <= width)
        return text.size();
    std::size_t end = 0;
    for (std::size_t blank = text.find(Blank, 1); blank != std::string_view::npos;
         blank = text.find(Blank, blank + 1)) {
        if (measure(WithoutTrailingBlanks(text.substr(0, blank)), height) > width)
            break;
        end = blank;
    }
    if (end > 0 && !WithoutTrailingBlanks(text.substr(0, end)).empty())
        return end;
    std::size_t fits = 1;
    while (fits < text.size() && measure(text.substr(0, fits + 1), height) <= width)
        ++fits;
    return fits;
}

// The lines at one height; the last one holds whatever is left, fitting or not.
std::vector<std::string_view> FillLines(std::string_view text, int width, std::size_t lineCount,
                                        int height, const TextMeasure& measure) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        if (lines.size() + 1 == lineCount) {
            lines.push_back(text);
            break;
        }
        const std::size_t end = LineEnd(text, width, height, measure);
        lines.push_back(WithoutTrailingBlanks(text.substr(0, end)));
        text.remove_prefix(end);
        const auto next = text.find_first_not_of(Blank);
        text.remove_prefix(next == std::string_view::npos ? text.size() : next);
    }
    return lines;
}

} // namespace

TextLines BreakIntoLines(std::string_view text, int width, std::size_t lineCount, int height,
                         int smallest, const TextMeasure& measure) {
    for (int h = height;; --h) {
        TextLines laid{h, FillLines(text, width, lineCount, h, measure)};
        if (h <= smallest || laid.Lines.empty() ||
            measure(WithoutTrailingBlanks(laid.Lines.back()), h) <= width)
            return laid;
    }
}
