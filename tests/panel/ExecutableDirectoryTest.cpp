#include "panel/ExecutableDirectory.h"
#include "panel/LaunchOnStartup.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Cut(std::string path)
{
    CutAtLastSeparator(&path[0]);
    return path.c_str();
}
}  // namespace

TEST(ExecutableDirectory, IsCutAtTheLastSeparatorOfEitherKind)
{
    EXPECT_EQ("C:\\Program Files\\Vellmoran", Cut("C:\\Program Files\\Vellmoran\\Vellmoran.exe"));
    EXPECT_EQ("C:/Vellmoran", Cut("C:/Vellmoran/Vellmoran.exe"));
    EXPECT_EQ("C:\\a/b", Cut("C:\\a/b\\Vellmoran.exe"));
    EXPECT_EQ("C:\\a\\b", Cut("C:\\a\\b/Vellmoran.exe"));
    // At the root only the drive designator is left.
    EXPECT_EQ("C:", Cut("C:\\Vellmoran.exe"));
    EXPECT_EQ("", Cut("Vellmoran.exe"));
    EXPECT_EQ("", Cut("\\Vellmoran.exe"));
    EXPECT_EQ("", Cut(""));
}

TEST(ExecutableDirectory, OfTheRunningProgramHoldsNoFileName)
{
    char directory[MAX_PATH];
    ASSERT_TRUE(GetExecutableDirectory(directory));
    char module[MAX_PATH];
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(std::string(module), std::string(directory) + "\\PanelTests.exe");
}

TEST(RunData, FitsThePathBufferOrIsRefused)
{
    char data[MAX_PATH];
    ASSERT_TRUE(ComposeRunData("C:\\Program Files\\Vellmoran", data));
    EXPECT_STREQ("C:\\Program Files\\Vellmoran\\VellmoranD.exe", data);

    // 244 characters and "\VellmoranD.exe" make 259, the most a path buffer
    // holds with its terminator.
    std::string longest(244, 'd');
    ASSERT_TRUE(ComposeRunData(longest.c_str(), data));
    EXPECT_EQ(259u, std::string(data).size());
    std::string tooLong(245, 'd');
    EXPECT_FALSE(ComposeRunData(tooLong.c_str(), data));
}
