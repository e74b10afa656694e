#include "tests/controls/SpinHost.h"

#include <gtest/gtest.h>

namespace {
// A window class of the test's own, registered for one test only.
class ScopedClass {
public:
    explicit ScopedClass(const char* name) : m_name(name)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = name;
        m_atom = ::RegisterClassA(&wc);
    }
    ~ScopedClass() { ::UnregisterClassA(m_name, ::GetModuleHandleA(nullptr)); }
    ScopedClass(const ScopedClass&) = delete;
    ScopedClass& operator=(const ScopedClass&) = delete;
    bool Registered() const { return m_atom != 0; }

private:
    const char* m_name;
    ATOM m_atom;
};

// The spin control that the buddy map names for an edit, or null.
HWND MapEntry(HWND edit)
{
    auto entry = FlatSpinProbe::s_mapBuddies.find(edit);
    return entry == FlatSpinProbe::s_mapBuddies.end() ? nullptr : entry->second;
}

std::string ClassName(HWND hWnd)
{
    char name[64] = {};
    ::GetClassNameA(hWnd, name, sizeof name);
    return name;
}
}  // namespace

TEST(FlatSpinTyping, TypedValuesMoveTheLimitWithoutAClick)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(10);
    FlatSpinProbe& spin = host.Spin();

    host.Type("30");
    EXPECT_EQ(30, spin.m_nPos);
    EXPECT_EQ(1, spin.m_nLimit);

    host.Type("15");
    EXPECT_EQ(15, spin.m_nPos);
    EXPECT_EQ(0, spin.m_nLimit);

    host.Type("99");
    EXPECT_EQ(30, spin.m_nPos);
    EXPECT_EQ(1, spin.m_nLimit);

    host.Type("abc");
    EXPECT_EQ(1, spin.m_nPos);
    EXPECT_EQ(2, spin.m_nLimit);

    // The atoi rule: leading blanks and a sign, digits up to the first
    // other character.
    host.SetText("  +12x4");
    EXPECT_EQ(12, spin.m_nPos);
    host.SetText("-7");
    EXPECT_EQ(1, spin.m_nPos);
}

TEST(FlatSpinTyping, TypedValueIsNotAStepOfTheArrows)
{
    SpinHost host;
    host.SetRange(1, 30);
    host.SetValue(10);
    host.Parent().deltas.clear();

    host.Type("2");
    EXPECT_FALSE(host.Spin().m_bShowPressed);
    ASSERT_FALSE(host.Parent().deltas.empty());
    const NMUPDOWN& last = host.Parent().deltas.back();
    EXPECT_EQ(host.SpinWindow(), last.hdr.hwndFrom);
    EXPECT_EQ(static_cast<UINT_PTR>(::GetDlgCtrlID(host.SpinWindow())), last.hdr.idFrom);
    EXPECT_EQ(2, last.iPos);
    EXPECT_EQ(0, last.iDelta);

    // The current value again: refused, so the parent hears nothing.
    host.Parent().deltas.clear();
    host.SetText("2");
    EXPECT_TRUE(host.Parent().deltas.empty());
}

TEST(FlatSpinTyping, NonBreakingSpacesBetweenDigitsAreLeftOut)
{
    SpinHost host;
    host.SetRange(1, 3000);
    host.SetText("1\xA0" "234");
    EXPECT_EQ(1234, host.Spin().m_nPos);
    host.SetText("\xA0" "2\xA0\xA0" "5");
    EXPECT_EQ(25, host.Spin().m_nPos);
}

TEST(FlatSpinBuddy, TwoControlsNamingOneBuddy)
{
    // Declared first so that its window goes before the object does.
    FlatSpinProbe later;
    SpinHost host;
    HWND second = host.AddSpin(UDS_SETBUDDYINT | UDS_ALIGNRIGHT);
    ASSERT_TRUE(later.SubclassWindow(second));
    EXPECT_EQ(nullptr, later.m_hWndBuddy);
    EXPECT_FALSE(later.m_bBuddyHooked);

    ::SendMessageA(second, UDM_SETBUDDY, reinterpret_cast<WPARAM>(host.Edit()), 0);
    EXPECT_EQ(host.Edit(), later.m_hWndBuddy);
    EXPECT_EQ(second, MapEntry(host.Edit()));
    // Right behind its buddy in the Z order, and so in the tab order.
    EXPECT_EQ(second, ::GetWindow(host.Edit(), GW_HWNDNEXT));

    // Typed values now reach only the later control.
    host.SetRange(1, 30);
    later.SendMessage(UDM_SETRANGE32, 1, 30);
    host.Type("20");
    EXPECT_EQ(20, later.m_nPos);
    EXPECT_NE(20, host.Spin().m_nPos);

    // The earlier control leaves the entry of the later one alone.
    ::DestroyWindow(host.SpinWindow());
    EXPECT_EQ(second, MapEntry(host.Edit()));
    EXPECT_NE(nullptr, FlatSpinProbe::s_hBuddyHook);
    host.Type("25");
    EXPECT_EQ(25, later.m_nPos);
}

TEST(FlatSpinBuddy, NewBuddyReplacesTheOldOnesEntry)
{
    SpinHost host;
    SpinHost other;
    ::SendMessageA(host.SpinWindow(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(other.Edit()), 0);
    EXPECT_EQ(nullptr, MapEntry(host.Edit()));
    EXPECT_EQ(host.SpinWindow(), MapEntry(other.Edit()));
    EXPECT_EQ(host.SpinWindow(), ::GetWindow(other.Edit(), GW_HWNDNEXT));
}

TEST(FlatSpinBuddy, LastHookedControlRemovesTheHook)
{
    ASSERT_TRUE(FlatSpinProbe::s_mapBuddies.empty());
    ASSERT_EQ(nullptr, FlatSpinProbe::s_hBuddyHook);
    {
        SpinHost first;
        HHOOK hook = FlatSpinProbe::s_hBuddyHook;
        EXPECT_NE(nullptr, hook);
        {
            SpinHost second;
            EXPECT_EQ(hook, FlatSpinProbe::s_hBuddyHook);
            EXPECT_EQ(2u, FlatSpinProbe::s_mapBuddies.size());
        }
        EXPECT_EQ(1u, FlatSpinProbe::s_mapBuddies.size());
        EXPECT_EQ(hook, FlatSpinProbe::s_hBuddyHook);
    }
    EXPECT_TRUE(FlatSpinProbe::s_mapBuddies.empty());
    EXPECT_EQ(nullptr, FlatSpinProbe::s_hBuddyHook);

    // The hook is installed anew by the next control.
    SpinHost again;
    again.SetRange(1, 30);
    again.Type("17");
    EXPECT_EQ(17, again.Spin().m_nPos);
}

TEST(FlatSpinBuddy, OnlyEditClassesByTheirFirstFourLettersAreHooked)
{
    {
        SpinHost edit;
        EXPECT_EQ("Edit", ClassName(edit.Edit()));
        EXPECT_TRUE(edit.Spin().m_bBuddyHooked);
    }
    {
        ScopedClass longer("EditPlus");
        ASSERT_TRUE(longer.Registered());
        SpinHost host({SpinHost::kWizardStyle, "EditPlus"});
        EXPECT_TRUE(host.Spin().m_bBuddyHooked);
        EXPECT_EQ(host.SpinWindow(), MapEntry(host.Edit()));
    }
    for (const char* name : {"EDIT", "EDITPLUS", "Edi"}) {
        ScopedClass other(name);
        ASSERT_TRUE(other.Registered()) << name;
        SpinHost host({SpinHost::kWizardStyle, name});
        ASSERT_EQ(name, ClassName(host.Edit()));
        EXPECT_FALSE(host.Spin().m_bBuddyHooked) << name;
        EXPECT_EQ(nullptr, MapEntry(host.Edit())) << name;
        EXPECT_EQ(nullptr, FlatSpinProbe::s_hBuddyHook) << name;
        // Other buddies still get the joined border.
        EXPECT_EQ(host.Edit(), host.Spin().m_hWndBuddy) << name;
        EXPECT_EQ(1, host.Spin().m_nAlign) << name;
    }
}
