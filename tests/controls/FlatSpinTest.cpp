#include "controls/FlatSpin.h"
#include "tests/support/MessageLog.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {
void Drain()
{
    for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
        ::DispatchMessageA(&msg);
}

// One top-level framework window for the whole run: it reflects the
// notifications of the spin controls back to them.
CWnd& Top()
{
    static CWnd top;
    if (top.m_hWnd == nullptr)
        top.SubclassWindow(::CreateWindowExA(0, "#32770", "", WS_POPUP | WS_VISIBLE, 9, 9, 200, 60, 0, 0, 0, 0));
    return top;
}

constexpr DWORD kWizard = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;

// The wizard's delay field: an edit, and a 16x23 up-down at its right edge.
struct Host {
    HWND edit, spin;
    CFlatSpin probe;
    explicit Host(DWORD style = kWizard, const char* editClass = "Edit", bool attach = true)
    {
        edit = ::CreateWindowExA(WS_EX_CLIENTEDGE, editClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 63, 23, Top().m_hWnd,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
        spin = ::CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | style, 76, 10, 16, 23, Top().m_hWnd,
                                 reinterpret_cast<HMENU>(1012), nullptr, nullptr);
        if (attach)
            probe.SubclassWindow(spin);
        Drain();
    }
    ~Host() { ::DestroyWindow(spin), ::DestroyWindow(edit), Drain(); }
    void Range(int lower, int upper) { ::SendMessageA(spin, UDM_SETRANGE32, lower, upper), Drain(); }
    int Value() const { return static_cast<int>(::SendMessageA(spin, UDM_GETPOS32, 0, 0)); }
    // The paints the control receives, as it receives them.
    MessageLog Paints() { return MessageLog([this](HWND w) { return w == spin; }, {WM_PAINT}); }
    // Overtypes the edit's text key by key.
    void Type(const char* text)
    {
        ::SetFocus(edit);
        ::SendMessageA(edit, EM_SETSEL, 0, -1);
        for (const char* c = text; *c != '\0'; ++c)
            ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
        Drain();
    }
    // What the parent answers, after reflection, to a step of the arrows.
    LRESULT Step(int pos, int delta)
    {
        NMUPDOWN step = {{spin, 1012, UDN_DELTAPOS}, pos, delta};
        return ::SendMessageA(Top().m_hWnd, WM_NOTIFY, 1012, reinterpret_cast<LPARAM>(&step));
    }
    // A press with the pointer over the arrow: the paint shows the arrow
    // under the pointer pressed. Wine learns of the pointer's move later.
    void Press(bool up)
    {
        POINT screen = {8, up ? 6 : 16};
        ::ClientToScreen(spin, &screen);
        ::SetCursorPos(screen.x, screen.y);
        for (int i = 0; i < 200 && ::GetMessagePos() != static_cast<DWORD>(MAKELONG(screen.x, screen.y)); ++i)
            ::PostMessageA(spin, WM_NULL, 0, 0), ::Sleep(5), Drain();
        ::PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, up ? 6 : 16)), Drain();
    }
    void Release() { ::PostMessageA(spin, WM_LBUTTONUP, 0, 0), Drain(); }
    void Click(bool up) { Press(up), Release(); }
};

// What the 16x23 control shows once its paints are done, row by row.
using Pixels = std::vector<COLORREF>;
Pixels Shot(HWND spin)
{
    Drain();
    Pixels pixels;
    HDC dc = ::GetDC(spin);
    for (int i = 0; i < 16 * 23; ++i)
        pixels.push_back(::GetPixel(dc, i % 16, i / 16));
    ::ReleaseDC(spin, dc);
    return pixels;
}
int Count(const Pixels& shot, const RECT& area, COLORREF colour)
{
    int n = 0;
    for (int i = 0; i < 16 * 23; ++i)
        n += shot[i] == colour && ::PtInRect(&area, POINT{i % 16, i / 16});
    return n;
}

const COLORREF kGlyph = RGB(0, 0, 0), kFace = ::GetSysColor(COLOR_BTNFACE);
const COLORREF kShadow = ::GetSysColor(COLOR_BTNSHADOW), kLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
// The arrows inside the border joined to the buddy's (two pixels at the top,
// right and bottom), and their insides within the button edge. 23 pixels
// high, they leave the odd middle row 11 between them.
const RECT kHalf[2] = {{0, 2, 14, 11}, {0, 12, 14, 21}}, kInside[2] = {{1, 3, 13, 10}, {1, 13, 13, 20}};

// Which arrow the control shows greyed: 1 the upper, 2 the lower, 0 none,
// -1 a broken look. Greyed, the glyph is in shadow colour over a highlight
// copy of itself; the other arrow is the reference.
int GreyedArrow(HWND spin)
{
    const Pixels shot = Shot(spin);
    auto n = [&](int half, COLORREF colour) { return Count(shot, kInside[half], colour); };
    const int g = n(0, kGlyph) > 0 ? 1 : 0, a = 1 - g;
    if (n(g, kGlyph) > 0)
        return 0;
    return n(g, kShadow) == n(a, kShadow) + n(a, kGlyph) && n(g, kLight) > n(a, kLight) ? g + 1 : -1;
}

}  // namespace

// Each row sets the range (read again by the control) and then types a value.
TEST(FlatSpin, TypedValues)
{
    const struct { int lower, upper; const char* text; int greyed; bool changed; } rows[] = {
        {1, 30, "30", 1, true}, {1, 30, "15", 0, true}, {1, 30, "99", 1, true},
        {1, 30, "abc", 2, true}, {1, 30, "\xA0" "1\xA0\xA0" "2", 0, true},
        {100, 0, "100", 2, true}, {100, 0, "0", 1, true}, {100, 0, "3", 0, true},
        {100, 0, "3", 0, false},  // the current value
        // One value: reached by a step it is both ends, read at a range
        // change it is the lower end of a downward range; no step goes anywhere.
        {5, 5, "5", 0, true}, {5, 5, "9", 1, false}};
    Host host;
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.lower << ".." << r.upper << " typed " << r.text);
        host.Range(r.lower, r.upper);
        MessageLog paints = host.Paints();
        host.Type(r.text);
        // A new value costs one paint; the current value typed again is refused.
        EXPECT_EQ(r.changed, paints.Entries().size());
        EXPECT_EQ(r.greyed, GreyedArrow(host.spin));
    }
}

TEST(FlatSpin, PressedArrow)
{
    Host host;
    ::SendMessageA(host.spin, UDM_SETRANGE, 0, MAKELPARAM(30, 1));  // the 16-bit message is followed too
    host.Type("15");
    const Pixels active = Shot(host.spin);
    for (int row : {10, 11, 12})
        EXPECT_EQ(row == 11, Count(active, {0, row, 14, row + 1}, kFace) == 14) << "row " << row;
    for (int half : {0, 1}) {
        host.Press(half == 0);
        const Pixels pressed = Shot(host.spin);
        const RECT& h = kHalf[half];
        // Sunken: shadow left, highlight right, the glyph one pixel down and right.
        EXPECT_EQ(h.bottom - h.top - 1, Count(pressed, {h.left, h.top, h.left + 1, h.bottom - 1}, kShadow));
        EXPECT_EQ(h.bottom - h.top, Count(pressed, {h.right - 1, h.top, h.right, h.bottom}, kLight));
        int moved = 0;
        for (int i = 0; i < 16 * 21; ++i)
            moved += active[i] == kGlyph && pressed[i + 17] == kGlyph && ::PtInRect(&h, POINT{i % 16, i / 16});
        EXPECT_EQ(Count(active, h, kGlyph), moved);
        host.Release();
        EXPECT_EQ(active, Shot(host.spin));
    }
    host.Type("14");
    EXPECT_EQ(active, Shot(host.spin));  // a typed value is no click, wherever the pointer is
    host.Type("2");
    host.Press(false);  // reaching the end greys the arrow instead
    EXPECT_EQ(2, GreyedArrow(host.spin));
    host.Release();
    EXPECT_EQ(1, host.Step(1, -1));  // what a click on the greyed arrow sends
    host.Type("30");
    EXPECT_EQ(1, host.Step(30, 1));
    // Flicker-free: the background is never erased.
    HDC dc = ::GetDC(host.spin);
    EXPECT_NE(0, ::SendMessageA(host.spin, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ::ReleaseDC(host.spin, dc);
    EXPECT_EQ(1, GreyedArrow(host.spin));
}

TEST(FlatSpin, Wrapping)
{
    Pixels look[2];
    for (bool attach : {false, true}) {
        Host host(kWizard | UDS_WRAP, "Edit", attach);
        host.Range(1, 30);
        host.Type("30");
        host.Click(true);
        EXPECT_EQ(1, host.Value());
        look[attach] = Shot(host.spin);
    }
    EXPECT_EQ(look[0], look[1]);
}

// The later of two controls naming the same buddy follows it, and the
// earlier one's going leaves the later one following.
TEST(FlatSpin, SharedBuddy)
{
    CFlatSpin later;  // outlives its window
    Host host;
    host.Range(1, 30);
    HWND second = ::CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, 120,
                                    10, 16, 23, Top().m_hWnd, reinterpret_cast<HMENU>(1013), nullptr, nullptr);
    later.SubclassWindow(second);
    later.SendMessage(UDM_SETRANGE32, 1, 30);
    later.SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(host.edit));
    EXPECT_EQ(second, ::GetWindow(host.edit, GW_HWNDNEXT));  // and so next in the tab order
    host.Type("30");
    EXPECT_EQ(1, GreyedArrow(second));
    EXPECT_EQ(0, GreyedArrow(host.spin));
    ::DestroyWindow(host.spin);
    host.Type("1");
    EXPECT_EQ(2, GreyedArrow(second));
    ::DestroyWindow(second);
    host.Type("5");  // no control left to follow
}

// Every control makes its pens and deletes them when it goes. Wine counts
// no GDI objects for GetGuiResources; its handles answer by their low word.
TEST(FlatSpin, GdiObjectsReturned)
{
    auto objects = [] {
        DWORD objects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
        for (UINT_PTR handle = 4; objects == 0 && handle < 0x40000; handle += 4)
            objects += ::GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) == OBJ_PEN;
        return objects;
    };
    { Host warmUp; }
    const DWORD before = objects();
    for (int i = 0; i < 40; ++i) {
        Host host;
        host.Range(1, 30);
        host.Type(i % 2 ? "30" : "15");
        Shot(host.spin);
    }
    EXPECT_LT(objects(), before + 20) << "before: " << before;
}
