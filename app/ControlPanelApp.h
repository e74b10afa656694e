#pragma once

#include "framework/WinApp.h"

// Runs the control panel as a modal dialog from the executable's own
// directory; the process ends when the panel closes.
class CControlPanelApp : public CWinApp {
public:
    CControlPanelApp();
    ~CControlPanelApp() override;

    BOOL InitInstance() override;
};
