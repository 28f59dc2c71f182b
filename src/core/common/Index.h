#pragma once

#include <cstddef>

namespace dorvan {

// A place or round number as an index into a std::vector (the numbers are counted in int, as
// the record counts them, and are never negative where they index).
inline std::size_t ix(int k)
{
    return static_cast<std::size_t>(k);
}

} // namespace dorvan
