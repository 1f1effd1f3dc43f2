#include "ProgramObjects.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

namespace {

// GetProcessHandleCount gives 0 under Wine: every possible handle value of the program is tried
// instead, by copying it into this process.
long CountHandles(HANDLE process) {
    long count = 0;
    for (ULONG_PTR value = 4; value <= 0xFFFC; value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0,
                            FALSE, DUPLICATE_SAME_ACCESS)) {
            ++count;
            CloseHandle(copy);
        }
    }
    return count;
}

long CountThreads(DWORD pid) {
    long count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == pid;
    CloseHandle(snapshot);
    return count;
}

void Line(std::string& lines, const char* what, long long start, long long end, long long allowed,
          const char* unit, std::string& failed) {
    char text[200];
    std::snprintf(text, sizeof text, "  %-13s start %8lld%s, end %8lld%s (%+lld, allowed %+lld)\n",
                  what, start, unit, end, unit, end - start, allowed);
    lines += text;
    if (end - start > allowed)
        failed += std::string(failed.empty() ? "" : "; ") + what + " grew by " +
                  std::to_string(end - start) + unit;
}

} // namespace

ProgramObjects CountObjects(HANDLE process, DWORD pid) {
    ProgramObjects objects;
    objects.Handles = CountHandles(process);
    objects.GdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    objects.UserObjects = GetGuiResources(process, GR_USEROBJECTS);
    objects.Threads = CountThreads(pid);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    objects.WorkingSetKb = static_cast<long long>(memory.WorkingSetSize / 1024);
    objects.PagefileKb = static_cast<long long>(memory.PagefileUsage / 1024);
    return objects;
}

std::string CompareObjects(const ProgramObjects& start, const ProgramObjects& end,
                           const ObjectAllowance& allowed, std::string& lines) {
    std::string failed;
    Line(lines, "handles", start.Handles, end.Handles, allowed.Handles, "", failed);
    // Wine's GetGuiResources answers 0 for every process: nothing to compare there.
    if (start.GdiObjects || end.GdiObjects || start.UserObjects || end.UserObjects) {
        Line(lines, "GDI objects", start.GdiObjects, end.GdiObjects, allowed.GuiObjects, "",
             failed);
        Line(lines, "USER objects", start.UserObjects, end.UserObjects, allowed.GuiObjects, "",
             failed);
    } else {
        lines += "  GDI, USER     not counted: GetGuiResources reports 0 for both (as Wine does)\n";
    }
    Line(lines, "threads", start.Threads, end.Threads, allowed.Threads, "", failed);
    Line(lines, "pagefile", start.PagefileKb, end.PagefileKb, allowed.PagefileKb, " KB", failed);
    char text[160];
    std::snprintf(text, sizeof text,
                  "  %-13s start %8lld KB, end %8lld KB (%+lld; printed only, it follows the "
                  "system's paging)\n",
                  "working set", start.WorkingSetKb, end.WorkingSetKb,
                  end.WorkingSetKb - start.WorkingSetKb);
    lines += text;
    return failed;
}
