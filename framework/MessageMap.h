#pragma once

// Message maps: an if-chain, in the order written, that calls typed member
// handlers directly and chains to the base class's map when nothing matched.
// A matching entry takes the message with the handler's result, unless the
// handler called SetMsgHandled(FALSE): the message then goes on down the map,
// to the base class and finally to the default processing, which thus always
// runs after the handler (in a window the default procedure, in a dialog the
// dialog manager).

#include "framework/Wnd.h"

#include <windowsx.h>

// windowsx.h names a macro after the member function.
#undef SubclassWindow

// Declares the map; the access section in force before it stays in force
// after it.
#define BEGIN_MSG_MAP(theClass, baseClass)                                                          \
    BOOL ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override \
    {                                                                                               \
        using MessageMapBase = baseClass;                                                           \
        (void)wParam;                                                                               \
        (void)lParam;

#define END_MSG_MAP()                                                                \
        return MessageMapBase::ProcessWindowMessage(message, wParam, lParam, result); \
    }

// One entry: when the condition holds, runs the statement (which calls the
// handler and sets result) and takes the message unless the handler declined.
#define MSG_MAP_ENTRY(condition, statement) \
    if (condition) {                        \
        SetMsgHandled(TRUE);                \
        statement;                          \
        if (IsMsgHandled())                 \
            return TRUE;                    \
    }

// Button clicks and menu commands: WM_COMMAND with notification code 0.
#define ON_COMMAND(id, handler) \
    MSG_MAP_ENTRY(message == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == BN_CLICKED, \
                  (handler(), result = 0))

// Any message, handled by LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(msg, handler) MSG_MAP_ENTRY(message == (msg), result = handler(wParam, lParam))

// A reflected notification, handled by BOOL handler(NMHDR*, LRESULT*). A
// FALSE return passes it on to the parent's own handlers.
#define ON_NOTIFY_REFLECT_EX(notifyCode, handler)                                               \
    if (message == OCM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == (UINT)(notifyCode) && \
        handler(reinterpret_cast<NMHDR*>(lParam), &result))                                     \
        return TRUE;

#define ON_WM_TIMER() MSG_MAP_ENTRY(message == WM_TIMER, (OnTimer(static_cast<UINT_PTR>(wParam)), result = 0))

#define ON_WM_PAINT() MSG_MAP_ENTRY(message == WM_PAINT, (OnPaint(), result = 0))

#define ON_WM_QUERYDRAGICON() \
    MSG_MAP_ENTRY(message == WM_QUERYDRAGICON, result = reinterpret_cast<LRESULT>(OnQueryDragIcon()))

#define ON_WM_ERASEBKGND() \
    MSG_MAP_ENTRY(message == WM_ERASEBKGND, result = OnEraseBkgnd(reinterpret_cast<HDC>(wParam)))

#define ON_WM_LBUTTONDOWN()                                                                                     \
    MSG_MAP_ENTRY(message == WM_LBUTTONDOWN,                                                                    \
                  (OnLButtonDown(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), \
                   result = 0))

#define ON_WM_LBUTTONUP()                                                                                     \
    MSG_MAP_ENTRY(message == WM_LBUTTONUP,                                                                    \
                  (OnLButtonUp(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), \
                   result = 0))

#define ON_WM_DESTROY() MSG_MAP_ENTRY(message == WM_DESTROY, (OnDestroy(), result = 0))

#define ON_WM_SYSCOLORCHANGE() MSG_MAP_ENTRY(message == WM_SYSCOLORCHANGE, (OnSysColorChange(), result = 0))
