#pragma once
// The font of the report's texts: "MS Sans Serif", regular, at the report's character height.

#include "report/ReportLayout.h"

#include <windows.h>

// A scalable rendition, so that the characters come out at the height asked for: the raster face
// of that name holds only a few sizes and stands in with its nearest one (and, under code page
// 1250, with small letters spread over a doubled cell). Where the system has no scalable face of
// that name, its TrueType twin "Microsoft Sans Serif" is taken. The dc is where the font is tried;
// a text too wide for its box asks for a smaller character height.
HFONT CreateReportFont(HDC dc, int characterHeight = ReportCharacterHeight);
