#pragma once

// The least-cost assignment of places to centres at given positions when every centre must hold
// between a least and a largest number of places (a transportation problem with few sinks),
// exact at any number of places.
//
// Each place starts at its cheapest centre under the centre prices (all zero on a small cold
// start; on a large one those of the exact solve of a quarter of the places), a few rounds of price moves
// pass most of the surplus of overfull centres on, and the centres still over their largest size or under
// their least one are then repaired by shortest augmenting paths on the small graph of the centres (a move of
// one place from centre a to centre b costs the least weight x (distance to b - distance to a) over the
// places of a, kept per pair of centres in a short list of the cheapest candidates), with prices that keep
// every reduced cost non-negative. The result is a true optimum: no chain of moves lowers the total. A
// previous assignment (`start`) gives the prices to begin with, so repeated calls with centres that moved a
// little only repair what changed.

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace dorvan::pmedian {

struct SizeLimits {
    int minPlaces = 0; // the least places a centre holds; 0 for no limit
    int maxPlaces = 0; // the most places a centre holds; 0 for no limit
};

// Whether `places` places can be shared among `centres` centres within the limits (pinned
// places, one a centre at most, never change the answer).
bool sizesCanWork(int places, int centres, SizeLimits limits);

// Least sum of weight x distance assigning every place to one of the centres, each centre
// holding between min and max places, pinned[c] (a place index or -1) forced onto centre c
// (`pinned` is empty or has one entry a centre). Nothing when the sizes cannot work (P x min >
// n, P x max < n, min > max, a place pinned to two centres) or when `cancel` was set. `start`
// (empty, or a centre or -1 for every place) is a previous assignment to warm-start from. Throws
// std::invalid_argument (Slovak what()) on lists of unequal lengths, indices out of range or
// coordinates and weights that are not finite numbers; nothing as well for values beyond 1e100
// (whose sums could overflow).
std::optional<std::vector<std::int32_t>> assignWithinSizes(std::span<const double> x,
    std::span<const double> y, std::span<const double> weight, std::span<const double> cx,
    std::span<const double> cy, std::span<const int> pinned, SizeLimits limits,
    std::span<const std::int32_t> start = {}, const std::atomic<bool>* cancel = nullptr);

// What a solve did, for benchmarks and tests of the warm start.
struct SizedAssignmentStats {
    long long augmentations = 0; // shortest augmenting paths (each moves one place or more along a chain)
    long long listRebuilds = 0; // candidate lists of a pair of centres rebuilt from its members
};
// The statistics of the last call of assignWithinSizes on this thread.
SizedAssignmentStats lastSizedAssignmentStats();

} // namespace dorvan::pmedian
