#include "report/FittedText.h"

#include "report/ReportFont.h"

#include <optional>

namespace {

// The report's font at one character height, selected into the dc while it lives.
class SelectedFont {
  public:
    SelectedFont(HDC dc, int characterHeight)
        : dc_(dc), font_(CreateReportFont(dc, characterHeight)), old_(SelectObject(dc, font_)) {
        GetTextMetricsA(dc, &metrics_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
    ~SelectedFont() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    int Ascent() const { return metrics_.tmAscent; }
    int Width(std::string_view text) const {
        SIZE size{};
        GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

  private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
    TEXTMETRICA metrics_{};
};

} // namespace

void WriteFittedText(HDC dc, std::string_view text, PixelPoint at, int right) {
    int height = ReportCharacterHeight;
    std::optional<SelectedFont> font(std::in_place, dc, height);
    const int baseLine = at.Y + font->Ascent();
    // Measured at each height: glyph widths do not shrink exactly in proportion to the height.
    while (font->Width(text) > right - at.X && height > ReportSmallestCharacterHeight)
        font.emplace(dc, --height);
    // Only the box's right edge cuts: its other sides lie well clear of the text.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, right, baseLine + ReportCharacterHeight);
    TextOutA(dc, at.X, baseLine - font->Ascent(), text.data(), static_cast<int>(text.size()));
    RestoreDC(dc, saved);
}
