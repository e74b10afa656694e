#include "wizard/PageSlide.h"

namespace {
// The template has 33 controls; the bound only keeps a runaway dialog from
// growing the list without end.
const int kMaxSlidingWindows = 200;

const UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

void MoveSideways(HWND dialog, HWND child, int dx)
{
    RECT rect;
    ::GetWindowRect(child, &rect);
    rect.left += dx;
    rect.right += dx;
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ::ScreenToClient(dialog, &corners[0]);
    ::ScreenToClient(dialog, &corners[1]);
    ::MoveWindow(child, corners[0].x, corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y,
                 TRUE);
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
        for (int k = 0; k < count; ++k)
            MoveSideways(dialog, children[k], direction);
        if (!IsSlideRedrawStep(step, pageWidth))
            continue;
        for (int k = 0; k < count; ++k)
            ::RedrawWindow(children[k], nullptr, nullptr, kRedrawNow);
    }
    ::RedrawWindow(dialog, nullptr, nullptr, kRedrawNow);
}
