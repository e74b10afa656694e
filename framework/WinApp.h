#pragma once

#include "framework/Afx.h"

// The application object. Exactly one exists per executable; the framework's
// entry point runs its InitInstance and ends the process when it returns
// FALSE.
class CWinApp {
public:
    // A null name makes the executable's file name without its extension the
    // application's name, the caption of every message box.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();

    // Commands that no window handled reach the application last.
    virtual BOOL OnCmdMsg(UINT id);
    void OnHelp();

    CWnd* m_pMainWnd = nullptr;
    std::string m_strAppName;
    HINSTANCE m_hInstance = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetResourceHandle();
std::string AfxGetAppName();

// The full path of the running executable, or an empty string when it does
// not fit a path buffer (GetModuleFileNameA would silently cut it short) or
// its folder is not one the ANSI code page can name.
std::string AfxGetModulePath();

// FALSE when the executable's path, read through the wide function, does not
// survive the round trip to the ANSI code page: the ANSI path then holds
// question marks or look-alike characters and may name another file.
BOOL AfxModulePathFitsCodePage();

// Start-up calls of the application object that have nothing to do here: no
// ActiveX controls are hosted, and the system draws the three-dimensional
// look of the controls itself.
inline void AfxEnableControlContainer() {}
inline BOOL Enable3dControlsStatic() { return TRUE; }

// Registers the common control classes (up-down, trackbar) once, before the
// first dialog that uses them is created.
void AfxInitCommonControls();

int AfxWinMain(HINSTANCE hInstance);
