#include "core/project/AllocationSettings.h"

#include <gtest/gtest.h>

using namespace dorvan;

TEST(AllocationSettings, PrecisionFromOneTenThousandthToTen)
{
    for (const char* good : { "10", "0,0001", "0.0001", "0,01", "10,00004", "0,00006" })
        EXPECT_TRUE(precisionAcceptable(good)) << good;
    for (const char* bad : { "10,0001", "0", "0,00001", "0,00005", "-1", "abc", "", "1,2,3" })
        EXPECT_FALSE(precisionAcceptable(bad)) << bad;
    EXPECT_TRUE(precisionAcceptable(DefaultPrecisionText));
}

TEST(AllocationSettings, CorrectionAboveZero)
{
    for (const char* good : { "0,0001", "1,0", "250" })
        EXPECT_TRUE(correctionAcceptable(good)) << good;
    for (const char* bad : { "0", "0,00004", "-0,5", "k", "" })
        EXPECT_FALSE(correctionAcceptable(bad)) << bad;
    EXPECT_TRUE(correctionAcceptable(DefaultCorrectionText));
}
