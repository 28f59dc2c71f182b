#include "core/allocation/GroupColours.h"

#include <array>

namespace dorvan {

std::uint32_t VstupUdajFarby(std::int32_t n)
{
    // Row r serves group r and every later group that r + 6 divides first.
    static constexpr std::array<std::uint32_t, 7> colours {
        0x000000, // black
        0x008000, // green
        0x008ACF, // red 0xCF, green 0x8A
        0x011387, // red 0x87, green 0x13, blue 0x01
        0x800000, // navy
        0x008080, // olive
        0x0000FF, // red
    };
    if (n >= 1 && n <= 7)
        return colours[static_cast<std::size_t>(n - 1)];
    if (n > 7) {
        for (std::int32_t divisor = 7; divisor <= 13; ++divisor) {
            if (n % divisor == 0)
                return colours[static_cast<std::size_t>(divisor - 7)];
        }
    }
    return GroupDefaultColour;
}

} // namespace dorvan
