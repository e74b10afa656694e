#include "daemon/LockScreen.h"

#include "settings/PasswordScrambler.h"
#include "settings/SecureWipe.h"

#include <commctrl.h>

#include <string>

const char CLockScreen::kClassName[] = "VellmoranLockScreen";

namespace {
const UINT_PTR kFrontTimer = 1;
const UINT_PTR kWaitTimer = 2;
const UINT kFrontCheckMs = 250;
const UINT kWaitTickMs = 200;
const int kCardWidth = 440, kCardHeight = 190;
// Passwords are at most 32 characters; the box takes no more.
const int kMaxPassword = 32;
const COLORREF kCardColour = RGB(40, 44, 54), kTextColour = RGB(235, 238, 245);

const char kPrompt[] = "Locked. Type the password and press Enter.";
const char kNoPassword[] =
    "No password is set; set one in the control panel.\r\nPress Enter to unlock.";
const char kWrong[] = "Wrong password.";

RECT ToClient(RECT screen)
{
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    ::OffsetRect(&screen, -left, -top);
    return screen;
}
}  // namespace

CLockScreen::CLockScreen(HWND owner, UINT unlockMessage, const std::string& code, const std::string& imagePath,
                         CAttemptBackoff& backoff)
    : m_hOwner(owner), m_unlockMessage(unlockMessage), m_code(code), m_background(imagePath), m_backoff(backoff)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ObjectWindowProc<CLockScreen>;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);  // fails harmlessly when it is registered already

    m_primary = ToClient({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    int cardLeft = (m_primary.left + m_primary.right - kCardWidth) / 2;
    int cardTop = (m_primary.top + m_primary.bottom - kCardHeight) / 2;
    m_card = {cardLeft, cardTop, cardLeft + kCardWidth, cardTop + kCardHeight};
    m_hTitleFont = ::CreateFontA(-32, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                                 "Tahoma");
    m_hTextFont = ::CreateFontA(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0,
                                "Tahoma");
    m_hCardBrush = ::CreateSolidBrush(kCardColour);

    m_hWnd = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, "Vellmoran",
                               WS_POPUP | WS_CLIPCHILDREN, ::GetSystemMetrics(SM_XVIRTUALSCREEN),
                               ::GetSystemMetrics(SM_YVIRTUALSCREEN), ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                               ::GetSystemMetrics(SM_CYVIRTUALSCREEN), nullptr, nullptr, instance, this);
    if (m_hWnd == nullptr)
        return;
    CreateChildren();
    ::ShowWindow(m_hWnd, SW_SHOW);
    KeepInFront();
    ::SetTimer(m_hWnd, kFrontTimer, kFrontCheckMs, nullptr);
    if (m_backoff.RemainingMs(::GetTickCount()) > 0)
        ShowWait();
}

CLockScreen::~CLockScreen()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(m_hTitleFont), static_cast<HGDIOBJ>(m_hTextFont),
                           static_cast<HGDIOBJ>(m_hCardBrush)})
        if (object != nullptr)
            ::DeleteObject(object);
    SecureWipe(m_code);
}

void CLockScreen::CreateChildren()
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    int left = m_card.left + 30, width = kCardWidth - 60;
    HWND title = ::CreateWindowExA(0, "STATIC", "Vellmoran", WS_CHILD | WS_VISIBLE | SS_CENTER, left,
                                   m_card.top + 20, width, 44, m_hWnd, nullptr, instance, nullptr);
    m_hPassword = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL, left,
                                    m_card.top + 78, width, 26, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPasswordId)), instance, nullptr);
    m_hMessage = ::CreateWindowExA(0, "STATIC", m_code.empty() ? kNoPassword : kPrompt,
                                   WS_CHILD | WS_VISIBLE | SS_CENTER, left, m_card.top + 116, width, 56, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMessageId)), instance, nullptr);
    ::SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(m_hTitleFont), FALSE);
    ::SendMessageA(m_hPassword, WM_SETFONT, reinterpret_cast<WPARAM>(m_hTextFont), FALSE);
    ::SendMessageA(m_hMessage, WM_SETFONT, reinterpret_cast<WPARAM>(m_hTextFont), FALSE);
    ::SendMessageA(m_hPassword, EM_LIMITTEXT, kMaxPassword, 0);
    ::SetWindowSubclass(m_hPassword, PasswordProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK CLockScreen::PasswordProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self)
{
    try {
        if (message == WM_KEYDOWN && wParam == VK_RETURN) {
            reinterpret_cast<CLockScreen*>(self)->OnEnter();
            return 0;
        }
        // A single-line edit beeps at the Enter and Escape characters.
        if (message == WM_CHAR && (wParam == '\r' || wParam == VK_ESCAPE))
            return 0;
        if (message == WM_NCDESTROY)
            ::RemoveWindowSubclass(hWnd, PasswordProc, 0);
    } catch (...) {
        return 0;
    }
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

LRESULT CLockScreen::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        m_background.Paint(dc, client, m_primary, m_bSmooth);
        ::FillRect(dc, &m_card, m_hCardBrush);
        ::EndPaint(m_hWnd, &paint);
        // The screen is covered at once, the image drawn smoothly after.
        if (!m_bSmooth) {
            m_bSmooth = true;
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, kTextColour);
        ::SetBkColor(dc, kCardColour);
        return reinterpret_cast<LRESULT>(m_hCardBrush);
    }
    case WM_TIMER:
        if (wParam == kFrontTimer)
            KeepInFront();
        else if (wParam == kWaitTimer)
            ShowWait();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            ::SetFocus(m_hPassword);
        return 0;
    case WM_DISPLAYCHANGE:  // a monitor added while locked is covered too
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, ::GetSystemMetrics(SM_XVIRTUALSCREEN),
                       ::GetSystemMetrics(SM_YVIRTUALSCREEN), ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       ::GetSystemMetrics(SM_CYVIRTUALSCREEN), SWP_NOACTIVATE);
        return 0;
    case WM_CLOSE:  // Alt+F4 that slipped past the guard, or another program
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE || (wParam & 0xFFF0) == SC_MINIMIZE)
            return 0;
        break;
    case WM_NCDESTROY: {
        HWND hWnd = m_hWnd;
        m_hWnd = nullptr;
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

void CLockScreen::KeepInFront()
{
    HWND foreground = ::GetForegroundWindow();
    if (foreground != m_hWnd) {
        // The system lets a background process take the foreground only
        // while it shares the input state of the foreground's thread.
        DWORD self = ::GetCurrentThreadId();
        DWORD other = foreground != nullptr ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
        bool attached = other != 0 && other != self && ::AttachThreadInput(self, other, TRUE);
        ::SetForegroundWindow(m_hWnd);
        if (attached)
            ::AttachThreadInput(self, other, FALSE);
    }
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (::GetFocus() != m_hPassword)
        ::SetFocus(m_hPassword);
}

void CLockScreen::ShowMessage(const std::string& text)
{
    ::SetWindowTextA(m_hMessage, text.c_str());
}

// While the backoff runs the box takes no typing and counts down.
void CLockScreen::ShowWait()
{
    DWORD remaining = m_backoff.RemainingMs(::GetTickCount());
    bool waiting = remaining > 0;
    ::SendMessageA(m_hPassword, EM_SETREADONLY, waiting, 0);
    if (waiting) {
        ShowMessage(std::string(kWrong) + " Try again in " + std::to_string((remaining + 999) / 1000) + " s.");
        ::SetTimer(m_hWnd, kWaitTimer, kWaitTickMs, nullptr);
    } else {
        ::KillTimer(m_hWnd, kWaitTimer);
        if (m_backoff.WrongInARow() > 0)
            ShowMessage(std::string(kWrong) + " Type the password and press Enter.");
    }
}

void CLockScreen::OnEnter()
{
    if (m_bUnlocked || m_backoff.RemainingMs(::GetTickCount()) > 0)
        return;
    char buffer[kMaxPassword + 2] = {};
    ::GetWindowTextA(m_hPassword, buffer, sizeof(buffer));
    ::SetWindowTextA(m_hPassword, "");
    std::string typed(buffer);
    SecureWipe(buffer, sizeof(buffer));
    CWipeOnExit wipe({&typed});
    // An empty box is no attempt: it must not bring the wait closer.
    if (typed.empty() && !m_code.empty())
        return;
    // With no password set there is nothing to check: the screen said so.
    bool right = m_code.empty();
    if (!right) {
        ScramblePassword(typed);
        right = typed == m_code;
    }
    if (right) {
        m_bUnlocked = true;
        m_backoff.OnRight();
        ::PostMessageA(m_hOwner, m_unlockMessage, 0, 0);
        return;
    }
    m_backoff.OnWrong(::GetTickCount());
    ShowMessage(kWrong);
    ShowWait();
}
