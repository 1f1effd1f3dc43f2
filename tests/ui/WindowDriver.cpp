#include "WindowDriver.h"

#include "ui/controls/StandardControls.h"
#include "ui/win32/UserSettings.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstring>

namespace {
DialogDriver* Driver = nullptr;
const UINT DialogUp = RegisterWindowMessageA("wmx test dialog up");
} // namespace

DialogDriver::DialogDriver() {
    Driver = this;
    Relay =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(Relay, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RelayProc));
    HookHandle = SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
}

DialogDriver::~DialogDriver() {
    UnhookWindowsHookEx(HookHandle);
    DestroyWindow(Relay);
    Driver = nullptr;
}

// The hook sees the dialog while it is being activated; the action runs once the dialog's own
// loop takes the relayed message, when the dialog is complete.
LRESULT CALLBACK DialogDriver::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[32] = "";
        GetClassNameA(window, className, sizeof className);
        if (std::strcmp(className, "#32770") == 0 && Driver->Seen.insert(window).second)
            PostMessageA(Driver->Relay, DialogUp, wParam, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK DialogDriver::RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != DialogUp)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    HWND dialog = reinterpret_cast<HWND>(wParam);
    if (!IsWindow(dialog))
        return 0;
    if (Driver->Actions.empty()) {
        Driver->Unexpected.push_back(WindowText(dialog) + ": " +
                                     WindowText(GetDlgItem(dialog, 0xFFFF)));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    Action action = std::move(Driver->Actions.front());
    Driver->Actions.pop_front();
    action(dialog);
    return 0;
}

void NoteMessageBox(HWND box, MessageBoxSeen& seen) {
    seen.Caption = WindowText(box);
    seen.Text = WindowText(GetDlgItem(box, 0xFFFF));
    HWND icon = GetDlgItem(box, 0x440);
    seen.Icon = icon && IsWindowVisible(icon)
                    ? reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0))
                    : nullptr;
    seen.HasIcon = seen.Icon != nullptr;
}

DialogDriver::Action AnswerMessageBox(MessageBoxSeen& seen, int button) {
    return [&seen, button](HWND box) {
        NoteMessageBox(box, seen);
        PostMessageA(box, WM_COMMAND, button, 0);
    };
}

DialogDriver::Action ChooseFile(const std::string& fileName, std::string* filter) {
    return [fileName, filter](HWND dialog) {
        if (filter) {
            char text[256] = "";
            SendMessageA(GetDlgItem(dialog, cmb1), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
            *filter = text;
        }
        HWND name = GetDlgItem(dialog, cmb13);
        if (!name)
            name = GetDlgItem(dialog, edt1);
        SetWindowTextA(name, fileName.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
}

DialogDriver::Action PressButton(int button) {
    return [button](HWND dialog) { PostMessageA(dialog, WM_COMMAND, button, 0); };
}

int PdfCount() {
    char folder[MAX_PATH] = "";
    GetEnvironmentVariableA("WMX_PDF_DIR", folder, MAX_PATH);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string("Z:") + folder + "/*.pdf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

namespace {

// Each test starts with no recent files and leaves none behind: the list is the user's.
void ForgetRecentFiles() {
    for (const std::string& file : RecentFiles())
        ForgetRecentFile(file);
}

} // namespace

void MainFormTest::SetUp() {
    ForgetRecentFiles();
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    // A parameterised test's name holds a "/".
    std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ranges::replace(test, '/', '-');
    Folder = std::string(base) + "wmx-ui-" + std::to_string(GetCurrentProcessId()) + "-" + test;
    CreateDirectoryA(Folder.c_str(), nullptr);
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    PreviousFolder = previous;
    SetCurrentDirectoryA(Folder.c_str());
    // Each test, and each program it starts, keeps its recovery copy to itself.
    const std::string appData = Path("appdata");
    CreateDirectoryA(appData.c_str(), nullptr);
    wchar_t ownAppData[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"LOCALAPPDATA", ownAppData, MAX_PATH);
    OwnAppData = ownAppData;
    SetEnvironmentVariableW(L"LOCALAPPDATA", Widen(appData).c_str());
    std::memset(&MeasurementStore, 0, sizeof MeasurementStore);
    CurrentRecord = 0;
    NewWindow();
}

void MainFormTest::NewWindow() {
    Form = nullptr;
    Window.reset();
    Window = std::make_unique<TMainForm>();
    Form = &Inside(*Window);
}

void MainFormTest::TearDown() {
    Form = nullptr;
    Window.reset();
    ProcessMessages();
    EXPECT_EQ(Dialogs.Unexpected, std::vector<std::string>{}) << "dialogs nobody expected";
    EXPECT_EQ(Dialogs.Pending(), 0u) << "dialogs that did not come";
    SetCurrentDirectoryA(PreviousFolder.c_str());
    SetEnvironmentVariableW(L"LOCALAPPDATA", OwnAppData.c_str());
    DeleteFileA(RecoveryCopyFile().c_str());
    RemoveDirectoryA(Path("appdata\\Kavra Tintra").c_str());
    RemoveDirectoryA(Path("appdata").c_str());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string path = Folder + "\\" + found.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(Folder.c_str());
    ForgetRecentFiles();
}

void MainFormTest::WriteConfig(const MeasurementSet& store) const {
    WriteMeasurementFile(Path("config.wmx"), store);
}

void MainFormTest::ShowWindow() {
    Window->Show();
    SetForegroundWindow(Form->Handle);
    SetActiveWindow(Form->Handle);
    ProcessMessages();
}

void MainFormTest::Command(int id) {
    PostMessageA(Form->Handle, WM_COMMAND, id, 0);
    ProcessMessages();
}

void MainFormTest::ChangeTheName() {
    Focus(Form->Edit1);
    Type(Form->Edit1, "x");
}

void MainFormTest::Click(HWND control, int x, int y) {
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ProcessMessages();
}

void MainFormTest::ClickRow(int row) {
    const RECT r = Form->Tabela.CellRect(2, row);
    Click(Form->Tabela.Handle, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void MainFormTest::PressKey(HWND control, UINT key) {
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
    ProcessMessages();
}

void MainFormTest::Type(HWND control, const std::string& text) {
    for (char c : text)
        PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
    ProcessMessages();
}

void MainFormTest::Keystroke(WORD key, WORD modifier) {
    SendKeystroke(key, modifier);
    ProcessMessages();
}

void MainFormTest::SendKeystroke(WORD key, WORD modifier) {
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD k, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = k;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (modifier)
        add(modifier, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (modifier)
        add(modifier, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void MainFormTest::MovePointerTo(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ((r.left + r.right) / 2) * 65536 / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = ((r.top + r.bottom) / 2) * 65536 / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    ProcessMessages();
}

void MainFormTest::MouseClick() {
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    ProcessMessages();
}

void MainFormTest::Focus(HWND control) {
    SetFocus(control);
    ProcessMessages();
}

std::unique_ptr<MeasurementSet> MainFormTest::SampleStore() {
    auto store = std::make_unique<MeasurementSet>();
    SetText(store->Slot(1).CustomerName, "Customer One");
    SetText(store->Slot(1).CustomerAddress1, "Street 1");
    SetText(store->Slot(1).CustomerAddress2, "Town 2");
    for (unsigned n = 1; n <= 9; ++n) {
        MeasurementRecord& r = store->Slot(n);
        const std::string d = std::to_string(n);
        SetText(r.FrontText, "07" + d + ",1");
        SetText(r.LeftText, "06" + d + ",2");
        SetText(r.RightText, n == 9 ? "-----" : "08" + d + ",3");
        SetText(r.DateText, "2026-01-0" + d);
        SetText(r.TimeText, "10:0" + d + ":00");
        SetText(r.RegistrationNo, "REG " + d);
        r.VehicleType = static_cast<int>(n % 4);
        SetText(r.Make, "Make " + d);
        SetText(r.Model, "Model " + d);
        SetText(r.Mileage, d + "000");
        SetText(r.Comment, "Comment " + d);
        SetText(r.Diagnostician, "Inspector " + d);
        SetText(r.Verdict, n % 2 ? "positive" : "negative");
        r.FrontValue = r.LeftValue = r.RightValue = 5;
    }
    SetText(store->Slot(2).CustomerName, "not the customer");
    return store;
}

void SampleWindowTest::SetUp() {
    MainFormTest::SetUp();
    WriteConfig(*SampleStore());
    ShowWindow();
}
