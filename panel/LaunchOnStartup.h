#pragma once

#include <windows.h>

// The daemon's value under the machine-wide Run key. The value name is the
// argument cut before its first '.'; the data is the executable directory
// followed by "\VellmoranD.exe".
BOOL SetLaunchOnStartup(const char* name);
BOOL IsLaunchOnStartup(const char* name);
BOOL RemoveLaunchOnStartup(const char* name);

// The Run data for an executable directory, into a MAX_PATH buffer. FALSE
// when it would not fit (a directory over 244 characters).
BOOL ComposeRunData(const char* directory, char* data);
