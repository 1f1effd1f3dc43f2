#pragma once
// The program's dialog boxes, found on the desktop by its process and answered through their own
// controls, each a random moment after it came up: questions with a random button, the file
// dialogs with a name in the run's folder (or Cancel), the print and print set-up dialogs with
// Cancel, so that nothing is printed.

#include "ActionLog.h"
#include "Figures.h"
#include "ProgramProcess.h"
#include "Random.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// How the next boxes are answered: at random, or at once and the quiet way while the monkey
// warms the program up or brings it to rest.
struct AnswerPolicy {
    bool Quiet = false;
    // The next file dialog is given this name (and the file's replacement confirmed); empty:
    // Cancel when quiet.
    std::wstring SaveName;
};

// A file chosen in a file dialog, with how it was before: afterwards the monkey tells a save
// from an open.
struct FileChoice {
    std::wstring Path;
    bool Existed = false;
    FILETIME Written{};
};

class DialogAnswers {
  public:
    DialogAnswers(const std::wstring& folder, Random& random, ActionLog& log, Figures& figures);
    // The enabled box of the program, the one that takes the input, if any is up.
    HWND ActiveBox(const ProgramProcess& program) const;
    // Answers the boxes whose moment has come; "" or why the monkey must stop.
    std::string Serve(const ProgramProcess& program);
    // The file choices made since the last call, for the caller to check once the program has
    // acted on them.
    std::vector<FileChoice> TakeChoices();
    // The file names the monkey gives, each a full path in the run's folder.
    const std::vector<std::wstring>& Names() const { return FileNames; }
    AnswerPolicy Policy;

  private:
    struct Seen {
        DWORD First;
        DWORD Due;
        int Answers = 0;
    };
    void Answer(HWND box);
    void AnswerMessageBox(HWND box);
    void AnswerFileDialog(HWND box);
    void Press(HWND box, int button, const std::string& what);
    Random& Chance;
    ActionLog& Log;
    Figures& Counts;
    std::vector<std::wstring> FileNames;
    std::map<HWND, Seen> Boxes;
    std::vector<FileChoice> Choices;
};

FileChoice DescribeFile(const std::wstring& path);
