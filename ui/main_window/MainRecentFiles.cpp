// The File menu's recent files: the measurement files last opened or saved, numbered above Exit.
#include "data/FileError.h"
#include "system/SystemFunction.h"
#include "ui/main_window/MainWindow.h"
#include "ui/win32/UserSettings.h"

#include <shlwapi.h>

namespace {

static_assert(idRecentFilesEnd - idRecentFile1 == RecentFileCount);

// Long paths are shortened in the middle, as the system shows them, keeping the file's name; cut
// at the end where the system cannot shorten them.
constexpr UINT ShownPathLength = 48;

// The item's text: its number as the accelerator, then the path, whose own ampersands are shown.
std::string RecentFileItemText(std::size_t index, const std::string& path) {
    char shortened[ShownPathLength + 1] = "";
    static const SystemFunction<decltype(&PathCompactPathExA)> compact("shlwapi.dll",
                                                                       "PathCompactPathExA");
    if (!compact.Get() || !compact.Get()(shortened, path.c_str(), sizeof shortened, 0))
        path.copy(shortened, ShownPathLength);
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (const char* c = shortened; *c; ++c) {
        if (*c == '&')
            text += '&';
        text += *c;
    }
    return text;
}

} // namespace

// Read afresh each time the File menu opens, so that it also shows what another window of the
// program added.
void TMainForm::ShowRecentFiles() {
    for (int id = idRecentFile1; id <= idRecentFilesSeparator; ++id)
        DeleteMenu(FileMenu, id, MF_BYCOMMAND);
    ListedRecentFiles = RecentFiles();
    for (std::size_t i = 0; i < ListedRecentFiles.size(); ++i)
        InsertMenuA(FileMenu, idFileExitItem, MF_BYCOMMAND | MF_STRING,
                    idRecentFile1 + static_cast<int>(i),
                    RecentFileItemText(i, ListedRecentFiles[i]).c_str());
    if (!ListedRecentFiles.empty())
        InsertMenuA(FileMenu, idFileExitItem, MF_BYCOMMAND | MF_SEPARATOR, idRecentFilesSeparator,
                    nullptr);
}

void TMainForm::OpenRecentFile(std::size_t index) {
    if (index >= ListedRecentFiles.size())
        return;
    // Taken before the question: saving the changes first puts another file at the list's top.
    const std::string fileName = ListedRecentFiles[index];
    if (!ChangesSavedOrDropped())
        return;
    try {
        OpenFile(fileName);
    } catch (const EFileError& error) {
        if (error.Code != ERROR_FILE_NOT_FOUND && error.Code != ERROR_PATH_NOT_FOUND)
            throw;
        ForgetRecentFile(fileName);
        throw EFileError(ERROR_FILE_NOT_FOUND);
    }
    OpenDialogFileName = fileName;
}
