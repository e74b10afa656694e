#include "controls/FlatSpin.h"

#include <cstdlib>
#include <cstring>
#include <vector>

std::map<HWND, HWND> CFlatSpin::s_mapBuddies;
HHOOK CFlatSpin::s_hBuddyHook = nullptr;

CFlatSpin::~CFlatSpin()
{
    DeletePens();
}

void CFlatSpin::CreatePens()
{
    m_hPenLight = ::CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_3DLIGHT));
    m_hPenDkShadow = ::CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_3DDKSHADOW));
    m_hPenShadow = ::CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_BTNSHADOW));
    m_hPenHilight = ::CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    m_hPenFace = ::CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_BTNFACE));
}

void CFlatSpin::DeletePens()
{
    for (HPEN* pen : {&m_hPenLight, &m_hPenDkShadow, &m_hPenShadow, &m_hPenHilight, &m_hPenFace}) {
        if (*pen != nullptr)
            ::DeleteObject(*pen);
        *pen = nullptr;
    }
}

void CFlatSpin::PreSubclassWindow()
{
    CreatePens();
    RefreshFromControl();
    CSpinButtonCtrl::PreSubclassWindow();
}

LRESULT CFlatSpin::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CSpinButtonCtrl::WindowProc(message, wParam, lParam);
    switch (message) {
    case UDM_SETRANGE:
    case UDM_SETRANGE32:
        RefreshFromControl();
        break;
    case UDM_SETBUDDY:
        // The map entry belongs to the old buddy, which only m_hWndBuddy
        // still knows.
        DetachBuddy();
        RefreshFromControl();
        // Right behind the buddy in the Z order, and so in the tab order.
        if (::IsWindow(m_hWndBuddy))
            ::SetWindowPos(m_hWnd, m_hWndBuddy, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        break;
    }
    return result;
}

void CFlatSpin::RefreshFromControl()
{
    m_hWndBuddy = reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY));

    DWORD style = GetStyle();
    if (style & UDS_WRAP)
        m_bFlatDraw = false;
    // A wrapping control never reaches an end, so the flat look with its
    // greyed arrows would only mislead: it stays the plain control for good.
    if (!m_bFlatDraw)
        return;

    if (style & UDS_ALIGNRIGHT)
        m_nAlign = 1;
    else if (style & UDS_ALIGNLEFT)
        m_nAlign = 2;
    if (style & UDS_HORZ)
        m_bVertical = false;

    int lower = 0;
    int upper = 0;
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    m_bRangeInverted = !(lower < upper);
    m_nMin = m_bRangeInverted ? upper : lower;
    m_nMax = m_bRangeInverted ? lower : upper;

    GetClientRect(&m_rcClient);

    m_nPos = static_cast<int>(SendMessage(UDM_GETPOS));
    m_nLimit = m_nPos == m_nMin ? 2 : m_nPos == m_nMax ? 1 : 0;

    if (::IsWindow(m_hWndBuddy)) {
        // Only the first four letters count, so that edit classes derived
        // by name ("EditEx" and the like) are followed too.
        char className[5] = {};
        ::GetClassNameA(m_hWndBuddy, className, sizeof className);
        if (std::strcmp(className, "Edit") == 0) {
            m_bBuddyHooked = true;
            if (s_hBuddyHook == nullptr)
                s_hBuddyHook = ::SetWindowsHookExA(WH_CALLWNDPROC, BuddyEditHookProc, nullptr,
                                                   ::GetCurrentThreadId());
            auto entry = s_mapBuddies.find(m_hWndBuddy);
            if (entry == s_mapBuddies.end())
                s_mapBuddies.emplace(m_hWndBuddy, m_hWnd);
            else
                entry->second = m_hWnd;
        }
    }
    Invalidate(FALSE);
}

void CFlatSpin::DetachBuddy()
{
    if (!m_bBuddyHooked)
        return;
    auto entry = s_mapBuddies.find(m_hWndBuddy);
    // A later control that took over the buddy keeps its entry.
    if (entry == s_mapBuddies.end() || entry->second != m_hWnd)
        return;
    s_mapBuddies.erase(entry);
    if (s_mapBuddies.empty() && s_hBuddyHook != nullptr) {
        ::UnhookWindowsHookEx(s_hBuddyHook);
        s_hBuddyHook = nullptr;
    }
}

namespace {
// The buddy's value as the user sees it: the bytes 0xA0 (a non-breaking
// space, the thousands separator of some locales) are left out.
int ReadBuddyValue(HWND edit)
{
    int length = ::GetWindowTextLengthA(edit);
    std::vector<char> text(static_cast<size_t>(length < 0 ? 0 : length) + 1, '\0');
    ::GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
    std::string digits;
    for (const char* c = text.data(); *c != '\0'; ++c)
        if (static_cast<unsigned char>(*c) != 0xA0)
            digits += *c;
    return std::atoi(digits.c_str());
}
}  // namespace

// An edit sends EN_UPDATE both when the user types and when a program sets
// its text; a zero step at the typed value lets the spin control follow it.
LRESULT CALLBACK CFlatSpin::BuddyEditHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = s_hBuddyHook;
    try {
        const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code >= 0 && sent->message == WM_COMMAND && HIWORD(sent->wParam) == EN_UPDATE) {
            HWND edit = reinterpret_cast<HWND>(sent->lParam);
            auto entry = s_mapBuddies.find(edit);
            if (entry != s_mapBuddies.end()) {
                HWND spin = entry->second;
                NMUPDOWN step = {};
                step.hdr.hwndFrom = spin;
                step.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(spin));
                step.hdr.code = UDN_DELTAPOS;
                step.iPos = ReadBuddyValue(edit);
                step.iDelta = 0;
                ::SendMessageA(::GetParent(spin), WM_NOTIFY, step.hdr.idFrom, reinterpret_cast<LPARAM>(&step));
            }
        }
    } catch (...) {
        AfxReportCurrentException();
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

BOOL CFlatSpin::OnDeltaPos(NMHDR* notify, LRESULT* result)
{
    *result = 0;
    if (!m_bFlatDraw)
        return FALSE;
    const NMUPDOWN* step = reinterpret_cast<const NMUPDOWN*>(notify);

    int pos = step->iPos + step->iDelta;
    if (pos > m_nMax)
        pos = m_nMax;
    else if (pos < m_nMin)
        pos = m_nMin;
    if (pos == m_nPos) {
        // Refused: the up-down control keeps its value and the parent never
        // hears of a step that went nowhere.
        *result = 1;
        return TRUE;
    }

    if (step->iDelta != 0)
        m_bShowPressed = true;
    if (m_nMin < pos && pos < m_nMax) {
        m_nLimit = 0;
    } else {
        if (pos == m_nMax)
            m_nLimit = m_nMax == m_nMin ? 3 : 1;
        else
            m_nLimit = 2;
        // An arrow that reached the end is shown greyed, not pressed.
        m_bShowPressed = false;
    }
    m_nPos = pos;
    Invalidate(FALSE);
    return FALSE;
}

void CFlatSpin::OnLButtonDown(UINT, POINT)
{
    ::SetRectEmpty(&m_rcPressed);
    SetMsgHandled(FALSE);
}

BOOL CFlatSpin::OnEraseBkgnd(HDC)
{
    return TRUE;
}

void CFlatSpin::OnLButtonUp(UINT, POINT)
{
    Invalidate(TRUE);
    UpdateWindow();
    SetMsgHandled(FALSE);
}

void CFlatSpin::OnDestroy()
{
    DetachBuddy();
    SetMsgHandled(FALSE);
}

void CFlatSpin::OnSysColorChange()
{
    DeletePens();
    CreatePens();
    Invalidate(FALSE);
    SetMsgHandled(FALSE);
}
