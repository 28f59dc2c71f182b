#include "core/allocation/GroupColours.h"

#include <gtest/gtest.h>

using namespace dorvan;

TEST(GroupColours, OwnRowsThenFirstDividingRowThenDefault)
{
    EXPECT_EQ(VstupUdajFarby(1), 0x000000u);
    EXPECT_EQ(VstupUdajFarby(2), 0x008000u);
    EXPECT_EQ(VstupUdajFarby(3), 0x008ACFu);
    EXPECT_EQ(VstupUdajFarby(4), 0x011387u);
    EXPECT_EQ(VstupUdajFarby(5), 0x800000u);
    EXPECT_EQ(VstupUdajFarby(6), 0x008080u);
    EXPECT_EQ(VstupUdajFarby(7), 0x0000FFu); // red
    EXPECT_EQ(VstupUdajFarby(8), 0x008000u); // green, divisor 8
    EXPECT_EQ(VstupUdajFarby(13), 0x0000FFu); // red, divisor 13
    EXPECT_EQ(VstupUdajFarby(14), 0x000000u); // black: 7 divides it before anything else
    EXPECT_EQ(VstupUdajFarby(16), 0x008000u); // green: 8
    EXPECT_EQ(VstupUdajFarby(18), 0x008ACFu); // 9
    EXPECT_EQ(VstupUdajFarby(20), 0x011387u); // 10
    EXPECT_EQ(VstupUdajFarby(22), 0x800000u); // 11
    EXPECT_EQ(VstupUdajFarby(24), 0x008000u); // 8 comes before 12
    EXPECT_EQ(VstupUdajFarby(26), 0x0000FFu); // 13
    EXPECT_EQ(VstupUdajFarby(56), 0x000000u); // 7 before 8
    for (int uncovered : { 15, 17, 19, 23, 25, 0, -7, -1 })
        EXPECT_EQ(VstupUdajFarby(uncovered), GroupDefaultColour) << uncovered;
    for (int n = 1; n <= 7; ++n)
        EXPECT_NE(VstupUdajFarby(n), GroupDefaultColour) << n;
}
