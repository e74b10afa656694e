#include "res/resource.h"
#include "tests/support/DialogTemplate.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {
struct Expected {
    int id;
    const char* className;
    const char* text;
    short x, y, cx, cy;
    DWORD style;  // beyond WS_CHILD | WS_VISIBLE
};

const DWORD kPasswordEdit = WS_BORDER | WS_TABSTOP | ES_LEFT | ES_PASSWORD | ES_AUTOHSCROLL;
const DWORD kLabel = SS_LEFT | WS_GROUP;
}  // namespace

TEST(ChangePasswordTemplate, HasItsCaptionSizeFontAndFrame)
{
    DialogTemplate dialog = LoadDialogTemplate(IDD_CHANGE_PASSWORD);
    EXPECT_EQ("Vellmoran - Change Password", dialog.caption);
    EXPECT_EQ(196, dialog.cx);
    EXPECT_EQ(122, dialog.cy);
    EXPECT_EQ("MS Sans Serif", dialog.font);
    EXPECT_EQ(8, dialog.pointSize);
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(frame, dialog.style & frame);
    EXPECT_EQ(0u, dialog.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE | DS_CENTER | WS_CHILD));
}

TEST(ChangePasswordTemplate, HoldsTheControlsInTabOrderWithTheirStyles)
{
    const Expected expected[] = {
        {IDOK, "Button", "OK", 84, 101, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {IDCANCEL, "Button", "Cancel", 139, 101, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
        {IDC_STATIC, "Static", "Old Password:", 7, 7, 46, 8, kLabel},
        {IDC_STATIC, "Static", "New Password:", 7, 32, 50, 8, kLabel},
        {IDC_OLD_PASSWORD, "Edit", "", 7, 15, 182, 14, kPasswordEdit},
        {IDC_STATIC, "Static", "Confirm New Password:", 7, 57, 76, 8, kLabel},
        {IDC_NEW_PASSWORD, "Edit", "", 7, 40, 182, 14, kPasswordEdit},
        {IDC_CONFIRM_PASSWORD, "Edit", "", 7, 65, 182, 14, kPasswordEdit},
    };
    DialogTemplate dialog = LoadDialogTemplate(IDD_CHANGE_PASSWORD);
    ASSERT_EQ(std::size(expected), dialog.controls.size());
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const TemplateControl& control = dialog.controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + " " + expected[i].text);
        EXPECT_EQ(static_cast<WORD>(expected[i].id), static_cast<WORD>(control.id));
        EXPECT_EQ(0, lstrcmpiA(expected[i].className, control.className.c_str()));
        EXPECT_EQ(expected[i].text, control.text);
        EXPECT_EQ(expected[i].x, control.x);
        EXPECT_EQ(expected[i].y, control.y);
        EXPECT_EQ(expected[i].cx, control.cx);
        EXPECT_EQ(expected[i].cy, control.cy);
        EXPECT_EQ(expected[i].style | WS_CHILD | WS_VISIBLE, control.style);
    }
}
