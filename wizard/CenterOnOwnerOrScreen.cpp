#include "wizard/CenterOnOwnerOrScreen.h"

void CenterOnOwnerOrScreen(HWND window)
{
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    RECT rect;
    ::GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;

    bool placed = false;
    int x = 0;
    int y = 0;
    if (HWND owner = ::GetWindow(window, GW_OWNER)) {
        RECT ownerRect;
        ::GetWindowRect(owner, &ownerRect);
        x = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
        y = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
        placed = x >= 0 && y >= 0 && x + width <= screenWidth && y + height <= screenHeight;
    }
    if (!placed) {
        x = (screenWidth - width) / 2;
        y = (screenHeight - height) / 2;
    }
    ::MoveWindow(window, x, y, width, height, TRUE);
}
