#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace dorvan {

// The solver and the chart sums run in x87 extended precision; the results depend on it.
static_assert(std::numeric_limits<long double>::digits == 64,
              "long double must be the 80-bit x87 extended format");

// Round to the nearest integer, halves to the even neighbour (banker's rounding), the one
// rounding rule of the program: pixel positions, decimal input, displayed values.
inline long double roundHalfEven(long double v)
{
    long double fl = std::floor(v);
    long double diff = v - fl;
    if (diff > 0.5L)
        return fl + 1.0L;
    if (diff < 0.5L)
        return fl;
    // Exactly half: choose the even one.
    return std::fmod(fl, 2.0L) == 0.0L ? fl : fl + 1.0L;
}

// Rounded to an int, clamped to the int range so that a wild value never overflows.
inline int roundToInt(long double v)
{
    if (std::isnan(v))
        return 0;
    long double r = roundHalfEven(v);
    if (r >= static_cast<long double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= static_cast<long double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(r);
}

} // namespace dorvan
