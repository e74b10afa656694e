#pragma once

#include "framework/Afx.h"

// Data exchange between a dialog's members and its controls. A refused value
// is reported by the DDX/DDV function itself, which then calls Fail(): the
// focus goes back to the control and the exchange ends, caught once in
// CDialog::UpdateData.
class CDataExchange {
public:
    struct Failure {};

    CDataExchange(CDialog* dialog, BOOL saveAndValidate);

    // The control about to be exchanged; later failures refer to it.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    [[noreturn]] void Fail();
    void LimitLastControl(int maxChars);

    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars);
