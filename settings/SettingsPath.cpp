#include "settings/SettingsPath.h"

std::string SettingsDirectory(const std::string& modulePath)
{
    std::string::size_type backslash = modulePath.rfind('\\');
    if (backslash == std::string::npos || backslash == 0)
        return std::string();
    return modulePath.substr(0, backslash);
}
