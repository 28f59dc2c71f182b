#pragma once

// The proven best star network: the star problem of the network window solved as a
// mixed-integer program. Fewest stars first, then the least total distance; every place is a
// centre or joins one centre that reaches it (D[c][p] within the reach), a star holds at most
// the capacity places with its centre, and a star's sum counts its centre's own D[c][c] as the
// star search counts it. The solver stays behind this header: plain types in and out.

#include <atomic>
#include <functional>
#include <vector>

namespace dorvan {

struct ExactStarProblem {
    int n = 0;
    std::vector<double> D; // n × n, row-major: D[c * n + p] from centre c to place p
    double reach = 0.0; // a place joins centre c when D[c][p] <= reach; a centre always joins
    int capacity = 1; // places a star, its centre included (at least 1)
    double d(int c, int p) const { return D[static_cast<std::size_t>(c * n + p)]; }
};

// One star: its centre first among its members (0-based places), and its sum of D[centre][m].
struct ExactStar {
    int centre = 0;
    std::vector<int> members;
    double sum = 0.0;
};

// What a running search reports, now and then, on the thread it runs on.
struct ExactStarProgress {
    int phase = 1; // 1: the fewest stars, 2: the least total with that many stars
    double seconds = 0.0;
    int bestStars = 0; // 0 while no network is known
    double bestTotal = 0.0;
    int boundStars = 0;
    double boundTotal = 0.0; // phase 2 only
};

inline constexpr double DefaultExactTimeLimit = 30.0;

struct ExactStarOptions {
    double timeLimit = DefaultExactTimeLimit; // seconds for both phases together
    const std::atomic<bool>* cancel = nullptr; // set: the search ends soon with what it has
    std::function<void(const ExactStarProgress&)> progress;
};

struct ExactStarResult {
    std::vector<ExactStar> stars; // in the order of their centres
    int starCount = 0;
    double total = 0.0;
    bool starsProven = false; // no network has fewer stars
    bool proven = false; // and none with that many stars a smaller total
    int lowerBoundStars = 0; // every network has at least this many stars
    double lowerBoundTotal = 0.0; // a network with the fewest stars has at least this total
    bool stopped = false; // ended by cancel
    bool timedOut = false;
    double seconds = 0.0;
};

// Whether stars are a network of the problem: every place once, each member within the reach
// of its centre, no star over the capacity, the centre first. The sums are not checked.
bool feasibleStars(const ExactStarProblem& problem, const std::vector<ExactStar>& stars);

// The stars' sums and total recomputed from D, stars in the order given.
double starsTotal(const ExactStarProblem& problem, std::vector<ExactStar>& stars);

// Solves the problem; start (if feasible) is the first network the solver knows. Without a
// start the places standing alone are always a network. Throws std::runtime_error (Slovak
// what()) when D holds a value that is not a finite number of sensible size.
ExactStarResult solveExactStars(
    const ExactStarProblem& problem, const std::vector<ExactStar>& start, const ExactStarOptions& options);

} // namespace dorvan
