#pragma once

#include <string>

// The directory part of the executable's path for the settings file: cut at
// the last backslash that is not the first character; a forward slash does
// not count. Empty when there is no such backslash.
std::string SettingsDirectory(const std::string& modulePath);
