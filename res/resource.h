// Symbolic ids of every resource and dialog control.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Icons and bitmaps
#define IDR_MAINFRAME                128
#define IDB_WIZARD_BANNER            135
#define IDB_PANEL_BANNER             137
#define IDI_KEY                      138

// Control panel
#define IDD_CONTROLPANEL             136
#define IDC_STOP_AND_CONFIGURE       1002
#define IDC_STOP                     1003
#define IDC_STATUS                   1004
#define IDC_START                    1005
#define IDC_LAUNCH_ON_STARTUP        1006

// Settings wizard
#define IDD_SETTINGS                 102
#define IDC_CANCEL_PAGE2             3
#define IDC_CANCEL_PAGE3             4
#define IDC_CANCEL_PAGE4             5
#define IDC_APPLY                    1007
#define IDC_ENABLE_SCREENSAVER       1008
#define IDC_CHANGE_PASSWORD          1009
#define IDC_CHANGE_IMAGE             1010
#define IDC_DELAY_SPIN               1012
#define IDC_DELAY                    1013
#define IDC_VELOCITY                 1015
#define IDC_HOTKEY                   1016
#define IDC_NEXT_PAGE1               1017
#define IDC_NEXT_PAGE2               1018
#define IDC_ENABLE_SCREENWIPE        1019
#define IDC_NEXT_PAGE3               1020
#define IDC_BACK_PAGE2               1021
#define IDC_PAGE_GAUGE               1022
#define IDC_BACK_PAGE3               1024
#define IDC_BACK_PAGE4               1025

// Change password
#define IDD_CHANGE_PASSWORD          132
#define IDC_OLD_PASSWORD             1008
#define IDC_NEW_PASSWORD             1009
#define IDC_CONFIRM_PASSWORD         1010
