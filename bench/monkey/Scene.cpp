#include "Scene.h"

// For the control numbers only: the monkey drives the shipped program from outside.
#include "ui/main_window/MainWindow.h"

#include <string>

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
    return TRUE;
}

} // namespace

HWND ToolButton(HWND main, int id) {
    return GetDlgItem(GetDlgItem(main, idSpeedBar), id);
}

Scene Look(const ProgramProcess& program) {
    Scene scene;
    scene.Main = program.Main;
    scene.Port = program.Window("TForm2");
    scene.Preview = program.Window("TPrintPreview");
    for (HWND box : program.Windows("#32770")) {
        if (!IsWindowEnabled(box))
            continue;
        scene.Box = box;
        // A message box keeps its text in a static control of this number.
        if (!GetDlgItem(box, 0xFFFF))
            scene.Dialog = box;
    }
    scene.Popup = program.Window("#32768");
    if (!scene.Popup)
        scene.Popup = program.Window("ComboLBox");
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    scene.InMenu = GetGUIThreadInfo(program.MainThread(), &thread) &&
                   (thread.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0;
    scene.Start = ToolButton(scene.Main, idsbStart);
    scene.Connected = CaptionOf(scene.Start) == "Disconnect";
    if (scene.Port) {
        std::vector<HWND> children;
        EnumChildWindows(scene.Port, &CollectChild, reinterpret_cast<LPARAM>(&children));
        for (HWND child : children) {
            const std::string caption = CaptionOf(child);
            const std::string name = ClassOf(child);
            if (_stricmp(name.c_str(), "Edit") == 0)
                scene.OtherPort = child;
            else if (caption == "OK")
                scene.Ok = child;
            else if (caption == "TEST")
                scene.Test = child;
            else if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON)
                scene.PortEntries.push_back(child);
        }
        scene.OkEnabled = scene.Ok && IsWindowEnabled(scene.Ok);
    }
    return scene;
}

void ComeForward(const ProgramProcess& program, const Scene& scene, HWND preferred) {
    DWORD pid = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &pid);
    if (pid == program.Pid() && !preferred)
        return;
    HWND target = scene.Box ? scene.Box : preferred ? preferred : scene.Main;
    if (target && GetForegroundWindow() != target)
        SetForegroundWindow(target);
}
