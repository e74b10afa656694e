#pragma once

#include <windows.h>

// The window procedure of a daemon window owned by an object of class T, of
// which there is one at a time: the object comes in CreateWindowEx's last
// argument and is kept here, in the daemon's own memory, not in the window,
// where any program could change it. It gets every message through its
// HandleMessage. Exceptions cannot unwind through the system's frames: a
// message whose handler fails gets the default handling, which for the
// daemon's windows ends nothing, since they refuse WM_CLOSE themselves.
template <class T>
LRESULT CALLBACK ObjectWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    static T* object = nullptr;
    if (message == WM_NCCREATE) {
        object = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        object->m_hWnd = hWnd;
    }
    T* self = object != nullptr && object->m_hWnd == hWnd ? object : nullptr;
    try {
        if (self != nullptr) {
            LRESULT result = self->HandleMessage(message, wParam, lParam);
            if (message == WM_NCDESTROY && self->m_hWnd == nullptr)
                object = nullptr;
            return result;
        }
    } catch (...) {
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}
