#include "ScratchFolder.h"

#include <filesystem>
#include <stdexcept>

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    path_ = std::string(temp) + "wmx-report-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    previous_ = current;
    if (!CreateDirectoryA(path_.c_str(), nullptr) || !SetCurrentDirectoryA(path_.c_str()))
        throw std::runtime_error("cannot make the folder " + path_);
    // The folder as the system names it in full paths.
    GetCurrentDirectoryA(MAX_PATH, current);
    path_ = current;
}

ScratchFolder::~ScratchFolder() {
    SetCurrentDirectoryA(previous_.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
