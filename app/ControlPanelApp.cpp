#include "app/ControlPanelApp.h"

#include "panel/ControlPanelDlg.h"
#include "panel/ExecutableDirectory.h"

CControlPanelApp theApp;

CControlPanelApp::CControlPanelApp() = default;

CControlPanelApp::~CControlPanelApp() = default;

BOOL CControlPanelApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    // Started from a shortcut or a console elsewhere, the panel still finds
    // the daemon and the settings file beside itself. An executable path too
    // long to hold, or in a folder the code page cannot name, leaves the
    // inherited directory in place: a damaged path may name another folder.
    char directory[MAX_PATH];
    if (GetExecutableDirectory(directory))
        ::SetCurrentDirectoryA(directory);

    CControlPanelDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
