#include "panel/LaunchOnStartup.h"

#include "panel/ExecutableDirectory.h"
#include "settings/DaemonContract.h"

#include <cstring>

namespace {
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void ValueName(const char* name, char* valueName)
{
    std::strncpy(valueName, name, MAX_PATH - 1);
    valueName[MAX_PATH - 1] = '\0';
    if (char* dot = std::strchr(valueName, '.'))
        *dot = '\0';
}

BOOL ExpectedRunData(char* data)
{
    char directory[MAX_PATH];
    return GetExecutableDirectory(directory) && ComposeRunData(directory, data);
}

HKEY OpenRunKey(REGSAM access)
{
    HKEY key = nullptr;
    LONG status = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                    &key, nullptr);
    ::SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS ? key : nullptr;
}

// The registry reports through its result; callers read the reason as
// from any other Win32 function.
BOOL Succeeded(LONG status)
{
    ::SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
}
}  // namespace

BOOL ComposeRunData(const char* directory, char* data)
{
    if (std::strlen(directory) + 1 + std::strlen(Contract::kDaemonFile) >= MAX_PATH) {
        ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    std::strcpy(data, directory);
    std::strcat(data, "\\");
    std::strcat(data, Contract::kDaemonFile);
    return TRUE;
}

BOOL SetLaunchOnStartup(const char* name)
{
    char valueName[MAX_PATH];
    char data[MAX_PATH];
    ValueName(name, valueName);
    if (!ExpectedRunData(data))
        return FALSE;
    HKEY key = OpenRunKey(KEY_WRITE);
    if (key == nullptr)
        return FALSE;
    LONG status = ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                                   static_cast<DWORD>(std::strlen(data) + 1));
    ::RegCloseKey(key);
    return Succeeded(status);
}

BOOL IsLaunchOnStartup(const char* name)
{
    char valueName[MAX_PATH];
    char expected[MAX_PATH];
    ValueName(name, valueName);
    if (!ExpectedRunData(expected))
        return FALSE;
    HKEY key = OpenRunKey(KEY_QUERY_VALUE);
    if (key == nullptr)
        return FALSE;
    char stored[MAX_PATH];
    DWORD size = MAX_PATH;
    LONG status = ::RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return FALSE;
    // The stored bytes need not end in a NUL; never read past what came back.
    size_t storedLength = strnlen(stored, size);
    return storedLength == std::strlen(expected) && std::memcmp(stored, expected, storedLength) == 0;
}

BOOL RemoveLaunchOnStartup(const char* name)
{
    char valueName[MAX_PATH];
    ValueName(name, valueName);
    HKEY key = OpenRunKey(KEY_SET_VALUE);
    if (key == nullptr)
        return FALSE;
    LONG status = ::RegDeleteValueA(key, valueName);
    ::RegCloseKey(key);
    return Succeeded(status);
}
