#include "wizard/PageSlide.h"

namespace {
// The template has 33 controls; the bound only keeps a runaway dialog from
// growing the list without end.
const int kMaxSlidingWindows = 200;

const UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
// What MoveWindow with repaint does, as a position change.
const UINT kMoveWithRepaint = SWP_NOZORDER | SWP_NOACTIVATE;

// Where `child` stands in the client coordinates of `dialog`, moved `dx`
// pixels sideways.
RECT MovedSideways(HWND dialog, HWND child, int dx)
{
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::OffsetRect(&rect, dx, 0);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ::ScreenToClient(dialog, &corners[0]);
    ::ScreenToClient(dialog, &corners[1]);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// One step's moves, in list order, as one batch: the window manager applies
// them together, which costs less than one move after the other. When the
// system cannot make the batch, or drops it because a move in it failed
// (none of its moves is then made), every window is moved on its own.
void MoveAllSideways(HWND dialog, const HWND* children, int count, int dx)
{
    HDWP batch = ::BeginDeferWindowPos(count);
    for (int k = 0; batch != nullptr && k < count; ++k) {
        RECT r = MovedSideways(dialog, children[k], dx);
        batch = ::DeferWindowPos(batch, children[k], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 kMoveWithRepaint);
    }
    if (batch != nullptr) {
        ::EndDeferWindowPos(batch);
        return;
    }
    for (int k = 0; k < count; ++k) {
        RECT r = MovedSideways(dialog, children[k], dx);
        ::SetWindowPos(children[k], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, kMoveWithRepaint);
    }
}
}  // namespace

bool IsSlideRedrawStep(int step, int pageWidth)
{
    int quarter = pageWidth / 4;
    if (step > 3 * quarter)
        return true;
    if (step > 2 * quarter)
        return step % 4 == 1;
    if (step > quarter)
        return step % 6 == 1;
    return step % 8 == 1;
}

void SlideChildWindows(HWND dialog, int pageWidth, int direction)
{
    HWND children[kMaxSlidingWindows];
    int count = 0;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr && count < kMaxSlidingWindows;
         child = ::GetWindow(child, GW_HWNDNEXT))
        children[count++] = child;

    for (int step = 0; step < pageWidth; ++step) {
        MoveAllSideways(dialog, children, count, direction);
        if (!IsSlideRedrawStep(step, pageWidth))
            continue;
        for (int k = 0; k < count; ++k)
            ::RedrawWindow(children[k], nullptr, nullptr, kRedrawNow);
    }
    ::RedrawWindow(dialog, nullptr, nullptr, kRedrawNow);
}
