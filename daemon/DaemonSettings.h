#pragma once

#include <windows.h>

#include <string>

// What the daemon takes from the settings file, made sound: out-of-range
// values become what the control panel would show for them.
struct DaemonSettings {
    DaemonSettings() = default;
    ~DaemonSettings();
    DaemonSettings(const DaemonSettings&) = default;
    DaemonSettings& operator=(const DaemonSettings&) = default;

    int virtualKey = 0;  // 0: no activation key
    bool screenwipe = false;
    bool screensaver = false;
    int velocityMs = 500;  // the longest a screen wipe may take
    int delayMinutes = 5;  // idle minutes, 1 to 30
    std::string code;      // the scrambled password; empty when none is set
    std::string image;     // a bitmap to show while locked; empty for none
};

// Reads the settings file of that name beside the executable under one
// exclusive, read-only open: the control panel never sees it half read, and
// a standard user may read a file in Program Files that he may not write. A
// missing file gives the defaults and no password. False, and the settings
// untouched, when the file exists but cannot be read now (the panel is
// saving, or an I/O error); the caller tries again later rather than run
// without a password.
bool ReadDaemonSettings(const std::string& fileName, DaemonSettings& settings);
