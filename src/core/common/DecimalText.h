#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dorvan {

// Numbers typed by the user are kept as a whole count of ten-thousandths, read straight from
// the digits so that "0,1" is exactly 1000 and never passes through a binary fraction.
struct Decimal4 {
    std::int64_t tenThousandths = 0;

    // The value stored in the project: the count divided by 10,000.
    double value() const { return static_cast<double>(tenThousandths) / 10000.0; }
    bool operator==(const Decimal4&) const = default;
};

// Why a text is not a number.
enum class DecimalError {
    Empty, // nothing but blanks
    Junk, // a character that belongs to no number, or no digit at all
    TwoSeparators, // more than one decimal separator
    Overflow, // too large for the count of ten-thousandths
};

struct DecimalParse {
    std::optional<Decimal4> number;
    DecimalError error = DecimalError::Empty;

    bool ok() const { return number.has_value(); }
};

// Reads an optionally signed decimal number with a comma or a point as its separator (both on
// every system, so defaults written as "0,01" always read). Blanks around the number are
// ignored. Digits beyond the fourth decimal round the count to nearest, halves to even.
// Exponents, thousands separators and words such as "inf" or "nan" are not numbers here.
DecimalParse parseDecimal4(std::string_view text);

// A whole number, optionally signed, blanks around it ignored. A number too large for 64 bits
// saturates at the largest value of its sign, so range checks still see it as too large.
std::optional<std::int64_t> parseWholeNumber(std::string_view text);

// A count of ten-thousandths in the shortest form: no trailing zeros, no separator for whole
// numbers ("3", "2,5", "-0,1235"). separator is the locale's decimal separator (UTF-8).
std::string formatDecimal4(Decimal4 d, std::string_view separator);

// A stored value as the lists show it: rounded to four decimals (halves to even) and written in
// the shortest form. A value too large for the count, or not finite, is written with up to
// four decimals in plain notation by the same rule of the separator.
std::string formatDecimal4(double v, std::string_view separator);

// The count of ten-thousandths nearest to v (halves to even); nothing when v is not finite or
// lies beyond the range of the count.
std::optional<Decimal4> toDecimal4(double v);

// v rounded to four decimals as a coordinate is kept; v itself when it has no such count.
double fourDecimals(double v);

// A blank of typed or imported text: a space or a tab.
inline bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The text without blanks at either end.
std::string_view trimBlanks(std::string_view s);

} // namespace dorvan
