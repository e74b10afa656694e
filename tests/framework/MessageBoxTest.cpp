#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "tests/support/GuiDriver.h"

#include <gtest/gtest.h>

TEST(AfxMessageBox, IsCaptionedWithTheExecutableNameAndGetsAnIconByType)
{
    MessageBoxWatcher watcher(IDOK);
    EXPECT_EQ(IDOK, AfxMessageBox("plain"));
    EXPECT_EQ(IDOK, AfxMessageBox("stop", MB_ICONHAND | MB_OK));
    ASSERT_EQ(2u, watcher.Boxes().size());
    EXPECT_EQ("FrameworkTests", watcher.Boxes()[0].caption);
    EXPECT_EQ("plain", watcher.Boxes()[0].text);
    EXPECT_EQ(::LoadIconA(nullptr, IDI_EXCLAMATION), watcher.Boxes()[0].icon);
    EXPECT_EQ(::LoadIconA(nullptr, IDI_HAND), watcher.Boxes()[1].icon);
    EXPECT_EQ(std::vector<int>{IDOK}, watcher.Boxes()[1].buttons);
}

TEST(AfxFormatString, ReplacesEveryMarker)
{
    EXPECT_EQ("between 0 and 30.", AfxFormatString2("between %1 and %2.", "0", "30"));
    EXPECT_EQ("no more than 32 characters, 32!", AfxFormatString1("no more than %1 characters, %1!", "32"));
}
