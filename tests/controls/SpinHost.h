#pragma once

#include "controls/FlatSpin.h"

#include <memory>
#include <vector>

// CFlatSpin with its state open to the tests.
class FlatSpinProbe : public CFlatSpin {
public:
    using CFlatSpin::m_bBuddyHooked;
    using CFlatSpin::m_bFlatDraw;
    using CFlatSpin::m_bRangeInverted;
    using CFlatSpin::m_bShowPressed;
    using CFlatSpin::m_bVertical;
    using CFlatSpin::m_hPenFace;
    using CFlatSpin::m_hPenLight;
    using CFlatSpin::m_hWndBuddy;
    using CFlatSpin::m_nAlign;
    using CFlatSpin::m_nLimit;
    using CFlatSpin::m_nMax;
    using CFlatSpin::m_nMin;
    using CFlatSpin::m_nPos;
    using CFlatSpin::m_rcClient;
    using CFlatSpin::m_rcPressed;
    using CFlatSpin::s_hBuddyHook;
    using CFlatSpin::s_mapBuddies;
};

// The parent window: a framework window, so that it reflects notifications
// to the spin control; it keeps every UDN_DELTAPOS that reaches its own
// handlers.
class HostWnd : public CWnd {
public:
    std::vector<NMUPDOWN> deltas;

    BEGIN_MSG_MAP(HostWnd, CWnd)
        ON_MESSAGE(WM_NOTIFY, OnNotify)
    END_MSG_MAP()

private:
    LRESULT OnNotify(WPARAM, LPARAM lParam)
    {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == UDN_DELTAPOS)
            deltas.push_back(*reinterpret_cast<const NMUPDOWN*>(lParam));
        return 0;
    }
};

// The client area of a window as it is on the screen, one COLORREF a pixel.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    bool operator==(const Capture& other) const
    {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};

// Paints whatever is due and copies the window's client area.
Capture CaptureClient(HWND hWnd);

// Handles every message that is waiting, paints included.
void DrainMessages();

// Moves the mouse pointer and waits until the thread's messages carry the
// new position (GetMessagePos), as a real move of the mouse would.
void MovePointer(POINT screen);

// An edit box and an up-down control in a visible top-level window, laid
// out like the wizard's delay field (the up-down at the edit's right edge,
// its border joined to the edit's). The up-down is attached to a
// FlatSpinProbe unless told otherwise.
class SpinHost {
public:
    static constexpr DWORD kWizardStyle = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;

    struct Options {
        DWORD spinStyle = kWizardStyle;
        const char* buddyClass = "Edit";
        int editHeight = 23;
        bool attach = true;
    };

    SpinHost() : SpinHost(Options()) {}
    explicit SpinHost(const Options& options);
    ~SpinHost();
    SpinHost(const SpinHost&) = delete;
    SpinHost& operator=(const SpinHost&) = delete;

    HWND Window() const { return Parent().m_hWnd; }
    HWND Edit() const { return m_edit; }
    HWND SpinWindow() const { return m_spin; }
    FlatSpinProbe& Spin() { return m_probe; }
    // The top-level window that all hosts share; it records the notifications
    // that reach it since the last host was made.
    static HostWnd& Parent();

    // An up-down control created beside the first, without a buddy.
    HWND AddSpin(DWORD style);

    void SetRange(int lower, int upper);
    // The value set by program, through the buddy's text.
    void SetValue(int value);
    int Value() const;
    // Replaces the buddy's text keystroke by keystroke, the first key
    // overtyping the whole old text.
    void Type(const char* text);
    void SetText(const char* text);

    // A screen point on the host window away from the arrows. The pointer is
    // kept on the host: Wine takes it back to where the X server had it
    // when it is moved onto the bare screen and back.
    POINT AwayFromArrows() const;
    // Centre of the arrow half in client coordinates of the up-down.
    POINT HalfCentre(bool first) const;
    // A mouse press on a half with the pointer over it; the paint it causes
    // is done when it returns.
    void Press(bool first);
    void Release();
    void Click(bool first);

    Capture Paint() const { return CaptureClient(m_spin); }

private:
    HWND m_edit = nullptr;
    HWND m_spin = nullptr;
    HWND m_extra = nullptr;
    FlatSpinProbe m_probe;
    POINT m_pressedAt = {0, 0};
};

// The two arrow halves as the control splits its client rectangle.
void ArrowHalves(FlatSpinProbe& spin, RECT* first, RECT* second);
