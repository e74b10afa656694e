#include "panel/ExecutableDirectory.h"

#include "framework/WinApp.h"

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
    std::string path = AfxGetModulePath();
    if (path.empty()) {
        directory[0] = '\0';
        ::SetLastError(AfxModulePathFitsCodePage() ? ERROR_FILENAME_EXCED_RANGE : ERROR_NO_UNICODE_TRANSLATION);
        return FALSE;
    }
    std::strcpy(directory, path.c_str());
    CutAtLastSeparator(directory);
    return TRUE;
}
