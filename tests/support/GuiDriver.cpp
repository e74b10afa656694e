#include "tests/support/GuiDriver.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {
ModalScript* g_script = nullptr;
MessageBoxWatcher* g_watcher = nullptr;

std::string WindowText(HWND hWnd)
{
    char text[1024] = "";
    ::GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

bool IsClass(HWND hWnd, const char* className)
{
    char name[64] = "";
    ::GetClassNameA(hWnd, name, sizeof(name));
    return lstrcmpiA(name, className) == 0;
}

// The children of a window, in Z order.
std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

struct TitleSearch {
    const std::string* title;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND hWnd, LPARAM lParam)
{
    TitleSearch* search = reinterpret_cast<TitleSearch*>(lParam);
    if (WindowText(hWnd) == *search->title)
        search->found.push_back(hWnd);
    return TRUE;
}

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam)
{
    if (IsClass(hWnd, "#32770"))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

std::vector<HWND> ThreadDialogs()
{
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
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

ModalScript::Step ModalScript::Do(std::function<void()> action)
{
    return [action] {
        action();
        return true;
    };
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    ModalScript* script = g_script;
    if (script == nullptr || script->m_running || script->m_next == script->m_steps.size())
        return;
    if (::GetTickCount() - script->m_stepStart > script->m_guardMs) {
        for (HWND dialog : ThreadDialogs())
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    script->m_running = true;
    if (script->m_steps[script->m_next]())
        ++script->m_next, script->m_stepStart = ::GetTickCount();
    script->m_running = false;
}

MessageBoxWatcher::MessageBoxWatcher(int answer)
    : m_answer(answer), m_hook(::SetWindowsHookExA(WH_CBT, CbtProc, nullptr, ::GetCurrentThreadId()))
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
    std::vector<std::string> texts;
    for (const MessageBoxRecord& box : m_boxes)
        texts.push_back(box.text);
    return texts;
}

// A message box is a dialog with a static of id 0xFFFF that holds its text;
// the icon static's id differs between systems, its style does not.
LRESULT CALLBACK MessageBoxWatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    HWND box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && g_watcher != nullptr && IsClass(box, "#32770") && ::GetDlgItem(box, 0xFFFF)) {
        MessageBoxRecord record = {WindowText(box), WindowText(::GetDlgItem(box, 0xFFFF)), nullptr, {}};
        for (HWND child : Children(box)) {
            if (IsClass(child, "Static") && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                record.icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
            if (IsClass(child, "Button"))
                record.buttons.push_back(::GetDlgCtrlID(child));
        }
        g_watcher->m_boxes.push_back(record);
        // A box without the answer's button takes its first one, as a user who
        // can only press what is there.
        std::vector<int>& buttons = record.buttons;
        bool has = std::find(buttons.begin(), buttons.end(), g_watcher->m_answer) != buttons.end();
        int answer = has || buttons.empty() ? g_watcher->m_answer : buttons.front();
        ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<HWND> WindowsTitled(const std::string& title)
{
    TitleSearch search = {&title, {}};
    ::EnumWindows(CollectTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindThreadDialog(const std::string& caption)
{
    for (HWND window : WindowsTitled(caption))
        if (IsClass(window, "#32770") && ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId())
            return window;
    return nullptr;
}

std::string WhyUnclickable(HWND control)
{
    HWND top = ::GetAncestor(control, GA_ROOT);
    if (control == nullptr || !::IsWindowVisible(control))
        return "it is not shown";
    if (!::IsWindowEnabled(control))
        return "it is disabled";
    if (!::IsWindowEnabled(top))
        return "its window \"" + WindowText(top) + "\" is disabled";
    if (!::IsWindowVisible(top))
        return "its window \"" + WindowText(top) + "\" is not shown";
    return "";
}

void UserClick(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    const std::string why = WhyUnclickable(control);
    if (!why.empty()) {
        ADD_FAILURE() << "a user could not click \"" << WindowText(control) << "\" (id " << ::GetDlgCtrlID(control)
                      << "): " << why;
        return;
    }
    ::PostMessageA(control, BM_CLICK, 0, 0);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool InView(HWND control)
{
    RECT rect, window, both;
    ::GetWindowRect(control, &rect);
    ::GetWindowRect(::GetAncestor(control, GA_ROOT), &window);
    return ::IntersectRect(&both, &rect, &window) && ::EqualRect(&both, &rect);
}
