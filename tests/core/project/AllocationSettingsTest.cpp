#include "core/project/AllocationSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

using namespace dorvan;

namespace {

// A text and the count of ten-thousandths it must give, worked out by hand; nothing where the
// text is refused.
struct TextCase {
    const char* text;
    std::optional<std::int64_t> units;
};

} // namespace

TEST(AllocationSettings, PrecisionIsParsedOnceWhenSetAndKeptWithItsText)
{
    const TextCase cases[] = {
        { "10", 100000 },
        { "0,0001", 1 },
        { "0.0001", 1 },
        { "0,01", 100 },
        { " 0,5 ", 5000 },
        { "10,00004", 100000 }, // rounds down to 10
        { "0,00006", 1 }, // rounds up to 0,0001
        { "0,00015", 2 }, // halves to the even count
        { "0,00025", 2 },
        { "10,0001", std::nullopt },
        { "0", std::nullopt },
        { "0,00001", std::nullopt },
        { "0,00005", std::nullopt }, // a half rounds to the even 0
        { "-1", std::nullopt },
        { "abc", std::nullopt },
        { "", std::nullopt },
        { "1,2,3", std::nullopt },
    };
    CooperSettings s;
    for (const TextCase& c : cases) {
        s.setPrecisionText(c.text);
        EXPECT_EQ(s.precisionText(), c.text);
        EXPECT_EQ(s.precision(), c.units) << c.text;
        EXPECT_EQ(precisionUnits(c.text), c.units) << c.text;
        EXPECT_EQ(s.correction(), 10000) << "the correction stays as it was";
    }
    s.resetPrecision();
    EXPECT_EQ(s.precisionText(), "0,01");
    EXPECT_EQ(s.precision(), 100);
}

TEST(AllocationSettings, CorrectionIsParsedOnceWhenSetAndKeptWithItsText)
{
    const TextCase cases[] = {
        { "0,0001", 1 },
        { "1,0", 10000 },
        { "250", 2500000 },
        { "2.5", 25000 },
        { "0", std::nullopt },
        { "0,00004", std::nullopt },
        { "-0,5", std::nullopt },
        { "k", std::nullopt },
        { "", std::nullopt },
    };
    CooperSettings s(StartPoint::Origin, StoppingRule::Objective, "0,5", "1,0");
    for (const TextCase& c : cases) {
        s.setCorrectionText(c.text);
        EXPECT_EQ(s.correctionText(), c.text);
        EXPECT_EQ(s.correction(), c.units) << c.text;
        EXPECT_EQ(correctionUnits(c.text), c.units) << c.text;
        EXPECT_EQ(s.precision(), 5000) << "the precision stays as it was";
    }
    s.resetCorrection();
    EXPECT_EQ(s.correctionText(), "1,0");
    EXPECT_EQ(s.correction(), 10000);

    // A new window's settings, and settings made from texts, hold their numbers.
    const CooperSettings fresh;
    EXPECT_EQ(fresh.start, StartPoint::Computed);
    EXPECT_EQ(fresh.rule, StoppingRule::BothAxes);
    EXPECT_EQ(fresh.precisionText(), "0,01");
    EXPECT_EQ(fresh.precision(), 100);
    EXPECT_EQ(fresh.correction(), 10000);
    const CooperSettings bad(StartPoint::Computed, StoppingRule::AxisX, "11", "0");
    EXPECT_FALSE(bad.precision());
    EXPECT_FALSE(bad.correction());
    EXPECT_FALSE(bad == fresh);
}
