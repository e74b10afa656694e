#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// Records, in the order they arrive, the messages that windows of this
// thread receive, whether sent or taken from the queue, as the platform's own
// conformance tests do; a test compares the sequence with the one expected.
// One log at a time.
class MessageLog {
public:
    struct Entry {
        HWND window;
        UINT message;
        WPARAM wParam;
        DWORD time;  // the message time of a queued message, the tick count of a sent one
    };

    // Logs the listed messages received by the windows that `which` accepts.
    MessageLog(std::function<bool(HWND)> which, std::vector<UINT> messages);
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    const std::vector<Entry>& Entries() const { return m_entries; }
    std::vector<UINT> Sequence() const;
    void Clear() { m_entries.clear(); }

private:
    static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK Queued(int code, WPARAM wParam, LPARAM lParam);
    void Log(HWND window, UINT message, WPARAM wParam, DWORD time);

    std::function<bool(HWND)> m_which;
    std::vector<UINT> m_messages;
    std::vector<Entry> m_entries;
    HHOOK m_sent, m_queued;
};
