#pragma once
// What the program keeps for each user between runs, under its own key in HKEY_CURRENT_USER.

#include <cstddef>
#include <string>
#include <vector>

// The program's key, relative to HKEY_CURRENT_USER.
constexpr const char* UserSettingsKey = "Software\\Kavra Tintra";

// The last port on which a meter identified itself; empty when none is kept.
std::string RememberedMeterPort();
void RememberMeterPort(const std::string& port);

// The measurement files last opened or saved, newest first, by their full paths.
constexpr std::size_t RecentFileCount = 4;
std::vector<std::string> RecentFiles();
// Puts the file first in the list; the oldest drops out of a full list.
void RememberRecentFile(const std::string& path);
void ForgetRecentFile(const std::string& path);
