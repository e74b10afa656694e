#include "daemon/AttemptBackoff.h"
#include "daemon/DaemonSettings.h"
#include "daemon/Grace.h"
#include "daemon/IdleTrigger.h"
#include "daemon/TrayTexts.h"
#include "daemon/WipeDetector.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>
#include <vector>

// Each run feeds positions to a fresh detector allowing 400 ms.
TEST(WipeDetector, FastWipesOnly)
{
    std::vector<std::tuple<bool, int, std::vector<std::pair<int, DWORD>>>> runs = {
        {true, 0, {{2, 0}, {500, 100}, {1023, 400}}},        // left to right in time
        {true, 0, {{1021, 5000}, {300, 5100}, {0, 5400}}},   // right to left
        {true, 0, {{0, 0}, {4, 900}, {1019, 1300}}},         // timed from leaving the edge
        {true, -1280, {{-1279, 0}, {0, 200}, {1023, 400}}},  // across two monitors
        {true, 0, {{0, 0xFFFFFF80}, {1023, 0x000000A0}}},    // over the tick count's wrap
        {false, 0, {{0, 0}, {1023, 401}}},                   // too slow
        {false, 0, {{0, 0}, {1018, 100}}},                   // stops short of the edge
        {false, -1280, {{0, 0}, {1023, 100}}},               // one monitor of two
    };
    for (const auto& [wipe, left, moves] : runs) {
        CWipeDetector detector(left, 1023, 400);
        bool seen = false;
        for (auto [x, ms] : moves)
            seen = detector.OnPointer(x, ms);
        EXPECT_EQ(wipe, seen) << moves.back().first << " at " << moves.back().second;
    }
}

// Calls in the order written: each one's result depends on the ones before.
TEST(IdleTrigger, FiresOncePerStretch)
{
    CIdleTrigger idle(5000), screensaver(300000);
    EXPECT_EQ((std::vector<DWORD>{0, 50, 1, 0, 1000, 0, 1}),
              (std::vector<DWORD>{idle.Poll(4499, 0, false), idle.NextPollMs(4499),
                                  idle.Poll(5000, 0, false),
                                  idle.Poll(9000, 0, false) /* the same stretch */,
                                  idle.NextPollMs(9000), idle.Poll(12000, 8000, false),
                                  idle.Poll(13000, 8000, false)}));
    CIdleTrigger quick(10);
    quick.Poll(100, 95, false);
    EXPECT_LE(50u, quick.NextPollMs(100));  // never spins
    // The screensaver's start fires whatever the input, before the delay.
    EXPECT_EQ((std::vector<bool>{false, true, false, false, true}),
              (std::vector<bool>{screensaver.Poll(1000, 0, false), screensaver.Poll(1000, 0, true),
                                 screensaver.Poll(1000, 0, true), screensaver.Poll(1000, 0, false),
                                 screensaver.Poll(1000, 0, true)}));
}

// The warning shows for the last 10 s, or the last tenth of a short delay.
TEST(IdleTrigger, Warning)
{
    CIdleTrigger fiveMinutes(300000), fiveSeconds(5000);
    EXPECT_EQ(10000u, fiveMinutes.WarningMs());
    EXPECT_EQ(500u, fiveSeconds.WarningMs());
    fiveSeconds.Poll(4000, 0, false);
    EXPECT_EQ(500u, fiveSeconds.NextPollMs(4000));  // a short warning is not polled past
    fiveMinutes.Poll(290000, 1000, false);
    EXPECT_EQ(1000u, fiveMinutes.NextPollMs(290000));
    fiveMinutes.Poll(290500, 1000, false);
    EXPECT_EQ(500u, fiveMinutes.NextPollMs(290500));  // lands where the warning begins
    fiveMinutes.Poll(291000, 1000, false);
    EXPECT_EQ(10000u, fiveMinutes.LockInMs(291000));
    EXPECT_EQ(1000u, fiveMinutes.NextPollMs(291000));  // a tick per second of the countdown
    fiveMinutes.Poll(295000, 294000, false);  // input: a new stretch
    EXPECT_EQ(299000u, fiveMinutes.LockInMs(295000));
    EXPECT_TRUE(fiveMinutes.Poll(594000, 294000, false));
    EXPECT_EQ(INFINITE, fiveMinutes.LockInMs(594000));
}

// A program that keeps the display on holds the idle lock off; the delay counts again from when it
// lets go. The screensaver's start still locks.
TEST(IdleTrigger, DisplayKeptOn)
{
    CIdleTrigger idle(5000);
    EXPECT_FALSE(idle.Poll(9000, 0, false, true));
    EXPECT_EQ(INFINITE, idle.LockInMs(9000));
    EXPECT_FALSE(idle.Poll(20000, 0, false, true));
    EXPECT_FALSE(idle.Poll(24999, 0, false, false));
    EXPECT_TRUE(idle.Poll(25000, 0, false, false));
    EXPECT_FALSE(idle.Poll(40000, 30000, false, true));
    EXPECT_TRUE(idle.Poll(41000, 30000, true, true));
}

// Input opens an idle lock in its first 5 s only, and a lock by the key
// never: also when the tick count comes round to the same values again,
// 49.7 days on.
TEST(Grace, OverStaysOver)
{
    const DWORD locked = 0xFFFFF000;  // across the tick count's wrap as well
    CGrace idle(locked, CGrace::kIdleMs), key(locked, 0);
    EXPECT_TRUE(idle.Holds(locked + 4999));
    EXPECT_FALSE(key.Holds(locked));
    EXPECT_FALSE(idle.Holds(locked + 5000));
    EXPECT_FALSE(key.Holds(locked + 0x80000001));
    EXPECT_FALSE(idle.Holds(locked + 1000));
}

// What the tray says must match what is armed: a key the system refused is no key.
TEST(TrayTexts, WhatIsArmed)
{
    DaemonSettings settings;
    settings.virtualKey = VK_F9;
    settings.screenwipe = true;
    EXPECT_EQ("Vellmoran is armed: F9, screen wipe", ArmedTip(settings, true));
    EXPECT_EQ("Vellmoran is armed: screen wipe", ArmedTip(settings, false));
}

// A start with nothing armed, or armed without a password, is told once.
TEST(TrayTexts, StartNotice)
{
    DaemonSettings settings;
    settings.virtualKey = VK_PAUSE;
    EXPECT_NE(std::string::npos, StartNotice(settings, false).find("Nothing locks"));
    EXPECT_NE(std::string::npos, StartNotice(settings, true).find("opens with Enter"));
    settings.code = "x";
    EXPECT_EQ("", StartNotice(settings, true));
}

TEST(AttemptBackoff, Doubling)
{
    CAttemptBackoff backoff;
    std::vector<DWORD> waits;
    DWORD now = 0xFFFFF000;  // across the tick count's wrap as well
    while (waits.size() < 8) {
        backoff.OnWrong(now += backoff.RemainingMs(now));
        waits.push_back(backoff.RemainingMs(now));
    }
    EXPECT_EQ((std::vector<DWORD>{0, 0, 2000, 4000, 8000, 16000, 30000, 30000}), waits);
    EXPECT_EQ(1000u, backoff.RemainingMs(now + 29000));
    backoff.OnRight();
    backoff.OnWrong(now);
    EXPECT_EQ(0u, backoff.RemainingMs(now));
}

TEST(DaemonSettings, ReadOnceOrNotAtAll)
{
    const std::string name = "DaemonSettings.bin", path = ExecutableDirectory() + "\\" + name;
    DaemonSettings s;
    auto read = [&](bool readable, std::vector<int> numbers, const char* code) {
        EXPECT_EQ(readable, ReadDaemonSettings(name, s));
        EXPECT_EQ(numbers, (std::vector<int>{s.virtualKey, s.screenwipe, s.screensaver,
                                             s.velocityMs, s.delayMinutes}));
        EXPECT_EQ(code, s.code);
    };
    ::DeleteFileA(path.c_str());
    s.code = "old";
    read(true, {0, 0, 0, 500, 5}, "");  // no file: defaults, no password
    std::string bytes;
    for (auto [key, value] : {std::pair{"m_nVirtualKey", "19"},
                              {"m_bScreenwipe", "1"},
                              {"m_bScreensaver", "1"},
                              {"m_nVelocity", "5000"},
                              {"m_nDelay", "0"},
                              {"m_csCode", "a1b2"},
                              {"m_csCode", "ffff"},
                              {"m_csImage", "C:\\lock.bmp"}})
        bytes += SettingsRecordBytes(key, value);
    std::ofstream(path, std::ios::binary) << bytes;
    HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    read(false, {0, 0, 0, 500, 5}, "");  // held: unread, nothing changed
    ::CloseHandle(held);
    ::SetFileAttributesA(path.c_str(),
                         FILE_ATTRIBUTE_READONLY);  // as in Program Files for a standard user
    read(true, {19, 1, 1, 1100, 5}, "a1b2");        // a delay of 0 reads as 5
    EXPECT_EQ("C:\\lock.bmp", s.image);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
}

// Values outside what the panel offers become what the panel shows for them.
TEST(DaemonSettings, Clamped)
{
    const std::string name = "DaemonSettings.bin", path = ExecutableDirectory() + "\\" + name;
    struct Case {
        const char *velocity, *delay, *key;
        int velocityMs, delayMinutes, virtualKey;
    };
    for (const Case& c : {Case{"50", "45", "65", 100, 30, 0},  // a letter would lock while typing
                          {"-7", "-3", "300", 100, 5, 0},
                          {"0", "31", "-19", 500, 30, 0},
                          {"100", "0", "120", 100, 5, VK_F9},
                          {"600", "12", "19", 600, 12, VK_PAUSE}}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            << SettingsRecordBytes("m_nVelocity", c.velocity)
            << SettingsRecordBytes("m_nDelay", c.delay) << SettingsRecordBytes("m_nVirtualKey", c.key);
        DaemonSettings s;
        ASSERT_TRUE(ReadDaemonSettings(name, s));
        EXPECT_EQ(c.velocityMs, s.velocityMs) << c.velocity;
        EXPECT_EQ(c.delayMinutes, s.delayMinutes) << c.delay;
        EXPECT_EQ(c.virtualKey, s.virtualKey) << c.key;
    }
    ::DeleteFileA(path.c_str());
}
