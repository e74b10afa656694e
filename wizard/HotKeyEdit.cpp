#include "wizard/HotKeyEdit.h"

#include "settings/KeyNames.h"

#include <cstring>

namespace {
const int kNameBufferSize = 256;
}  // namespace

CHotKeyEdit::~CHotKeyEdit() = default;

void CHotKeyEdit::SetKey(int code)
{
    char name[kNameBufferSize];
    VirtualKeyName(static_cast<UINT>(code), name);
    SetWindowText(name);
}

void CHotKeyEdit::VirtualKeyName(UINT code, char* text)
{
    m_nKeyCode = 0;
    text[0] = '\0';
    const char* name = VirtualKeyText(code);
    if (name == nullptr)
        return;
    m_nKeyCode = static_cast<int>(code);
    std::strcpy(text, name);
}

LRESULT CHotKeyEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN: {
        char name[kNameBufferSize];
        VirtualKeyName(static_cast<UINT>(wParam), name);
        SetWindowText(name);
        return 0;
    }
    case WM_KEYUP:
    case WM_CHAR:
        return 0;
    default:
        return CEdit::WindowProc(message, wParam, lParam);
    }
}
