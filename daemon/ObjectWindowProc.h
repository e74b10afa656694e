#pragma once

#include <windows.h>

// The window procedure of a daemon window owned by an object of class T:
// the object comes in CreateWindowEx's last argument, is kept in
// GWLP_USERDATA and gets every message through its HandleMessage.
// Exceptions cannot unwind through the system's frames: a message whose
// handler fails is dropped, and the daemon and its lock stay up.
template <class T>
LRESULT CALLBACK ObjectWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hWnd = hWnd;
    }
    auto* self = reinterpret_cast<T*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    try {
        if (self != nullptr)
            return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}
