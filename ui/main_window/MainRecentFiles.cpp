// The File menu's recent files: the measurement files last opened or saved, numbered above Exit.
#include "data/FileError.h"
#include "ui/main_window/MainWindow.h"
#include "ui/win32/ErrorDisplay.h"
#include "ui/win32/UserSettings.h"

namespace {

static_assert(idRecentFilesEnd - idRecentFile1 == RecentFileCount);

// A path longer than this leaves out folders in the middle.
constexpr std::size_t ShownPathLength = 48;

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The start every shortened path keeps: the drive ("C:\") or the server and share
// ("\\server\share\"); nothing for a path without one.
std::size_t RootLength(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && IsSeparator(path[2]))
        return 3;
    if (path.rfind(L"\\\\", 0) == 0) {
        const std::size_t server = path.find(L'\\', 2);
        const std::size_t share =
            server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        if (share != std::wstring::npos)
            return share + 1;
    }
    return 0;
}

// The path in at most ShownPathLength characters where it can be: its start, "...", then as many
// of its last folders as fit and the file's name, which is kept whole however long
// ("C:\...\stacja\a.wmx"). Counted in characters, not in the code page's bytes, and cut only at
// separators.
std::wstring ShortenedPath(const std::wstring& path) {
    constexpr std::size_t npos = std::wstring::npos;
    if (path.size() <= ShownPathLength)
        return path;
    const std::size_t root = RootLength(path);
    // The separator before the name, then each folder before it while the text fits.
    std::size_t tail = path.find_last_of(L"\\/");
    if (tail == npos || tail < root)
        return path;
    const auto length = [&](std::size_t from) { return root + 3 + path.size() - from; };
    while (tail > root) {
        const std::size_t previous = path.find_last_of(L"\\/", tail - 1);
        if (previous == npos || previous < root || length(previous) > ShownPathLength)
            break;
        tail = previous;
    }
    // A name too long to fit is shown whole, in the whole path where "..." would not shorten it.
    if (length(tail) >= path.size())
        return path;
    return path.substr(0, root) + L"..." + path.substr(tail);
}

std::wstring Widened(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    wide.data(), static_cast<int>(wide.size())));
    return wide;
}

// The item's text: its number as the accelerator, then the path, whose own ampersands are shown.
std::wstring RecentFileItemText(std::size_t index, const std::string& path) {
    std::wstring text = L"&" + std::to_wstring(index + 1) + L" ";
    for (wchar_t c : ShortenedPath(Widened(path))) {
        if (c == L'&')
            text += L'&';
        text += c;
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
        InsertMenuW(FileMenu, idFileExitItem, MF_BYCOMMAND | MF_STRING,
                    idRecentFile1 + static_cast<int>(i),
                    RecentFileItemText(i, ListedRecentFiles[i]).c_str());
    if (!ListedRecentFiles.empty())
        InsertMenuA(FileMenu, idFileExitItem, MF_BYCOMMAND | MF_SEPARATOR, idRecentFilesSeparator,
                    nullptr);
}

const std::string* TMainForm::ListedRecentFile(int id) const {
    if (id < idRecentFile1 || id >= idRecentFile1 + static_cast<int>(ListedRecentFiles.size()))
        return nullptr;
    return &ListedRecentFiles[static_cast<std::size_t>(id - idRecentFile1)];
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
        // The box names the file, which the menu may have shown shortened.
        ShowError(EFileError(ERROR_FILE_NOT_FOUND), Handle, fileName);
        return;
    }
    OpenDialogFileName = fileName;
}
