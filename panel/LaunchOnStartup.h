#pragma once

#include <windows.h>

// The daemon's value under the machine-wide Run key. The value name is the
// argument cut before its first '.'; the data is the executable directory
// followed by "\VellmoranD.exe". A FALSE result of Set and Remove leaves the
// reason in GetLastError: ERROR_FILE_NOT_FOUND from Remove means there was no
// value, and the reasons of GetExecutableDirectory mean that no path that
// could be stored exists.
BOOL SetLaunchOnStartup(const char* name);
BOOL IsLaunchOnStartup(const char* name);
BOOL RemoveLaunchOnStartup(const char* name);

// The Run data for an executable directory, into a MAX_PATH buffer. FALSE,
// with ERROR_FILENAME_EXCED_RANGE, when it would not fit (a directory over
// 244 characters).
BOOL ComposeRunData(const char* directory, char* data);
