#include "daemon/LockScreen.h"

#include "daemon/LockTexts.h"
#include "daemon/WindowKeeper.h"
#include "settings/SecureWipe.h"

#include <commctrl.h>

#include <string>
#include <utility>

const char CLockScreen::kClassName[] = "VellmoranLockScreen";

namespace {
const UINT_PTR kKeepTimer = 1;
// Well within the quarter second in which a window taken away is back.
const UINT kKeepMs = 100;
// The card at 96 DPI; it grows with the system DPI.
const int kCardWidth = 440, kCardHeight = 300, kCardPadding = 30;
const COLORREF kCardColour = RGB(40, 44, 54), kTextColour = RGB(235, 238, 245);

const char kPrompt[] = "Type the password and press Enter.";
const char kNoPassword[] =
    "No password is set; set one in the control panel.\r\nPress Enter to unlock.";
const char kWrong[] = "Wrong password.";
const char kCapsLockOn[] = "Caps Lock is on";

std::string UserName()
{
    char name[257] = "";
    DWORD size = sizeof(name);
    return ::GetUserNameA(name, &size) ? name : "";
}

SYSTEMTIME Now()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now;
}

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

RECT ToClient(RECT screen)
{
    RECT virtualScreen = VirtualScreen();
    ::OffsetRect(&screen, -virtualScreen.left, -virtualScreen.top);
    return screen;
}

// A control draws itself only where its client area begins at the origin
// of the device: the copy is made in a bitmap of its own, then put in place.
void PrintChild(HDC dc, HWND child)
{
    RECT client;
    ::GetClientRect(child, &client);
    POINT place = {0, 0};
    ::MapWindowPoints(child, ::GetParent(child), &place, 1);
    HDC copy = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = ::SelectObject(copy, bitmap);
    ::SendMessageA(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(copy), PRF_CLIENT | PRF_ERASEBKGND);
    ::BitBlt(dc, place.x, place.y, client.right, client.bottom, copy, 0, 0, SRCCOPY);
    ::SelectObject(copy, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(copy);
}
}  // namespace

CLockScreen::CLockScreen(const std::string& code, const CheckedBitmap* image, CAttemptBackoff& backoff,
                         LockStats& stats, CGrace grace)
    : m_code(code),
      m_backoff(backoff),
      m_stats(stats),
      m_grace(grace),
      m_dpi(ScreenDpi()),
      m_background(image, VirtualScreen()),
      m_keys((::GetKeyState(VK_CAPITAL) & 1) != 0, (::GetKeyState(VK_NUMLOCK) & 1) != 0)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ObjectWindowProc<CLockScreen>;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);  // fails harmlessly when it is registered already

    m_primary = ToClient({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    int cardWidth = ::MulDiv(kCardWidth, m_dpi, 96), cardHeight = ::MulDiv(kCardHeight, m_dpi, 96);
    int cardLeft = (m_primary.left + m_primary.right - cardWidth) / 2;
    int cardTop = (m_primary.top + m_primary.bottom - cardHeight) / 2;
    m_card = {cardLeft, cardTop, cardLeft + cardWidth, cardTop + cardHeight};
    m_hClockFont = ::CreateFontA(-::MulDiv(44, m_dpi, 96), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                 CLEARTYPE_QUALITY, 0, "Tahoma");
    m_hTextFont = ::CreateFontA(-::MulDiv(14, m_dpi, 96), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                CLEARTYPE_QUALITY, 0, "Tahoma");
    m_hCardBrush = ::CreateSolidBrush(kCardColour);

    RECT place = VirtualScreen();
    m_hWnd = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, "Vellmoran",
                               WS_POPUP, place.left, place.top, place.right - place.left,
                               place.bottom - place.top, nullptr, nullptr, instance, this);
    if (m_hWnd == nullptr)
        return;
    // Input is taken before the screen shows, so that no key slips past.
    m_input.reset(new CInputGuard(m_hWnd));
    m_input->ReportPointer(m_grace.Holds(::GetTickCount()));
    CreateChildren();
    ShowWait();
    // Shown first and activated after: the box draws itself as it takes the
    // focus, which must not come before the frame.
    ::ShowWindow(m_hWnd, SW_SHOWNA);
    ::UpdateWindow(m_hWnd);
    m_style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    m_exStyle = ::GetWindowLongA(m_hWnd, GWL_EXSTYLE);
    KeepInFront();
    ::SetTimer(m_hWnd, kKeepTimer, kKeepMs, nullptr);
    ShowWait();
}

CLockScreen::~CLockScreen()
{
    m_input.reset();
    m_bEnding = true;
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(m_hClockFont), static_cast<HGDIOBJ>(m_hTextFont),
                           static_cast<HGDIOBJ>(m_hCardBrush)})
        if (object != nullptr)
            ::DeleteObject(object);
    SecureWipe(m_code);
}

// The core of the lock: keys in, the password checked, nothing else opens it.
bool CLockScreen::TakeInput()
{
    DWORD now = ::GetTickCount();
    std::vector<KeyEvent> keys = m_input->TakeKeys();
    bool pointerMoved = m_input->TakePointerMoved();
    if (m_grace.Holds(now) && (pointerMoved || !keys.empty()))
        return true;
    for (const KeyEvent& event : keys) {
        LockKey key = m_keys.Translate(event);
        if (m_backoff.RemainingMs(now) > 0)
            continue;  // the box takes nothing while the wait runs
        if (key.kind == LockKey::typed)
            m_entry.Type(key.text, now);
        else if (key.kind == LockKey::erase)
            m_entry.Erase(now);
        else if (key.kind == LockKey::clear)
            m_entry.Clear();
        else if (key.kind == LockKey::enter && Check(now))
            return true;
    }
    ShowEntry();
    ShowCard();
    return false;
}

bool CLockScreen::Check(DWORD nowMs)
{
    // An empty box is no attempt: it must not bring the wait closer.
    if (m_entry.Length() == 0 && !m_code.empty())
        return false;
    if (m_entry.TakeAndCheck(m_code)) {
        m_backoff.OnRight();
        return true;
    }
    m_backoff.OnWrong(nowMs);
    if (m_stats.wrongPasswords++ == 0)
        m_stats.firstWrongAt = Now();
    m_stats.lastWrongAt = Now();
    SetChildText(m_hMessage, kWrong);
    ShowWait();
    return false;
}

// A control of the card, as wide as the card within its padding; the top
// and the height in pixels at 96 DPI.
HWND CLockScreen::AddChild(const char* className, DWORD exStyle, DWORD style, int id, int top, int height,
                           HFONT font, const char* text)
{
    int padding = ::MulDiv(kCardPadding, m_dpi, 96);
    HWND child = ::CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, m_card.left + padding,
                                   m_card.top + ::MulDiv(top, m_dpi, 96), m_card.right - m_card.left - 2 * padding,
                                   ::MulDiv(height, m_dpi, 96), m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ::SetWindowSubclass(child, ChildProc, 0, reinterpret_cast<DWORD_PTR>(this));
    return child;
}

HWND CLockScreen::AddText(int id, int top, int height, HFONT font, const char* text)
{
    return AddChild("STATIC", 0, SS_CENTER | SS_NOPREFIX, id, top, height, font, text);
}

// Top to bottom, in pixels at 96 DPI.
void CLockScreen::CreateChildren()
{
    SYSTEMTIME now = Now();
    m_shownMinute = TimeText(now);
    AddText(kClockId, 16, 56, m_hClockFont, m_shownMinute.c_str());
    AddText(kDateId, 74, 22, m_hTextFont, DateText(now).c_str());
    AddText(kAwayId, 98, 22, m_hTextFont, AwayText(UserName(), TimeText(m_stats.lockedAt)).c_str());
    AddText(kLabelId, 136, 20, m_hTextFont, "Password");
    m_hPassword = AddChild("EDIT", WS_EX_CLIENTEDGE, ES_PASSWORD | ES_AUTOHSCROLL, kPasswordId, 158, 26, m_hTextFont, "");
    AddText(kCapsId, 190, 20, m_hTextFont, kCapsLockOn);
    m_hMessage = AddText(kMessageId, 214, 40, m_hTextFont, m_code.empty() ? kNoPassword : kPrompt);
    AddText(kCountId, 258, 20, m_hTextFont, "");
    ShowCard();
}

// The children refuse what another program may ask of them: to close, to be
// destroyed, to show its text or to take its typing.
LRESULT CALLBACK CLockScreen::ChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data)
{
    auto* self = reinterpret_cast<CLockScreen*>(data);
    switch (message) {
    case WM_CLOSE: case WM_SYSCOMMAND: case WM_KEYDOWN: case WM_CHAR: case WM_PASTE: case WM_CUT: case WM_CLEAR:
    case WM_UNDO: case EM_SETREADONLY: case EM_REPLACESEL:
        return 0;
    case WM_SETTEXT:
        if (!self->m_bOwnText)
            return FALSE;
        break;
    case WM_DESTROY:
        if (!self->m_bEnding)
            return 0;
        break;
    case WM_NCDESTROY:
        if (!self->m_bEnding)
            return 0;
        ::RemoveWindowSubclass(hWnd, ChildProc, 0);
        break;
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
        Paint(dc, paint.rcPaint);
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT all;
        ::GetClientRect(m_hWnd, &all);
        Paint(reinterpret_cast<HDC>(wParam), all);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, kTextColour);
        ::SetBkColor(dc, kCardColour);
        return reinterpret_cast<LRESULT>(m_hCardBrush);
    }
    case WM_TIMER:
        if (wParam == kKeepTimer)
            KeepWhole();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            ::SetFocus(m_hPassword);
        return 0;
    case WM_WINDOWPOSCHANGING:
        if (!m_bEnding)
            KeepPlace(*reinterpret_cast<WINDOWPOS*>(lParam), VirtualScreen());
        return 0;
    case WM_STYLECHANGING:
        if (m_style != 0) {
            auto* styles = reinterpret_cast<STYLESTRUCT*>(lParam);
            styles->styleNew = static_cast<DWORD>(wParam == static_cast<WPARAM>(GWL_STYLE) ? m_style : m_exStyle);
        }
        return 0;
    case WM_DISPLAYCHANGE:  // a monitor added while locked is covered too
        KeepWhole();
        return 0;
    case WM_CLOSE:  // Alt+F4 or another program: only the owner ends the lock
    case WM_SYSCOMMAND:
    case WM_ENDSESSION:
        return 0;
    case WM_DESTROY:
        return 0;
    case WM_NCDESTROY: {
        if (!m_bEnding)
            return 0;
        HWND hWnd = std::exchange(m_hWnd, nullptr);
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    }
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

// The background, the card and, when asked, the looks of the card's
// controls.
void CLockScreen::Draw(HDC dc, const RECT& area, bool withChildren)
{
    m_background.Paint(dc, area);
    ::FillRect(dc, &m_card, m_hCardBrush);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); withChildren && child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) == 0)
            continue;
        RECT place;
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
        if (::GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
            ::DrawEdge(dc, &place, EDGE_SUNKEN, BF_RECT);
        PrintChild(dc, child);
    }
}

// The system may show a window's drawing between any two of its drawing
// calls, and this process's other threads let it do so at any moment. So
// the frame is made whole off screen, the children's looks included, and
// reaches the window in one copy: no frame shows the card with holes where
// its texts go. The children's own paints that follow change no pixel.
void CLockScreen::Paint(HDC dc, const RECT& area)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width, height);
    if (bitmap == nullptr) {  // short of memory: drawn in place, and the children paint themselves
        Draw(dc, area, false);
        return;
    }
    HDC frame = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(frame, bitmap);
    ::SetViewportOrgEx(frame, -area.left, -area.top, nullptr);
    Draw(frame, area, true);
    ::HideCaret(m_hPassword);  // copied over, a shown caret would blink out of step
    ::BitBlt(dc, area.left, area.top, width, height, frame, area.left, area.top, SRCCOPY);
    ::ShowCaret(m_hPassword);
    ::SelectObject(frame, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(frame);
}

void CLockScreen::SetChildText(HWND child, const std::string& text)
{
    char shown[128] = "";
    ::GetWindowTextA(child, shown, sizeof(shown));
    if (text == shown)
        return;
    m_bOwnText = true;
    ::SetWindowTextA(child, text.c_str());
    m_bOwnText = false;
}

// The clock, the Caps Lock warning and the count, as they are now.
void CLockScreen::ShowCard()
{
    SYSTEMTIME now = Now();
    std::string minute = TimeText(now);
    if (minute != m_shownMinute) {
        m_shownMinute = minute;
        SetChildText(::GetDlgItem(m_hWnd, kClockId), minute);
        SetChildText(::GetDlgItem(m_hWnd, kDateId), DateText(now));
    }
    HWND caps = ::GetDlgItem(m_hWnd, kCapsId);
    if (((::GetWindowLongA(caps, GWL_STYLE) & WS_VISIBLE) != 0) != m_keys.CapsLock())
        ::ShowWindow(caps, m_keys.CapsLock() ? SW_SHOWNA : SW_HIDE);
    SetChildText(::GetDlgItem(m_hWnd, kCountId),
                 WrongCountText(m_stats.wrongPasswords, TimeText(m_stats.firstWrongAt)));
}

void CLockScreen::ShowEntry()
{
    if (::GetWindowTextLengthA(m_hPassword) == m_entry.Length())
        return;
    SetChildText(m_hPassword, std::string(static_cast<size_t>(m_entry.Length()), '*'));
    ::SendMessageA(m_hPassword, EM_SETSEL, m_entry.Length(), m_entry.Length());  // the caret after the dots
}

// While the backoff runs the box takes no typing, shows no caret and
// counts down.
void CLockScreen::ShowWait()
{
    DWORD remaining = m_backoff.RemainingMs(::GetTickCount());
    if (remaining > 0)
        SetChildText(m_hMessage, WaitText(remaining));
    else if (m_backoff.WrongInARow() > 0)
        SetChildText(m_hMessage, std::string(kWrong) + " " + kPrompt);
    bool hide = remaining > 0;
    if (hide != m_bCaretHidden && (hide ? ::HideCaret(m_hPassword) : ::ShowCaret(m_hPassword)))
        m_bCaretHidden = hide;
}

void CLockScreen::KeepWhole()
{
    RestoreWhole(m_hWnd, VirtualScreen(), m_style, m_exStyle);
    for (HWND child : {m_hPassword, m_hMessage}) {
        if (!::IsWindowVisible(child))
            ::ShowWindow(child, SW_SHOWNA);
        if (!::IsWindowEnabled(child))
            ::EnableWindow(child, TRUE);
    }
    if (!m_input->Running())
        m_input.reset(new CInputGuard(m_hWnd));
    DWORD now = ::GetTickCount();
    m_input->ReportPointer(m_grace.Holds(now));  // asked often, the grace ends for good
    if (m_entry.ForgetIfIdle(now))
        ShowEntry();
    if (m_backoff.RemainingMs(now) > 0 || m_backoff.WrongInARow() > 0 || m_bCaretHidden)
        ShowWait();
    ShowCard();
    KeepInFront();
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
    if (::GetFocus() != m_hPassword)
        ::SetFocus(m_hPassword);
}
