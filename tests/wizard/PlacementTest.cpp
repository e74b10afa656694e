#include "wizard/CenterOnOwnerOrScreen.h"

#include <gtest/gtest.h>

#include <vector>

// The wizard opens centred on the panel where it fits on the screen, and
// centred on the screen where it would hang off it.
TEST(Placement, OwnerOrScreen)
{
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        int ownerX, ownerY;
        bool onOwner;
    };
    for (const Case& c : {Case{200, 200, true},
                          {200, screenHeight - 60, false},
                          {screenWidth - 60, 200, false},
                          {-150, 200, false}}) {
        HWND owner = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, c.ownerX, c.ownerY,
                                       300, 200, nullptr, nullptr, nullptr, nullptr);
        HWND wizard = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 320, owner, nullptr,
                                        nullptr, nullptr);
        CenterOnOwnerOrScreen(wizard);
        RECT rect;
        ::GetWindowRect(wizard, &rect);
        const int x = c.onOwner ? c.ownerX + (300 - 500) / 2 : (screenWidth - 500) / 2;
        const int y = c.onOwner ? c.ownerY + (200 - 320) / 2 : (screenHeight - 320) / 2;
        EXPECT_EQ((std::vector<LONG>{x, y}), (std::vector<LONG>{rect.left, rect.top}))
            << c.ownerX << "," << c.ownerY;
        ::DestroyWindow(wizard);
        ::DestroyWindow(owner);
    }
}
