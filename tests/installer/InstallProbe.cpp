// What the installer test cannot see from Linux, looked at from inside the test's Wine prefix:
//   install_probe shortcut <file.lnk>  prints the link's target, working folder and icon file,
//                                      one per line
//   install_probe open <file.wmx>      opens the file as Explorer does (its type's open command)
//                                      and prints the customer name the program's window, titled
//                                      with the file's name, shows
#include "ui/main_window/MainWindow.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int PrintShortcut(const char* path) {
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::fprintf(stderr, "install_probe: no shell link object\n");
        return 1;
    }
    wchar_t widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    if (FAILED(file->Load(widePath, STGM_READ))) {
        std::fprintf(stderr, "install_probe: cannot read %s\n", path);
        return 1;
    }
    char target[MAX_PATH] = "", folder[MAX_PATH] = "", icon[MAX_PATH] = "";
    int iconIndex = 0;
    link->GetPath(target, MAX_PATH, nullptr, 0);
    link->GetWorkingDirectory(folder, MAX_PATH);
    link->GetIconLocation(icon, MAX_PATH, &iconIndex);
    std::printf("%s\n%s\n%s\n", target, folder, icon);
    file->Release();
    link->Release();
    return 0;
}

struct Search {
    DWORD ProcessId;
    // The title of the window with the document open: its file's name and the program's.
    std::string Caption;
    HWND Window;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char caption[MAX_PATH] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (processId == search->ProcessId && caption == search->Caption &&
        GetDlgItem(window, idEdit1)) {
        search->Window = window;
        return FALSE;
    }
    return TRUE;
}

int OpenDocument(const char* path) {
    SHELLEXECUTEINFOA open{};
    open.cbSize = sizeof open;
    // Without its type registered where this process looks, the shell would wait on a box that
    // asks which program to use: the probe fails instead.
    open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    open.lpVerb = "open";
    open.lpFile = path;
    open.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&open) || !open.hProcess) {
        std::fprintf(stderr, "install_probe: cannot open %s (%lu)\n", path, GetLastError());
        return 1;
    }
    // Idle in its message loop: the window is up and the document loaded, or an error box waits.
    WaitForInputIdle(open.hProcess, 30000);
    const std::string name(path);
    Search search{GetProcessId(open.hProcess),
                  name.substr(name.find_last_of('\\') + 1) + " - Kavra Tintra", nullptr};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    int status = 1;
    if (search.Window) {
        char name[256] = "";
        GetDlgItemTextA(search.Window, idEdit1, name, sizeof name);
        std::printf("%s\n", name);
        status = 0;
        PostMessageA(search.Window, WM_CLOSE, 0, 0);
    } else {
        std::fprintf(stderr, "install_probe: no main window\n");
    }
    // An error box shown at start would hold the program: it is ended either way.
    if (WaitForSingleObject(open.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "install_probe: the program did not close\n");
        TerminateProcess(open.hProcess, 1);
        status = 1;
    }
    CloseHandle(open.hProcess);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    CoInitialize(nullptr);
    const std::string command = argc == 3 ? argv[1] : "";
    if (command == "shortcut")
        return PrintShortcut(argv[2]);
    if (command == "open")
        return OpenDocument(argv[2]);
    std::fprintf(stderr, "usage: install_probe shortcut <file.lnk> | open <file.wmx>\n");
    return 2;
}
