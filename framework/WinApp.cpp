#include "framework/WinApp.h"

#include "framework/Wnd.h"

namespace {
CWinApp* g_app = nullptr;

constexpr UINT ID_HELP = 0xE146;

std::string ModuleBaseName()
{
    std::string path = AfxGetModulePath();
    std::string::size_type slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string::size_type dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}
}  // namespace

CWinApp::CWinApp(const char* appName)
{
    if (appName != nullptr)
        m_strAppName = appName;
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

BOOL CWinApp::OnCmdMsg(UINT id)
{
    if (id != ID_HELP)
        return FALSE;
    OnHelp();
    return TRUE;
}

// The help file sits beside the executable and carries its name.
void CWinApp::OnHelp()
{
    std::string path = AfxGetModulePath();
    std::string::size_type dot = path.rfind('.');
    if (path.empty() || dot == std::string::npos)
        return;
    ::WinHelpA(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr,
               (path.substr(0, dot) + ".HLP").c_str(), HELP_FINDER, 0);
}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

std::string AfxGetAppName()
{
    if (g_app != nullptr && !g_app->m_strAppName.empty())
        return g_app->m_strAppName;
    return ModuleBaseName();
}

std::string AfxGetModulePath()
{
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    return std::string(path, length);
}

void AfxInitCommonControls()
{
    static bool registered = false;
    if (registered)
        return;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    registered = ::InitCommonControlsEx(&icc) != FALSE;
}

int AfxWinMain(HINSTANCE hInstance)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    app->m_hInstance = hInstance;
    if (app->m_strAppName.empty())
        app->m_strAppName = ModuleBaseName();
    if (!app->InitInstance())
        return 0;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
