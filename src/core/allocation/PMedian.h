#pragma once

// The classic continuous p-median (multisource Weber) problem at any size: P centres anywhere
// in the plane, every place served by one centre, the total sum of weight × Euclidean distance
// least. Existing centres serve from their place and stay put; optional group-size limits make
// each group hold between minPlaces and maxPlaces places.
//
// The search: starts spread by weight × distance; Cooper's alternation (every place to its
// nearest centre, found on a k-d tree of the centres; every free centre to its group's exact
// weighted Weber point, a place passing Kuhn's test being the centre itself); interchange moves
// (a centre taken to a place where it gains most, then the alternation) until none gains; and
// a variable neighbourhood search around the best end (k centres relocated to places drawn by
// weight × distance). Each thread runs its own search from a seed of its own; the best end of
// all wins, ties to the lowest thread. The work of a thread is fixed by its seed, so the same
// seed and the same number of threads give the same result unless the time limit cuts it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dorvan::pmedian {

struct Problem { // one entry per place, same length
    std::span<const double> x, y, weight;
    int centres = 2; // P, fixed ones included
    std::vector<int> fixed; // place indices that are existing centres (serve from there)
    int minPlaces = 0, maxPlaces = 0; // 0 = no limit
};

struct Progress {
    double elapsedSeconds = 0;
    double fraction = 0; // share of the search done, 0..1
    double bestTotal = 0; // the best total found so far (0 before the first)
};

struct Options {
    double timeLimitSeconds = 10.0; // a cap; the search stops earlier when it has converged
    int threads = 0; // 0 = all cores
    std::uint64_t seed = 1;
    std::function<void(const Progress&)> progress; // called from the calling thread, a few times a second
    const std::atomic<bool>* cancel = nullptr;
    // Scales the work of the search (the perturbations without gain after which it has
    // converged): below 1 a quicker search, above 1 a more thorough one.
    double effort = 1.0;
};

struct Centre {
    double x = 0, y = 0;
    double objective = 0; // sum of weight × distance of its members
    int members = 0;
    int fixedPlace = -1; // the existing centre's place, -1 for a free centre
    int onPlace = -1; // a place the centre lies on (Kuhn's test held there), -1 when none
};

struct Solution {
    double total = 0; // sum of weight × Euclidean distance (accumulated in long double)
    std::vector<Centre> centres; // the fixed centres first in the order given, then the free ones
    std::vector<std::int32_t> centreOf; // per place, an index into centres
    bool timedOut = false, cancelled = false;
    int starts = 0; // local searches run (starts and their perturbations) over all threads
};

// Why the problem cannot be solved (a Slovak message for the user), or nothing.
std::optional<std::string> problemWith(const Problem& problem);

// The best groups found. Requires problemWith to have no objection (throws std::invalid_argument
// with its message otherwise).
Solution solve(const Problem& problem, const Options& options);

} // namespace dorvan::pmedian
