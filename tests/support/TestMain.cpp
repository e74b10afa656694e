#include "framework/WinApp.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    AfxInitCommonControls();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
