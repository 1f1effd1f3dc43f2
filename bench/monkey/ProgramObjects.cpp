#include "ProgramObjects.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>

namespace {

// GetProcessHandleCount gives 0 under Wine: every possible handle value of the program is tried
// instead, by copying it into this process.
std::string KindOf(HANDLE handle) {
    alignas(8) char buffer[512];
    ULONG length = 0;
    if (NtQueryObject(handle, ObjectTypeInformation, buffer, sizeof buffer, &length) < 0)
        return "?";
    const auto& type = *reinterpret_cast<const PUBLIC_OBJECT_TYPE_INFORMATION*>(buffer);
    std::string name;
    for (USHORT i = 0; i < type.TypeName.Length / sizeof(WCHAR); ++i)
        name += static_cast<char>(type.TypeName.Buffer[i]);
    return name.empty() ? "(no kind named)" : name;
}

long CountHandles(HANDLE process, std::map<std::string, long>& kinds) {
    long count = 0;
    for (ULONG_PTR value = 4; value <= 0xFFFC; value += 4) {
        HANDLE copy = nullptr;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0,
                            FALSE, DUPLICATE_SAME_ACCESS)) {
            ++count;
            ++kinds[KindOf(copy)];
            CloseHandle(copy);
        }
    }
    return count;
}

// The module of the program that holds an address, by its file name.
std::string ModuleAt(HANDLE process, ULONG_PTR address) {
    HMODULE modules[256];
    DWORD bytes = 0;
    if (!EnumProcessModules(process, modules, sizeof modules, &bytes))
        return "?";
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 256; ++i) {
        MODULEINFO info{};
        const auto base = reinterpret_cast<ULONG_PTR>(modules[i]);
        if (GetModuleInformation(process, modules[i], &info, sizeof info) && address >= base &&
            address < base + info.SizeOfImage) {
            char name[MAX_PATH] = "";
            GetModuleBaseNameA(process, modules[i], name, sizeof name);
            return name;
        }
    }
    return "?";
}

long CountThreads(HANDLE process, DWORD pid, std::map<std::string, long>& modules) {
    long count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        ++count;
        ULONG_PTR start = 0;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        // 9: the thread's start address as its creator gave it.
        if (thread && NtQueryInformationThread(thread, static_cast<THREADINFOCLASS>(9), &start,
                                               sizeof start, nullptr) >= 0)
            ++modules[ModuleAt(process, start)];
        else
            ++modules["?"];
        if (thread)
            CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return count;
}

// "Key +3, File -1": the kinds whose count changed.
std::string Changes(const std::map<std::string, long>& start,
                    const std::map<std::string, long>& end) {
    std::map<std::string, long> change;
    for (const auto& [kind, count] : end)
        change[kind] += count;
    for (const auto& [kind, count] : start)
        change[kind] -= count;
    std::string text;
    for (const auto& [kind, count] : change) {
        if (count)
            text += (text.empty() ? "" : ", ") + kind + " " + (count > 0 ? "+" : "") +
                    std::to_string(count);
    }
    return text;
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

long KindChange(const ProgramObjects& start, const ProgramObjects& end, const std::string& kind) {
    const auto before = start.HandleKinds.find(kind);
    const auto after = end.HandleKinds.find(kind);
    return (after == end.HandleKinds.end() ? 0 : after->second) -
           (before == start.HandleKinds.end() ? 0 : before->second);
}

} // namespace

std::string ObjectsLine(const ProgramObjects& objects) {
    const auto keys = objects.HandleKinds.find("Key");
    std::string modules;
    for (const auto& [module, count] : objects.ThreadModules)
        modules += (modules.empty() ? "" : ", ") + module + " " + std::to_string(count);
    char text[200];
    std::snprintf(text, sizeof text,
                  "%ld handles (%ld registry keys), %ld threads (%s), %lld KB pagefile, %lld KB "
                  "working set",
                  objects.Handles, keys == objects.HandleKinds.end() ? 0L : keys->second,
                  objects.Threads, modules.c_str(), objects.PagefileKb, objects.WorkingSetKb);
    return text;
}

ProgramObjects CountObjects(HANDLE process, DWORD pid) {
    ProgramObjects objects;
    objects.Handles = CountHandles(process, objects.HandleKinds);
    objects.GdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    objects.UserObjects = GetGuiResources(process, GR_USEROBJECTS);
    objects.Threads = CountThreads(process, pid, objects.ThreadModules);
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
    const long wineKeys =
        std::min(allowed.FilesChosen, std::max(0L, KindChange(start, end, "Key")));
    Line(lines, "handles", start.Handles, end.Handles, allowed.Handles + wineKeys, "", failed);
    if (wineKeys)
        lines += "                of which " + std::to_string(wineKeys) +
                 " are registry keys Wine's file dialogs keep (" +
                 std::to_string(allowed.FilesChosen) + " files chosen)\n";
    if (const std::string kinds = Changes(start.HandleKinds, end.HandleKinds); !kinds.empty())
        lines += "                by kind: " + kinds + "\n";
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
    if (const std::string modules = Changes(start.ThreadModules, end.ThreadModules);
        !modules.empty())
        lines += "                by where they started: " + modules + "\n";
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
