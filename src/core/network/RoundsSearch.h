#pragma once

// The search for delivery rounds. A savings construction gives the first rounds; then a
// ruin-and-recreate search under simulated annealing takes strings of neighbouring places out
// of a few rounds and puts them back where they cost least (a place is skipped now and then,
// so that the search does not always take the same place), and every new best is polished by
// local search (2-opt and or-opt within a round, relocate, exchange and 2-opt* between rounds).
// With a vehicle count the search may leave places out for a while at a high price; rounds
// that leave a place out are never the answer: when no search keeps every limit, the best is
// completed against the limits and the limits it misses are named.
//
// The search runs a fixed number of steps (from n unless given), so that a seed always gives
// the same rounds; the time limit cuts it short on a slow machine, and so does the cancel flag,
// both returning the best found so far.

#include "core/network/Rounds.h"

#include <atomic>
#include <cstdint>
#include <functional>

namespace dorvan {

inline constexpr double DefaultRoundsTimeLimit = 10.0; // seconds
inline constexpr std::uint64_t DefaultRoundsSeed = 1;

struct RoundsOptions {
    double timeLimit = DefaultRoundsTimeLimit;
    std::uint64_t seed = DefaultRoundsSeed;
    long iterations = 0; // 0: as many as the size of the problem asks for
    int threads = 2; // independent searches, the best taken (1 or 2)
    const std::atomic<bool>* cancel = nullptr;
    // Called now and then from the first search's thread with the share done (0..1).
    std::function<void(double done)> progress;
};

// Steps of the search for n places when the options give none.
long defaultRoundsIterations(int n);

// The rounds of the problem (which roundsRefusal must have passed). separator goes into the
// sentences of the limits missed.
RoundsPlan searchRounds(
    const RoundsProblem& problem, const RoundsOptions& options, std::string_view separator = ",");

// The rounds of the savings construction alone (no limit on the vehicle count).
std::vector<std::vector<int>> savingsRounds(const RoundsProblem& problem);

} // namespace dorvan
