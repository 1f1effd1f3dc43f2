#pragma once
// What the program holds from the system, as another process can count it: handles, GDI and USER
// objects, threads and memory.

#include <windows.h>

#include <string>

struct ProgramObjects {
    long Handles = 0;
    DWORD GdiObjects = 0;
    DWORD UserObjects = 0;
    long Threads = 0;
    long long WorkingSetKb = 0;
    long long PagefileKb = 0;
};

ProgramObjects CountObjects(HANDLE process, DWORD pid);

// How far each count may grow between the settled point and the end of a run.
struct ObjectAllowance {
    long Handles = 10;
    DWORD GuiObjects = 20;
    long Threads = 1;
    long long PagefileKb = 8 * 1024;
};

// One line per count, start and end; "" when none grew beyond its allowance, else what did.
std::string CompareObjects(const ProgramObjects& start, const ProgramObjects& end,
                           const ObjectAllowance& allowed, std::string& lines);
