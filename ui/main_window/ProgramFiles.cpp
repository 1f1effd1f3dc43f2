#include "ui/main_window/ProgramFiles.h"

#include "data/FileError.h"
#include "system/SystemFunction.h"
#include "ui/win32/AnsiPath.h"

#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <stdexcept>
#include <utility>

namespace {

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring ProgramFolder() {
    std::wstring exe(MAX_PATH, L'\0');
    DWORD length;
    while ((length = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()))) ==
           exe.size())
        exe.resize(exe.size() * 2);
    exe.resize(length);
    return exe.substr(0, exe.find_last_of(L"\\/") + 1);
}

std::wstring FullPath(const wchar_t* path) {
    const DWORD size = GetFullPathNameW(path, 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size ? GetFullPathNameW(path, size, full.data(), nullptr) : 0;
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
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
    const std::optional<std::string> folder = AnsiPath(ProgramFolder());
    if (folder && FileExists(*folder + name))
        return *folder + name;
    return name;
}

std::wstring StartDocument() {
    // The shell, whose parser splits the command line, is loaded only for a line that names more
    // than the program.
    if (!NamesMoreThanTheProgram(GetCommandLineW()))
        return {};
    int count = 0;
    static const SystemFunction<decltype(&CommandLineToArgvW)> split("shell32.dll",
                                                                     "CommandLineToArgvW");
    LPWSTR* args =
        split.For("Opening the document named on the command line")(GetCommandLineW(), &count);
    if (!args)
        return {};
    const std::wstring document = count > 1 && *args[1] ? FullPath(args[1]) : std::wstring();
    LocalFree(args);
    return document;
}

std::string OpenablePath(const std::wstring& path) {
    if (std::optional<std::string> ansi = AnsiPath(path))
        return *std::move(ansi);
    // A file that is not there has no short name either: that is what the user must hear.
    const std::string reason = GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES
                                   ? FileErrorText(GetLastError())
                                   : "Its name has characters that the system's code page lacks";
    throw std::runtime_error("Cannot open file \"" + ShownText(path) + "\". " + reason);
}
