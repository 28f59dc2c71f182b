#pragma once

// The centre of one group of the p-median search: its weighted Weber point by Weiszfeld's
// iteration in double precision, the step of Vardi and Zhang on a place, and Kuhn's test at the
// member nearest to the iterate whenever the iteration creeps towards it (then that place is
// the optimum and the iteration stops there).

#include <cstddef>
#include <cstdint>
#include <span>

namespace dorvan::pmedian {

// An index of a place or centre as the containers take it.
inline std::size_t at(std::int64_t i)
{
    return static_cast<std::size_t>(i);
}

// The places of a problem as the search reads them.
struct PlaceArrays {
    const double* x = nullptr;
    const double* y = nullptr;
    const double* w = nullptr;
    std::int32_t n = 0;
    double reach = 0; // within this distance a point lies on a place
};

struct WeberStep {
    double x = 0, y = 0;
    bool converged = false; // the last step was below the tolerance, or Kuhn's test held
    std::int32_t onPlace = -1; // the member place the point lies on, -1 when none
};

// At most maxSteps Weiszfeld steps from (x, y) for the members; stops when a step is shorter
// than tolerance (a length). Every step lowers the group's cost or keeps it.
WeberStep weberSteps(const PlaceArrays& places, std::span<const std::int32_t> members, double x, double y,
    double tolerance, int maxSteps);

// The sum of weight × distance of the members to (x, y), in long double.
long double groupCost(const PlaceArrays& places, std::span<const std::int32_t> members, double x, double y);

} // namespace dorvan::pmedian
