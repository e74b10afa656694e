#pragma once

#include <windows.h>

// Cuts a path at its last separator, `\` or `/`, removing the separator; a
// path without one becomes the empty string.
void CutAtLastSeparator(char* path);

// The directory of the running executable, cut as above, into a buffer of
// MAX_PATH bytes. FALSE when the executable's path does not fit the buffer,
// so that no caller works with a path cut short.
BOOL GetExecutableDirectory(char* directory);
