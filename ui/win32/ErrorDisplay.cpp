#include "ui/win32/ErrorDisplay.h"

#include "ui/win32/ModalScope.h"

#include <cctype>

std::string ApplicationTitleOf(std::string_view exeFileName) {
    const auto slash = exeFileName.find_last_of("\\/");
    if (slash != std::string_view::npos)
        exeFileName.remove_prefix(slash + 1);
    std::string title(exeFileName.substr(0, exeFileName.find('.')));
    for (std::size_t i = 1; i < title.size(); ++i)
        title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
    return title;
}

const std::string& ApplicationTitle() {
    static const std::string title = [] {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        return ApplicationTitleOf(path);
    }();
    return title;
}

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

namespace {

void ShowErrorText(const std::string& text, HWND owner) {
    const TModalScope modal(owner);
    MessageBoxA(owner, text.c_str(), ApplicationTitle().c_str(), MB_OK | MB_ICONERROR);
}

} // namespace

void ShowError(const std::exception& error, HWND owner) {
    ShowErrorText(ErrorBoxText(error.what()), owner);
}

void ShowError(const std::exception& error, HWND owner, const std::string& file) {
    ShowErrorText(ErrorBoxText(error.what()) + "\n\n" + file, owner);
}
