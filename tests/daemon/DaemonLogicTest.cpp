#include "daemon/AttemptBackoff.h"
#include "daemon/DaemonSettings.h"
#include "daemon/IdleTrigger.h"
#include "daemon/WipeDetector.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>
#include <vector>

// Each run feeds positions to a fresh detector allowing 400 ms.
TEST(WipeDetector, SeesAFastWipeEitherWayAcrossAllMonitorsAndNothingElse)
{
    std::vector<std::tuple<bool, int, std::vector<std::pair<int, DWORD>>>> runs = {
        {true, 0, {{2, 0}, {500, 100}, {1023, 400}}},           // left to right in time
        {true, 0, {{1021, 5000}, {300, 5100}, {0, 5400}}},     // right to left
        {true, 0, {{0, 0}, {4, 900}, {1019, 1300}}},           // timed from leaving the edge
        {true, -1280, {{-1279, 0}, {0, 200}, {1023, 400}}},    // across two monitors
        {true, 0, {{0, 0xFFFFFF80}, {1023, 0x000000A0}}},      // over the tick count's wrap
        {false, 0, {{0, 0}, {1023, 401}}},                     // too slow
        {false, 0, {{0, 0}, {1018, 100}}},                     // stops short of the edge
        {false, 0, {{10, 0}, {1023, 100}}},                    // starts away from the edge
        {false, -1280, {{0, 0}, {1023, 100}}},                 // one monitor of two
        {false, 0, {{0, 0}, {1023, 100}, {1023, 200}}},        // lingering at the far edge after a wipe
    };
    for (const auto& [wipe, left, moves] : runs) {
        CWipeDetector detector(left, 1023, 400);
        bool seen = false;
        for (auto [x, ms] : moves)
            seen = detector.OnPointer(x, ms);
        EXPECT_EQ(wipe, seen) << moves.back().first << " at " << moves.back().second;
    }
}

TEST(IdleTrigger, FiresOnceAfterTheDelayPerStretchWithoutInputOrAsTheScreensaverStarts)
{
    CIdleTrigger idle(5000);
    EXPECT_EQ(4000u, idle.NextPollMs(1000, 0));
    EXPECT_FALSE(idle.Poll(4999, 0, false));
    EXPECT_TRUE(idle.Poll(5000, 0, true));
    EXPECT_FALSE(idle.Poll(9000, 0, false));  // still the same stretch
    EXPECT_EQ(5000u, idle.NextPollMs(9000, 0));
    EXPECT_FALSE(idle.Poll(12000, 8000, false));
    EXPECT_TRUE(idle.Poll(13000, 8000, false));
    EXPECT_LE(50u, CIdleTrigger(10).NextPollMs(100, 95));  // never spins

    CIdleTrigger screensaver(0);  // as the screensaver starts, whatever the input
    std::string fired;
    for (bool running : {false, true, true, false, true})
        fired += screensaver.Poll(1000000, 0, running) ? '1' : '0';
    EXPECT_EQ("01001", fired);
}

TEST(AttemptBackoff, WaitsTwoFourEightUpToThirtySecondsFromTheThirdWrongAttemptInARow)
{
    CAttemptBackoff backoff;
    std::vector<DWORD> waits;
    DWORD now = 0xFFFFF000;  // across the tick count's wrap as well
    for (int attempt = 0; attempt < 8; ++attempt) {
        now += backoff.RemainingMs(now);
        backoff.OnWrong(now);
        waits.push_back(backoff.RemainingMs(now));
    }
    EXPECT_EQ((std::vector<DWORD>{0, 0, 2000, 4000, 8000, 16000, 30000, 30000}), waits);
    EXPECT_EQ(1000u, backoff.RemainingMs(now + 29000));
    backoff.OnRight();
    backoff.OnWrong(now);
    EXPECT_EQ(0u, backoff.RemainingMs(now));
}

TEST(DaemonSettings, ReadsTheFileOnceOrNotAtAllAndMakesItsValuesSound)
{
    const std::string name = "DaemonSettings.bin", path = ExecutableDirectory() + "\\" + name;
    DaemonSettings settings;
    auto numbers = [&] {
        return std::vector<int>{settings.virtualKey, settings.screenwipe, settings.screensaver, settings.velocityMs,
                                settings.delayMinutes};
    };
    ::DeleteFileA(path.c_str());
    settings.code = "old";
    ASSERT_TRUE(ReadDaemonSettings(name, settings));  // no file: defaults, no password
    EXPECT_EQ((std::vector<int>{0, 0, 0, 500, 5}), numbers());
    EXPECT_EQ("", settings.code);

    std::ofstream file(path, std::ios::binary);
    for (auto [key, value] : {std::pair{"m_nVirtualKey", "19"}, {"m_bScreenwipe", "1"}, {"m_bScreensaver", "1"},
             {"m_nVelocity", "5000"}, {"m_nDelay", "0"}, {"m_csCode", "a1b2"}, {"m_csCode", "ffff"},
             {"m_csImage", "C:\\lock.bmp"}})
        file << SettingsRecordBytes(key, value);
    file.close();
    HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(ReadDaemonSettings(name, settings));  // held: unread, nothing changed
    EXPECT_EQ((std::vector<int>{0, 0, 0, 500, 5}), numbers());
    ::CloseHandle(held);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);  // as in Program Files for a standard user
    ASSERT_TRUE(ReadDaemonSettings(name, settings));
    EXPECT_EQ((std::vector<int>{19, 1, 1, 1100, 0}), numbers());
    EXPECT_EQ("a1b2", settings.code);
    EXPECT_EQ("C:\\lock.bmp", settings.image);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
}
