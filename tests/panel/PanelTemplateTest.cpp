#include "res/resource.h"
#include "tests/support/DialogTemplate.h"

#include <gtest/gtest.h>

TEST(PanelTemplate, HoldsEveryControlInOrderWithOnlyOKCancelAndConfigureAsTabStops)
{
    const DWORD V = WS_VISIBLE;
    const DWORD group = V | BS_GROUPBOX;
    ExpectTemplate(
        IDD_CONTROLPANEL, "Vellmoran v1.02 - Control Panel", 289, 238,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0,
        {
            {IDOK, "Button", "OK", 147, 217, 50, 14, V | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, -1},
            {IDCANCEL, "Button", "Cancel", 92, 217, 50, 14, V | WS_TABSTOP | BS_PUSHBUTTON, 0, -1},
            {IDC_STOP_AND_CONFIGURE, "Button", "Stop && Configure Vellmoran...", 161, 124, 109, 14,
             V | WS_TABSTOP | BS_PUSHBUTTON, 0, -1},
            {IDC_STOP, "Button", "Stop", 78, 125, 50, 14, V | BS_PUSHBUTTON, 0, -1},
            {IDC_STATUS, "Static", "Vellmoran is OFF", 23, 84, 101, 12, V | SS_CENTER | SS_CENTERIMAGE,
             WS_EX_STATICEDGE, -1},
            {IDC_START, "Button", "Start", 21, 125, 50, 14, V | BS_PUSHBUTTON, 0, -1},
            {IDC_LAUNCH_ON_STARTUP, "Button", "Launch on Startup", 171, 84, 80, 12, V | BS_AUTOCHECKBOX, 0, -1},
            {IDC_STATIC, "Button", "Status", 8, 70, 134, 35, group, 0, -1},
            {IDC_STATIC, "Button", "Launch Mode", 149, 70, 136, 34, group, 0, -1},
            {IDC_STATIC, "Button", "Vellmoran Control", 8, 112, 134, 34, group, 0, -1},
            {IDC_STATIC, "Button", "Settings", 149, 112, 134, 34, group, 0, -1},
            {IDC_STATIC, "Static", "", 0, 0, 289, 64, V | SS_BITMAP, 0, IDB_PANEL_BANNER},
            {IDC_STATIC, "Static",
             "Active Vellmoran by clicking on the \"Start\" button and then press the PAUSE key. You can also "
             "move the mouse pointer from screen side to side ( Screen Wipe function )",
             17, 169, 253, 27, V | WS_GROUP | SS_LEFT, 0, -1},
            {IDC_STATIC, "Button", "For new Users ", 7, 155, 276, 50, group, 0, -1},
        });
}
