#pragma once
// What the program keeps for each user between runs, under its own key in HKEY_CURRENT_USER.

#include <string>

// The program's key, relative to HKEY_CURRENT_USER.
constexpr const char* UserSettingsKey = "Software\\Kavra Tintra";

// The last port on which a meter identified itself; empty when none is kept.
std::string RememberedMeterPort();
void RememberMeterPort(const std::string& port);
