// Cost of the star search of the network window, which searches again on every activation: 99
// places drawn from a fixed seed, with two places a star and a reach near the median distance,
// and with no limits at all.
#include "core/entry/PlaceList.h"
#include "core/network/StarSearch.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

constexpr int PlaceCount = 99;

std::int64_t draw(std::mt19937& g, std::int64_t lo, std::int64_t hi)
{
    return lo + static_cast<std::int64_t>(g() % static_cast<std::uint32_t>(hi - lo + 1));
}

std::unique_ptr<Project> makeProject()
{
    std::mt19937 g(20240611u);
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    for (int i = 1; i <= PlaceCount; ++i) {
        const double x = static_cast<double>(draw(g, 0, 10000000)) / 10000.0; // 0..1000
        const double y = static_cast<double>(draw(g, 0, 10000000)) / 10000.0;
        storeNewPlace(p->Record, i, Text100::fromUtf8("Miesto " + std::to_string(100 + i)), x, y);
    }
    computeDistances(p->Record, PlaceCount);
    p->State.PlaceCount = PlaceCount;
    return p;
}

double medianDistance(const StarWorkingCopy& w)
{
    std::vector<double> d;
    for (int i = 1; i <= w.n; ++i)
        for (int j = i + 1; j <= w.n; ++j)
            d.push_back(w.d0(i, j));
    std::nth_element(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(d.size() / 2), d.end());
    return d[d.size() / 2];
}

void Search(benchmark::State& state, bool limited)
{
    auto p = makeProject();
    if (limited) {
        p->Record.setCriterion(CritEvenGroups, true);
        p->Record.PlacesPerGroup = 2;
        p->Record.setCriterion(CritMaxRouteLength, true);
        p->Record.MaxRouteLength = medianDistance(VstupUdajRealStavCreate(*p));
    }
    const StarWorkingCopy w = VstupUdajRealStavCreate(*p);
    StarSearchResult r;
    for (auto _ : state) {
        r = Hviezda(w, ",");
        benchmark::DoNotOptimize(r.best.StarTotal);
    }
    state.counters["stars"] = r.best.StarCount;
    state.counters["solutions"] = r.best.RecalcCount;
    state.counters["passes"] = r.passes;
}

} // namespace

BENCHMARK_CAPTURE(Search, capacity2_median_reach, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, no_limits, false)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
