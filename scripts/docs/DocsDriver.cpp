// Acts as a user for the screenshots in docs/: clicks a button of a window,
// presses keys, or types into a box; and tells where controls lie.
//   DocsDriver click "title prefix" id
//   DocsDriver keys TEXT   (letters as typed; ! Enter, ^ Pause, ~ Caps Lock)
//   DocsDriver text "title prefix" id TEXT   (the box's whole text)
//   DocsDriver rect "title prefix" id...     (prints left top right bottom of them all, on the screen)
#include <windows.h>

#include <cctype>
#include <cstdio>
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

// The control once its window shows it enabled, or null after half a minute.
HWND Control(const char* prefix, int id)
{
    for (int tries = 0; tries < 300; ++tries, ::Sleep(100)) {
        Search search = {prefix, nullptr};
        ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        HWND control = search.found ? ::GetDlgItem(search.found, id) : nullptr;
        if (control != nullptr && ::IsWindowEnabled(control))
            return control;
    }
    return nullptr;
}

int Click(const char* prefix, int id)
{
    HWND button = Control(prefix, id);
    return button ? (::PostMessageA(button, BM_CLICK, 0, 0), 0) : 1;
}

int Text(const char* prefix, int id, const char* text)
{
    HWND box = Control(prefix, id);
    if (box == nullptr)
        return 1;
    ::SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    // No window keeps the focus, so that no caret stands in the picture.
    DWORD self = ::GetCurrentThreadId(), owner = ::GetWindowThreadProcessId(box, nullptr);
    ::AttachThreadInput(self, owner, TRUE);
    ::SetFocus(nullptr);
    ::AttachThreadInput(self, owner, FALSE);
    return 0;
}

int Rect(const char* prefix, int count, char** ids)
{
    RECT all = {};
    for (int i = 0; i < count; ++i) {
        HWND control = Control(prefix, std::atoi(ids[i]));
        RECT place;
        if (control == nullptr || !::GetWindowRect(control, &place))
            return 1;
        ::UnionRect(&all, i ? &all : &place, &place);
    }
    std::printf("%ld %ld %ld %ld\n", all.left, all.top, all.right, all.bottom);
    return 0;
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
    if (argc == 5 && std::strcmp(argv[1], "text") == 0)
        return Text(argv[2], std::atoi(argv[3]), argv[4]);
    if (argc >= 4 && std::strcmp(argv[1], "rect") == 0)
        return Rect(argv[2], argc - 3, argv + 3);
    return 2;
}
