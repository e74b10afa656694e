#include "daemon/InputGuard.h"

namespace {
CInputGuard* g_guard = nullptr;  // the hooks have no context of their own

bool IsButton(WPARAM message)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_XBUTTONDOWN: case WM_XBUTTONUP:
    case WM_MOUSEWHEEL: case 0x020E /* WM_MOUSEHWHEEL */:
        return true;
    default:
        return false;
    }
}
}  // namespace

CInputGuard::CInputGuard(HWND lockWindow)
    : m_hLockWindow(lockWindow),
      m_hKeysWaiting(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_hStop(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_hStarted(::CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    ::InitializeCriticalSection(&m_keysLock);
    if (m_hKeysWaiting == nullptr || m_hStop == nullptr || m_hStarted == nullptr || g_guard != nullptr)
        return;
    g_guard = this;
    m_hThread = ::CreateThread(nullptr, 0, HookThread, this, 0, nullptr);
    if (m_hThread != nullptr)
        ::WaitForSingleObject(m_hStarted, INFINITE);
}

CInputGuard::~CInputGuard()
{
    if (m_hThread != nullptr) {
        ::SetEvent(m_hStop);
        ::WaitForSingleObject(m_hThread, INFINITE);
        ::CloseHandle(m_hThread);
    }
    if (g_guard == this)
        g_guard = nullptr;
    for (HANDLE event : {m_hKeysWaiting, m_hStop, m_hStarted})
        if (event != nullptr)
            ::CloseHandle(event);
    ::DeleteCriticalSection(&m_keysLock);
}

std::vector<KeyEvent> CInputGuard::TakeKeys()
{
    ::EnterCriticalSection(&m_keysLock);
    std::vector<KeyEvent> keys;
    keys.swap(m_keys);
    ::ResetEvent(m_hKeysWaiting);
    ::LeaveCriticalSection(&m_keysLock);
    return keys;
}

void CInputGuard::ReportPointer(bool report)
{
    ::InterlockedExchange(&m_bReportPointer, report ? 1 : 0);
}

bool CInputGuard::TakePointerMoved()
{
    return ::InterlockedExchange(&m_bPointerMoved, 0) != 0;
}

DWORD WINAPI CInputGuard::HookThread(void* param)
{
    auto* self = static_cast<CInputGuard*>(param);
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HHOOK keyboard = ::SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, instance, 0);
    HHOOK mouse = ::SetWindowsHookExA(WH_MOUSE_LL, MouseProc, instance, 0);
    self->m_bRunning = keyboard != nullptr && mouse != nullptr;
    ::SetEvent(self->m_hStarted);
    // Only the stop event ends the thread: a WM_QUIT that another program
    // posts here is taken and dropped like any other message.
    while (::MsgWaitForMultipleObjects(1, &self->m_hStop, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ;
    }
    if (keyboard != nullptr)
        ::UnhookWindowsHookEx(keyboard);
    if (mouse != nullptr)
        ::UnhookWindowsHookEx(mouse);
    return 0;
}

LRESULT CALLBACK CInputGuard::KeyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code != HC_ACTION || g_guard == nullptr)
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
    ::EnterCriticalSection(&g_guard->m_keysLock);
    g_guard->m_keys.push_back({event->vkCode, event->scanCode, down});
    ::SetEvent(g_guard->m_hKeysWaiting);
    ::LeaveCriticalSection(&g_guard->m_keysLock);
    return 1;
}

LRESULT CALLBACK CInputGuard::MouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && g_guard != nullptr && wParam == WM_MOUSEMOVE && g_guard->m_bReportPointer != 0) {
        ::InterlockedExchange(&g_guard->m_bPointerMoved, 1);
        ::SetEvent(g_guard->m_hKeysWaiting);
    }
    if (code == HC_ACTION && g_guard != nullptr && IsButton(wParam)) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        HWND target = ::WindowFromPoint(event->pt);
        if (target == nullptr || ::GetAncestor(target, GA_ROOT) != g_guard->m_hLockWindow)
            return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
