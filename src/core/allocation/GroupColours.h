#pragma once

#include <cstdint>

namespace dorvan {

// The drawing colour of distribution group n, as 0x00BBGGRR. Groups 1 to 7 have colours of
// their own; a larger number takes the colour of the first of the divisors 7, 8, ..., 13 that
// divides it (14 is black like 7, 16 green like 8). A number that no divisor divides, and a
// number below 1, is drawn in GroupDefaultColour.
std::uint32_t VstupUdajFarby(std::int32_t n);

// Teal (red 0, green 0x80, blue 0x80): none of the seven group colours, and legible on the
// white chart and over a map picture.
inline constexpr std::uint32_t GroupDefaultColour = 0x808000;

} // namespace dorvan
