#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent)
{
}

namespace {
// Offers a message to the objects of the window it is for and of its parents,
// innermost first, up to the top-level window.
BOOL PreTranslateThroughParents(MSG* msg)
{
    for (HWND hWnd = msg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd))
            if (wnd->PreTranslateMessage(msg))
                return TRUE;
        if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}
}  // namespace

INT_PTR CDialog::DoModal()
{
    AfxInitCommonControls();
    HWND owner = GetSafeOwner(m_pParentWnd);
    bool enableOwner = false;
    if (owner != nullptr && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        enableOwner = true;
    }

    m_bContinueModal = true;
    m_nModalResult = -1;
    HWND hWnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    if (hWnd != nullptr) {
        if (m_bContinueModal && !::IsWindowVisible(hWnd))
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
        MSG msg;
        while (m_bContinueModal) {
            if (::GetMessageA(&msg, nullptr, 0, 0) <= 0) {
                // Leave WM_QUIT for the loop that owns the thread.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                m_nModalResult = -1;
                break;
            }
            if (!PreTranslateThroughParents(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    // The owner is enabled before the dialog goes, so that activation passes
    // to it and not to some other application.
    if (enableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner != nullptr && ::GetActiveWindow() == hWnd)
        ::SetActiveWindow(owner);
    if (hWnd != nullptr)
        ::DestroyWindow(hWnd);
    m_bContinueModal = false;
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_bContinueModal = false;
    // Wakes the modal loop, which may be waiting in GetMessage.
    if (m_hWnd != nullptr)
        PostMessage(WM_NULL);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure& failure) {
        AfxMessageBox(failure.message, MB_ICONEXCLAMATION);
        dx.FocusFailedControl();
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

namespace {
BOOL CALLBACK ForwardSysColorChange(HWND child, LPARAM)
{
    ::SendMessageA(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}
}  // namespace

void CDialog::OnSysColorChange()
{
    ::EnumChildWindows(m_hWnd, ForwardSysColorChange, 0);
    SetMsgHandled(FALSE);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                 (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    return input && ::IsDialogMessageA(m_hWnd, msg);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        dialog->Attach(hWnd);
    } else {
        dialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (dialog == nullptr)
        return FALSE;

    INT_PTR answer = FALSE;
    try {
        answer = message == WM_INITDIALOG ? dialog->HandleInitDialog() : dialog->Dispatch(message, wParam, lParam);
    } catch (...) {
        AfxReportCurrentException();
        answer = message == WM_INITDIALOG;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        dialog->Detach();
    }
    return answer;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    bool handled = RouteMessage(message, wParam, lParam, result) != FALSE;
    // Commands that no window took go to the application last.
    if (!handled && message == WM_COMMAND && AfxGetApp() != nullptr)
        handled = AfxGetApp()->OnCmdMsg(LOWORD(wParam)) != FALSE;
    if (!handled)
        return FALSE;

    // These messages return their result directly, all others through
    // DWLP_MSGRESULT.
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

BOOL CDialog::HandleInitDialog()
{
    RECT rectBefore;
    GetWindowRect(&rectBefore);
    BOOL result = OnInitDialog();
    CenterIfUnplaced(rectBefore);
    return result;
}

// A dialog that is still hidden, was not moved during OnInitDialog, has no
// enabled owner and asks for no placement of its own is centred.
void CDialog::CenterIfUnplaced(const RECT& rectBefore)
{
    DWORD style = GetStyle();
    if (style & (WS_VISIBLE | WS_CHILD | DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN))
        return;
    RECT rect;
    GetWindowRect(&rect);
    if (rect.left != rectBefore.left || rect.top != rectBefore.top)
        return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && ::IsWindowEnabled(owner))
        return;
    CenterWindow();
}
