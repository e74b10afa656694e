#include "daemon/WipeHook.h"

#include "daemon/WindowKeeper.h"

namespace {
CWipeHook* g_wipeHook = nullptr;
}  // namespace

CWipeHook::CWipeHook(HWND target, UINT message, DWORD allowedMs)
    : m_hTarget(target), m_message(message), m_detector(VirtualScreen().left, VirtualScreen().right - 1, allowedMs)
{
    g_wipeHook = this;
    m_hHook = ::SetWindowsHookExA(WH_MOUSE_LL, HookProc, ::GetModuleHandleA(nullptr), 0);
}

CWipeHook::~CWipeHook()
{
    if (m_hHook != nullptr)
        ::UnhookWindowsHookEx(m_hHook);
    g_wipeHook = nullptr;
}

LRESULT CALLBACK CWipeHook::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // Only a post: the system gives a low-level hook little time, and
    // locking takes more.
    if (code == HC_ACTION && wParam == WM_MOUSEMOVE && g_wipeHook != nullptr) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        if (g_wipeHook->m_detector.OnPointer(event->pt.x, event->time))
            ::PostMessageA(g_wipeHook->m_hTarget, g_wipeHook->m_message, 0, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
