#include "tests/support/GuiDriver.h"

#include "framework/Wnd.h"

#include <algorithm>
#include <ranges>

#include <gtest/gtest.h>

namespace {
ModalScript* g_script = nullptr;
MessageBoxWatcher* g_watcher = nullptr;

bool IsClass(HWND hWnd, const char* className)
{
    char name[64] = "";
    return ::GetClassNameA(hWnd, name, sizeof(name)) && lstrcmpiA(name, className) == 0;
}

bool IsThreadDialog(HWND hWnd)
{
    return IsClass(hWnd, "#32770")
           && ::GetWindowThreadProcessId(hWnd, nullptr) == ::GetCurrentThreadId();
}
}  // namespace

ModalScript::ModalScript(std::vector<Step> steps, DWORD stepGuardMs)
    : m_steps(std::move(steps)), m_guardMs(stepGuardMs), m_stepStart(::GetTickCount()),
      m_timer(::SetTimer(nullptr, 0, 30, Tick))
{
    g_script = this;
}

ModalScript::~ModalScript()
{
    ::KillTimer(nullptr, m_timer);
    g_script = nullptr;
    EXPECT_EQ(m_steps.size(), m_next) << "the script stopped at step " << m_next + 1;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    ModalScript* script = g_script;
    if (script == nullptr || script->m_running)
        return;
    // A dialog that outlives the last step by the whole guard never closes:
    // the test fails and the dialog is ended, so that the run goes on.
    if (script->m_next == script->m_steps.size()) {
        if (::GetTickCount() - script->m_stepStart <= script->m_guardMs)
            return;
        for (HWND window = ::GetTopWindow(nullptr); window != nullptr;
             window = ::GetWindow(window, GW_HWNDNEXT))
            if (IsThreadDialog(window)) {
                ADD_FAILURE() << "a dialog stayed open after the script's last step";
                ::EndDialog(window, IDABORT);
            }
        return;
    }
    if (::GetTickCount() - script->m_stepStart > script->m_guardMs) {
        for (HWND window = ::GetTopWindow(nullptr); window != nullptr;
             window = ::GetWindow(window, GW_HWNDNEXT))
            if (IsThreadDialog(window))
                ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    script->m_running = true;
    if (script->m_steps[script->m_next]()) {
        ++script->m_next;
        script->m_stepStart = ::GetTickCount();
    }
    script->m_running = false;
}

MessageBoxWatcher::MessageBoxWatcher(int answer)
    : m_answer(answer),
      m_hook(::SetWindowsHookExA(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId()))
{
    g_watcher = this;
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    ::UnhookWindowsHookEx(m_hook);
    g_watcher = nullptr;
}

std::vector<std::string> MessageBoxWatcher::Texts() const
{
    auto texts = m_boxes | std::views::transform(&MessageBoxRecord::text);
    return {texts.begin(), texts.end()};
}

// A message box is a dialog with a static of id 0xFFFF that holds its text;
// the icon static's id differs between systems, its style does not.
LRESULT CALLBACK MessageBoxWatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    HWND box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && g_watcher != nullptr && IsClass(box, "#32770")
        && ::GetDlgItem(box, 0xFFFF)) {
        MessageBoxRecord record = {
            AfxGetWindowText(box), AfxGetWindowText(::GetDlgItem(box, 0xFFFF)), nullptr, {}};
        for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (IsClass(child, "Static")
                && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                record.icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
            if (IsClass(child, "Button"))
                record.buttons.push_back(::GetDlgCtrlID(child));
        }
        // A box without the answer's button takes its first one, as a user who
        // can only press what is there.
        int answer = g_watcher->m_answer;
        answer = record.buttons.empty() || std::ranges::count(record.buttons, answer)
                     ? answer
                     : record.buttons.front();
        g_watcher->m_boxes.push_back(record);
        ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<HWND> WindowsTitled(const std::string& title)
{
    std::vector<HWND> windows;
    for (HWND window = nullptr;
         (window = ::FindWindowExA(nullptr, window, nullptr, title.c_str())) != nullptr;)
        windows.push_back(window);
    return windows;
}

HWND FindThreadDialog(const std::string& caption)
{
    const std::vector<HWND> windows = WindowsTitled(caption);
    const auto found = std::ranges::find_if(windows, IsThreadDialog);
    return found == windows.end() ? nullptr : *found;
}

std::string WhyUnclickable(HWND control)
{
    HWND top = ::GetAncestor(control, GA_ROOT);
    if (!::IsWindowVisible(control) || !::IsWindowEnabled(control))
        return control && ::IsWindowVisible(control) ? "it is disabled" : "it is not shown";
    if (!::IsWindowEnabled(top) || !::IsWindowVisible(top))
        return "its window \"" + AfxGetWindowText(top) + "\" is disabled or hidden";
    return "";
}

void UserClick(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    if (const std::string why = WhyUnclickable(control); why.empty())
        ::PostMessageA(control, BM_CLICK, 0, 0);
    else
        ADD_FAILURE() << "a user could not click \"" << AfxGetWindowText(control) << "\" (id " << id
                      << "): " << why;
}

HANDLE StartProcess(std::wstring commandLine, const std::wstring& directory)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        return nullptr;
    ::CloseHandle(process.hThread);
    return process.hProcess;
}

DWORD ExitCodeOf(HANDLE process)
{
    DWORD exitCode = STILL_ACTIVE;
    if (::WaitForSingleObject(process, 180000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process, &exitCode);
    else
        ::TerminateProcess(process, 1);
    ::CloseHandle(process);
    return exitCode;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (DWORD start = ::GetTickCount();;
         ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (const bool met = condition(); met || ::GetTickCount() - start >= timeoutMs)
            return met;
    }
}

bool InView(HWND control)
{
    RECT rect, window, both;
    ::GetWindowRect(control, &rect);
    ::GetWindowRect(::GetAncestor(control, GA_ROOT), &window);
    return ::IntersectRect(&both, &rect, &window) && ::EqualRect(&both, &rect);
}
