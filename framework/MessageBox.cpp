#include "framework/MessageBox.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

int AfxMessageBox(const std::string& text, UINT type)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    HWND owner = CWnd::GetSafeOwner(nullptr);
    if (owner == nullptr)
        owner = ::GetActiveWindow();
    return ::MessageBoxA(owner, text.c_str(), AfxGetAppName().c_str(), type);
}

namespace {
std::string ReplaceAll(std::string text, const std::string& marker, const std::string& value)
{
    for (std::string::size_type at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + value.size()))
        text.replace(at, marker.size(), value);
    return text;
}
}  // namespace

std::string AfxFormatString1(const std::string& prompt, const std::string& arg1)
{
    return ReplaceAll(prompt, "%1", arg1);
}

std::string AfxFormatString2(const std::string& prompt, const std::string& arg1, const std::string& arg2)
{
    return ReplaceAll(ReplaceAll(prompt, "%1", arg1), "%2", arg2);
}
