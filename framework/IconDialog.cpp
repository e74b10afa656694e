#include "framework/IconDialog.h"

#include "framework/WinApp.h"

CIconDialog::CIconDialog(UINT templateId, UINT iconId, CWnd* parent)
    : CDialog(templateId, parent), m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconId)))
{
}

BOOL CIconDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    return TRUE;
}

void CIconDialog::OnPaint()
{
    if (!IsIconic()) {
        SetMsgHandled(FALSE);
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(&client);
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
}

HCURSOR CIconDialog::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
