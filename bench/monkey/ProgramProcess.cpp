#include "ProgramProcess.h"

#include <utility>

namespace {

struct WindowSearch {
    DWORD Pid;
    const char* Class;
    std::vector<HWND> Found;
};

BOOL CALLBACK Collect(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search.Pid && IsWindowVisible(window) &&
        (!search.Class || ClassOf(window) == search.Class))
        search.Found.push_back(window);
    return TRUE;
}

} // namespace

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string Narrow(const std::wstring& text) {
    std::string ansi(text.size() * 2 + 1, '\0');
    ansi.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(),
                            static_cast<int>(ansi.size()), nullptr, nullptr)));
    return ansi;
}

std::string CaptionOf(HWND window) {
    wchar_t text[512] = L"";
    InternalGetWindowText(window, text, 512);
    return Narrow(text);
}

ProgramProcess::ProgramProcess(std::wstring exe, std::wstring folder)
    : Exe(std::move(exe)), Folder(std::move(folder)) {}

ProgramProcess::~ProgramProcess() {
    Close();
}

void ProgramProcess::Close() {
    if (Process.hProcess) {
        CloseHandle(Process.hThread);
        CloseHandle(Process.hProcess);
    }
    Process = {};
    Main = nullptr;
}

bool ProgramProcess::Start() {
    Close();
    std::wstring commandLine = L"\"" + Exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(Exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Folder.c_str(), &startup, &Process))
        return false;
    WaitForInputIdle(Process.hProcess, 20000);
    // The window is shown before the start-up loading, which may ask a question first.
    for (int i = 0; i < 400 && !(Main = Window("TMainForm")) && Running(); ++i)
        Sleep(50);
    return Main != nullptr;
}

void ProgramProcess::Kill() {
    TerminateProcess(Process.hProcess, 1);
    WaitForSingleObject(Process.hProcess, INFINITE);
    Main = nullptr;
}

std::optional<DWORD> ProgramProcess::ExitCode() const {
    if (WaitForSingleObject(Process.hProcess, 0) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(Process.hProcess, &code);
    return code;
}

std::vector<HWND> ProgramProcess::Windows(const char* className) const {
    WindowSearch search{Process.dwProcessId, className, {}};
    if (Process.hProcess)
        EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND ProgramProcess::Window(const char* className) const {
    const std::vector<HWND> found = Windows(className);
    return found.empty() ? nullptr : found.front();
}
