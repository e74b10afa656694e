#pragma once

#include "framework/Afx.h"

// Data exchange between a window's members and its controls. A DDX/DDV
// function that refuses a value throws a Failure carrying the message for
// the user; CDialog::UpdateData catches it once, shows the message and puts
// the focus back on the control exchanged last.
class CDataExchange {
public:
    struct Failure {
        std::string message;
    };

    CDataExchange(CWnd* window, BOOL saveAndValidate);

    // The control about to be exchanged; a later failure refers to it.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    [[noreturn]] void Fail(const std::string& message);
    // Focuses the control a failure refers to; an edit box gets its whole
    // text selected, ready to be typed over.
    void FocusFailedControl();
    void LimitLastControl(int maxChars);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bEditLastControl = false;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Check(CDataExchange* dx, int id, int& value);
// An integer beyond the range of int reads as the nearest int, so that a
// range check after it refuses it as out of range, not as a non-integer.
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars);
