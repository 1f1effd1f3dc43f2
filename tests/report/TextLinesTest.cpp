// Breaking a report text over the lines of its place: a measure in which every character is half
// the character height wide stands in for the face, so that each case can be counted by hand.
#include "report/TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int Full = 27, Smallest = 18;

int HalfHeightCharacters(std::string_view text, int height) {
    return static_cast<int>(text.size()) * height / 2;
}

TextLines Break(std::string_view text, int width, std::size_t lineCount) {
    return BreakIntoLines(text, width, lineCount, Full, Smallest, HalfHeightCharacters);
}

std::vector<std::string> Strings(const TextLines& laid) {
    return {laid.Lines.begin(), laid.Lines.end()};
}

// 130 units hold 9 characters at the full height and 14 at the smallest.
TEST(TextLines, FillsTheLinesAtFullHeightBeforeItShrinks) {
    const struct {
        const char* Name;
        const char* Text;
        std::size_t LineCount;
        int Height;
        std::vector<std::string> Lines;
    } cases[] = {
        {"fits the first line", "abcd efgh", 4, Full, {"abcd efgh"}},
        {"one line more", "abcd efgh ijkl", 4, Full, {"abcd efgh", "ijkl"}},
        {"a word wider than a line", "abcdefghijkl mn", 4, Full, {"abcdefghi", "jkl mn"}},
        {"the blanks at a break", "abcd     efgh", 4, Full, {"abcd", "efgh"}},
        {"leading blanks stay", "  ab cd", 4, Full, {"  ab cd"}},
        {"every line full",
         "abcd efgh ijkl mnop qrst uvwx yzab cdef",
         4,
         Full,
         {"abcd efgh", "ijkl mnop", "qrst uvwx", "yzab cdef"}},
        {"one word more than every line holds",
         "abcd efgh ijkl mnop qrst uvwx yzab cdef ghij",
         4,
         Smallest,
         {"abcd efgh ijkl", "mnop qrst uvwx", "yzab cdef ghij"}},
        {"too long even then: the last line takes the rest",
         "abcd efgh ijkl mnop qrst uvwx yzab cdef ghij klmn opqr",
         3,
         Smallest,
         {"abcd efgh ijkl", "mnop qrst uvwx", "yzab cdef ghij klmn opqr"}},
        {"one line shrinks", "abcdefghijkl", 1, 21, {"abcdefghijkl"}},
        {"one line too long even then",
         "abcd efgh ijkl mnop",
         1,
         Smallest,
         {"abcd efgh ijkl mnop"}},
        {"nothing", "", 4, Full, {}},
    };
    for (const auto& c : cases) {
        const TextLines laid = Break(c.Text, 130, c.LineCount);
        EXPECT_EQ(laid.CharacterHeight, c.Height) << c.Name;
        EXPECT_EQ(Strings(laid), c.Lines) << c.Name;
    }
}

// Every comment up to the 255 characters a field keeps, over a box and three lines as wide as the
// report's: all of it is placed, every line but the last fits, it is smaller only where the lines
// would not hold it at one pixel more, and cut only at the smallest height.
TEST(TextLines, NothingIsDroppedAndNothingShrinksBeforeTheLinesAreFull) {
    constexpr int Width = 814;
    const std::string words = "window tint film with bubbles on the rear left door, re-measured "
                              "after cleaning; the owner was told to remove the film within 14 "
                              "days ";
    std::string text;
    bool shrank = false;
    while (text.size() < 255) {
        text += words[text.size() % words.size()];
        const TextLines laid = Break(text, Width, 4);
        std::string joined;
        for (const std::string_view line : laid.Lines)
            joined += (joined.empty() ? "" : " ") + std::string(line);
        const std::string whole = text.substr(0, text.find_last_not_of(' ') + 1);
        ASSERT_EQ(joined.substr(0, joined.find_last_not_of(' ') + 1), whole) << text.size();
        ASSERT_LE(laid.Lines.size(), 4u);
        for (std::size_t i = 0; i + 1 < laid.Lines.size(); ++i)
            EXPECT_LE(HalfHeightCharacters(laid.Lines[i], laid.CharacterHeight), Width)
                << text.size() << " characters, line " << i + 1;
        if (laid.CharacterHeight < Full) {
            shrank = true;
            const TextLines larger = BreakIntoLines(text, Width, 4, laid.CharacterHeight + 1,
                                                    laid.CharacterHeight + 1, HalfHeightCharacters);
            EXPECT_GT(HalfHeightCharacters(larger.Lines.back(), larger.CharacterHeight), Width)
                << text.size() << " characters fit one pixel higher";
        }
    }
    EXPECT_TRUE(shrank) << "255 characters fill the four lines at the full height";
}

} // namespace
