#include "framework/DataExchange.h"

#include "framework/MessageBox.h"
#include "framework/Wnd.h"

#include <climits>
#include <cstdlib>

CDataExchange::CDataExchange(CWnd* window, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(window)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(id);
    m_bEditLastControl = false;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND hWnd = PrepareCtrl(id);
    m_bEditLastControl = true;
    return hWnd;
}

void CDataExchange::Fail(const std::string& message)
{
    throw Failure{message};
}

void CDataExchange::FocusFailedControl()
{
    if (!m_bSaveAndValidate || m_hWndLastControl == nullptr)
        return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl)
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

void CDataExchange::LimitLastControl(int maxChars)
{
    if (m_hWndLastControl != nullptr)
        ::SendMessageA(m_hWndLastControl, EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd == nullptr)
        control.SubclassWindow(dx->PrepareCtrl(id));
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND hWnd = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(hWnd, BM_GETCHECK, 0, 0));
        return;
    }
    // A check box knows only unchecked, checked and indeterminate.
    if (value < 0 || value > 2)
        value = 0;
    ::SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

namespace {
// Sets the text only when it differs, so that an exchange does not flicker
// or send needless change notifications.
void SetControlText(HWND hWnd, const std::string& text)
{
    if (AfxGetWindowText(hWnd) != text)
        ::SetWindowTextA(hWnd, text.c_str());
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Blanks, a decimal number and blanks; nothing else. A number that reads as
// zero must start with the digit 0: "-0" and "+0" are refused like text.
// Beyond int's range the value is the nearest int.
bool ParseInteger(const std::string& text, int& value)
{
    const char* p = text.c_str();
    while (IsBlank(*p))
        ++p;
    char first = *p;
    char* end = nullptr;
    // Out of range, strtol gives the nearest long, which is an int here.
    static_assert(sizeof(long) == sizeof(int), "long and int are both 32 bits wide");
    long parsed = std::strtol(p, &end, 10);
    if (parsed == 0 && first != '0')
        return false;
    while (IsBlank(*end))
        ++end;
    if (*end != '\0')
        return false;
    value = static_cast<int>(parsed);
    return true;
}
}  // namespace

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    HWND hWnd = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        SetControlText(hWnd, std::to_string(value));
        return;
    }
    if (!ParseInteger(AfxGetWindowText(hWnd), value))
        dx->Fail("Please enter an integer.");
}

void DDX_Text(CDataExchange* dx, int id, std::string& value)
{
    HWND hWnd = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = AfxGetWindowText(hWnd);
    else
        SetControlText(hWnd, value);
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue)
{
    if (!dx->m_bSaveAndValidate || (value >= minValue && value <= maxValue))
        return;
    dx->Fail(AfxFormatString2("Please enter an integer between %1 and %2.", std::to_string(minValue),
                              std::to_string(maxValue)));
}

// Applies to the control exchanged just before: on loading, the limit also
// becomes the edit box's own text limit.
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars)
{
    if (!dx->m_bSaveAndValidate) {
        dx->LimitLastControl(maxChars);
        return;
    }
    if (static_cast<int>(value.size()) <= maxChars)
        return;
    dx->Fail(AfxFormatString1("Please enter no more than %1 characters.", std::to_string(maxChars)));
}
