#pragma once
// The files the program finds by itself: its own files beside the working folder's, and the
// document it is started with ("wmx.exe PATH", as a file association or a shortcut passes it).

#include <string>

// A file named without a folder ("config.wmx", "protokol.bmp"): the working folder's when it is
// there, else the one in the folder of the program, else the name as given, so that an error
// names the working folder's file.
std::string FindProgramFile(const char* name);

// The document named by the program's first argument, as a full path; empty when there is none.
std::wstring StartDocument();

// The path as the program's file functions open it (AnsiPath). Throws, naming the file, when the
// system's code page can hold neither the path nor a short name of it.
std::string OpenablePath(const std::wstring& path);
