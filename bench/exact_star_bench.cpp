// The exact star network against the star search: random projects of 30 to 60 places with a
// reach and a capacity (goal: each proven optimal within 10 s), then 99 places with a capacity
// of 6 and a reach of a quarter of the spread within the default limit, its gap printed. A timed
// tool: one line a project, as a Markdown table.
//   exact_star_bench [--limit S]   (S: the time limit of the 99-place project, default 30)
#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"
#include "core/network/ExactNetwork.h"
#include "core/network/StarSearch.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <string>

using namespace dorvan;

namespace {

struct Case {
    int places;
    int capacity;
    double reachShare; // of the spread (the larger side of the places' extent)
    std::uint32_t seed;
    double limit;
};

std::unique_ptr<Project> randomProject(const Case& c)
{
    std::mt19937 g(c.seed);
    std::uniform_int_distribution<int> coordinate(0, 1000000); // 0..100 km in 0.0001 steps
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    double lo = 1e9, hi = -1e9, loY = 1e9, hiY = -1e9;
    for (int i = 1; i <= c.places; ++i) {
        const double x = coordinate(g) / 10000.0;
        const double y = coordinate(g) / 10000.0;
        lo = std::min(lo, x);
        hi = std::max(hi, x);
        loY = std::min(loY, y);
        hiY = std::max(hiY, y);
        storeNewPlace(p->Record, i, Text100::fromUtf8("M" + std::to_string(i)), x, y);
    }
    computeDistances(p->Record, c.places);
    p->State.PlaceCount = c.places;
    p->Record.setCriterion(CritEvenGroups, true);
    p->Record.PlacesPerGroup = c.capacity;
    p->Record.setCriterion(CritMaxRouteLength, true);
    p->Record.MaxRouteLength = c.reachShare * std::max(hi - lo, hiY - loY);
    return p;
}

std::string fixed(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

} // namespace

int main(int argc, char** argv)
{
    double bigLimit = DefaultExactTimeLimit;
    for (int a = 1; a + 1 < argc; ++a)
        if (std::strcmp(argv[a], "--limit") == 0)
            bigLimit = std::atof(argv[a + 1]);
    const Case cases[] = {
        { 30, 4, 0.20, 1u, 10 },
        { 35, 5, 0.25, 2u, 10 },
        { 40, 4, 0.20, 3u, 10 },
        { 45, 6, 0.25, 4u, 10 },
        { 50, 5, 0.20, 5u, 10 },
        { 55, 6, 0.25, 6u, 10 },
        { 60, 4, 0.20, 7u, 10 },
        { 60, 6, 0.25, 8u, 10 },
        { 60, 8, 0.30, 9u, 10 },
        { 99, 6, 0.25, 10u, bigLimit },
    };
    std::printf("| places | capacity | reach | heuristic stars | heuristic total | exact stars | exact total "
                "| proven / lower bounds | seconds | CPU seconds |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---|---:|---:|\n");
    for (const Case& c : cases) {
        const auto project = randomProject(c);
        const StarWorkingCopy copy = VstupUdajRealStavCreate(*project);
        const StarSearchResult h = Hviezda(copy, ".");
        ExactStarOptions options;
        options.timeLimit = c.limit;
        const auto t0 = std::chrono::steady_clock::now();
        const std::clock_t cpu0 = std::clock();
        const ExactStarResult r = searchExactNetwork(copy, h.best, options);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const double cpu = static_cast<double>(std::clock() - cpu0) / CLOCKS_PER_SEC;
        const std::string proof = r.proven ? std::string("proven")
                                           : "stars >= " + std::to_string(r.lowerBoundStars)
                + ", total >= " + fixed(r.lowerBoundTotal, 2) + " (gap "
                + fixed((r.total - r.lowerBoundTotal) / std::max(r.total, 1e-9) * 100.0, 1) + " %)";
        std::printf("| %d | %d | %s | %d | %s | %d | %s | %s | %s | %s |\n", c.places, c.capacity,
            fixed(starReach(copy), 2).c_str(), h.best.StarCount, fixed(h.best.StarTotal, 2).c_str(),
            r.starCount, fixed(r.total, 2).c_str(), proof.c_str(), fixed(seconds, 2).c_str(),
            fixed(cpu, 2).c_str());
        std::fflush(stdout);
    }
    return 0;
}
