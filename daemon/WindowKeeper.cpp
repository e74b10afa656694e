#include "daemon/WindowKeeper.h"

RECT VirtualScreen()
{
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void KeepPlace(WINDOWPOS& pos, const RECT& place)
{
    pos.flags &= ~(SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    pos.x = place.left;
    pos.y = place.top;
    pos.cx = place.right - place.left;
    pos.cy = place.bottom - place.top;
    if (!(pos.flags & SWP_NOZORDER))
        pos.hwndInsertAfter = HWND_TOPMOST;
}

namespace {
// Whether a shown window of another process lies above the window in the
// z-order; the lock's own children and the windows it owns do not count.
bool VisibleWindowAbove(HWND window)
{
    DWORD self = 0;
    ::GetWindowThreadProcessId(window, &self);
    for (HWND above = ::GetWindow(window, GW_HWNDPREV); above != nullptr; above = ::GetWindow(above, GW_HWNDPREV)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(above, &owner);
        if (owner != self && ::IsWindowVisible(above))
            return true;
    }
    return false;
}
}  // namespace

bool RestoreWhole(HWND window, const RECT& place, LONG style, LONG exStyle)
{
    bool restored = false;
    if (::GetAncestor(window, GA_PARENT) != ::GetDesktopWindow()) {
        ::SetParent(window, nullptr);
        restored = true;
    }
    if (::IsIconic(window) || ::IsZoomed(window)) {
        ::ShowWindow(window, SW_RESTORE);
        restored = true;
    }
    if (!::IsWindowEnabled(window)) {
        ::EnableWindow(window, TRUE);
        restored = true;
    }
    if (!::IsWindowVisible(window)) {
        ::ShowWindow(window, SW_SHOWNA);
        restored = true;
    }
    if (::GetWindowLongA(window, GWL_STYLE) != style) {
        ::SetWindowLongA(window, GWL_STYLE, style);
        restored = true;
    }
    if ((::GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_TOPMOST) != (exStyle | WS_EX_TOPMOST)) {
        ::SetWindowLongA(window, GWL_EXSTYLE, exStyle);
        restored = true;
    }
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (region != nullptr && ::GetWindowRgn(window, region) != ERROR) {
        ::SetWindowRgn(window, nullptr, TRUE);
        restored = true;
    }
    if (region != nullptr)
        ::DeleteObject(region);
    RECT now;
    ::GetWindowRect(window, &now);
    if (!::EqualRect(&now, &place) || !(::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ||
        VisibleWindowAbove(window)) {
        ::SetWindowPos(window, HWND_TOPMOST, place.left, place.top, place.right - place.left,
                       place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        restored = true;
    }
    return restored;
}
