#include "framework/WinApp.h"

#include "framework/Wnd.h"

namespace {
CWinApp* g_app = nullptr;

constexpr UINT ID_HELP = 0xE146;

// The path as the ANSI function gives it, or empty when it does not fit.
std::string AnsiModulePath()
{
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    return std::string(path, length);
}

BOOL ModulePathSurvivesCodePage()
{
    std::wstring wide(32768, L'\0');
    wide.resize(::GetModuleFileNameW(nullptr, &wide[0], static_cast<DWORD>(wide.size())));
    int wideLength = static_cast<int>(wide.size());
    std::string ansi(static_cast<size_t>(wideLength) * 2, '\0');
    ansi.resize(::WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, &ansi[0], static_cast<int>(ansi.size()),
                                      nullptr, nullptr));
    std::wstring back(wide.size(), L'\0');
    back.resize(::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &back[0], wideLength));
    return back == wide;
}

// The caption of message boxes, also in a folder the code page cannot hold.
std::string ModuleBaseName()
{
    std::string path = AnsiModulePath();
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
    return AfxModulePathFitsCodePage() ? AnsiModulePath() : std::string();
}

BOOL AfxModulePathFitsCodePage()
{
    // The executable does not move while it runs.
    static const BOOL fits = ModulePathSurvivesCodePage();
    return fits;
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
