#pragma once
// The program's pictures, drawn with GDI: the tool-bar pictures (20 x 20 at 96 dpi, normal and
// disabled) and the 200 x 92 logo, all 24-bit, drawn at their size for a DPI.

#include <windows.h>

enum class ToolPicture { Open, Save, Print, PrintPreview, PrintSetup, Information, Exit };

struct PicturePair {
    HBITMAP Normal;
    HBITMAP Disabled;
};

PicturePair DrawToolPicture(ToolPicture picture, int dpi);
HBITMAP DrawLogo(int dpi);
// The program's icon from its resources at a system size (SM_CXICON, SM_CXSMICON); shared by
// the system, never destroyed. Null in a program without the resources.
HICON ProgramIcon(int sizeMetric);
