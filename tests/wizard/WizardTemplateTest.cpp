#include "res/resource.h"
#include "tests/support/DialogTemplate.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {
struct Expected {
    int id;
    const char* className;
    const char* text;
    short x, y, cx, cy;
    DWORD type;  // BS_, SS_ or edit styles that make the control what it is
    bool visible;
};

const DWORD kEditStyles = WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL | ES_MULTILINE | ES_PASSWORD;
const DWORD kSpinStyles = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ALIGNLEFT | UDS_AUTOBUDDY | UDS_ARROWKEYS |
                          UDS_HORZ | UDS_WRAP | UDS_NOTHOUSANDS | UDS_HOTTRACK;
const DWORD kSliderStyles = 0xFFF;  // every TBS_ style bit

// Window classes are named without regard to case; the resource compiler
// stores some of them in capitals.
bool IsClass(const TemplateControl& control, const char* className)
{
    return ::lstrcmpiA(control.className.c_str(), className) == 0;
}

DWORD TypeOf(const TemplateControl& control)
{
    if (IsClass(control, "Button"))
        return control.style & BS_TYPEMASK;
    if (IsClass(control, "Static"))
        return control.style & SS_TYPEMASK;
    if (IsClass(control, "Edit"))
        return control.style & kEditStyles;
    if (IsClass(control, "msctls_updown32"))
        return control.style & kSpinStyles;
    return control.style & kSliderStyles;
}
}  // namespace

TEST(WizardTemplate, IsAVisibleCentredAppWindowFourPagesWide)
{
    DialogTemplate dialog = LoadDialogTemplate(IDD_SETTINGS);
    EXPECT_EQ("Vellmoran - Settings", dialog.caption);
    EXPECT_EQ(967, dialog.cx);
    EXPECT_EQ(193, dialog.cy);
    EXPECT_EQ("MS Sans Serif", dialog.font);
    EXPECT_EQ(8, dialog.pointSize);
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE;
    EXPECT_EQ(frame, dialog.style & frame);
    EXPECT_EQ(0u, dialog.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD));
    EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW), dialog.exStyle & WS_EX_APPWINDOW);
}

TEST(WizardTemplate, HoldsTheThirtyThreeControlsInOrderWithoutTabStops)
{
    const Expected expected[] = {
        {IDC_DELAY, "Edit", "", 74, 107, 42, 14, WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL, true},
        {IDC_DELAY_SPIN, "msctls_updown32", "Spin1", 119, 107, 11, 14,
         UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS, true},
        {IDOK, "Button", "OK", 709, 156, 50, 14, BS_DEFPUSHBUTTON, true},
        {IDCANCEL, "Button", "Cancel", 6, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_APPLY, "Button", "Apply", 596, 139, 50, 14, BS_PUSHBUTTON, false},
        {IDC_CHANGE_PASSWORD, "Button", "Change ...", 620, 73, 114, 14, BS_PUSHBUTTON, true},
        {IDC_ENABLE_SCREENSAVER, "Button", "Enable Screensaver", 16, 74, 82, 12, BS_AUTOCHECKBOX, true},
        {IDC_STATIC, "Static", " Delay", 48, 111, 22, 9, SS_LEFT, true},
        {IDC_STATIC, "Static", "Minutes", 135, 111, 32, 9, SS_LEFT, true},
        {IDC_VELOCITY, "msctls_trackbar32", "Slider1", 416, 101, 116, 23, TBS_AUTOTICKS | TBS_TOP, true},
        {IDC_STATIC, "Static", "Min.", 400, 108, 16, 10, SS_LEFT, true},
        {IDC_STATIC, "Static", "Max.", 536, 108, 17, 11, SS_LEFT, true},
        {IDC_STATIC, "Button", "Activation key", 203, 89, 171, 44, BS_GROUPBOX, true},
        {IDC_HOTKEY, "Edit", "", 242, 107, 122, 12, WS_BORDER | ES_AUTOHSCROLL, true},
        {IDC_CHANGE_IMAGE, "Button", "Change ...", 620, 114, 114, 14, BS_PUSHBUTTON, true},
        {IDC_NEXT_PAGE1, "Button", "Next >", 134, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_NEXT_PAGE2, "Button", "Next >", 324, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_ENABLE_SCREENWIPE, "Button", "Enable Screen Wipe", 396, 75, 81, 10, BS_AUTOCHECKBOX, true},
        {IDC_NEXT_PAGE3, "Button", "Next >", 518, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_BACK_PAGE2, "Button", "< Back", 270, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_CANCEL_PAGE2, "Button", "Cancel", 202, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_STATIC, "Static", "", 0, 0, 967, 55, SS_BITMAP, true},
        {IDC_PAGE_GAUGE, "Button", "Static", 1, 1, 193, 54, BS_GROUPBOX, false},
        {IDC_BACK_PAGE3, "Button", "< Back", 464, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_BACK_PAGE4, "Button", "< Back", 657, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_STATIC, "Static", "", 0, 148, 967, 44, SS_ETCHEDFRAME, true},
        {IDC_CANCEL_PAGE3, "Button", "Cancel", 393, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_CANCEL_PAGE4, "Button", "Cancel", 588, 156, 50, 14, BS_PUSHBUTTON, true},
        {IDC_STATIC, "Button", "Sensitivity", 396, 89, 169, 45, BS_GROUPBOX, true},
        {IDC_STATIC, "Button", "Password", 595, 62, 162, 36, BS_GROUPBOX, true},
        {IDC_STATIC, "Button", "Image", 595, 101, 162, 36, BS_GROUPBOX, true},
        {IDC_STATIC, "Button", "Activation", 15, 89, 171, 44, BS_GROUPBOX, true},
        {IDC_STATIC, "Static", "", 213, 103, 20, 20, SS_ICON, true},
    };
    DialogTemplate dialog = LoadDialogTemplate(IDD_SETTINGS);
    ASSERT_EQ(33u, dialog.controls.size());
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
        const TemplateControl& control = dialog.controls[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + " " + expected[i].text);
        EXPECT_EQ(expected[i].id, control.id);
        EXPECT_TRUE(IsClass(control, expected[i].className)) << control.className;
        EXPECT_EQ(expected[i].text, control.text);
        EXPECT_EQ(expected[i].x, control.x);
        EXPECT_EQ(expected[i].y, control.y);
        EXPECT_EQ(expected[i].cx, control.cx);
        EXPECT_EQ(expected[i].cy, control.cy);
        EXPECT_EQ(expected[i].type, TypeOf(control));
        EXPECT_EQ(expected[i].visible, (control.style & WS_VISIBLE) != 0);
        EXPECT_EQ(0u, control.style & WS_TABSTOP);
        EXPECT_TRUE(control.style & WS_CHILD);
    }
    EXPECT_EQ(IDB_WIZARD_BANNER, dialog.controls[21].textOrdinal);
    EXPECT_EQ(IDI_KEY, dialog.controls[32].textOrdinal);
}

TEST(WizardArt, BannerSpansTheFourPagesAndTheKeyIconIsFullSize)
{
    HBITMAP banner = static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr),
                                                       MAKEINTRESOURCEA(IDB_WIZARD_BANNER), IMAGE_BITMAP, 0, 0,
                                                       LR_CREATEDIBSECTION));
    ASSERT_NE(nullptr, banner);
    BITMAP info;
    ::GetObjectA(banner, sizeof(info), &info);
    EXPECT_EQ(1169, info.bmWidth);
    EXPECT_EQ(90, info.bmHeight);
    EXPECT_EQ(24, info.bmBitsPixel);
    ::DeleteObject(banner);

    HICON key = static_cast<HICON>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_KEY), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    ASSERT_NE(nullptr, key);
    ICONINFO icon;
    ASSERT_TRUE(::GetIconInfo(key, &icon));
    BITMAP mask;
    ::GetObjectA(icon.hbmMask, sizeof(mask), &mask);
    EXPECT_EQ(32, mask.bmWidth);
    ::DeleteObject(icon.hbmMask);
    ::DeleteObject(icon.hbmColor);
    ::DestroyIcon(key);
}
