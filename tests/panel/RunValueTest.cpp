#include "panel/ExecutableDirectory.h"
#include "panel/LaunchOnStartup.h"
#include "tests/panel/PanelHelpers.h"

#include <gtest/gtest.h>

TEST(ExecutableDirectory, LastSeparator)
{
    const char* const cases[][2] = {
        {"C:\\Program Files\\Vellmoran\\Vellmoran.exe", "C:\\Program Files\\Vellmoran"},
        {"C:/Vellmoran/Vellmoran.exe", "C:/Vellmoran"}, {"C:\\a/b\\x.exe", "C:\\a/b"}, {"C:\\a\\b/x.exe", "C:\\a\\b"},
        // At the root only the drive designator is left.
        {"C:\\x.exe", "C:"}, {"x.exe", ""}, {"\\x.exe", ""}, {"", ""},
    };
    for (const auto& c : cases) {
        std::string path = c[0];
        CutAtLastSeparator(&path[0]);
        EXPECT_STREQ(c[1], path.c_str()) << c[0];
    }
    // 244 characters and "\VellmoranD.exe" fill a path buffer; one more does not fit.
    char data[MAX_PATH];
    EXPECT_TRUE(ComposeRunData(std::string(244, 'd').c_str(), data));
    EXPECT_FALSE(ComposeRunData(std::string(245, 'd').c_str(), data));
}

TEST(LaunchOnStartup, RunValue)
{
    SetRunValue("");
    EXPECT_FALSE(IsLaunchOnStartup("VellmoranD.dll"));
    EXPECT_FALSE(RemoveLaunchOnStartup("VellmoranD.dll"));

    // Stored bare, terminator included, under the name before the first dot.
    ASSERT_TRUE(SetLaunchOnStartup("VellmoranD.dll"));
    EXPECT_EQ(ExpectedRunData() + '\0', RunValue());
    EXPECT_TRUE(IsLaunchOnStartup("VellmoranD"));
    EXPECT_TRUE(IsLaunchOnStartup("VellmoranD.exe.old"));
    EXPECT_FALSE(IsLaunchOnStartup("Vellmoran.dll"));

    std::string upper = ExpectedRunData();
    for (char& c : upper)
        c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    const struct {
        std::string bytes;
        DWORD type;
        bool matches;
    } stored[] = {
        {std::string("C:\\Elsewhere\\VellmoranD.exe") + '\0', REG_SZ, false},
        {upper + '\0', REG_SZ, false},
        // Empty, or cut short: a prefix of the path is not the path.
        {std::string(1, '\0'), REG_SZ, false},
        {ExpectedRunData().substr(0, ExpectedRunData().size() - 4) + '\0', REG_SZ, false},
        // Too long for the query's 260-byte buffer.
        {ExpectedRunData() + std::string(300, ' ') + '\0', REG_SZ, false},
        // The type is not examined, and the text may lack its terminator.
        {ExpectedRunData() + '\0', REG_BINARY, true},
        {ExpectedRunData(), REG_EXPAND_SZ, true},
    };
    for (const auto& s : stored) {
        SetRunValue(s.bytes, s.type);
        EXPECT_EQ(s.matches, IsLaunchOnStartup("VellmoranD.dll") != FALSE) << s.bytes;
    }
    EXPECT_TRUE(RemoveLaunchOnStartup("VellmoranD.anything"));
    EXPECT_EQ("", RunValue());
}
