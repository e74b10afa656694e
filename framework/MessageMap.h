#pragma once

// Message maps: an if-chain, in the order written, that calls typed member
// handlers directly and chains to the base class's map when nothing matched.
// An entry that matches returns TRUE with the message's result; a handler
// that wants the default processing as well calls Default().

#include "framework/Wnd.h"

#include <windowsx.h>

// windowsx.h names a macro after the member function.
#undef SubclassWindow

#define BEGIN_MSG_MAP(theClass, baseClass)                                                          \
public:                                                                                             \
    BOOL ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override \
    {                                                                                               \
        using MessageMapBase = baseClass;                                                           \
        (void)wParam;                                                                               \
        (void)lParam;

#define END_MSG_MAP()                                                                \
        return MessageMapBase::ProcessWindowMessage(message, wParam, lParam, result); \
    }

// Commands from menus, accelerators and button clicks (notification code 0).
#define ON_COMMAND(id, handler)                                                      \
    if (message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == 0) {    \
        handler();                                                                   \
        result = 0;                                                                  \
        return TRUE;                                                                 \
    }

#define ON_BN_CLICKED(id, handler)                                                   \
    if (message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == BN_CLICKED) { \
        handler();                                                                   \
        result = 0;                                                                  \
        return TRUE;                                                                 \
    }

// Any message, handled by LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(msg, handler)              \
    if (message == (msg)) {                   \
        result = handler(wParam, lParam);     \
        return TRUE;                          \
    }

// A reflected notification, handled by BOOL handler(NMHDR*, LRESULT*). A
// FALSE return passes it on to the parent's own handlers.
#define ON_NOTIFY_REFLECT_EX(notifyCode, handler)                                               \
    if (message == OCM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == (UINT)(notifyCode) && \
        handler(reinterpret_cast<NMHDR*>(lParam), &result))                                     \
        return TRUE;

#define ON_WM_TIMER()                              \
    if (message == WM_TIMER) {                     \
        OnTimer(static_cast<UINT_PTR>(wParam));    \
        result = 0;                                \
        return TRUE;                               \
    }

#define ON_WM_PAINT()           \
    if (message == WM_PAINT) {  \
        OnPaint();              \
        result = 0;             \
        return TRUE;            \
    }

#define ON_WM_QUERYDRAGICON()                                       \
    if (message == WM_QUERYDRAGICON) {                              \
        result = reinterpret_cast<LRESULT>(OnQueryDragIcon());      \
        return TRUE;                                                \
    }

#define ON_WM_ERASEBKGND()                                          \
    if (message == WM_ERASEBKGND) {                                 \
        result = OnEraseBkgnd(reinterpret_cast<HDC>(wParam));       \
        return TRUE;                                                \
    }

#define ON_WM_LBUTTONDOWN()                                                                       \
    if (message == WM_LBUTTONDOWN) {                                                              \
        OnLButtonDown(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); \
        result = 0;                                                                               \
        return TRUE;                                                                              \
    }

#define ON_WM_LBUTTONUP()                                                                       \
    if (message == WM_LBUTTONUP) {                                                              \
        OnLButtonUp(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); \
        result = 0;                                                                             \
        return TRUE;                                                                            \
    }

#define ON_WM_DESTROY()           \
    if (message == WM_DESTROY) {  \
        OnDestroy();              \
        result = 0;               \
        return TRUE;              \
    }

#define ON_WM_SYSCOLORCHANGE()           \
    if (message == WM_SYSCOLORCHANGE) {  \
        OnSysColorChange();              \
        result = 0;                      \
        return TRUE;                     \
    }
