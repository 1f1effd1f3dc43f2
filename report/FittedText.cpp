#include "report/FittedText.h"

#include "report/ReportFont.h"
#include "report/TextLines.h"

#include <optional>

namespace {

// The report's font at one character height, selected into the dc while it lives.
class SelectedFont {
  public:
    SelectedFont(HDC dc, int characterHeight)
        : dc_(dc), height_(characterHeight), font_(CreateReportFont(dc, characterHeight)),
          old_(SelectObject(dc, font_)) {
        GetTextMetricsA(dc, &metrics_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
    ~SelectedFont() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    int Height() const { return height_; }
    int Ascent() const { return metrics_.tmAscent; }
    int Width(std::string_view text) const {
        SIZE size{};
        GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

  private:
    HDC dc_;
    int height_;
    HFONT font_;
    HGDIOBJ old_;
    TEXTMETRICA metrics_{};
};

} // namespace

void WriteFittedText(HDC dc, std::string_view text, std::span<const PixelPoint> lines, int right) {
    std::optional<SelectedFont> font(std::in_place, dc, ReportCharacterHeight);
    const int fullAscent = font->Ascent();
    const auto selected = [&](int height) -> const SelectedFont& {
        if (font->Height() != height)
            font.emplace(dc, height);
        return *font;
    };
    // Measured at each height: glyph widths do not shrink exactly in proportion to the height.
    const TextLines laid =
        BreakIntoLines(text, right - lines.front().X, lines.size(), ReportCharacterHeight,
                       ReportSmallestCharacterHeight, [&](std::string_view part, int height) {
                           return selected(height).Width(part);
                       });
    const SelectedFont& drawn = selected(laid.CharacterHeight);
    for (std::size_t i = 0; i < laid.Lines.size(); ++i) {
        const std::string_view line = laid.Lines[i];
        const int baseLine = lines[i].Y + fullAscent;
        // Only the right edge cuts: the place's other sides lie well clear of the text.
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, 0, 0, right, baseLine + ReportCharacterHeight);
        TextOutA(dc, lines[i].X, baseLine - drawn.Ascent(), line.data(),
                 static_cast<int>(line.size()));
        RestoreDC(dc, saved);
    }
}
