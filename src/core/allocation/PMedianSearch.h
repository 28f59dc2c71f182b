#pragma once

// One thread's search of the p-median engine (see PMedian.h): a spread start, Cooper's
// alternation, interchange moves and a variable neighbourhood search around the best end.
// Everything a search does follows from its seed; only `Stop` (time limit, cancel) cuts it.

#include "core/allocation/PMedianIndex.h"
#include "core/allocation/PMedianWeber.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace dorvan::pmedian {

// Assigns the places to centres at given positions under group-size limits (the exact
// assignment); returns false when it was cancelled or the sizes cannot work.
using SizedAllocator = std::function<bool(
    std::span<const double> cx, std::span<const double> cy, std::vector<std::int32_t>& centreOf)>;

struct SearchSetup {
    PlaceArrays places;
    int centres = 2;
    std::vector<std::int32_t> fixed; // centres 0..F-1 stand on these places
    double tolerance = 0; // Weber steps shorter than this end the search's iterations
    double finalTolerance = 0; // the same for the answer
    int weberSteps = 25; // Weiszfeld steps per group and alternation round
    double stall = 0; // an alternation round gaining less than this share of the total ends it
    int candidates = 0; // places tried as the new site of a centre per interchange pass; 0 = all
    int failLimit = 0; // perturbations without a better end after which a search has converged
    int rounds = 1; // independent starts per thread
    bool decompose = true; // solve groups of neighbouring centres again as problems of their own
    SizedAllocator sized; // empty without group-size limits
    // A grid over the places for the interchange estimate: cell (cx, cy) is cellStart[cx + cy *
    // cellsX] .. cellStart[... + 1] of cellPlaces.
    int cellsX = 0, cellsY = 0;
    double originX = 0, originY = 0, cellSize = 1;
    std::vector<std::int32_t> cellStart, cellPlaces;
};

// Fills the grid of the places (a few places a cell on average).
void buildPlaceGrid(SearchSetup& setup);

struct Stop {
    std::chrono::steady_clock::time_point deadline;
    const std::atomic<bool>* cancel = nullptr;
    mutable bool timedOut = false, cancelled = false;
    bool now() const;
};

struct Layout {
    std::vector<double> cx, cy;
    std::vector<std::int32_t> of; // centre of each place
    std::vector<double> d; // distance of each place to its centre
    std::vector<double> lower; // a bound below the distance of each place to any other centre
    std::vector<double> ax, ay; // where the centres stood when the places were assigned
    std::vector<std::int32_t> onPlace; // per centre, the place it lies on by Kuhn's test, or -1
    double total = 0;
};

class Search {
public:
    Search(const SearchSetup& setup, std::uint64_t seed, const Stop& stop);

    // Runs until converged or stopped; `published` learns each better total, `localSearches`
    // counts the local searches; the first start is `from` when given.
    void run(std::atomic<double>* published, std::atomic<int>* localSearches, const Layout* from = nullptr);
    const Layout& best() const { return best_; }

    // Cooper's alternation from the layout's centres until no place changes its centre and no
    // centre moves more than the tolerance; fills `of`, `d` and `total`.
    void alternate(Layout& layout, double tolerance, int maxSteps, double stall);
    // Interchange moves (a free centre to a place, then the alternation) while one gains.
    void interchange(Layout& layout);
    void spreadStart(Layout& layout);

private:
    struct Swap {
        double delta;
        std::int32_t place, centre;
    };
    std::uint64_t next();
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    std::int32_t draw(std::span<const double> prefix);
    void allocate(Layout& layout, std::vector<std::uint8_t>& changed, std::int64_t& changes);
    void buildGroups(const Layout& layout);
    std::span<const std::int32_t> membersOf(int c) const;
    void fillEmpty(Layout& layout, std::vector<std::uint8_t>& changed);
    std::vector<Swap> bestSwaps(const Layout& layout, int keep);
    std::vector<std::int32_t> swapCandidates(const Layout& layout);
    void shake(Layout& layout, int k);
    void cooper(Layout& layout, double tolerance, int maxSteps, double stall,
        std::vector<std::uint8_t>& changed, std::vector<std::uint8_t>& settled);
    // A place as near to another centre as to its own, moved there when both centres solved
    // again cost less (the alternation alone keeps such a place where it is); true when moved.
    bool moveTiedPlace(Layout& layout, double tolerance, std::vector<std::uint8_t>& changed);
    void keep(const Layout& layout);
    void perturb(Layout& current);
    // Each centre with its nearest neighbours: their places solved again as a small problem of
    // their own (a search of its own from their current centres); true when the total fell.
    bool decompose(Layout& layout);
    bool resolveAround(Layout& layout, int seedCentre, int size);
    void sumTotal(Layout& layout) const;
    int freeCount() const { return setup_.centres - static_cast<int>(setup_.fixed.size()); }

    const SearchSetup& setup_;
    const Stop& stop_;
    std::uint64_t state_;
    CentreIndex index_;
    std::vector<std::int32_t> groupStart_, groupList_;
    std::vector<double> second_; // scratch per place
    std::vector<std::int32_t> firstOf_;
    Layout best_;
    std::atomic<double>* published_ = nullptr;
    std::atomic<int>* counter_ = nullptr;
    int localSearches_ = 0;
};

// Centres for a start on a large list: the search run on a random sample of its places (with
// the fixed ones) until converged or stopped.
Layout sampledStart(const SearchSetup& setup, int sampleSize, std::uint64_t seed, const Stop& stop,
    std::atomic<int>* localSearches);

} // namespace dorvan::pmedian
