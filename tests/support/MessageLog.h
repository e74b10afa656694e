#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <ranges>
#include <string>
#include <vector>

// Records, in the order they arrive, the messages that windows of this
// thread receive, whether sent or taken from the queue, as the platform's own
// conformance tests do; a test compares the sequence with the one expected.
// One log at a time.
class MessageLog {
public:
    // The time is the message time of a queued message, the tick count of a
    // sent one.
    struct Entry {
        HWND window;
        UINT message;
        WPARAM wParam;
        DWORD time;
    };

    // Logs the listed messages received by the windows that `which` accepts.
    MessageLog(std::function<bool(HWND)> which, std::vector<UINT> messages)
        : m_which(std::move(which)), m_messages(std::move(messages)),
          m_sent(Hook(WH_CALLWNDPROC, Sent)), m_queued(Hook(WH_GETMESSAGE, Queued))
    {
        s_log = this;
    }
    ~MessageLog()
    {
        ::UnhookWindowsHookEx(m_sent);
        ::UnhookWindowsHookEx(m_queued);
        s_log = nullptr;
    }
    MessageLog(const MessageLog&) = delete;

    const std::vector<Entry>& Entries() const { return m_entries; }
    std::vector<UINT> Sequence() const
    {
        auto messages = m_entries | std::views::transform(&Entry::message);
        return {messages.begin(), messages.end()};
    }
    // How the logged messages (only those listed in `among`, when given)
    // differ from the expected ones, position by position, as Wine's
    // ok_sequence reports it; empty when they agree.
    std::string Differences(const std::vector<UINT>& expected,
                            const std::vector<UINT>& among = {}) const
    {
        std::vector<UINT> seen;
        for (UINT message : Sequence())
            if (among.empty() || std::ranges::count(among, message))
                seen.push_back(message);
        std::string report;
        for (size_t i = 0; i < std::max(seen.size(), expected.size()); ++i) {
            auto text = [i](const std::vector<UINT>& list) {
                return i < list.size() ? "0x" + Hex(list[i]) : std::string("nothing");
            };
            if (i >= seen.size() || i >= expected.size() || seen[i] != expected[i])
                report += "message " + std::to_string(i) + ": expected " + text(expected)
                          + ", seen " + text(seen) + "\n";
        }
        return report;
    }

private:
    static std::string Hex(UINT value)
    {
        char text[12];
        ::wsprintfA(text, "%04x", value);
        return text;
    }
    static HHOOK Hook(int type, HOOKPROC proc)
    {
        return ::SetWindowsHookExA(type, proc, 0, ::GetCurrentThreadId());
    }
    static void Log(HWND window, UINT message, WPARAM wParam, DWORD time)
    {
        if (s_log != nullptr && std::ranges::count(s_log->m_messages, message)
            && s_log->m_which(window))
            s_log->m_entries.push_back({window, message, wParam, time});
    }
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam)
    {
        if (const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam); code == HC_ACTION)
            Log(call->hwnd, call->message, call->wParam, ::GetTickCount());
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    // A message only looked at is not yet received.
    static LRESULT CALLBACK Queued(int code, WPARAM wParam, LPARAM lParam)
    {
        if (const MSG* msg = reinterpret_cast<const MSG*>(lParam);
            code == HC_ACTION && wParam == PM_REMOVE)
            Log(msg->hwnd, msg->message, msg->wParam, msg->time);
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline MessageLog* s_log = nullptr;
    std::function<bool(HWND)> m_which;
    std::vector<UINT> m_messages;
    std::vector<Entry> m_entries;
    HHOOK m_sent, m_queued;
};
