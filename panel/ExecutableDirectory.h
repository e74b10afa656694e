#pragma once

#include <windows.h>

// Cuts a path at its last separator, `\` or `/`, removing the separator; a
// path without one becomes the empty string.
void CutAtLastSeparator(char* path);

// The directory of the running executable, cut as above, into a buffer of
// MAX_PATH bytes. FALSE, with ERROR_FILENAME_EXCED_RANGE, when the path does
// not fit the buffer, and with ERROR_NO_UNICODE_TRANSLATION when the ANSI
// code page cannot name the folder: no caller may work with a damaged path.
BOOL GetExecutableDirectory(char* directory);
