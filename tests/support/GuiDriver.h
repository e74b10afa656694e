#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Drives modal dialogs from inside their own modal loop. Steps run one after
// another on a thread timer; a step that returns false is tried again on the
// next tick (a wait), one that returns true is done. The only time limit is a
// hang guard per step, far beyond what any step takes on a busy machine: a
// step stuck that long fails the test and cancels every dialog of the thread,
// so that a broken test ends instead of hanging. So does a dialog still open
// a whole guard after the last step: it is ended with IDABORT.
class ModalScript {
public:
    using Step = std::function<bool()>;

    explicit ModalScript(std::vector<Step> steps, DWORD stepGuardMs = 120000);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;

    // An action that completes at once.
    static Step Do(std::function<void()> action)
    {
        return [action] {
            action();
            return true;
        };
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::vector<Step> m_steps;
    size_t m_next = 0;
    DWORD m_guardMs, m_stepStart;
    UINT_PTR m_timer;
    bool m_running = false;
};

// What a message box showed. Compare the icon with LoadIcon(nullptr, IDI_HAND)
// and the like.
struct MessageBoxRecord {
    std::string caption, text;
    HICON icon;
    std::vector<int> buttons;
};

// Answers every message box of this thread with the given button (its first
// button when it has no such one) and keeps what each one showed.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(int answer = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;

    const std::vector<MessageBoxRecord>& Boxes() const { return m_boxes; }
    std::vector<std::string> Texts() const;

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);

    int m_answer;
    HHOOK m_hook;
    std::vector<MessageBoxRecord> m_boxes;
};

// The top-level windows of every process with this title.
std::vector<HWND> WindowsTitled(const std::string& title);
// A dialog window of this thread by its caption, or null.
HWND FindThreadDialog(const std::string& caption);

// Clicks a button as a user would, by posting BM_CLICK to it, but only if a
// user could: the control and its top-level window visible and enabled.
// Otherwise the test fails and nothing is clicked, so that a window left
// disabled by a modal dialog is caught.
void UserClick(HWND dialog, int id);
// Why a user could not click the control; empty when they could.
std::string WhyUnclickable(HWND control);
// Whether the control lies wholly within its top-level window.
bool InView(HWND control);

// A hang guard for another process to start, show a window or end: far
// beyond what that takes on a busy machine.
const DWORD kProcessGuardMs = 60000;

// Starts a program from a command line whose first word is its path, in the
// directory given (this process's own when empty); null if it cannot start.
HANDLE StartProcess(std::wstring commandLine, const std::wstring& directory = L"");
inline HANDLE StartProcess(const std::string& commandLine)
{
    return StartProcess(std::wstring(commandLine.begin(), commandLine.end()));
}
// Waits for a started process to end, closes its handle and returns its exit
// code; one that runs past a generous hang guard is ended, and the result is
// STILL_ACTIVE.
DWORD ExitCodeOf(HANDLE process);

// Waits, processing messages, until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
inline void PumpMessages(DWORD milliseconds)
{
    WaitUntil([] { return false; }, milliseconds);
}
