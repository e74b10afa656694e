#include "tests/support/GuiDriver.h"

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

std::string ClassName(HWND hWnd)
{
    char name[64] = "";
    ::GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

// The icon static's id differs between systems; its style does not.
HICON MessageBoxIcon(HWND box)
{
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        if (ClassName(child) == "Static" && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    return nullptr;
}

BOOL CALLBACK CancelDialog(HWND hWnd, LPARAM)
{
    if (ClassName(hWnd) == "#32770")
        ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}
}  // namespace

ModalScript::ModalScript(std::vector<Step> steps, DWORD timeoutMs)
    : m_steps(std::move(steps)), m_deadline(::GetTickCount() + timeoutMs)
{
    g_script = this;
    m_timer = ::SetTimer(nullptr, 0, 30, Tick);
}

ModalScript::~ModalScript()
{
    ::KillTimer(nullptr, m_timer);
    g_script = nullptr;
    EXPECT_TRUE(Finished()) << "the script stopped at step " << m_next + 1 << " of " << m_steps.size();
}

ModalScript::Step ModalScript::Do(std::function<void()> action)
{
    return [action] {
        action();
        return true;
    };
}

ModalScript::Step ModalScript::Pause(DWORD milliseconds)
{
    bool started = false;
    DWORD start = 0;
    return [=]() mutable {
        if (!started) {
            started = true;
            start = ::GetTickCount();
        }
        return ::GetTickCount() - start >= milliseconds;
    };
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_script != nullptr)
        g_script->RunDueStep();
}

void ModalScript::RunDueStep()
{
    if (m_running)
        return;
    if (m_timedOut || static_cast<LONG>(::GetTickCount() - m_deadline) > 0) {
        if (!m_timedOut)
            ADD_FAILURE() << "timed out at step " << m_next + 1 << " of " << m_steps.size();
        m_timedOut = true;
        ::EnumThreadWindows(::GetCurrentThreadId(), CancelDialog, 0);
        return;
    }
    if (Finished())
        return;
    m_running = true;
    bool done = m_steps[m_next]();
    m_running = false;
    if (done)
        ++m_next;
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

// A message box is a dialog with a static of id 0xFFFF that holds its text.
LRESULT CALLBACK MessageBoxWatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && g_watcher != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        HWND textControl = ::GetDlgItem(box, 0xFFFF);
        if (ClassName(box) == "#32770" && textControl != nullptr) {
            MessageBoxRecord record;
            record.caption = WindowText(box);
            record.text = WindowText(textControl);
            record.icon = MessageBoxIcon(box);
            for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
                if (::GetDlgItem(box, id) != nullptr)
                    record.buttons.push_back(id);
            g_watcher->m_boxes.push_back(record);
            ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(g_watcher->m_answer), 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {
struct DialogSearch {
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND hWnd, LPARAM lParam)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(lParam);
    if (ClassName(hWnd) == "#32770" && WindowText(hWnd) == *search->caption) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindThreadDialog(const std::string& caption)
{
    DialogSearch search = {&caption, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PostClick(HWND dialog, int id)
{
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void PumpMessages(DWORD milliseconds)
{
    WaitUntil([] { return false; }, milliseconds);
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
