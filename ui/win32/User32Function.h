#pragma once
// A function of user32 looked up at run time, for what not every supported system has (Windows 7
// and 8 lack the per-monitor DPI functions); null where the system has none.

#include <windows.h>

template <class Function> Function User32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}
