#pragma once
// The main window's shortcut keys: Ctrl+O, Ctrl+S, F12 and Ctrl+P for Open, Save, Save As and
// Print (the menu names them beside its items), F5 for Connect and Disconnect.

#include <windows.h>

HACCEL MainAccelerators();
