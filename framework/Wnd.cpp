#include "framework/Wnd.h"

#include "framework/MessageBox.h"
#include "framework/WinApp.h"

#include <exception>
#include <map>

namespace {
// Every window that has an object of ours, so that a parent can find the
// object behind a child's handle (reflection, pre-translation). Built before
// WinMain runs, when no window exists yet; a function-local static would
// bring the thread-safe initialisation guard and with it the POSIX thread
// library into every executable.
std::map<HWND, CWnd*> g_permanentMap;

std::map<HWND, CWnd*>& PermanentMap()
{
    return g_permanentMap;
}

constexpr UINT_PTR kSubclassId = 1;
}  // namespace

CWnd::~CWnd()
{
    if (m_hWnd == nullptr)
        return;
    if (m_bSubclassed)
        ::RemoveWindowSubclass(m_hWnd, SubclassProc, kSubclassId);
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto found = PermanentMap().find(hWnd);
    return found == PermanentMap().end() ? nullptr : found->second;
}

HWND CWnd::GetSafeOwner(CWnd* parent)
{
    HWND owner = parent ? parent->m_hWnd : nullptr;
    if (owner == nullptr) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    // A pop-up cannot be owned by a child window.
    while (owner != nullptr && (::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    if (parent == nullptr && owner != nullptr)
        owner = ::GetLastActivePopup(owner);
    return owner;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    PermanentMap()[hWnd] = this;
}

void CWnd::Detach()
{
    auto found = PermanentMap().find(m_hWnd);
    if (found != PermanentMap().end() && found->second == this)
        PermanentMap().erase(found);
    m_hWnd = nullptr;
    m_bSubclassed = false;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    Attach(hWnd);
    PreSubclassWindow();
    if (!::SetWindowSubclass(hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        Detach();
        return FALSE;
    }
    m_bSubclassed = true;
    return TRUE;
}

void CWnd::PreSubclassWindow()
{
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR refData)
{
    CWnd* wnd = reinterpret_cast<CWnd*>(refData);
    LRESULT result = 0;
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        AfxReportCurrentException();
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
        wnd->Detach();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (RouteMessage(message, wParam, lParam, result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // A handler may send messages to its own window; each keeps its own
    // answer.
    bool outerHandled = m_bMsgHandled;
    BOOL handled = OfferToChild(message, wParam, lParam, &result) ||
                   ProcessWindowMessage(message, wParam, lParam, result);
    m_bMsgHandled = outerHandled;
    return handled;
}

BOOL CWnd::ProcessWindowMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

// Notifications go first to the child that sent them, when it is one of ours.
BOOL CWnd::OfferToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    HWND child = nullptr;
    if (message == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    else if (message == WM_COMMAND)
        child = reinterpret_cast<HWND>(lParam);
    CWnd* wnd = child ? FromHandlePermanent(child) : nullptr;
    return wnd != nullptr && wnd != this && wnd->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_NOTIFY && message != WM_COMMAND)
        return FALSE;
    bool outerHandled = m_bMsgHandled;
    BOOL handled = ProcessWindowMessage(OCM__BASE + message, wParam, lParam, *result);
    m_bMsgHandled = outerHandled;
    return handled;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_bSubclassed)
        return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

std::string AfxGetWindowText(HWND hWnd)
{
    int length = ::GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(hWnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied < 0 ? 0 : copied));
    return text;
}

void CWnd::CenterWindow()
{
    RECT area;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    RECT workArea;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    else
        area = workArea;
    RECT rect;
    GetWindowRect(&rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int x = (area.left + area.right) / 2 - width / 2;
    int y = (area.top + area.bottom) / 2 - height / 2;
    // Keep the whole window inside the work area where it fits.
    if (x + width > workArea.right)
        x = workArea.right - width;
    if (x < workArea.left)
        x = workArea.left;
    if (y + height > workArea.bottom)
        y = workArea.bottom - height;
    if (y < workArea.top)
        y = workArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AfxReportCurrentException()
{
    try {
        throw;
    } catch (const std::exception& e) {
        AfxMessageBox(e.what(), MB_ICONEXCLAMATION);
    } catch (...) {
        AfxMessageBox("An unexpected error occurred.", MB_ICONSTOP);
    }
}
