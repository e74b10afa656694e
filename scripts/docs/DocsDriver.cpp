// Acts as a user for the screenshots in docs/: clicks a button of a window,
// or presses keys.
//   DocsDriver click "title prefix" id
//   DocsDriver keys TEXT   (letters as typed; ! Enter, ^ Pause, ~ Caps Lock)
#include <windows.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {
struct Search {
    const char* prefix;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    char title[256] = "";
    ::GetWindowTextA(window, title, sizeof(title));
    if (::IsWindowVisible(window) && std::strncmp(title, search->prefix, std::strlen(search->prefix)) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int Click(const char* prefix, int id)
{
    for (int tries = 0; tries < 300; ++tries, ::Sleep(100)) {
        Search search = {prefix, nullptr};
        ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        HWND button = search.found ? ::GetDlgItem(search.found, id) : nullptr;
        if (button != nullptr && ::IsWindowEnabled(button)) {
            ::PostMessageA(button, BM_CLICK, 0, 0);
            return 0;
        }
    }
    return 1;
}

void Keys(const char* text)
{
    for (; *text; ++text) {
        char c = *text;
        WORD key = c == '!' ? VK_RETURN : c == '^' ? VK_PAUSE : c == '~' ? VK_CAPITAL
                                                                      : static_cast<WORD>(::toupper(c));
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = key;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof(INPUT));
        ::Sleep(50);
    }
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "click") == 0)
        return Click(argv[2], std::atoi(argv[3]));
    if (argc == 3 && std::strcmp(argv[1], "keys") == 0)
        return Keys(argv[2]), 0;
    return 2;
}
