#pragma once
// What a run did, printed at its end.

#include <map>
#include <string>
#include <vector>

struct Figures {
    long Actions = 0;
    long FilesSaved = 0;
    // A file chosen in a file dialog that existed and was left as it was: opened, or a save
    // refused or failed.
    long Opens = 0;
    long Previews = 0;
    long PollsStarted = 0;
    // Polls whose last record's reading was later seen in the program's recovery copy or a file.
    long PollsSeenToEnd = 0;
    long RecoveryCopiesChecked = 0;
    long ProgramStarts = 0;
    long PowerCuts = 0;
    // The program closed by the user (Exit, its menu, Alt+F4) and started again.
    long Exits = 0;
    std::map<std::string, long> Faults;
    // The boxes answered, by their text (file dialogs by their kind).
    std::map<std::string, long> Boxes;
};
