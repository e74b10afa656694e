// The daemon stand-in reads the settings through the same store, so what the
// panel writes can be shown to reach it, and it can hold the file as the
// real daemon may.
#include "settings/SettingsStore.h"
#include "tests/support/GuiDriver.h"
#include "tests/support/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
const char kHoldVariable[] = "VELLMORAN_DAEMON_HOLD_SETTINGS_MS";

std::string LogPath()
{
    return ExecutableDirectory() + "\\VellmoranD.log";
}

std::string ReadLog()
{
    std::ifstream log(LogPath());
    return std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
}

// Starts the stand-in from the test's own directory and stops it again.
class RunningDaemon {
public:
    RunningDaemon()
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        std::string commandLine = "\"" + ExecutableDirectory() + "\\VellmoranD.exe\"";
        m_started = ::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &m_process) != FALSE;
    }
    ~RunningDaemon()
    {
        if (!m_started)
            return;
        if (HWND window = ::FindWindowA(nullptr, "V3LLM0R4ND"))
            ::PostMessageA(window, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_process.hProcess, 10000) != WAIT_OBJECT_0)
            ::TerminateProcess(m_process.hProcess, 1);
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }
    RunningDaemon(const RunningDaemon&) = delete;
    RunningDaemon& operator=(const RunningDaemon&) = delete;

    bool WaitForWindow() const
    {
        return m_started && WaitUntil([] { return ::FindWindowA(nullptr, "V3LLM0R4ND") != nullptr; }, 15000);
    }

private:
    bool m_started = false;
    PROCESS_INFORMATION m_process = {};
};

class DaemonSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(nullptr, ::FindWindowA(nullptr, "V3LLM0R4ND")) << "a daemon is already running";
        DeleteSettingsFile();
        ::DeleteFileA(LogPath().c_str());
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA(kHoldVariable, nullptr);
        DeleteSettingsFile();
        ::DeleteFileA(LogPath().c_str());
    }
};
}  // namespace

TEST_F(DaemonSettingsTest, TheDaemonLogsTheSettingsItReadAtStartUp)
{
    CSettingsStore store("Vellmoran.bin");
    ASSERT_EQ(1, store.WriteInt("m_nVirtualKey", 19));
    ASSERT_EQ(1, store.WriteInt("m_bScreensaver", 1));
    ASSERT_EQ(1, store.WriteInt("m_nVelocity", 700));
    ASSERT_EQ(1, store.WriteInt("m_nDelay", 12));
    ASSERT_EQ(1, store.WriteString("m_csCode", "298e2823f33e"));
    {
        RunningDaemon daemon;
        ASSERT_TRUE(daemon.WaitForWindow());
        EXPECT_EQ("m_nVirtualKey=19\n"
                  "m_bScreenwipe\n"
                  "m_bScreensaver=1\n"
                  "m_nVelocity=700\n"
                  "m_nDelay=12\n"
                  "m_csCode=298e2823f33e\n",
                  ReadLog());
    }
    EXPECT_EQ(1, store.CanOpen()) << "the daemon kept the file open";
}

TEST_F(DaemonSettingsTest, WithoutAFileTheDaemonReadsNothingAndLeavesItEmpty)
{
    RunningDaemon daemon;
    ASSERT_TRUE(daemon.WaitForWindow());
    EXPECT_EQ("m_nVirtualKey\nm_bScreenwipe\nm_bScreensaver\nm_nVelocity\nm_nDelay\nm_csCode\n", ReadLog());
    EXPECT_TRUE(SettingsFileExists());
    EXPECT_EQ("", ReadSettingsFile());
}

TEST_F(DaemonSettingsTest, AHoldingDaemonMakesTheStoreFailUntilItLetsGo)
{
    WriteSettingsFile(SettingsRecordBytes("m_nDelay", "5"));
    ::SetEnvironmentVariableA(kHoldVariable, "1500");
    RunningDaemon daemon;
    ASSERT_TRUE(daemon.WaitForWindow());
    EXPECT_NE(std::string::npos, ReadLog().find("m_nDelay=5\n")) << ReadLog();

    CSettingsStore store("Vellmoran.bin");
    int delay = 0;
    EXPECT_EQ(0, store.ReadInt("m_nDelay", delay));
    EXPECT_EQ(0, store.WriteInt("m_nDelay", 6));
    EXPECT_EQ(0, store.CanOpen());

    EXPECT_TRUE(WaitUntil([&store] { return store.CanOpen() == 1; }, 10000));
    EXPECT_EQ(1, store.ReadInt("m_nDelay", delay));
    EXPECT_EQ(5, delay);
}
