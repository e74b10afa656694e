#include "controls/FlatSpin.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

namespace {
// One top-level framework window for the whole run: it reflects the
// notifications of the spin controls back to them.
HWND Top()
{
    static CWnd top;
    if (top.m_hWnd == nullptr)
        top.SubclassWindow(
            ::CreateWindowExA(0, "#32770", "", WS_POPUP | WS_VISIBLE, 9, 9, 200, 60, 0, 0, 0, 0));
    return top.m_hWnd;
}

// The wizard's delay field: an edit, and a 16x23 up-down at its right edge.
struct Host {
    HWND edit = ::CreateWindowExA(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 63,
                                  23, Top(), nullptr, ::GetModuleHandleA(nullptr), nullptr);
    HWND spin;
    CFlatSpin probe;
    Host()
        : spin(::CreateWindowExA(0, UPDOWN_CLASSA, "",
                                 WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT
                                     | UDS_AUTOBUDDY | UDS_ARROWKEYS,
                                 76, 10, 16, 23, Top(), reinterpret_cast<HMENU>(1012), nullptr,
                                 nullptr))
    {
        probe.SubclassWindow(spin);
    }
    ~Host()
    {
        ::DestroyWindow(spin);
        ::DestroyWindow(edit);
        PumpMessages(0);
    }
    void Range(int lower, int upper)
    {
        ::SendMessageA(spin, UDM_SETRANGE32, lower, upper);
        PumpMessages(0);
    }
    // Overtypes the edit's text key by key.
    void Type(const char* text)
    {
        ::SetFocus(edit);
        ::SendMessageA(edit, EM_SETSEL, 0, -1);
        for (const char* c = text; *c != '\0'; ++c)
            ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
        PumpMessages(0);
    }
    // What the parent answers, after reflection, to a step of the arrows.
    LRESULT Step(int pos, int delta)
    {
        NMUPDOWN step = {{spin, 1012, UDN_DELTAPOS}, pos, delta};
        return ::SendMessageA(Top(), WM_NOTIFY, 1012, reinterpret_cast<LPARAM>(&step));
    }
    // A press with the pointer over the arrow, where the paint shows it
    // pressed. Wine learns of the pointer's move later.
    void Press(bool up)
    {
        POINT screen = {8, up ? 6 : 16};
        ::ClientToScreen(spin, &screen);
        ::SetCursorPos(screen.x, screen.y);
        for (int i = 0;
             i < 200 && ::GetMessagePos() != static_cast<DWORD>(MAKELONG(screen.x, screen.y)); ++i) {
            ::PostMessageA(spin, WM_NULL, 0, 0);
            ::Sleep(5);
            PumpMessages(0);
        }
        ::PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, up ? 6 : 16));
        PumpMessages(0);
    }
    void Release()
    {
        ::PostMessageA(spin, WM_LBUTTONUP, 0, 0);
        PumpMessages(0);
    }
};

// What the 16x23 control shows once its paints are done, row by row.
std::vector<COLORREF> Shot(HWND spin)
{
    std::vector<COLORREF> pixels;
    PumpMessages(0);
    HDC dc = ::GetDC(spin);
    for (int i = 0; i < 16 * 23; ++i)
        pixels.push_back(::GetPixel(dc, i % 16, i / 16));
    ::ReleaseDC(spin, dc);
    return pixels;
}

// Which arrow the control shows greyed: 1 the upper, 2 the lower, 0 none,
// -1 a broken look. Greyed, the glyph is in shadow colour over a highlight
// copy of itself; the other arrow is the reference. The arrows' insides,
// within their button edges, leave the odd middle row 11 between them.
int GreyedArrow(HWND spin)
{
    const std::vector<COLORREF> shot = Shot(spin);
    auto n = [&shot](int half, COLORREF colour) {
        int count = 0;
        for (int x = 1; x < 13; ++x)
            for (int y = half ? 13 : 3; y < (half ? 20 : 10); ++y)
                count += shot[y * 16 + x] == colour;
        return count;
    };
    const COLORREF glyph = RGB(0, 0, 0), shadow = ::GetSysColor(COLOR_BTNSHADOW),
                   lit = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const int g = n(0, glyph) > 0 ? 1 : 0, a = 1 - g;
    if (n(g, glyph) > 0)
        return 0;
    return n(g, shadow) == n(a, shadow) + n(a, glyph) && n(g, lit) > n(a, lit) ? g + 1 : -1;
}
}  // namespace

// Each row sets the range (read again by the control) and then types a
// value: beyond the range it counts as the nearest end, without digits as
// the lower one. A range of one value, reached by a step, is both ends; read
// at a range change, it is the lower end of a downward range.
TEST(FlatSpin, TypedValues)
{
    const struct {
        int lower, upper;
        const char* text;
        int greyed;
    } rows[] = {{1, 30, "30", 1},
                {1, 30, "15", 0},
                {1, 30, "99", 1},
                {1, 30, "abc", 2},
                {1, 30,
                 "\xA0"
                 "1\xA0\xA0"
                 "2",
                 0},
                {100, 0, "100", 2},
                {100, 0, "0", 1},
                {100, 0, "3", 0},
                {5, 5, "5", 0},
                {5, 5, "9", 1}};
    Host host;
    for (const auto& r : rows) {
        host.Range(r.lower, r.upper);
        host.Type(r.text);
        EXPECT_EQ(r.greyed, GreyedArrow(host.spin))
            << r.lower << ".." << r.upper << " typed " << r.text;
    }
}

// A click that reaches an end greys that arrow at once, and a click on a
// greyed arrow is refused.
TEST(FlatSpin, Ends)
{
    Host host;
    ::SendMessageA(host.spin, UDM_SETRANGE, 0,
                   MAKELPARAM(30, 1));  // the 16-bit message is followed too
    host.Type("2"), host.Press(false);
    EXPECT_EQ(2, GreyedArrow(host.spin));
    host.Release();
    EXPECT_EQ(1, host.Step(1, -1));  // what a click on the greyed arrow sends
    host.Type("30");
    EXPECT_EQ(1, host.Step(30, 1));
    EXPECT_EQ(1, GreyedArrow(host.spin));
}
