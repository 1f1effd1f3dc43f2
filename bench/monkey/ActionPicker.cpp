#include "ActionPicker.h"

#include "Monkey.h"
#include "UserInput.h"

// For the control numbers only: the monkey drives the shipped program from outside.
#include "ui/main_window/MainWindow.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Describe(HWND control) {
    const std::string caption = CaptionOf(control);
    char text[160];
    std::snprintf(text, sizeof text, "%s #%d%s%s%s", ClassOf(control).c_str(),
                  GetDlgCtrlID(control), caption.empty() ? "" : " \"", caption.c_str(),
                  caption.empty() ? "" : "\"");
    return text;
}

// Letters, digits and signs, with the Polish letters (code page 1250 has them all); now and then
// a text longer than the 255 characters a field and the file keep.
std::wstring RandomText(Random& random) {
    static const std::wstring plain =
        L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,-/";
    static const std::wstring polish = L"\u0105\u0107\u0119\u0142\u0144\u00f3\u015b\u017a\u017c"
                                       L"\u0104\u0106\u0118\u0141\u0143\u00d3\u015a\u0179\u017b";
    const int length = random.Chance(8) ? 300 : random.Between(1, 24);
    std::wstring text;
    for (int i = 0; i < length; ++i) {
        const std::wstring& from = random.Chance(25) ? polish : plain;
        text +=
            from[static_cast<std::size_t>(random.Between(0, static_cast<int>(from.size()) - 1))];
    }
    return text;
}

BOOL CALLBACK CollectVisible(HWND child, LPARAM data) {
    if (IsWindowVisible(child))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
    return TRUE;
}

struct KeyStroke {
    WORD Key;
    WORD Modifier;
    const char* Name;
    int Weight;
};

const std::vector<KeyStroke> Keys = {
    {VK_TAB, 0, "Tab", 10},      {VK_TAB, VK_SHIFT, "Shift+Tab", 5},
    {VK_UP, 0, "Up", 6},         {VK_DOWN, 0, "Down", 6},
    {VK_LEFT, 0, "Left", 3},     {VK_RIGHT, 0, "Right", 3},
    {VK_HOME, 0, "Home", 2},     {VK_END, 0, "End", 2},
    {VK_PRIOR, 0, "Page Up", 2}, {VK_NEXT, 0, "Page Down", 2},
    {VK_RETURN, 0, "Enter", 6},  {VK_ESCAPE, 0, "Escape", 4},
    {VK_SPACE, 0, "Space", 3},   {VK_BACK, 0, "Backspace", 3},
    {VK_DELETE, 0, "Delete", 2}, {VK_DOWN, VK_MENU, "Alt+Down", 1},
    {VK_ADD, 0, "+", 1},         {VK_SUBTRACT, 0, "-", 1},
    {VK_F1, 0, "F1", 1},         {VK_F2, 0, "F2", 1},
    {VK_F10, 0, "F10", 1},       {VK_F12, 0, "F12", 1},
};

const std::vector<KeyStroke> Shortcuts = {
    {'O', VK_CONTROL, "Ctrl+O", 3},
    {'S', VK_CONTROL, "Ctrl+S", 3},
    {'P', VK_CONTROL, "Ctrl+P", 2},
    {VK_F5, 0, "F5", 4},
};

// False when the key was not sent: a file or print dialog is up.
bool Stroke(Monkey& m, const KeyStroke& k, const std::string& where) {
    if (m.DialogWaits())
        return false;
    m.Log.Add(std::string("key ") + k.Name + where);
    if (k.Modifier)
        UserInput::Key(k.Key, {k.Modifier});
    else
        UserInput::Key(k.Key);
    m.InputTaken();
    return true;
}

void Type(Monkey& m, const std::wstring& text, const std::string& where) {
    if (m.DialogWaits())
        return;
    UserInput::Type(text);
    m.InputTaken();
    m.Log.Add("type " + std::to_string(text.size()) + " characters" + where + ": \"" +
              Narrow(text.substr(0, 40)) + (text.size() > 40 ? "...\"" : "\""));
}

void Click(Monkey& m, HWND control, POINT at, const std::string& what) {
    UserInput::Click(control, at);
    m.InputTaken();
    m.Log.Add("click " + what);
}

const KeyStroke& PickKey(Random& random, const std::vector<KeyStroke>& keys) {
    std::vector<int> weights;
    for (const KeyStroke& k : keys)
        weights.push_back(k.Weight);
    return keys[random.Weighted(weights)];
}

void Press(Monkey& m, HWND control, const std::string& what) {
    UserInput::ClickMiddle(control);
    m.InputTaken();
    m.Log.Add("click " + what);
}

// OK (or Enter on it) with the meter named starts the poll, and the dialog goes.
void NotePollStart(Monkey& m, const Scene& before) {
    if (!before.Port || !before.OkEnabled)
        return;
    if (m.Await([&] { return !IsWindowVisible(before.Port); }, 1000)) {
        ++m.Counts.PollsStarted;
        m.PollRunning = true;
        m.Log.Add("a poll started");
    }
}

void ClickControl(Monkey& m, const Scene& s) {
    std::vector<HWND> windows;
    for (HWND w : m.Program.Windows()) {
        // Inside a file or print dialog only the monkey's answer acts.
        if (ClassOf(w) != "#32770" || GetDlgItem(w, 0xFFFF))
            windows.push_back(w);
    }
    if (windows.empty())
        return;
    const HWND window = m.Chance.Pick(windows);
    std::vector<HWND> controls;
    EnumChildWindows(window, &CollectVisible, reinterpret_cast<LPARAM>(&controls));
    const HWND exitButton = ToolButton(s.Main, idSpeedButton5);
    std::erase_if(controls, [&](HWND c) { return c == exitButton; });
    const HWND target = controls.empty() ? window : m.Chance.Pick(controls);
    RECT r{};
    GetClientRect(target, &r);
    const POINT at{m.Chance.Between(r.left + 2, std::max(r.left + 2, r.right - 3)),
                   m.Chance.Between(r.top + 2, std::max(r.top + 2, r.bottom - 3))};
    Click(m, target, at,
          Describe(target) + " at " + std::to_string(at.x) + "," + std::to_string(at.y) + " in \"" +
              CaptionOf(window) + "\"");
    NotePollStart(m, s);
}

void ClickRow(Monkey& m, const Scene& s) {
    const HWND grid = GetDlgItem(s.Main, idTabela);
    RECT r{};
    GetClientRect(grid, &r);
    // Heading row 0 and rows 1 to 9, each 15 pixels and a line at 96 dpi.
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const int row = m.Chance.Between(0, 9);
    const POINT at{m.Chance.Between(3, std::max(3, static_cast<int>(r.right) - 4)),
                   (2 + row * 16 + 7) * dpi / 96};
    Click(m, grid, at, "the table's row " + std::to_string(row));
}

void TypeIntoField(Monkey& m, const Scene& s) {
    static const std::vector<int> fields = {idEdit1,  idEdit2,  idEdit3,         idEdit6,
                                            idEdit7,  idEdit8,  idEdit9,         idEdit10,
                                            idEdit11, idtxtTmp, idrodzaj_pojazdu};
    const int id = m.Chance.Pick(fields);
    HWND field = GetDlgItem(s.Main, id);
    // The vehicle type's box is typed into through its edit.
    if (HWND inner = GetWindow(field, GW_CHILD); id == idrodzaj_pojazdu && inner)
        field = inner;
    Press(m, field, Describe(field));
    Type(m, RandomText(m.Chance), " into " + Describe(field));
}

void TypeAnywhere(Monkey& m, const Scene& s) {
    ComeForward(m.Program, s, nullptr);
    Type(m, RandomText(m.Chance), "");
}

void PressKey(Monkey& m, const Scene& s) {
    ComeForward(m.Program, s, nullptr);
    const KeyStroke& k = PickKey(m.Chance, Keys);
    if (Stroke(m, k, "") && (k.Key == VK_RETURN || k.Key == VK_SPACE))
        NotePollStart(m, s);
}

void PressShortcut(Monkey& m, const Scene& s) {
    ComeForward(m.Program, s, m.Chance.Chance(70) ? s.Main : s.Port);
    Stroke(m, PickKey(m.Chance, Shortcuts), "");
}

void UseMenu(Monkey& m, const Scene& s) {
    ComeForward(m.Program, s, s.Main);
    static const std::vector<KeyStroke> menus = {
        {'F', VK_MENU, "Alt+F", 3}, {'M', VK_MENU, "Alt+M", 2}, {'H', VK_MENU, "Alt+H", 1}};
    static const std::vector<KeyStroke> inMenu = {
        {VK_DOWN, 0, "Down", 6}, {VK_UP, 0, "Up", 3},        {VK_RIGHT, 0, "Right", 2},
        {VK_LEFT, 0, "Left", 2}, {VK_RETURN, 0, "Enter", 3}, {VK_ESCAPE, 0, "Escape", 3},
        {'1', 0, "1", 1},        {'2', 0, "2", 1},           {'V', 0, "V", 1}};
    if (!Stroke(m, PickKey(m.Chance, menus), ""))
        return;
    for (int i = m.Chance.Between(1, 3); i > 0; --i) {
        m.Pause(static_cast<DWORD>(m.Chance.Between(50, 300)));
        if (!Stroke(m, PickKey(m.Chance, inMenu), " in the menu"))
            return;
    }
}

void PressToolButton(Monkey& m, const Scene& s) {
    struct Tool {
        int Id;
        const char* Name;
    };
    static const std::vector<Tool> tools = {
        {idSpeedButton1, "Open"},        {idSpeedButton2, "Save"},
        {idSpeedButton3, "Print"},       {idSpeedButton7, "Print Preview"},
        {idSpeedButton4, "Print Setup"}, {idSpeedButton6, "About"}};
    const Tool& tool = m.Chance.Pick(tools);
    Press(m, ToolButton(s.Main, tool.Id), std::string("the tool button ") + tool.Name);
}

void PressStart(Monkey& m, const Scene& s) {
    Press(m, s.Start, "\"" + CaptionOf(s.Start) + "\"");
}

void ChoosePort(Monkey& m, const Scene& s) {
    HWND entry = m.Chance.Pick(s.PortEntries);
    if (m.Chance.Chance(70)) {
        for (HWND e : s.PortEntries) {
            if (CaptionOf(e) == "COM7")
                entry = e;
        }
    }
    Press(m, entry, "the port " + CaptionOf(entry));
}

void PressTest(Monkey& m, const Scene& s) {
    Press(m, s.Test, "TEST");
}

void PressOk(Monkey& m, const Scene& s) {
    Press(m, s.Ok, std::string("OK") + (s.OkEnabled ? "" : " (disabled)"));
    NotePollStart(m, s);
}

void TypePort(Monkey& m, const Scene& s) {
    static const std::vector<std::wstring> names = {L"COM7", L"COM5", L"COM9", L"NUL", L"com7"};
    if (!IsWindowVisible(s.OtherPort))
        Press(m, s.PortEntries.back(), "the port " + CaptionOf(s.PortEntries.back()));
    Press(m, s.OtherPort, "the other port's name");
    Type(m, m.Chance.Chance(70) ? m.Chance.Pick(names) : RandomText(m.Chance),
         " after \"other = \"");
}

void HidePortDialog(Monkey& m, const Scene& s) {
    ComeForward(m.Program, s, s.Port);
    Stroke(m, {VK_ESCAPE, 0, "Escape", 1}, " in the port dialog");
}

void UsePreview(Monkey& m, const Scene& s) {
    ComeForward(m.Program, s, s.Preview);
    static const std::vector<KeyStroke> keys = {
        {VK_ADD, 0, "+", 3},     {VK_SUBTRACT, 0, "-", 2},     {VK_OEM_PLUS, 0, "=", 1},
        {VK_DOWN, 0, "Down", 3}, {VK_UP, 0, "Up", 2},          {VK_RIGHT, 0, "Right", 2},
        {VK_LEFT, 0, "Left", 1}, {VK_NEXT, 0, "Page Down", 2}, {VK_PRIOR, 0, "Page Up", 1},
        {VK_HOME, 0, "Home", 1}, {VK_END, 0, "End", 1},        {'P', VK_CONTROL, "Ctrl+P", 1}};
    Stroke(m, PickKey(m.Chance, keys), " in the preview");
}

void ClosePreview(Monkey& m, const Scene& s) {
    ComeForward(m.Program, s, s.Preview);
    if (m.Chance.Chance(70))
        Stroke(m, {VK_ESCAPE, 0, "Escape", 1}, " in the preview");
    else
        Stroke(m, {VK_F4, VK_MENU, "Alt+F4", 1}, " in the preview");
}

void InjectFault(Monkey& m, const Scene& s) {
    m.Faults.Inject(s.Connected);
}

void Wait(Monkey& m, const Scene&) {
    const int ms = m.Chance.Between(300, 3000);
    m.Log.Add("wait " + std::to_string(ms) + " ms");
    m.Pause(static_cast<DWORD>(ms));
}

void PressExit(Monkey& m, const Scene& s) {
    Press(m, ToolButton(s.Main, idSpeedButton5), "the tool button Exit");
}

void CutPower(Monkey& m, const Scene&) {
    m.PowerCut();
}

struct Choice {
    const char* Name;
    int Weight;
    bool (*Possible)(const Monkey&, const Scene&);
    void (*Act)(Monkey&, const Scene&);
};

bool Always(const Monkey&, const Scene&) {
    return true;
}
bool PortShown(const Monkey&, const Scene& s) {
    return s.Port && s.Ok && s.Test && !s.PortEntries.empty();
}
bool OkEnabled(const Monkey& m, const Scene& s) {
    return PortShown(m, s) && s.OkEnabled;
}
bool PortOtherTyped(const Monkey& m, const Scene& s) {
    return PortShown(m, s) && s.OtherPort;
}
bool PreviewShown(const Monkey&, const Scene& s) {
    return s.Preview != nullptr;
}
bool MayEnd(const Monkey& m, const Scene&) {
    return m.MayEnd;
}

// Weights in tenths: the program is closed or cut off about once in a thousand actions.
const Choice Choices[] = {
    {"click a control", 140, Always, ClickControl},
    {"click a row", 100, Always, ClickRow},
    {"type into a field", 120, Always, TypeIntoField},
    {"type", 30, Always, TypeAnywhere},
    {"press a key", 180, Always, PressKey},
    {"shortcut", 60, Always, PressShortcut},
    {"menu", 40, Always, UseMenu},
    {"tool button", 80, Always, PressToolButton},
    {"Connect or Disconnect", 40, Always, PressStart},
    {"choose a port", 60, PortShown, ChoosePort},
    {"TEST", 100, PortShown, PressTest},
    {"OK", 30, PortShown, PressOk},
    // The meter has named itself: OK reads it, as the inspector would.
    {"OK to read the meter", 250, OkEnabled, PressOk},
    {"type a port", 15, PortOtherTyped, TypePort},
    {"hide the port dialog", 10, PortShown, HidePortDialog},
    {"use the preview", 50, PreviewShown, UsePreview},
    {"close the preview", 30, PreviewShown, ClosePreview},
    {"meter fault", 40, Always, InjectFault},
    {"wait", 40, Always, Wait},
    {"Exit", 1, MayEnd, PressExit},
    {"power cut", 1, MayEnd, CutPower},
};

} // namespace

void DoRandomAction(Monkey& m) {
    const Scene s = m.Now();
    // A file or print dialog waits for the monkey's answer.
    if (s.Dialog) {
        m.Pause(100);
        return;
    }
    std::vector<int> weights;
    for (const Choice& c : Choices)
        weights.push_back(c.Possible(m, s) ? c.Weight : 0);
    ++m.Counts.Actions;
    Choices[m.Chance.Weighted(weights)].Act(m, s);
}
