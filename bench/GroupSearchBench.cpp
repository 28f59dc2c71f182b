// Proposing groups for 99 weighted places and 5 centres with the default starts: the time of
// one search, and over 20 seeds how many reach the best total any of them found.
#include "core/allocation/ConstrainedGroups.h"
#include "core/allocation/GroupSearch.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

std::vector<dorvan::GroupSite> places99()
{
    std::mt19937 gen(2026);
    std::uniform_real_distribution<double> coord(0.0, 1000.0);
    std::uniform_int_distribution<int> weight(1, 50);
    std::vector<dorvan::GroupSite> s;
    for (int i = 0; i < 99; ++i)
        s.push_back(
            { "M" + std::to_string(i + 1), coord(gen), coord(gen), static_cast<long double>(weight(gen)) });
    return s;
}

void BM_SearchGroups99P5(benchmark::State& state)
{
    const auto sites = places99();
    std::uint64_t seed = 1;
    for (auto _ : state) {
        auto r = dorvan::searchGroups(sites, { 5, dorvan::DefaultGroupStarts, seed });
        benchmark::DoNotOptimize(r.total);
    }
}
BENCHMARK(BM_SearchGroups99P5)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same places with two existing centres (places 1 and 50) and at most 25 places a group
// (goal: at most 150 ms).
void BM_SearchGroups99P5Fixed2Max25(benchmark::State& state)
{
    const auto sites = places99();
    const dorvan::GroupRules rules { { 0, 49 }, 25 };
    for (auto _ : state) {
        auto r = dorvan::searchGroupsWithRules(sites, { 5, dorvan::DefaultGroupStarts, 1 }, rules);
        benchmark::DoNotOptimize(r.total);
    }
}
BENCHMARK(BM_SearchGroups99P5Fixed2Max25)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Not a timing: how often the default search reaches the best known total over 20 seeds.
void reportBestReached()
{
    const auto sites = places99();
    std::vector<long double> totals;
    int startsAtBest = 0, starts = 0;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        const auto r = dorvan::searchGroups(sites, { 5, dorvan::DefaultGroupStarts, seed });
        totals.push_back(r.total);
        startsAtBest += r.bestFound;
        starts += r.starts;
    }
    const long double best = *std::min_element(totals.begin(), totals.end());
    const auto reached = std::count_if(
        totals.begin(), totals.end(), [&](long double t) { return t <= best * (1.0L + 1e-9L); });
    const long double worst = *std::max_element(totals.begin(), totals.end());
    std::printf("99 places, P = 5, %d starts: best total %.10Lf reached by %ld of 20 seeds "
                "(worst %.6Lf, %.4Lf %% above); %d of %d single starts ended at their seed's best\n",
        dorvan::DefaultGroupStarts, best, static_cast<long>(reached), worst, (worst / best - 1.0L) * 100.0L,
        startsAtBest, starts);
}

} // namespace

int main(int argc, char** argv)
{
    reportBestReached();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
