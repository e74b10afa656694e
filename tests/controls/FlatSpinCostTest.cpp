#include "tests/controls/ImportHook.h"
#include "tests/controls/SpinHost.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {
struct Counts {
    int paints = 0;
    int erases = 0;
    int blits = 0;        // every BitBlt of our code
    int screenBlits = 0;  // those into a window's device context
};

Counts g_counts;
ImportHook* g_bitBltHook = nullptr;

BOOL WINAPI CountingBitBlt(HDC dest, int x, int y, int cx, int cy, HDC source, int sx, int sy, DWORD rop)
{
    ++g_counts.blits;
    if (::GetObjectType(dest) == OBJ_DC)
        ++g_counts.screenBlits;
    using BitBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, DWORD);
    return reinterpret_cast<BitBltFunction>(g_bitBltHook->Original())(dest, x, y, cx, cy, source, sx, sy, rop);
}

LRESULT CALLBACK CountingSubclass(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_PAINT)
        ++g_counts.paints;
    else if (message == WM_ERASEBKGND)
        ++g_counts.erases;
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

// Counts the paints of one spin control and the BitBlt calls of our code
// while it lives.
class PaintCounter {
public:
    explicit PaintCounter(HWND spin) : m_spin(spin), m_hook("gdi32.dll", "BitBlt", reinterpret_cast<void*>(CountingBitBlt))
    {
        DrainMessages();
        g_bitBltHook = &m_hook;
        ::SetWindowSubclass(spin, CountingSubclass, kId, 0);
        g_counts = Counts();
    }
    ~PaintCounter()
    {
        ::RemoveWindowSubclass(m_spin, CountingSubclass, kId);
        g_bitBltHook = nullptr;
    }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;

    bool Installed() const { return m_hook.Installed(); }
    Counts Take()
    {
        DrainMessages();
        Counts taken = g_counts;
        g_counts = Counts();
        return taken;
    }

private:
    static constexpr UINT_PTR kId = 0x5E1;
    HWND m_spin;
    ImportHook m_hook;
};

void Report(const char* what, const Counts& counts)
{
    std::printf("  %s: %d paint(s), %d erase message(s), %d BitBlt(s), %d of them to the window\n", what,
                counts.paints, counts.erases, counts.blits, counts.screenBlits);
}

// Microseconds of one paint of the whole control, averaged.
double PaintMicroseconds(HWND spin, int rounds)
{
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < rounds; ++i) {
        ::InvalidateRect(spin, nullptr, FALSE);
        ::UpdateWindow(spin);
    }
    ::QueryPerformanceCounter(&end);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) /
           rounds;
}
}  // namespace

TEST(FlatSpinCost, OneClickCopiesToTheScreenOncePerPaint)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(15);
    PaintCounter counter(host.SpinWindow());
    ASSERT_TRUE(counter.Installed());

    host.Press(true);
    Counts press = counter.Take();
    host.Release();
    Counts release = counter.Take();
    Report("press", press);
    Report("release", release);

    EXPECT_EQ(16, host.Value());
    EXPECT_GE(press.paints, 1);
    EXPECT_EQ(press.paints, press.screenBlits);
    // The pressed look: one more BitBlt, within the memory bitmap.
    EXPECT_GT(press.blits, press.screenBlits);
    EXPECT_GE(release.paints, 1);
    EXPECT_EQ(release.paints, release.screenBlits);
}

TEST(FlatSpinCost, OneTypedValuePaintsOnce)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(15);
    PaintCounter counter(host.SpinWindow());

    host.Type("7");
    Counts inside = counter.Take();
    Report("typed 7", inside);
    EXPECT_EQ(1, inside.paints);
    EXPECT_EQ(1, inside.screenBlits);
    EXPECT_EQ(0, inside.erases);

    host.Type("1");
    Counts atEnd = counter.Take();
    Report("typed 1 (greyed)", atEnd);
    EXPECT_EQ(1, atEnd.paints);
    EXPECT_EQ(1, atEnd.screenBlits);
    EXPECT_GT(atEnd.blits, atEnd.screenBlits);

    host.Type("1");
    Counts same = counter.Take();
    Report("typed the current value", same);
    EXPECT_EQ(0, same.paints);
    EXPECT_EQ(0, same.blits);
}

TEST(FlatSpinCost, OnePaintTakesLittleTime)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(15);
    DrainMessages();
    const int rounds = 500;
    PaintMicroseconds(host.SpinWindow(), 20);
    double plain = PaintMicroseconds(host.SpinWindow(), rounds);
    host.SetValue(30);
    DrainMessages();
    double greyed = PaintMicroseconds(host.SpinWindow(), rounds);
    std::printf("  one paint: %.1f us with both arrows active, %.1f us with one greyed (%d rounds)\n", plain,
                greyed, rounds);
    RecordProperty("paint_us", static_cast<int>(plain));
    RecordProperty("paint_greyed_us", static_cast<int>(greyed));
    // Far below one frame of the screen.
    EXPECT_LT(plain, 16000.0);
    EXPECT_LT(greyed, 16000.0);
}
