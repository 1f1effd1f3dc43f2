#pragma once
// What of the program is on the screen at a moment, as a user sees it: which windows are up and
// the state of the few controls the monkey's choices depend on.

#include "ProgramProcess.h"

#include <windows.h>

#include <vector>

struct Scene {
    HWND Main = nullptr;
    // The port dialog "communication", when shown.
    HWND Port = nullptr;
    HWND Preview = nullptr;
    // The enabled dialog box, the one that takes the input, when one is up; the same when it is a
    // file or print dialog rather than a message box.
    HWND Box = nullptr;
    HWND Dialog = nullptr;
    // An open menu or the vehicle type's list.
    HWND Popup = nullptr;
    // The menu bar has the keyboard (after Alt, or Escape from an open menu).
    bool InMenu = false;
    // Connect's button, which says "Disconnect" while a port is open.
    HWND Start = nullptr;
    bool Connected = false;
    // The port dialog's controls.
    HWND Ok = nullptr;
    HWND Test = nullptr;
    HWND OtherPort = nullptr;
    std::vector<HWND> PortEntries;
    bool OkEnabled = false;
};

Scene Look(const ProgramProcess& program);
// A control of the main window's tool bar (Connect included) by its number.
HWND ToolButton(HWND main, int id);
// Makes one of the program's windows the foreground one when none is, so that keys reach it: the
// enabled box when one is up, else the window given.
void ComeForward(const ProgramProcess& program, const Scene& scene, HWND preferred);
