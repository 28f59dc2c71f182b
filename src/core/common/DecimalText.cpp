#include "core/common/DecimalText.h"

#include "core/common/Rounding.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace dorvan {
namespace {

constexpr std::int64_t Scale = 10000;
constexpr std::uint64_t CountMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}


DecimalParse failure(DecimalError e)
{
    DecimalParse p;
    p.error = e;
    return p;
}

} // namespace

DecimalParse parseDecimal4(std::string_view text)
{
    std::string_view s = trimBlanks(text);
    if (s.empty())
        return failure(DecimalError::Empty);

    bool negative = false;
    if (s.front() == '+' || s.front() == '-') {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }

    // The whole part may grow only as far as the count of ten-thousandths can follow it.
    constexpr std::uint64_t wholeMax = CountMax / Scale;
    std::uint64_t whole = 0;
    std::uint64_t fraction = 0; // the first four decimals
    int fractionDigits = 0;
    int roundDigit = -1; // the fifth decimal
    bool stickyBeyond = false; // a non-zero digit after the fifth decimal
    bool separatorSeen = false;
    bool anyDigit = false;

    for (char c : s) {
        if (c == ',' || c == '.') {
            if (separatorSeen)
                return failure(DecimalError::TwoSeparators);
            separatorSeen = true;
            continue;
        }
        if (!isDigit(c))
            return failure(DecimalError::Junk);
        anyDigit = true;
        int digit = c - '0';
        if (!separatorSeen) {
            if (whole > (wholeMax - static_cast<std::uint64_t>(digit)) / 10)
                return failure(DecimalError::Overflow);
            whole = whole * 10 + static_cast<std::uint64_t>(digit);
        } else if (fractionDigits < 4) {
            fraction = fraction * 10 + static_cast<std::uint64_t>(digit);
            ++fractionDigits;
        } else if (roundDigit < 0) {
            roundDigit = digit;
        } else if (digit != 0) {
            stickyBeyond = true;
        }
    }
    if (!anyDigit)
        return failure(DecimalError::Junk);

    for (int i = fractionDigits; i < 4; ++i)
        fraction *= 10;
    std::uint64_t count = whole * Scale + fraction;
    bool up = roundDigit > 5 || (roundDigit == 5 && (stickyBeyond || (count % 2) == 1));
    if (up) {
        if (count == CountMax)
            return failure(DecimalError::Overflow);
        ++count;
    }
    if (count > CountMax)
        return failure(DecimalError::Overflow);

    auto signedCount = static_cast<std::int64_t>(count);
    DecimalParse p;
    p.number = Decimal4 { negative ? -signedCount : signedCount };
    return p;
}

std::optional<std::int64_t> parseWholeNumber(std::string_view text)
{
    std::string_view s = trimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return std::nullopt;
    std::uint64_t n = 0;
    bool saturated = false;
    for (char c : s) {
        if (!isDigit(c))
            return std::nullopt;
        auto digit = static_cast<std::uint64_t>(c - '0');
        if (n > (CountMax - digit) / 10)
            saturated = true;
        else
            n = n * 10 + digit;
    }
    if (saturated)
        return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    auto v = static_cast<std::int64_t>(n);
    return negative ? -v : v;
}

std::string formatDecimal4(Decimal4 d, std::string_view separator)
{
    std::string out;
    // The magnitude as unsigned, so that the most negative count has one too.
    std::uint64_t magnitude = d.tenThousandths < 0 ? 0 - static_cast<std::uint64_t>(d.tenThousandths)
                                                   : static_cast<std::uint64_t>(d.tenThousandths);
    if (d.tenThousandths < 0)
        out += '-';
    out += std::to_string(magnitude / Scale);
    std::uint64_t fraction = magnitude % Scale;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        out += separator;
        out += digits;
    }
    return out;
}

std::optional<Decimal4> toDecimal4(double v)
{
    if (!std::isfinite(v))
        return std::nullopt;
    long double scaled = roundHalfEven(static_cast<long double>(v) * Scale);
    // 2^63 is exactly representable; anything from there on does not fit the count.
    constexpr long double limit = 9223372036854775808.0L;
    if (scaled >= limit || scaled < -limit)
        return std::nullopt;
    return Decimal4 { static_cast<std::int64_t>(scaled) };
}

std::string formatDecimal4(double v, std::string_view separator)
{
    if (auto d = toDecimal4(v))
        return formatDecimal4(*d, separator);
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v < 0 ? "-∞" : "∞";
    // Beyond the count (more than about 9·10^14): plain notation, four decimals at most.
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    std::string s(buf);
    auto point = s.find('.');
    if (point != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
        else
            s.replace(point, 1, separator);
    }
    return s;
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

double fourDecimals(double v)
{
    const auto d = toDecimal4(v);
    return d ? d->value() : v;
}

} // namespace dorvan
