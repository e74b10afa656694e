#include "panel/ExecutableDirectory.h"

#include <cstring>

void CutAtLastSeparator(char* path)
{
    size_t at = std::strlen(path);
    while (at > 0 && path[at] != '\\' && path[at] != '/')
        --at;
    path[at] = '\0';
}

BOOL GetExecutableDirectory(char* directory)
{
    DWORD length = ::GetModuleFileNameA(nullptr, directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        directory[0] = '\0';
        return FALSE;
    }
    CutAtLastSeparator(directory);
    return TRUE;
}
