#include "tests/controls/SpinHost.h"

#include <gtest/gtest.h>

namespace {
NMUPDOWN Step(HWND spin, int pos, int delta)
{
    NMUPDOWN step = {};
    step.hdr.hwndFrom = spin;
    step.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(spin));
    step.hdr.code = UDN_DELTAPOS;
    step.iPos = pos;
    step.iDelta = delta;
    return step;
}

// What the parent answers a step notification with, after reflection.
LRESULT SendStep(SpinHost& host, int pos, int delta)
{
    NMUPDOWN step = Step(host.SpinWindow(), pos, delta);
    return ::SendMessageA(host.Window(), WM_NOTIFY, step.hdr.idFrom, reinterpret_cast<LPARAM>(&step));
}
}  // namespace

TEST(FlatSpinRange, WizardRangeIsReadAtEveryRangeChange)
{
    SpinHost host;
    host.SetValue(7);
    host.SetRange(1, 30);
    FlatSpinProbe& spin = host.Spin();
    EXPECT_TRUE(spin.m_bFlatDraw);
    EXPECT_EQ(1, spin.m_nMin);
    EXPECT_EQ(30, spin.m_nMax);
    EXPECT_FALSE(spin.m_bRangeInverted);
    EXPECT_EQ(7, spin.m_nPos);
    EXPECT_EQ(0, spin.m_nLimit);
    EXPECT_EQ(1, spin.m_nAlign);
    EXPECT_TRUE(spin.m_bVertical);
    EXPECT_EQ(host.Edit(), spin.m_hWndBuddy);
    RECT client;
    ::GetClientRect(host.SpinWindow(), &client);
    EXPECT_TRUE(::EqualRect(&client, &spin.m_rcClient));

    // The old 16-bit message is followed as well.
    ::SendMessageA(host.SpinWindow(), UDM_SETRANGE, 0, MAKELPARAM(20, 7));
    EXPECT_EQ(7, spin.m_nMin);
    EXPECT_EQ(20, spin.m_nMax);
    EXPECT_EQ(2, spin.m_nLimit);
}

TEST(FlatSpinRange, EndsOfTheWizardRangeAreLimitStates)
{
    SpinHost host;
    host.SetRange(1, 30);
    FlatSpinProbe& spin = host.Spin();

    host.SetValue(30);
    EXPECT_EQ(30, spin.m_nPos);
    EXPECT_EQ(1, spin.m_nLimit);
    host.Click(false);
    EXPECT_EQ(29, host.Value());
    EXPECT_EQ(29, spin.m_nPos);
    EXPECT_EQ(0, spin.m_nLimit);

    host.SetValue(2);
    host.Click(false);
    EXPECT_EQ(1, host.Value());
    EXPECT_EQ(2, spin.m_nLimit);
    // Reaching the end greys the arrow instead of showing it pressed.
    EXPECT_FALSE(spin.m_bShowPressed);
}

TEST(FlatSpinRange, StepAtAnEndIsRefusedAndKeptFromTheParent)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(30);
    host.Parent().deltas.clear();

    host.Click(true);
    EXPECT_EQ(30, host.Value());
    EXPECT_EQ(30, host.Spin().m_nPos);
    EXPECT_TRUE(host.Parent().deltas.empty());
    EXPECT_EQ(1, SendStep(host, 30, 1));
    EXPECT_EQ(1, SendStep(host, 30, 5));
    EXPECT_TRUE(host.Parent().deltas.empty());

    host.SetValue(1);
    host.Parent().deltas.clear();
    EXPECT_EQ(1, SendStep(host, 1, -1));
    host.Click(false);
    EXPECT_EQ(1, host.Value());
    EXPECT_TRUE(host.Parent().deltas.empty());
}

TEST(FlatSpinRange, StepInsideTheRangeReachesTheParent)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(15);
    host.Parent().deltas.clear();

    host.Click(true);
    EXPECT_EQ(16, host.Value());
    EXPECT_EQ(16, host.Spin().m_nPos);
    ASSERT_EQ(1u, host.Parent().deltas.size());
    EXPECT_EQ(15, host.Parent().deltas[0].iPos);
    EXPECT_EQ(1, host.Parent().deltas[0].iDelta);

    // A step past the end is clamped, not refused, while the value moves.
    EXPECT_EQ(0, SendStep(host, 16, 40));
    EXPECT_EQ(30, host.Spin().m_nPos);
    EXPECT_EQ(1, host.Spin().m_nLimit);
    EXPECT_EQ(0, SendStep(host, 30, -100));
    EXPECT_EQ(1, host.Spin().m_nPos);
    EXPECT_EQ(2, host.Spin().m_nLimit);
}

TEST(FlatSpinRange, DownwardRangeIsStoredUpwardAndInverted)
{
    SpinHost host;
    host.SetValue(50);
    host.SetRange(100, 0);
    FlatSpinProbe& spin = host.Spin();
    EXPECT_EQ(0, spin.m_nMin);
    EXPECT_EQ(100, spin.m_nMax);
    EXPECT_TRUE(spin.m_bRangeInverted);

    // The up arrow runs towards the upper bound as given, 0.
    host.Click(true);
    EXPECT_EQ(49, host.Value());
    EXPECT_EQ(49, spin.m_nPos);

    host.SetValue(100);
    EXPECT_EQ(1, spin.m_nLimit);
    host.SetValue(0);
    EXPECT_EQ(2, spin.m_nLimit);
    host.Click(true);
    EXPECT_EQ(0, host.Value());
}

TEST(FlatSpinRange, WrappingControlStaysThePlainControl)
{
    SpinHost host({SpinHost::kWizardStyle | UDS_WRAP});
    host.SetRange(1, 30);
    FlatSpinProbe& spin = host.Spin();
    EXPECT_FALSE(spin.m_bFlatDraw);
    EXPECT_FALSE(spin.m_bBuddyHooked);
    EXPECT_EQ(0u, spin.s_mapBuddies.count(host.Edit()));
    EXPECT_EQ(nullptr, spin.s_hBuddyHook);

    host.SetValue(30);
    host.Parent().deltas.clear();
    host.Click(true);
    EXPECT_EQ(1, host.Value());
    ASSERT_EQ(1u, host.Parent().deltas.size());
    EXPECT_EQ(0, SendStep(host, 1, -1));
    EXPECT_EQ(2u, host.Parent().deltas.size());
}
