#include "res/resource.h"
#include "tests/support/DialogTemplate.h"

#include <gtest/gtest.h>

namespace {
struct Expected {
    int id;
    const char* className;
    const char* text;
    short x, y, cx, cy;
    bool tabStop;
};
}  // namespace

TEST(PanelTemplate, HasItsCaptionSizeFontAndFrame)
{
    DialogTemplate dialog = LoadDialogTemplate(IDD_CONTROLPANEL);
    EXPECT_EQ("Vellmoran v1.02 - Control Panel", dialog.caption);
    EXPECT_EQ(289, dialog.cx);
    EXPECT_EQ(238, dialog.cy);
    EXPECT_EQ("MS Sans Serif", dialog.font);
    EXPECT_EQ(8, dialog.pointSize);
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(frame, dialog.style & frame);
    EXPECT_EQ(0u, dialog.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE | DS_CENTER));
}

TEST(PanelTemplate, HoldsEveryControlInOrderWithOnlyOKCancelAndConfigureAsTabStops)
{
    const Expected expected[] = {
        {IDOK, "Button", "OK", 147, 217, 50, 14, true},
        {IDCANCEL, "Button", "Cancel", 92, 217, 50, 14, true},
        {IDC_STOP_AND_CONFIGURE, "Button", "Stop && Configure Vellmoran...", 161, 124, 109, 14, true},
        {IDC_STOP, "Button", "Stop", 78, 125, 50, 14, false},
        {IDC_STATUS, "Static", "Vellmoran is OFF", 23, 84, 101, 12, false},
        {IDC_START, "Button", "Start", 21, 125, 50, 14, false},
        {IDC_LAUNCH_ON_STARTUP, "Button", "Launch on Startup", 171, 84, 80, 12, false},
        {IDC_STATIC, "Button", "Status", 8, 70, 134, 35, false},
        {IDC_STATIC, "Button", "Launch Mode", 149, 70, 136, 34, false},
        {IDC_STATIC, "Button", "Vellmoran Control", 8, 112, 134, 34, false},
        {IDC_STATIC, "Button", "Settings", 149, 112, 134, 34, false},
        {IDC_STATIC, "Static", "", 0, 0, 289, 64, false},
        {IDC_STATIC, "Static",
         "Active Vellmoran by clicking on the \"Start\" button and then press the PAUSE key. You can also move the "
         "mouse pointer from screen side to side ( Screen Wipe function )",
         17, 169, 253, 27, false},
        {IDC_STATIC, "Button", "For new Users ", 7, 155, 276, 50, false},
    };
    DialogTemplate dialog = LoadDialogTemplate(IDD_CONTROLPANEL);
    ASSERT_EQ(std::size(expected), dialog.controls.size());
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const TemplateControl& control = dialog.controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + " " + expected[i].text);
        EXPECT_EQ(expected[i].id, control.id);
        // Class names are matched regardless of case, and the resource
        // compiler may store them in capitals.
        EXPECT_EQ(0, lstrcmpiA(expected[i].className, control.className.c_str()));
        EXPECT_EQ(expected[i].text, control.text);
        EXPECT_EQ(expected[i].x, control.x);
        EXPECT_EQ(expected[i].y, control.y);
        EXPECT_EQ(expected[i].cx, control.cx);
        EXPECT_EQ(expected[i].cy, control.cy);
        EXPECT_EQ(expected[i].tabStop, (control.style & WS_TABSTOP) != 0);
        EXPECT_TRUE(control.style & WS_VISIBLE);
    }

    const std::vector<TemplateControl>& c = dialog.controls;
    EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), c[0].style & 0xF);
    EXPECT_EQ(static_cast<DWORD>(BS_PUSHBUTTON), c[1].style & 0xF);
    EXPECT_EQ(static_cast<DWORD>(SS_CENTER), c[4].style & SS_TYPEMASK);
    EXPECT_TRUE(c[4].style & SS_CENTERIMAGE);
    EXPECT_TRUE(c[4].exStyle & WS_EX_STATICEDGE);
    EXPECT_EQ(static_cast<DWORD>(BS_AUTOCHECKBOX), c[6].style & 0xF);
    for (int i = 7; i <= 10; ++i)
        EXPECT_EQ(static_cast<DWORD>(BS_GROUPBOX), c[i].style & 0xF);
    EXPECT_EQ(static_cast<DWORD>(SS_BITMAP), c[11].style & SS_TYPEMASK);
    EXPECT_EQ(IDB_PANEL_BANNER, c[11].textOrdinal);
    EXPECT_TRUE(c[12].style & WS_GROUP);
    EXPECT_EQ(static_cast<DWORD>(BS_GROUPBOX), c[13].style & 0xF);
}

TEST(PanelTemplate, ArtworkHasItsSizes)
{
    HBITMAP banner = static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PANEL_BANNER), IMAGE_BITMAP, 0, 0,
                     LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, banner);
    DIBSECTION dib;
    ASSERT_EQ(static_cast<int>(sizeof(dib)), ::GetObjectA(banner, sizeof(dib), &dib));
    EXPECT_EQ(433, dib.dsBm.bmWidth);
    EXPECT_EQ(104, dib.dsBm.bmHeight);
    EXPECT_EQ(24, dib.dsBm.bmBitsPixel);
    ::DeleteObject(banner);

    HRSRC icon = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
    ASSERT_NE(nullptr, icon);
    const BYTE* group = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, icon)));
    // One 32 by 32 image of 8 bits per pixel.
    EXPECT_EQ(1, group[4]);
    EXPECT_EQ(32, group[6]);
    EXPECT_EQ(32, group[7]);
    EXPECT_EQ(8, group[6 + 6]);
}
