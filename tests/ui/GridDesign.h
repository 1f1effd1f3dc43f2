#pragma once
// The grid as the layout designs it at 96 dpi, written out for the tests: at 400, 56 in the main
// window's client area, a 2-pixel border, then rows of 15 pixels and columns of these widths,
// each followed by a one-pixel line.

namespace GridDesign {
constexpr int Left = 400, Top = 56, Width = 306;
constexpr int Border = 2;
constexpr int RowHeight = 15;
constexpr int RowPitch = RowHeight + 1;
constexpr int Rows = 10;
constexpr int Columns = 6;
constexpr int ColWidths[Columns] = {40, 69, 68, 40, 40, 40};
} // namespace GridDesign
