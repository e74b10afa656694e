#include "tests/controls/SpinHost.h"

#include <stdexcept>

namespace {
constexpr int kSpinId = 1012;
constexpr int kEditId = 1013;
constexpr char kHostClass[] = "VellmoranSpinTestHost";

void RegisterHostClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHostClass;
    registered = ::RegisterClassA(&wc) != 0;
}
}  // namespace

void DrainMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

Capture CaptureClient(HWND hWnd)
{
    DrainMessages();
    ::UpdateWindow(hWnd);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    Capture capture;
    capture.width = rc.right;
    capture.height = rc.bottom;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDC = ::GetDC(hWnd);
    HDC memDC = ::CreateCompatibleDC(windowDC);
    HBITMAP dib = ::CreateDIBSection(windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memDC, dib);
    ::BitBlt(memDC, 0, 0, capture.width, capture.height, windowDC, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* source = static_cast<const DWORD*>(bits);
    for (int i = 0; i < capture.width * capture.height; ++i) {
        DWORD bgr = source[i];
        capture.pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    }
    ::SelectObject(memDC, old);
    ::DeleteObject(dib);
    ::DeleteDC(memDC);
    ::ReleaseDC(hWnd, windowDC);
    return capture;
}

// One host window for the whole run: Wine waits up to two seconds for a
// window manager when a shown top-level window goes away, and Xvfb has none.
HostWnd& SpinHost::Parent()
{
    static HostWnd host;
    if (host.m_hWnd == nullptr) {
        RegisterHostClass();
        HWND window = ::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kHostClass, "Spin host",
                                        WS_POPUP | WS_VISIBLE, 100, 100, 160, 60, nullptr, nullptr,
                                        ::GetModuleHandleA(nullptr), nullptr);
        if (window == nullptr || !host.SubclassWindow(window))
            throw std::runtime_error("no host window");
        ::SetForegroundWindow(window);
    }
    return host;
}

void MovePointer(POINT screen)
{
    ::SetCursorPos(screen.x, screen.y);
    // Wine learns of the pointer's move from the X server a little later;
    // the messages that follow must carry the new position.
    DWORD deadline = ::GetTickCount() + 1000;
    for (;;) {
        ::PostThreadMessageA(::GetCurrentThreadId(), WM_NULL, 0, 0);
        DrainMessages();
        DWORD pos = ::GetMessagePos();
        if ((static_cast<short>(LOWORD(pos)) == screen.x && static_cast<short>(HIWORD(pos)) == screen.y) ||
            ::GetTickCount() > deadline)
            return;
        ::Sleep(5);
    }
}

SpinHost::SpinHost(const Options& options)
{
    HWND window = Parent().m_hWnd;
    Parent().deltas.clear();
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_edit = ::CreateWindowExA(WS_EX_CLIENTEDGE, options.buddyClass, "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                               10, 10, 63, options.editHeight, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
    m_spin = ::CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | options.spinStyle, 76, 10, 16,
                               options.editHeight, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSpinId)), instance, nullptr);
    if (m_edit == nullptr || m_spin == nullptr)
        throw std::runtime_error("no spin or edit");
    if (options.attach)
        m_probe.SubclassWindow(m_spin);
    DrainMessages();
}

SpinHost::~SpinHost()
{
    for (HWND child : {m_spin, m_edit, m_extra})
        if (::IsWindow(child))
            ::DestroyWindow(child);
    DrainMessages();
}

HWND SpinHost::AddSpin(DWORD style)
{
    m_extra = ::CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | style, 120, 10, 16, 23, Window(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSpinId + 100)),
                                ::GetModuleHandleA(nullptr), nullptr);
    return m_extra;
}

void SpinHost::SetRange(int lower, int upper)
{
    ::SendMessageA(m_spin, UDM_SETRANGE32, static_cast<WPARAM>(lower), upper);
    DrainMessages();
}

void SpinHost::SetValue(int value)
{
    SetText(std::to_string(value).c_str());
}

int SpinHost::Value() const
{
    return static_cast<int>(::SendMessageA(m_spin, UDM_GETPOS32, 0, 0));
}

void SpinHost::Type(const char* text)
{
    ::SetFocus(m_edit);
    ::SendMessageA(m_edit, EM_SETSEL, 0, -1);
    for (const char* c = text; *c != '\0'; ++c)
        ::SendMessageA(m_edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
    DrainMessages();
}

void SpinHost::SetText(const char* text)
{
    ::SetWindowTextA(m_edit, text);
    DrainMessages();
}

POINT SpinHost::AwayFromArrows() const
{
    POINT away = {150, 50};
    ::ClientToScreen(Window(), &away);
    return away;
}

POINT SpinHost::HalfCentre(bool first) const
{
    RECT rc;
    ::GetClientRect(m_spin, &rc);
    if (::GetWindowLongA(m_spin, GWL_STYLE) & UDS_HORZ)
        return first ? POINT{rc.right / 4, rc.bottom / 2} : POINT{rc.right * 3 / 4, rc.bottom / 2};
    return first ? POINT{rc.right / 2, rc.bottom / 4} : POINT{rc.right / 2, rc.bottom * 3 / 4};
}

void SpinHost::Press(bool first)
{
    m_pressedAt = HalfCentre(first);
    POINT screen = m_pressedAt;
    ::ClientToScreen(m_spin, &screen);
    MovePointer(screen);
    ::PostMessageA(m_spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(m_pressedAt.x, m_pressedAt.y));
    DrainMessages();
}

void SpinHost::Release()
{
    ::PostMessageA(m_spin, WM_LBUTTONUP, 0, MAKELPARAM(m_pressedAt.x, m_pressedAt.y));
    DrainMessages();
}

void SpinHost::Click(bool first)
{
    Press(first);
    Release();
}

void ArrowHalves(FlatSpinProbe& spin, RECT* first, RECT* second)
{
    RECT area = spin.m_rcClient;
    if (::IsWindow(spin.m_hWndBuddy) && spin.m_nAlign != 0) {
        ::InflateRect(&area, 0, -2);
        (spin.m_nAlign == 1 ? area.right : area.left) += spin.m_nAlign == 1 ? -2 : 2;
    }
    *first = area;
    *second = area;
    if (spin.m_bVertical) {
        int h = (area.bottom - area.top) / 2;
        first->bottom = area.top + h;
        second->top = area.bottom - h;
    } else {
        int w = (area.right - area.left) / 2;
        first->right = area.left + w;
        second->left = area.right - w;
    }
}
