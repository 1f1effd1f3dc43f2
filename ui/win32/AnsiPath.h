#pragma once
// Paths for the program's file functions, which take 8-bit text in the system's ANSI code page,
// from the paths the system gives in UTF-16 (the command line, the program's own file name), and
// the way back for what the user typed, for the wide functions.

#include <windows.h>

#include <optional>
#include <string>

// The path in the code page: the path itself where the code page holds every character of it,
// else its short name where the volume keeps one and the code page holds that; nothing when
// neither does. The short name is only found for a file or folder that exists.
std::optional<std::string> AnsiPath(const std::wstring& path, UINT codePage = CP_ACP);

// The text in the code page for showing it, "?" standing for each character the code page lacks.
std::string ShownText(const std::wstring& text, UINT codePage = CP_ACP);

// Text in the code page (what the user typed, what a file keeps) in UTF-16.
std::wstring WideText(const std::string& text, UINT codePage = CP_ACP);
