#include "core/allocation/WeberSums.h"

#include "core/common/Rounding.h" // the sums need the 80-bit long double it checks for

namespace dorvan {

long double weightedDistanceSum(std::span<const CostSite> sites, long double x, long double y)
{
    return weberObjective(sites, x, y);
}

} // namespace dorvan
