#pragma once
// The real wmx.exe in a process of its own, as Explorer or a shortcut starts it: its main window
// once it is up, its message boxes, its fields read from outside.

#include "WindowDriver.h"

#include <windows.h>

#include <string>

class ProgramRun {
  public:
    ProgramRun(const std::string& exe, const std::wstring& arguments, const std::string& folder) {
        std::wstring commandLine =
            L"\"" + Widen(exe) + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(Widen(exe).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, Widen(folder).c_str(), &startup, &Process))
            return;
        WaitForInputIdle(Process.hProcess, 10000);
        for (int i = 0; i < 100 && !(Main = Window("TMainForm")); ++i)
            Sleep(50);
    }
    ~ProgramRun() {
        if (!Process.hProcess)
            return;
        if (Main)
            PostMessageA(Main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(Process.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(Process.hProcess, 1);
        CloseHandle(Process.hThread);
        CloseHandle(Process.hProcess);
    }
    // Ends the process at once, as a crash or a power cut would.
    void Kill() {
        TerminateProcess(Process.hProcess, 1);
        WaitForSingleObject(Process.hProcess, INFINITE);
        Main = nullptr;
    }
    // The visible top-level window of this process with the class, when there is one.
    HWND Window(const char* className) const {
        WindowSearch search{Process.dwProcessId, className, nullptr};
        EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
        return search.Found;
    }
    // The first dialog box of the process (its error box), once it is up.
    HWND ErrorBox() const {
        HWND box = nullptr;
        for (int i = 0; i < 100 && !(box = Window("#32770")); ++i)
            Sleep(50);
        return box;
    }
    // The main window's first field once it shows the expected text, or as it is after a wait.
    std::string FirstField(const std::string& expected) const {
        std::string text;
        for (int i = 0; i < 100 && (text = TextOf(GetDlgItem(Main, idEdit1))) != expected; ++i)
            Sleep(50);
        return text;
    }
    // Asked of the control itself: another process's edit keeps its text to itself.
    static std::string TextOf(HWND control) {
        char text[256] = "";
        SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND Main = nullptr;

  private:
    struct WindowSearch {
        DWORD Pid;
        const char* Class;
        HWND Found;
    };
    static BOOL CALLBACK Match(HWND window, LPARAM data) {
        auto& search = *reinterpret_cast<WindowSearch*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        if (pid == search.Pid && std::string(name) == search.Class && IsWindowVisible(window))
            search.Found = window;
        return !search.Found;
    }
    PROCESS_INFORMATION Process{};
};
