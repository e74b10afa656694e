#include "panel/LaunchOnStartup.h"
#include "tests/panel/RunValue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace {
class LaunchOnStartup : public ::testing::Test {
protected:
    void SetUp() override { ForgetRunValue(); }
    void TearDown() override { ForgetRunValue(); }
};
}  // namespace

TEST_F(LaunchOnStartup, IsWrittenAsTheBarePathWithItsTerminator)
{
    ASSERT_TRUE(SetLaunchOnStartup("VellmoranD.dll"));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRunValue(type, bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(ExpectedRunData() + '\0', bytes);
    EXPECT_TRUE(IsLaunchOnStartup("VellmoranD.dll"));
}

TEST_F(LaunchOnStartup, TestsTheDataByteForByte)
{
    EXPECT_FALSE(IsLaunchOnStartup("VellmoranD.dll"));

    StoreRunValue(REG_SZ, std::string("C:\\Elsewhere\\VellmoranD.exe") + '\0');
    EXPECT_FALSE(IsLaunchOnStartup("VellmoranD.dll"));

    std::string upper = ExpectedRunData();
    std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
    ASSERT_NE(ExpectedRunData(), upper);
    StoreRunValue(REG_SZ, upper + '\0');
    EXPECT_FALSE(IsLaunchOnStartup("VellmoranD.dll"));

    // A text longer than the 260-byte buffer does not fit the query.
    StoreRunValue(REG_SZ, ExpectedRunData() + std::string(300, ' ') + '\0');
    EXPECT_FALSE(IsLaunchOnStartup("VellmoranD.dll"));
}

TEST_F(LaunchOnStartup, DoesNotExamineTheStoredType)
{
    StoreRunValue(REG_BINARY, ExpectedRunData() + '\0');
    EXPECT_TRUE(IsLaunchOnStartup("VellmoranD.dll"));
    StoreRunValue(REG_EXPAND_SZ, ExpectedRunData() + '\0');
    EXPECT_TRUE(IsLaunchOnStartup("VellmoranD.dll"));
    // Without a terminator the text still ends where the data ends.
    StoreRunValue(REG_BINARY, ExpectedRunData());
    EXPECT_TRUE(IsLaunchOnStartup("VellmoranD.dll"));
}

TEST_F(LaunchOnStartup, NamesTheValueAfterTheTextBeforeTheFirstDot)
{
    ASSERT_TRUE(SetLaunchOnStartup("VellmoranD.dll"));
    EXPECT_TRUE(IsLaunchOnStartup("VellmoranD"));
    EXPECT_TRUE(IsLaunchOnStartup("VellmoranD.exe.old"));
    EXPECT_FALSE(IsLaunchOnStartup("Vellmoran.dll"));
    EXPECT_TRUE(RemoveLaunchOnStartup("VellmoranD.anything"));
    DWORD type;
    std::string bytes;
    EXPECT_FALSE(ReadRunValue(type, bytes));
}

TEST_F(LaunchOnStartup, RemovingAMissingValueFails)
{
    EXPECT_FALSE(RemoveLaunchOnStartup("VellmoranD.dll"));
    ASSERT_TRUE(SetLaunchOnStartup("VellmoranD.dll"));
    EXPECT_TRUE(RemoveLaunchOnStartup("VellmoranD.dll"));
    EXPECT_FALSE(RemoveLaunchOnStartup("VellmoranD.dll"));
    EXPECT_FALSE(IsLaunchOnStartup("VellmoranD.dll"));
}
