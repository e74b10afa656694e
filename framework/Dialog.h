#pragma once

#include "framework/MessageMap.h"

// A modal dialog from a resource template. The dialog procedure is a static
// trampoline that finds the object in DWLP_USER; DoModal runs a modal loop of
// its own so that PreTranslateMessage sees every message before the dialog
// manager does.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // IDOK, IDCANCEL or what EndDialog was given; -1 if the dialog could not
    // be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // Exchanges the members with the controls; FALSE when a value was
    // refused (the user has been told, the focus is on the control).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // Only top-level windows hear of new system colours; the controls,
    // common and our own, need to be told.
    void OnSysColorChange();

    BEGIN_MSG_MAP(CDialog, CWnd)
        ON_COMMAND(IDOK, OnOK)
        ON_COMMAND(IDCANCEL, OnCancel)
        ON_WM_SYSCOLORCHANGE()
    END_MSG_MAP()

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL HandleInitDialog();
    void CenterIfUnplaced(const RECT& rectBefore);
    // A dialog's default processing is the dialog manager's, after its
    // procedure returns; a handler asks for it with SetMsgHandled(FALSE).
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) = delete;

    bool m_bContinueModal = false;
    int m_nModalResult = -1;
};
