#include "core/common/Rounding.h"

#include <gtest/gtest.h>

using dorvan::roundHalfEven;
using dorvan::roundToInt;

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(0.5L), 0.0L);
    EXPECT_EQ(roundHalfEven(1.5L), 2.0L);
    EXPECT_EQ(roundHalfEven(2.5L), 2.0L);
    EXPECT_EQ(roundHalfEven(-0.5L), 0.0L);
    EXPECT_EQ(roundHalfEven(-1.5L), -2.0L);
    EXPECT_EQ(roundHalfEven(-2.5L), -2.0L);
    EXPECT_EQ(roundHalfEven(2.4999L), 2.0L);
    EXPECT_EQ(roundHalfEven(2.5001L), 3.0L);
    EXPECT_EQ(roundHalfEven(-2.5001L), -3.0L);
}

TEST(Rounding, IntConversionClampsInsteadOfOverflowing)
{
    EXPECT_EQ(roundToInt(3.5L), 4);
    EXPECT_EQ(roundToInt(1e30L), std::numeric_limits<int>::max());
    EXPECT_EQ(roundToInt(-1e30L), std::numeric_limits<int>::min());
    EXPECT_EQ(roundToInt(std::numeric_limits<long double>::quiet_NaN()), 0);
}
