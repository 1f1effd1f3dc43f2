#include "ui/ProgramFiles.h"

#include <windows.h>

#include <shellapi.h>

#include <cwchar>

namespace {

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The files are opened by their ANSI names: a path with characters outside the code page goes
// by its short name, which has none.
std::string AnsiPath(const std::wstring& path) {
    BOOL lossy = FALSE;
    const auto convert = [&lossy](const std::wstring& wide) {
        const int size =
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
        std::string text(size > 0 ? size - 1 : 0, '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text.data(), size, nullptr, &lossy);
        return text;
    };
    std::string text = convert(path);
    if (!lossy)
        return text;
    wchar_t shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? convert(shortPath) : text;
}

// The first word is the program, quoted or up to white space, as the system's parser reads it.
bool NamesMoreThanTheProgram(const wchar_t* commandLine) {
    const wchar_t* rest = commandLine;
    if (*rest == L'"') {
        rest = wcschr(rest + 1, L'"');
        if (!rest)
            return false;
        ++rest;
    } else {
        rest += wcscspn(rest, L" \t");
    }
    rest += wcsspn(rest, L" \t");
    return *rest != L'\0';
}

} // namespace

std::string FindProgramFile(const char* name) {
    if (FileExists(name))
        return name;
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe, length < MAX_PATH ? length : 0);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    const std::string besideProgram = AnsiPath(folder) + name;
    return FileExists(besideProgram) ? besideProgram : name;
}

std::string StartDocument() {
    // The shell, whose parser splits the command line, is loaded only for a line that names more
    // than the program.
    if (!NamesMoreThanTheProgram(GetCommandLineW()))
        return {};
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args)
        return {};
    std::string document;
    if (count > 1 && *args[1]) {
        wchar_t full[MAX_PATH];
        const DWORD length = GetFullPathNameW(args[1], MAX_PATH, full, nullptr);
        document = AnsiPath(length > 0 && length < MAX_PATH ? std::wstring(full) : args[1]);
    }
    LocalFree(args);
    return document;
}
