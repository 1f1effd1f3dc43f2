#pragma once
// The report image: a copy of the form image in memory, in the file's own pixel format, with the
// report's texts written onto it.

#include "report/ReportLayout.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// A device-independent copy of the image: its header with the colour table, and its pixels.
struct ReportDib {
    std::vector<std::byte> Header;
    std::vector<std::byte> Bits;
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(Header.data()); }
};

class ReportImage {
  public:
    // Reads a bitmap file. Throws EReportError with "Cannot open file ..." when the file cannot
    // be opened or read, "Bitmap image is not valid" when its content is no bitmap.
    static ReportImage Load(const std::string& fileName);

    ReportImage(ReportImage&& other) noexcept;
    ReportImage& operator=(ReportImage&&) = delete;
    ~ReportImage();

    // Writes each text at its place of the layout, in layout order, inside its box of the form (the
    // comment also on the lines it runs on to).
    void WriteTexts(const std::array<std::string, ReportTextCount>& texts);
    ReportDib ConvertToDib() const;

    int Width() const { return width_; }
    int Height() const { return height_; }
    HBITMAP Handle() const { return bitmap_; }

  private:
    ReportImage(HBITMAP bitmap, int width, int height);
    HBITMAP bitmap_;
    int width_;
    int height_;
};
