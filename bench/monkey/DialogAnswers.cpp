#include "DialogAnswers.h"

#include <dlgs.h>

#include <algorithm>
#include <utility>

namespace {

// The text of a message box sits in a static control of this number.
constexpr int MessageTextId = 0xFFFF;
constexpr const char* SaveQuestion = "Save changes to the measurements?";
constexpr const char* RecoveryOffer = "Recover the measurements from ";
// Longer than any answer delay and any save or open the program does after one.
constexpr DWORD AnswerAgainAfterMs = 5000;
constexpr DWORD NeverClosesAfterMs = 60000;

bool StartsWith(const std::string& text, const char* start) {
    return text.rfind(start, 0) == 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsFileDialog(HWND box) {
    // The print dialogs have an edit of the same number as the old file dialog's name field, but
    // also the printer list.
    return !GetDlgItem(box, cmb4) && (GetDlgItem(box, cmb13) || GetDlgItem(box, edt1));
}

} // namespace

FileChoice DescribeFile(const std::wstring& path) {
    FileChoice choice{path};
    WIN32_FILE_ATTRIBUTE_DATA data{};
    choice.Existed = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != FALSE;
    choice.Written = data.ftLastWriteTime;
    return choice;
}

DialogAnswers::DialogAnswers(const std::wstring& folder, Random& random, ActionLog& log,
                             Figures& figures)
    : Chance(random), Log(log), Counts(figures) {
    // A few names, so that saves replace earlier files and opens find them; one with Polish
    // letters, and the file the program reads at start.
    for (const wchar_t* name : {L"monkey-1.wmx", L"monkey-2.wmx", L"monkey-3.wmx",
                                L"pomiar-\u017c\u00f3\u0142w-\u0105\u0119.wmx", L"config.wmx"})
        FileNames.push_back(folder + L"\\" + name);
}

HWND DialogAnswers::ActiveBox(const ProgramProcess& program) const {
    for (HWND box : program.Windows("#32770")) {
        if (IsWindowEnabled(box))
            return box;
    }
    return nullptr;
}

std::string DialogAnswers::Serve(const ProgramProcess& program) {
    const DWORD now = GetTickCount();
    std::map<HWND, Seen> up;
    for (HWND box : program.Windows("#32770")) {
        auto known = Boxes.find(box);
        Seen seen = known != Boxes.end() ? known->second : Seen{now, 0};
        if (known == Boxes.end())
            seen.Due = now + (Policy.Quiet ? 0 : static_cast<DWORD>(Chance.Between(0, 2500)));
        up[box] = seen;
    }
    Boxes = std::move(up);
    for (auto& [box, seen] : Boxes) {
        // A box under another (a file dialog under its question) waits for it.
        if (!IsWindowEnabled(box) || now < seen.Due)
            continue;
        if (now - seen.First > NeverClosesAfterMs)
            return "a dialog box of the program did not close within " +
                   std::to_string(NeverClosesAfterMs / 1000) + " s of answers: \"" +
                   CaptionOf(box) + "\" " + CaptionOf(GetDlgItem(box, MessageTextId));
        if (seen.Answers > 0)
            Log.Add("the box \"" + CaptionOf(box) + "\" is still up: answered again");
        Answer(box);
        ++seen.Answers;
        seen.Due = now + AnswerAgainAfterMs;
    }
    return {};
}

std::vector<FileChoice> DialogAnswers::TakeChoices() {
    return std::exchange(Choices, {});
}

void DialogAnswers::Answer(HWND box) {
    if (GetDlgItem(box, MessageTextId))
        AnswerMessageBox(box);
    else if (IsFileDialog(box))
        AnswerFileDialog(box);
    else {
        // The print dialogs: never a page printed.
        ++Counts.Boxes["(print or set-up dialog)"];
        Press(box, IDCANCEL, "Cancel");
    }
}

void DialogAnswers::Press(HWND box, int button, const std::string& what) {
    Log.Add("answer \"" + CaptionOf(box) + "\": " + what);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

void DialogAnswers::AnswerMessageBox(HWND box) {
    // On one line, as the log and the figures print it.
    std::string text = CaptionOf(GetDlgItem(box, MessageTextId));
    std::replace(text.begin(), text.end(), '\n', ' ');
    struct Button {
        int Id;
        const char* Name;
        int Weight;
    };
    std::vector<Button> buttons;
    for (const Button& b : {Button{IDOK, "OK", 1}, Button{IDYES, "Yes", 1}, Button{IDNO, "No", 1},
                            Button{IDCANCEL, "Cancel", 1}}) {
        if (GetDlgItem(box, b.Id))
            buttons.push_back(b);
    }
    if (buttons.empty()) {
        Press(box, IDCANCEL, "Cancel (no button found)");
        return;
    }
    std::string kind = text.substr(0, 70);
    int quiet = IDOK;
    if (text == SaveQuestion) {
        // Yes saves (through Save As where the set has no file); Cancel keeps everything as it
        // was.
        for (Button& b : buttons)
            b.Weight = b.Id == IDYES ? 25 : b.Id == IDNO ? 45 : 30;
        quiet = IDNO;
    } else if (StartsWith(text, RecoveryOffer)) {
        kind = std::string(RecoveryOffer) + "...?";
        quiet = IDNO;
    } else if (EndsWith(text, " anyway?")) {
        for (Button& b : buttons)
            b.Weight = b.Id == IDYES ? 60 : 40;
        quiet = IDYES;
    } else if (GetDlgItem(box, IDYES)) {
        // The file dialog's question before replacing a file.
        quiet = IDYES;
    }
    ++Counts.Boxes[kind];
    const Button* chosen = &buttons.front();
    if (Policy.Quiet) {
        for (const Button& b : buttons) {
            if (b.Id == quiet)
                chosen = &b;
        }
    } else {
        std::vector<int> weights;
        for (const Button& b : buttons)
            weights.push_back(b.Weight);
        chosen = &buttons[Chance.Weighted(weights)];
    }
    Press(box, chosen->Id, std::string(chosen->Name) + " to \"" + text + "\"");
}

void DialogAnswers::AnswerFileDialog(HWND box) {
    ++Counts.Boxes["(file dialog)"];
    std::wstring path;
    if (!Policy.SaveName.empty())
        path = std::exchange(Policy.SaveName, {});
    else if (!Policy.Quiet && Chance.Chance(85))
        path = Chance.Pick(FileNames);
    if (path.empty()) {
        Press(box, IDCANCEL, "Cancel");
        return;
    }
    HWND name = GetDlgItem(box, cmb13);
    if (!name)
        name = GetDlgItem(box, edt1);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                        SMTO_ABORTIFHUNG, 1000, &result);
    Choices.push_back(DescribeFile(path));
    Press(box, IDOK, "OK with " + Narrow(path));
}
