#pragma once

#include <windows.h>

#include <vector>

// A key as the low-level hook saw it.
struct KeyEvent {
    DWORD virtualKey;
    DWORD scanCode;
    bool down;
};

// While the screen is locked, every key press and every mouse button outside
// the lock's own windows is taken from the system before any window sees it:
// no window of another program, even one kept on top of the lock, gets
// input, and no key combination switches away (Ctrl+Alt+Del belongs to the
// system; no program can stop it). The keys are kept for the lock, which
// takes them when Event() is set.
//
// The hooks run on a thread of their own that does nothing else, so that
// they answer the system in time however busy the lock's thread is; the
// system passes input on to the other windows when a hook is late.
class CInputGuard {
public:
    // lockWindow: the lock screen, where clicks go through.
    explicit CInputGuard(HWND lockWindow);
    ~CInputGuard();
    CInputGuard(const CInputGuard&) = delete;
    CInputGuard& operator=(const CInputGuard&) = delete;

    bool Running() const { return m_bRunning; }
    // Set while keys wait to be taken.
    HANDLE Event() const { return m_hKeysWaiting; }
    std::vector<KeyEvent> TakeKeys();
    // While set, pointer moves count as input too: they set Event() and make
    // TakePointerMoved true.
    void ReportPointer(bool report);
    bool TakePointerMoved();

private:
    static DWORD WINAPI HookThread(void* self);
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);

    HWND m_hLockWindow;
    HANDLE m_hKeysWaiting;
    HANDLE m_hStop;
    HANDLE m_hStarted;
    HANDLE m_hThread = nullptr;
    bool m_bRunning = false;
    CRITICAL_SECTION m_keysLock;
    std::vector<KeyEvent> m_keys;
    volatile LONG m_bReportPointer = 0;
    volatile LONG m_bPointerMoved = 0;
};
