#include "tests/panel/RunValue.h"

#include "panel/ExecutableDirectory.h"

namespace {
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kValueName[] = "VellmoranD";
}  // namespace

std::string ExpectedRunData()
{
    char directory[MAX_PATH];
    GetExecutableDirectory(directory);
    return std::string(directory) + "\\VellmoranD.exe";
}

void StoreRunValue(DWORD type, const std::string& bytes)
{
    HKEY key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, kValueName, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size()));
    ::RegCloseKey(key);
}

bool ReadRunValue(DWORD& type, std::string& bytes)
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char buffer[1024];
    DWORD size = sizeof(buffer);
    LONG status = ::RegQueryValueExA(key, kValueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    bytes.assign(buffer, size);
    return true;
}

void ForgetRunValue()
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueA(key, kValueName);
        ::RegCloseKey(key);
    }
}
