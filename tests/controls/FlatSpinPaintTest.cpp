#include "tests/controls/SpinHost.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
COLORREF Face() { return ::GetSysColor(COLOR_BTNFACE); }
COLORREF Shadow() { return ::GetSysColor(COLOR_BTNSHADOW); }
COLORREF DkShadow() { return ::GetSysColor(COLOR_3DDKSHADOW); }
COLORREF Hilight() { return ::GetSysColor(COLOR_BTNHIGHLIGHT); }
constexpr COLORREF kGlyph = RGB(0, 0, 0);

bool AllOf(const RECT& area, const std::function<bool(int, int)>& test)
{
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (!test(x, y))
                return false;
    return true;
}

bool Filled(const Capture& capture, const RECT& area, COLORREF colour)
{
    return AllOf(area, [&](int x, int y) { return capture.At(x, y) == colour; });
}

bool Same(const Capture& a, const Capture& b, const RECT& area)
{
    return AllOf(area, [&](int x, int y) { return a.At(x, y) == b.At(x, y); });
}

RECT Inner(const RECT& half)
{
    RECT inner = half;
    ::InflateRect(&inner, -1, -1);
    return inner;
}

// The greyed look of a half against the same half drawn active: inside the
// button's outer edge the glyph turns to shadow colour over a highlight copy
// of itself one pixel down and right, which shows only on the face colour;
// the outer edge stays untouched.
::testing::AssertionResult Greyed(const Capture& active, const Capture& greyed, const RECT& half)
{
    RECT inner = Inner(half);
    int glyph = 0;
    for (int y = half.top; y < half.bottom; ++y) {
        for (int x = half.left; x < half.right; ++x) {
            POINT p = {x, y};
            COLORREF was = active.At(x, y);
            COLORREF expected = was;
            if (::PtInRect(&inner, p)) {
                if (was == kGlyph) {
                    expected = Shadow();
                    ++glyph;
                } else if (was == Face() && x > inner.left && y > inner.top && active.At(x - 1, y - 1) == kGlyph) {
                    expected = Hilight();
                }
            }
            if (greyed.At(x, y) != expected)
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex
                                                     << greyed.At(x, y) << ", expected " << expected;
        }
    }
    if (glyph == 0)
        return ::testing::AssertionFailure() << "no glyph in the active half";
    return ::testing::AssertionSuccess();
}

enum class Grey { None, First, Second };

// The first pixel of the area where two paints differ, for the message.
::testing::AssertionResult Unchanged(const Capture& active, const Capture& shown, const RECT& area, const char* name)
{
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (active.At(x, y) != shown.At(x, y))
                return ::testing::AssertionFailure() << name << " half changed at " << x << "," << y << ": "
                                                     << std::hex << active.At(x, y) << " became " << shown.At(x, y);
    return ::testing::AssertionSuccess();
}

// Which half of the capture is greyed, judged against an active paint.
::testing::AssertionResult GreyedHalf(SpinHost& host, const Capture& active, const Capture& shown, Grey expected)
{
    RECT first, second;
    ArrowHalves(host.Spin(), &first, &second);
    const RECT* greyed = expected == Grey::First ? &first : expected == Grey::Second ? &second : nullptr;
    for (const RECT* half : {&first, &second}) {
        ::testing::AssertionResult result = half == greyed
                                                ? Greyed(active, shown, *half)
                                                : Unchanged(active, shown, *half, half == &first ? "first" : "second");
        if (!result)
            return result;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Pressed(const Capture& active, const Capture& pressed, const RECT& half)
{
    const int l = half.left, t = half.top, r = half.right, b = half.bottom;
    for (int y = t; y <= b - 2; ++y)
        if (pressed.At(l, y) != Shadow())
            return ::testing::AssertionFailure() << "left edge not in shadow at row " << y;
    for (int x = l; x <= r - 2; ++x)
        if (pressed.At(x, t) != Shadow())
            return ::testing::AssertionFailure() << "top edge not in shadow at column " << x;
    for (int y = t; y < b; ++y)
        if (pressed.At(r - 1, y) != Hilight())
            return ::testing::AssertionFailure() << "right edge not highlighted at row " << y;
    for (int x = l; x < r; ++x)
        if (pressed.At(x, b - 1) != Hilight())
            return ::testing::AssertionFailure() << "bottom edge not highlighted at column " << x;
    for (int y = t + 1; y <= b - 3; ++y)
        if (pressed.At(l + 1, y) != DkShadow())
            return ::testing::AssertionFailure() << "inner left edge not dark at row " << y;
    // The glyph has moved one pixel down and right.
    int moved = 0;
    for (int y = t + 3; y < b - 3; ++y)
        for (int x = l + 3; x < r - 3; ++x)
            if (active.At(x - 1, y - 1) == kGlyph) {
                ++moved;
                if (pressed.At(x, y) != kGlyph)
                    return ::testing::AssertionFailure() << "glyph not moved to " << x << "," << y;
            }
    if (moved == 0)
        return ::testing::AssertionFailure() << "no glyph found";
    return ::testing::AssertionSuccess();
}

RECT Row(const Capture& capture, int y) { return {0, y, capture.width, y + 1}; }
RECT Column(const Capture& capture, int x) { return {x, 0, x + 1, capture.height}; }
}  // namespace

TEST(FlatSpinPaint, GreyedArrowFollowsTheLimitAndTheRangeDirection)
{
    struct Case {
        DWORD style;
        int lower, upper, value;
        Grey grey;
    };
    const DWORD horizontal = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_HORZ;
    const Case cases[] = {
        {SpinHost::kWizardStyle, 1, 30, 15, Grey::None},
        {SpinHost::kWizardStyle, 1, 30, 30, Grey::First},
        {SpinHost::kWizardStyle, 1, 30, 1, Grey::Second},
        {SpinHost::kWizardStyle, 100, 0, 100, Grey::Second},
        {SpinHost::kWizardStyle, 100, 0, 0, Grey::First},
        {SpinHost::kWizardStyle, 100, 0, 40, Grey::None},
        {horizontal, 0, 10, 10, Grey::Second},
        {horizontal, 0, 10, 0, Grey::First},
        {horizontal, 10, 0, 10, Grey::First},
        {horizontal, 10, 0, 0, Grey::Second},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "range " << c.lower << ".." << c.upper << " at " << c.value
                                          << (c.style & UDS_HORZ ? " horizontal" : " vertical"));
        SpinHost host({c.style});
        host.SetRange(c.lower, c.upper);
        host.SetValue((c.lower + c.upper) / 2);
        Capture active = host.Paint();
        host.SetValue(c.value);
        EXPECT_TRUE(GreyedHalf(host, active, host.Paint(), c.grey));
    }
}

TEST(FlatSpinPaint, OneValueRangeGreysAfterRefreshOnly)
{
    SpinHost host;
    FlatSpinProbe& spin = host.Spin();
    host.SetRange(0, 10);
    host.SetValue(5);
    Capture active = host.Paint();

    // Stored downward, at the minimum: limit state 2 greys the up arrow.
    host.SetRange(5, 5);
    EXPECT_EQ(5, spin.m_nMin);
    EXPECT_EQ(5, spin.m_nMax);
    EXPECT_TRUE(spin.m_bRangeInverted);
    EXPECT_EQ(2, spin.m_nLimit);
    EXPECT_TRUE(GreyedHalf(host, active, host.Paint(), Grey::First));

    // Reached by a step, the only value is state 3: nothing greyed.
    host.SetText("3");
    host.SetRange(5, 5);
    host.SetText("5");
    EXPECT_EQ(3, spin.m_nLimit);
    EXPECT_TRUE(GreyedHalf(host, active, host.Paint(), Grey::None));

    // Every further step clamps to the same value and is refused.
    host.Parent().deltas.clear();
    host.Type("9");
    EXPECT_EQ(5, spin.m_nPos);
    EXPECT_TRUE(host.Parent().deltas.empty());
}

TEST(FlatSpinPaint, MiddleLineOfAnOddAreaKeepsTheFaceColour)
{
    {
        SpinHost odd({SpinHost::kWizardStyle, "Edit", 23});
        odd.SetRange(1, 30);
        odd.SetValue(15);
        RECT first, second;
        ArrowHalves(odd.Spin(), &first, &second);
        ASSERT_EQ(first.bottom + 1, second.top);
        Capture paint = odd.Paint();
        EXPECT_TRUE(Filled(paint, {first.left, first.bottom, first.right, second.top}, Face()));
        EXPECT_FALSE(Filled(paint, {first.left, first.bottom - 1, first.right, first.bottom}, Face()));
        EXPECT_FALSE(Filled(paint, {second.left, second.top, second.right, second.top + 1}, Face()));
    }
    {
        SpinHost even({SpinHost::kWizardStyle, "Edit", 22});
        even.SetRange(1, 30);
        even.SetValue(15);
        Capture paint = even.Paint();
        RECT first, second;
        ArrowHalves(even.Spin(), &first, &second);
        ASSERT_EQ(first.bottom, second.top);
        for (int y = first.top; y < second.bottom; ++y)
            EXPECT_FALSE(Filled(paint, {first.left, y, first.right, y + 1}, Face())) << "row " << y;
    }
}

TEST(FlatSpinPaint, BorderJoinsTheBuddyOnTheRight)
{
    SpinHost host;
    host.SetRange(1, 30);
    Capture paint = host.Paint();
    const int r = paint.width, b = paint.height;
    EXPECT_TRUE(Filled(paint, Row(paint, 0), Shadow()));
    EXPECT_TRUE(Filled(paint, {0, 1, r - 1, 2}, DkShadow()));
    EXPECT_TRUE(Filled(paint, {r - 1, 1, r, b}, Hilight()));
    EXPECT_TRUE(Filled(paint, Row(paint, b - 1), Hilight()));
    // The edit's own border runs on at the same rows with the same colours.
    Capture window = CaptureClient(host.Window());
    POINT corner = {0, 0};
    ::MapWindowPoints(host.SpinWindow(), host.Window(), &corner, 1);
    EXPECT_EQ(Shadow(), window.At(corner.x - 1, corner.y));
    EXPECT_EQ(DkShadow(), window.At(corner.x - 1, corner.y + 1));
    EXPECT_EQ(Hilight(), window.At(corner.x - 1, corner.y + b - 1));
}

TEST(FlatSpinPaint, BorderJoinsTheBuddyOnTheLeft)
{
    SpinHost host({UDS_SETBUDDYINT | UDS_ALIGNLEFT | UDS_AUTOBUDDY | UDS_ARROWKEYS});
    host.SetRange(1, 30);
    Capture paint = host.Paint();
    const int r = paint.width, b = paint.height;
    EXPECT_TRUE(Filled(paint, Row(paint, 0), Shadow()));
    EXPECT_TRUE(Filled(paint, Column(paint, 0), Shadow()));
    EXPECT_TRUE(Filled(paint, {1, 1, r, 2}, DkShadow()));
    EXPECT_TRUE(Filled(paint, {1, 1, 2, b - 1}, DkShadow()));
    EXPECT_TRUE(Filled(paint, {1, b - 1, r, b}, Hilight()));
}

TEST(FlatSpinPaint, ArrowJustUsedLooksPressedUntilTheRelease)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(15);
    Capture active = host.Paint();
    RECT first, second;
    ArrowHalves(host.Spin(), &first, &second);

    host.Press(true);
    Capture pressed = host.Paint();
    EXPECT_EQ(16, host.Value());
    EXPECT_TRUE(Pressed(active, pressed, first));
    EXPECT_TRUE(Same(active, pressed, second));
    EXPECT_TRUE(::EqualRect(&first, &host.Spin().m_rcPressed));
    host.Release();
    EXPECT_TRUE(GreyedHalf(host, active, host.Paint(), Grey::None));

    host.Click(false);
    EXPECT_TRUE(::EqualRect(&second, &host.Spin().m_rcPressed));
    EXPECT_EQ(15, host.Value());
}

TEST(FlatSpinPaint, ArrowKeysShowTheHalfClickedLast)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(15);
    Capture active = host.Paint();
    RECT first, second;
    ArrowHalves(host.Spin(), &first, &second);

    // No click yet and the pointer away from the control: no pressed look.
    MovePointer(host.AwayFromArrows());
    ::SendMessageA(host.Edit(), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(16, host.Value());
    EXPECT_TRUE(GreyedHalf(host, active, host.Paint(), Grey::None));
    ::SendMessageA(host.Edit(), WM_KEYUP, VK_UP, 0xC0000001);
    DrainMessages();

    // The pointer over the lower half: that half looks pressed.
    POINT lower = host.HalfCentre(false);
    ::ClientToScreen(host.SpinWindow(), &lower);
    MovePointer(lower);
    ::SendMessageA(host.Edit(), WM_KEYDOWN, VK_UP, 1);
    EXPECT_TRUE(Pressed(active, host.Paint(), second));
    ::SendMessageA(host.Edit(), WM_KEYUP, VK_UP, 0xC0000001);
    host.Paint();

    // After a click on the upper half the pressed look stays there, even
    // for the down key and with the pointer elsewhere.
    host.Click(true);
    MovePointer(host.AwayFromArrows());
    ::SendMessageA(host.Edit(), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_TRUE(Pressed(active, host.Paint(), first));
    ::SendMessageA(host.Edit(), WM_KEYUP, VK_DOWN, 0xC0000001);
    DrainMessages();
}

TEST(FlatSpinPaint, HeldArrowTurnsGreyedAtTheEnd)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(15);
    Capture active = host.Paint();
    host.SetValue(27);

    host.Press(true);
    ASSERT_TRUE(WaitUntil([&] { return host.Value() == 30; }, 5000));
    PumpMessages(300);
    EXPECT_EQ(30, host.Value());
    EXPECT_TRUE(GreyedHalf(host, active, host.Paint(), Grey::First));
    host.Release();
    EXPECT_TRUE(GreyedHalf(host, active, host.Paint(), Grey::First));
}

TEST(FlatSpinPaint, BackgroundIsNeverErased)
{
    SpinHost host;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    RECT all = {0, 0, 4, 4};
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    ::FillRect(dc, &all, red);

    EXPECT_NE(0, ::SendMessageA(host.SpinWindow(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, 3, 3));

    ::SelectObject(dc, old);
    ::DeleteObject(red);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

TEST(FlatSpinPaint, WrappingControlPaintsAsThePlainControl)
{
    const DWORD wrap = SpinHost::kWizardStyle | UDS_WRAP;
    Capture flat, plain;
    for (bool attach : {true, false}) {
        SpinHost host({wrap, "Edit", 23, attach});
        host.SetRange(1, 30);
        host.SetValue(30);
        (attach ? flat : plain) = host.Paint();
    }
    EXPECT_TRUE(flat == plain);

    // The same comparison tells the flat look from the plain one.
    SpinHost flatHost;
    flatHost.SetRange(1, 30);
    flatHost.SetValue(30);
    EXPECT_FALSE(flatHost.Paint() == plain);
}

TEST(FlatSpinPaint, PensFollowAChangeOfTheSystemColours)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(15);
    Capture active = host.Paint();
    RECT first, second;
    ArrowHalves(host.Spin(), &first, &second);

    const INT element = COLOR_3DLIGHT;
    const COLORREF original = ::GetSysColor(element);
    const COLORREF changed = RGB(200, 30, 40);
    ASSERT_TRUE(::SetSysColors(1, &element, &changed));
    ::SendMessageA(host.SpinWindow(), WM_SYSCOLORCHANGE, 0, 0);
    host.Press(true);
    Capture pressed = host.Paint();
    host.Release();
    ::SetSysColors(1, &element, &original);
    ::SendMessageA(host.SpinWindow(), WM_SYSCOLORCHANGE, 0, 0);

    // The light line of the pressed look, inside the right edge.
    EXPECT_TRUE(Filled(pressed, {first.right - 2, first.top + 1, first.right - 1, first.bottom - 2}, changed));
    LOGPEN pen = {};
    ::GetObjectA(host.Spin().m_hPenLight, sizeof pen, &pen);
    EXPECT_EQ(original, pen.lopnColor);
}
