#pragma once
// Tool-bar pieces: a raised panel that passes its buttons' clicks to its parent, and flat tool
// buttons with a picture (normal and disabled) or a caption. Tool buttons never take the focus,
// so clicking one leaves the field being edited as it is.

#include <windows.h>

void RegisterToolBarClasses();

constexpr const char* PanelClass = "WmxPanel";
constexpr const char* SpeedButtonClass = "WmxSpeedButton";

// Gives a picture button its two pictures (the window keeps no ownership of them).
void SetSpeedButtonPictures(HWND button, HBITMAP normal, HBITMAP disabled);

// Shows a button held down, for the choice in force among the buttons beside it, or up again.
void SetSpeedButtonDown(HWND button, bool down);
