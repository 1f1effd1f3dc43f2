#pragma once
// Every control keeps the rectangle its window's design gives it at 96 dpi, and each top-level
// window records the DPI its controls are laid out at. A control is placed at its rectangle
// scaled to that DPI, and placed again from the same rectangle when the DPI changes, so the
// figures are rounded once whatever the history.

#include <windows.h>

// The DPI a window's controls are laid out at: the one recorded for its top-level window, else
// the DPI of the screen it is on.
int LayoutDpi(HWND window);
void SetLayoutDpi(HWND topLevel, int dpi);

// A 96-dpi figure of the window's design at its layout DPI.
int Scaled(HWND window, int value);

// Remembers a control's 96-dpi rectangle. A control of no size is placed by its container.
void RememberDesign(HWND control, int left, int top, int width, int height);

// A caption wider than its rectangle at a DPI other than 96 (its font does not grow quite in
// step with the layout) is widened to its text, away from the edge it is aligned to.
void FitCaption(HWND control);

// Moves a caption up or down so that its text stands to its field's text as the design has it at
// 96 dpi, scaled: a field keeps its text the system's few pixels below its top edge at every DPI,
// so the caption's scaled design top alone would drift below the text of a taller field.
// Nothing moves at 96 dpi.
void AlignCaptionWithField(HWND caption, HWND field);

// Lays a top-level window out at a new DPI in the window rectangle the system suggests: each
// control gets its font's counterpart at the new DPI and its rectangle scaled from its design;
// the container of controls without a design rectangle places them again afterwards.
void RelayoutAtDpi(HWND topLevel, int dpi, const RECT& suggested);

// "MS Sans Serif" at a point size for a DPI. The fonts are shared by all windows and live as
// long as the program, so a control never holds a deleted font.
HFONT UiFont(int points, bool bold, int dpi);
// The same font at another DPI; a font that is not one of the above is returned unchanged.
HFONT UiFontAtDpi(HFONT font, int dpi);
