#pragma once
// The shipped wmx.exe in a process of its own, started as Explorer starts it, and its windows as
// any other program on the desktop sees them.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class ProgramProcess {
  public:
    ProgramProcess(std::wstring exe, std::wstring folder);
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Starts it in the folder; false when no main window came up.
    bool Start();
    // Ends it at once, as a crash or a power cut would.
    void Kill();
    // Nothing while it runs; its exit code once it has ended.
    std::optional<DWORD> ExitCode() const;
    bool Running() const { return Process.hProcess && !ExitCode(); }

    // Its visible top-level windows, of one class when one is named.
    std::vector<HWND> Windows(const char* className = nullptr) const;
    HWND Window(const char* className) const;

    HANDLE Handle() const { return Process.hProcess; }
    DWORD Pid() const { return Process.dwProcessId; }
    DWORD MainThread() const { return Process.dwThreadId; }
    HWND Main = nullptr;

  private:
    void Close();
    const std::wstring Exe;
    const std::wstring Folder;
    PROCESS_INFORMATION Process{};
};

std::string ClassOf(HWND window);
// A text in the system's ANSI code page, as the program keeps its texts and names its files.
std::string Narrow(const std::wstring& text);
// A window's own text, as the system keeps it: never a message to the program, so never stuck on
// it (an edit control's text is not kept there).
std::string CaptionOf(HWND window);
