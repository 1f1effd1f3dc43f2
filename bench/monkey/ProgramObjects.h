#pragma once
// What the program holds from the system, as another process can count it: handles, GDI and USER
// objects, threads and memory.

#include <windows.h>

#include <map>
#include <string>

struct ProgramObjects {
    long Handles = 0;
    // By the kind of object each handle leads to (File, Key, Event...).
    std::map<std::string, long> HandleKinds;
    DWORD GdiObjects = 0;
    DWORD UserObjects = 0;
    long Threads = 0;
    // By the module each thread started in (wmx.exe, a system library).
    std::map<std::string, long> ThreadModules;
    long long WorkingSetKb = 0;
    long long PagefileKb = 0;
};

ProgramObjects CountObjects(HANDLE process, DWORD pid);

// How far each count may grow between the settled point and the end of a run.
struct ObjectAllowance {
    long Handles = 10;
    // Wine's file dialogs keep one registry key open for each file chosen in them (OK rather
    // than Cancel): a bare program that only calls GetSaveFileName or GetOpenFileName shows the
    // same. So many keys more are allowed.
    long FilesChosen = 0;
    DWORD GuiObjects = 20;
    long Threads = 1;
    // Wine's heap keeps some of a closed preview's page for the next one, more or less after
    // different orders of previews, zooms and prints: the program at rest was seen anywhere
    // between 14 and 25 MB with no growth over a run.
    long long PagefileKb = 12 * 1024;
};

// One line per count, start and end; "" when none grew beyond its allowance, else what did.
std::string ObjectsLine(const ProgramObjects& objects);
std::string CompareObjects(const ProgramObjects& start, const ProgramObjects& end,
                           const ObjectAllowance& allowed, std::string& lines);
