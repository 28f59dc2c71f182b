#pragma once

// The centre of one proposed group: the exact weighted Weber point of its members, found by
// Weiszfeld's iteration, with Kuhn's test deciding when a member place is the centre itself.
// Used by the group search only; its sums come from WeberSums.

#include "core/allocation/GroupSearch.h"
#include "core/allocation/WeberSums.h"

#include <cstddef>
#include <span>
#include <vector>

namespace dorvan::grouping {

using Members = std::vector<int>;

// The fewest places a group may have.
inline constexpr int MinMembers = 3;
// Two totals this close (relatively) are the same total.
inline constexpr long double SameTotal = 1e-9L;

// An index of a site, group or member as the containers take it.
inline std::size_t at(int i) { return static_cast<std::size_t>(i); }

// The sum of the groups' costs.
long double totalOf(const std::vector<FoundGroup>& groups);
// Fixed groups first, in the order the centres were given; then the others by their first member.
void orderGroups(std::vector<FoundGroup>& groups);

// Weiszfeld steps shorter than this share of the spread of the places end the iteration.
inline constexpr long double StepTolerance = 1e-15L;

// How hard a Weber point is solved: the search compares many candidate groups and needs
// the totals to far fewer digits than the answer shown at the end.
struct Accuracy {
    long double step; // stop when a step is below this share of the spread
    bool everyPlace; // test every place by Kuhn's condition first, not only the nearest at the end
};
inline constexpr Accuracy Searching { 1e-9L, false };
inline constexpr Accuracy Final { StepTolerance, true };

inline long double dist(long double x, long double y, const GroupSite& s)
{
    return weberDistance<long double>(x, y, s.x, s.y);
}

// The sum of weight × distance of the members (indices into sites) to (x, y).
long double objectiveAt(
    std::span<const GroupSite> sites, std::span<const int> members, long double x, long double y);

// Within this share of the largest coordinate a point lies on a place (as in the solver).
long double reachOf(std::span<const GroupSite> sites);

// The Weber point of the members (indices into sites); from, when given, is where the
// iteration starts instead of the weighted mean.
WeberResult solveWeber(std::span<const GroupSite> sites, std::span<const int> members, long double reach,
    Accuracy accuracy = Final, const WeberResult* from = nullptr);

} // namespace dorvan::grouping
