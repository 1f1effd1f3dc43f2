#include "ui/win32/UserSettings.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr const char* MeterPortValue = "MeterPort";

std::string ReadText(const std::string& name) {
    char text[MAX_PATH + 1] = "";
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, UserSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS)
        return {};
    return text;
}

// Not being able to keep a setting costs the user a choice or a path at the next start: no error
// is shown.
class SettingsKey {
  public:
    SettingsKey() {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, UserSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;
    ~SettingsKey() {
        if (key_)
            RegCloseKey(key_);
    }
    void Write(const std::string& name, const std::string& text) {
        if (key_)
            RegSetValueExA(key_, name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1));
    }
    void Delete(const std::string& name) {
        if (key_)
            RegDeleteValueA(key_, name.c_str());
    }

  private:
    HKEY key_;
};

// The list's values are "File1" (the newest) to "File4".
std::string RecentFileValue(std::size_t index) {
    return "File" + std::to_string(index + 1);
}

// Paths name the same file whatever their letters' case, as the system's do.
bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

void KeepRecentFiles(const std::vector<std::string>& files) {
    SettingsKey key;
    for (std::size_t i = 0; i < RecentFileCount; ++i) {
        if (i < files.size())
            key.Write(RecentFileValue(i), files[i]);
        else
            key.Delete(RecentFileValue(i));
    }
}

} // namespace

std::string RememberedMeterPort() {
    return ReadText(MeterPortValue);
}

void RememberMeterPort(const std::string& port) {
    SettingsKey().Write(MeterPortValue, port);
}

std::vector<std::string> RecentFiles() {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < RecentFileCount; ++i) {
        std::string file = ReadText(RecentFileValue(i));
        if (!file.empty())
            files.push_back(std::move(file));
    }
    return files;
}

void RememberRecentFile(const std::string& path) {
    std::vector<std::string> files = RecentFiles();
    std::erase_if(files, [&path](const std::string& file) { return SamePath(file, path); });
    files.insert(files.begin(), path);
    if (files.size() > RecentFileCount)
        files.resize(RecentFileCount);
    KeepRecentFiles(files);
}

void ForgetRecentFile(const std::string& path) {
    std::vector<std::string> files = RecentFiles();
    std::erase_if(files, [&path](const std::string& file) { return SamePath(file, path); });
    KeepRecentFiles(files);
}
