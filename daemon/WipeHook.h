#pragma once

#include "daemon/WipeDetector.h"

#include <memory>

// Watches every pointer movement on the desktop through a low-level mouse
// hook and posts the given message to the target window when a screen wipe
// is seen. The detector spans the virtual screen as it is when the hook
// starts. One at a time per process: the hook procedure has no context.
class CWipeHook {
public:
    CWipeHook(HWND target, UINT message, DWORD allowedMs);
    ~CWipeHook();
    CWipeHook(const CWipeHook&) = delete;
    CWipeHook& operator=(const CWipeHook&) = delete;

    bool Installed() const { return m_hHook != nullptr; }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

    HWND m_hTarget;
    UINT m_message;
    CWipeDetector m_detector;
    HHOOK m_hHook;
};
