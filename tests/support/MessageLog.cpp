#include "tests/support/MessageLog.h"

#include <algorithm>

namespace {
MessageLog* g_log = nullptr;
}  // namespace

MessageLog::MessageLog(std::function<bool(HWND)> which, std::vector<UINT> messages)
    : m_which(std::move(which)), m_messages(std::move(messages)),
      m_sent(::SetWindowsHookExA(WH_CALLWNDPROC, Sent, nullptr, ::GetCurrentThreadId())),
      m_queued(::SetWindowsHookExA(WH_GETMESSAGE, Queued, nullptr, ::GetCurrentThreadId()))
{
    g_log = this;
}

MessageLog::~MessageLog()
{
    ::UnhookWindowsHookEx(m_sent);
    ::UnhookWindowsHookEx(m_queued);
    g_log = nullptr;
}

std::vector<UINT> MessageLog::Sequence() const
{
    std::vector<UINT> sequence;
    for (const Entry& entry : m_entries)
        sequence.push_back(entry.message);
    return sequence;
}

void MessageLog::Log(HWND window, UINT message, WPARAM wParam, DWORD time)
{
    if (std::find(m_messages.begin(), m_messages.end(), message) != m_messages.end() && m_which(window))
        m_entries.push_back({window, message, wParam, time});
}

LRESULT CALLBACK MessageLog::Sent(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_log != nullptr)
        g_log->Log(call->hwnd, call->message, call->wParam, ::GetTickCount());
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A message only looked at is not yet received.
LRESULT CALLBACK MessageLog::Queued(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && g_log != nullptr)
        g_log->Log(msg->hwnd, msg->message, msg->wParam, msg->time);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
