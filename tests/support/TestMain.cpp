#include "framework/WinApp.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    return AfxInitCommonControls(), ::testing::InitGoogleTest(&argc, argv), RUN_ALL_TESTS();
}
