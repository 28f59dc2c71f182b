#include "core/common/DecimalText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace dorvan;

namespace {
std::int64_t count(std::string_view text)
{
    DecimalParse p = parseDecimal4(text);
    EXPECT_TRUE(p.ok()) << text;
    return p.ok() ? p.number->tenThousandths : -999999;
}
DecimalError refusal(std::string_view text)
{
    DecimalParse p = parseDecimal4(text);
    EXPECT_FALSE(p.ok()) << text;
    return p.error;
}
} // namespace

TEST(DecimalText, ReadsCommaOrPointIntoTenThousandths)
{
    EXPECT_EQ(count("2,50"), 25000);
    EXPECT_EQ(count("2.5"), 25000);
    EXPECT_EQ(count("3"), 30000);
    EXPECT_EQ(count("-0,1"), -1000);
    EXPECT_EQ(count("+7"), 70000);
    EXPECT_EQ(count("  12,3456 "), 123456);
    EXPECT_EQ(count(",5"), 5000);
    EXPECT_EQ(count("5,"), 50000);
    EXPECT_EQ(count("-0"), 0);
    EXPECT_EQ(count("0,01"), 100);
    EXPECT_DOUBLE_EQ(Decimal4 { 25000 }.value(), 2.5);
    EXPECT_DOUBLE_EQ(Decimal4 { 1 }.value(), 0.0001);
}

TEST(DecimalText, FifthDecimalRoundsToNearestWithHalvesToEven)
{
    EXPECT_EQ(count("1,23456"), 12346);
    EXPECT_EQ(count("1,23454"), 12345);
    EXPECT_EQ(count("1,23455"), 12346); // 12345.5 -> even 12346
    EXPECT_EQ(count("1,23445"), 12344); // 12344.5 -> even 12344
    EXPECT_EQ(count("1,234450001"), 12345); // above the half
    EXPECT_EQ(count("0,00005"), 0);
    EXPECT_EQ(count("0,00015"), 2);
    EXPECT_EQ(count("-0,00015"), -2);
    EXPECT_EQ(count("0,99995"), 10000);
}

TEST(DecimalText, RefusesEverythingThatIsNotOneNumber)
{
    EXPECT_EQ(refusal(""), DecimalError::Empty);
    EXPECT_EQ(refusal("   "), DecimalError::Empty);
    EXPECT_EQ(refusal("abc"), DecimalError::Junk);
    EXPECT_EQ(refusal("12a"), DecimalError::Junk);
    EXPECT_EQ(refusal("-"), DecimalError::Junk);
    EXPECT_EQ(refusal(","), DecimalError::Junk);
    EXPECT_EQ(refusal("1e3"), DecimalError::Junk);
    EXPECT_EQ(refusal("inf"), DecimalError::Junk);
    EXPECT_EQ(refusal("NaN"), DecimalError::Junk);
    EXPECT_EQ(refusal("1 000"), DecimalError::Junk);
    EXPECT_EQ(refusal("--1"), DecimalError::Junk);
    EXPECT_EQ(refusal("1,2,3"), DecimalError::TwoSeparators);
    EXPECT_EQ(refusal("1.2,3"), DecimalError::TwoSeparators);
}

TEST(DecimalText, RefusesNumbersBeyondTheCountInsteadOfWrapping)
{
    // The largest count is 9223372036854775807 ten-thousandths.
    EXPECT_EQ(count("922337203685477,5807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(count("-922337203685477,5807"), -std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(refusal("922337203685477,5808"), DecimalError::Overflow);
    EXPECT_EQ(refusal("922337203685477,58075"), DecimalError::Overflow); // rounds up past the top
    EXPECT_EQ(refusal("922337203685478"), DecimalError::Overflow);
    EXPECT_EQ(refusal("99999999999999999999999999999"), DecimalError::Overflow);
}

TEST(DecimalText, ShortestFormWithTheGivenSeparator)
{
    EXPECT_EQ(formatDecimal4(Decimal4 { 25000 }, ","), "2,5");
    EXPECT_EQ(formatDecimal4(Decimal4 { 30000 }, ","), "3");
    EXPECT_EQ(formatDecimal4(Decimal4 { 1235 }, ","), "0,1235");
    EXPECT_EQ(formatDecimal4(Decimal4 { -1000 }, "."), "-0.1");
    EXPECT_EQ(formatDecimal4(Decimal4 { 0 }, ","), "0");
    EXPECT_EQ(formatDecimal4(Decimal4 { 12340500 }, "\xD9\xAB"),
        "1234\xD9\xAB"
        "05");
    EXPECT_EQ(
        formatDecimal4(Decimal4 { std::numeric_limits<std::int64_t>::min() }, ","), "-922337203685477,5808");

    EXPECT_EQ(formatDecimal4(2.5, ","), "2,5");
    EXPECT_EQ(formatDecimal4(1.23456, ","), "1,2346");
    EXPECT_EQ(formatDecimal4(-3.0, ","), "-3");
    EXPECT_EQ(formatDecimal4(0.00004, ","), "0");
    EXPECT_EQ(formatDecimal4(1e15, ","), "1000000000000000");
    EXPECT_EQ(formatDecimal4(1e15 + 0.5, ","), "1000000000000000,5");
    EXPECT_EQ(formatDecimal4(std::nan(""), ","), "NaN");
    EXPECT_FALSE(toDecimal4(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_FALSE(formatDecimal4(1e300, ",").empty());
}

TEST(DecimalText, ReadTextShowsAgainAsTyped)
{
    for (const char* text : { "0", "1", "2,5", "-17,0625", "0,0001", "123456789,1234" })
        EXPECT_EQ(formatDecimal4(parseDecimal4(text).number->value(), ","), text);
}

TEST(DecimalText, WholeNumbersSaturateInsteadOfWrapping)
{
    EXPECT_EQ(parseWholeNumber("12"), 12);
    EXPECT_EQ(parseWholeNumber(" -5 "), -5);
    EXPECT_EQ(parseWholeNumber("+0"), 0);
    EXPECT_FALSE(parseWholeNumber(""));
    EXPECT_FALSE(parseWholeNumber("-"));
    EXPECT_FALSE(parseWholeNumber("1.0"));
    EXPECT_FALSE(parseWholeNumber("abc"));
    EXPECT_FALSE(parseWholeNumber("1 2"));
    EXPECT_EQ(parseWholeNumber("99999999999999999999999"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(parseWholeNumber("-99999999999999999999999"), std::numeric_limits<std::int64_t>::min());
}
