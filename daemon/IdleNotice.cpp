#include "daemon/IdleNotice.h"

#include "daemon/LockTexts.h"

#include <string>

const char CIdleNotice::kClassName[] = "VellmoranIdleNotice";

namespace {
const int kWidth = 300, kHeight = 56, kMargin = 12;
}  // namespace

CIdleNotice::CIdleNotice()
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_INFOBK);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);  // fails harmlessly when it is registered already

    RECT work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    m_hWnd = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, "Vellmoran",
                               WS_POPUP | WS_BORDER, work.right - kWidth - kMargin,
                               work.bottom - kHeight - kMargin, kWidth, kHeight, nullptr, nullptr, instance,
                               nullptr);
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_hFont = ::CreateFontIndirectA(&metrics.lfMessageFont);
    m_hText = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0, 0,
                                kWidth - 2, kHeight - 2, m_hWnd, nullptr, instance, nullptr);
    ::SendMessageA(m_hText, WM_SETFONT, reinterpret_cast<WPARAM>(m_hFont), FALSE);
}

CIdleNotice::~CIdleNotice()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
    if (m_hFont != nullptr)
        ::DeleteObject(m_hFont);
}

void CIdleNotice::Show(DWORD secondsLeft)
{
    ::SetWindowTextA(m_hText, IdleNoticeText(secondsLeft).c_str());
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
}
