#pragma once

#include "framework/Afx.h"

std::string AfxGetWindowText(HWND hWnd);

// Base of every window object. A CWnd is attached to a window by subclassing
// (controls of a dialog) or by the dialog procedure (dialogs); the window's
// messages then reach WindowProc, whose default routes them through the
// message map (ProcessWindowMessage) and on to the default procedure.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    // The object attached to hWnd, or null for windows that are not ours.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Owner for a new modal window: the given parent, else the most recently
    // active pop-up of the main window.
    static HWND GetSafeOwner(CWnd* parent);

    BOOL SubclassWindow(HWND hWnd);

    virtual void PreSubclassWindow();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The parent offers a child's notifications to the child first; true
    // means the child handled them and the parent's own handlers are skipped.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Called by a message handler: FALSE passes the message on to the
    // default processing once the handler returns (see MessageMap.h).
    void SetMsgHandled(BOOL handled) { m_bMsgHandled = handled != FALSE; }
    BOOL IsMsgHandled() const { return m_bMsgHandled; }

    // Thin wrappers.
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    HICON SetIcon(HICON icon, BOOL big)
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(icon)));
    }
    // Centres over a visible owner, else in the work area of the screen.
    void CenterWindow();

protected:
    void Attach(HWND hWnd);
    void Detach();
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The child that sent a notification, then the message map: TRUE when
    // one of them took the message.
    BOOL RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The window's default procedure, at once. Dialogs have none of their
    // own: the dialog manager processes what their handlers declined.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR idSubclass, DWORD_PTR refData);
    BOOL OfferToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    bool m_bSubclassed = false;
    bool m_bMsgHandled = true;
};

// Message reflection: the codes under which a child's own notifications come
// back to it through its message map.
constexpr UINT OCM__BASE = WM_USER + 0x1c00;
constexpr UINT OCM_NOTIFY = OCM__BASE + WM_NOTIFY;

// Reports an exception caught at a window procedure's boundary in a message
// box: the toolchain's exceptions cannot unwind through the system's frames.
void AfxReportCurrentException();
