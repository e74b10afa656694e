#include "daemon/KeyboardGuard.h"

CKeyboardGuard::CKeyboardGuard()
    : m_hHook(::SetWindowsHookExA(WH_KEYBOARD_LL, HookProc, ::GetModuleHandleA(nullptr), 0))
{
}

CKeyboardGuard::~CKeyboardGuard()
{
    if (m_hHook != nullptr)
        ::UnhookWindowsHookEx(m_hHook);
}

bool CKeyboardGuard::Swallows(DWORD virtualKey, bool altDown, bool ctrlDown)
{
    switch (virtualKey) {
    case VK_LWIN:
    case VK_RWIN:
        return true;
    case VK_TAB:
    case VK_F4:
        return altDown;
    case VK_ESCAPE:
        return altDown || ctrlDown;
    default:
        return false;
    }
}

LRESULT CALLBACK CKeyboardGuard::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        bool altDown = (event->flags & LLKHF_ALTDOWN) != 0;
        bool ctrlDown = (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
        if (Swallows(event->vkCode, altDown, ctrlDown))
            return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
