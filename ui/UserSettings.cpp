#include "ui/UserSettings.h"

#include <windows.h>

namespace {
constexpr const char* MeterPortValue = "MeterPort";
} // namespace

std::string RememberedMeterPort() {
    char port[256] = "";
    DWORD size = sizeof port;
    if (RegGetValueA(HKEY_CURRENT_USER, UserSettingsKey, MeterPortValue, RRF_RT_REG_SZ, nullptr,
                     port, &size) != ERROR_SUCCESS)
        return {};
    return port;
}

// Not being able to keep it costs the user one choice at the next start: no error is shown.
void RememberMeterPort(const std::string& port) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, UserSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, MeterPortValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(port.c_str()),
                   static_cast<DWORD>(port.size() + 1));
    RegCloseKey(key);
}
