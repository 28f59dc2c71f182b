// Cost of the Cooper iteration on a full project: 99 weighted places with each stopping rule,
// and one run over 10 distribution groups. The places are drawn from a fixed seed, rounded to
// four decimals as the entry stores them.
#include "core/allocation/CooperRunDriver.h"
#include "core/allocation/CooperSolver.h"
#include "core/entry/PlaceList.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

constexpr int PlaceCount = 99;

// A whole number in [lo, hi] from the raw generator, the same on every standard library.
std::int64_t draw(std::mt19937& g, std::int64_t lo, std::int64_t hi)
{
    return lo + static_cast<std::int64_t>(g() % static_cast<std::uint32_t>(hi - lo + 1));
}

CooperState makeProject()
{
    std::mt19937 g(20240611u);
    CooperState s;
    s.CooperPlaceCount = PlaceCount;
    for (int i = 1; i <= PlaceCount; ++i) {
        std::string name = "Miesto " + std::to_string(i);
        s.CooperPlaceName[i] = Text100::fromUtf8(name);
        s.CooperPlaceX[i] = static_cast<double>(draw(g, 0, 10000000)) / 10000.0; // 0..1000
        s.CooperPlaceY[i] = static_cast<double>(draw(g, 0, 10000000)) / 10000.0;
        s.CooperQuantity[i] = static_cast<double>(draw(g, 10000, 1000000)) / 10000.0; // 1..100
        s.CooperPrice[i] = static_cast<double>(draw(g, 10000, 200000)) / 10000.0; // 1..20
        s.CooperFlexibility[i] = static_cast<std::int32_t>(draw(g, 1, 30));
    }
    return s;
}

void OneCentre(benchmark::State& state, StoppingRule rule)
{
    CooperState s = makeProject();
    CooperSettings settings;
    settings.rule = rule;
    for (auto _ : state) {
        CooperReport r = PocitajCooper(s, settings);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(s.IterX[s.FinalIter]);
    }
    state.counters["FinalIter"] = s.FinalIter;
}

// The slowest run there is: a light place drags the centre along a flat valley between two heavy
// ones and the rule never holds, so all 999 steps are made.
void HistoryBound(benchmark::State& state)
{
    const std::vector<CooperPlace> valley { { 0, 0, 1000.0 }, { 1, 0, 1000.0 }, { 0.9, 0.1 } };
    CooperSettings settings;
    settings.rule = StoppingRule::AxisX;
    settings.setPrecisionText("0,0001");
    int finalIter = 0;
    for (auto _ : state) {
        CooperRun r = solveCooper(valley, settings);
        finalIter = r.FinalIter;
        benchmark::DoNotOptimize(r);
    }
    state.counters["FinalIter"] = finalIter;
}

void TenGroups(benchmark::State& state)
{
    CooperState s = makeProject();
    const CooperSettings settings;
    // Places 1..99 dealt into 10 groups of 9 or 10 members, as the group list would hold them.
    std::vector<std::vector<Text100>> groups(10);
    for (int i = 1; i <= PlaceCount; ++i)
        groups[static_cast<std::size_t>((i - 1) % 10)].push_back(s.CooperPlaceName[i]);
    long steps = 0;
    for (auto _ : state) {
        steps = 0;
        s.GroupMemberTotal = 0;
        for (int g = 1; g <= 10; ++g) {
            const auto& members = groups[static_cast<std::size_t>(g - 1)];
            s.GroupNo = g;
            s.GroupSize = static_cast<int>(members.size());
            for (int k = 1; k <= s.GroupSize; ++k)
                s.GroupMemberName[k] = members[static_cast<std::size_t>(k - 1)];
            s.GroupMemberTotal += s.GroupSize;
            CooperReport r = PocitajCooperSkupiny(s, settings);
            benchmark::DoNotOptimize(r);
            steps += s.FinalIter - 1;
        }
    }
    state.counters["steps"] = static_cast<double>(steps);
}

// The certificate alone, at the result of a run with the given precision: its share of the
// driver run below with the same precision is what it adds (goal at "0,0001": at most 10 %).
void Certificate(benchmark::State& state, const char* precision)
{
    CooperState s = makeProject();
    CooperSettings settings;
    settings.setPrecisionText(precision);
    PocitajCooper(s, settings);
    std::vector<CostSite> sites;
    for (int i = 1; i <= PlaceCount; ++i)
        sites.push_back({ s.CooperPlaceX[i], s.CooperPlaceY[i],
            cooperWeight({ s.CooperPlaceX[i], s.CooperPlaceY[i], s.CooperQuantity[i], s.CooperPrice[i],
                s.CooperFlexibility[i] }) });
    for (auto _ : state) {
        CooperCertificate c = certifyResult(sites, s.IterX[s.FinalIter], s.IterY[s.FinalIter]);
        benchmark::DoNotOptimize(c);
    }
}

// A whole run of the driver as the window makes it, list texts included, on the same places.
void DriverRun(benchmark::State& state, const char* precision)
{
    const CooperState p = makeProject();
    auto record = std::make_unique<TProjectRecord>();
    ResetProjectForNew(*record);
    for (int i = 1; i <= PlaceCount; ++i) {
        storeNewPlace(*record, i, p.CooperPlaceName[i], p.CooperPlaceX[i], p.CooperPlaceY[i]);
        record->PlaceQuantity[i] = p.CooperQuantity[i];
        record->PlacePrice[i] = p.CooperPrice[i];
        record->PlaceFlexibility[i] = p.CooperFlexibility[i];
    }
    CooperRunInputs in;
    in.quantityOn = in.priceOn = in.flexibilityOn = true;
    in.settings.setPrecisionText(precision);
    auto s = std::make_unique<CooperState>();
    for (auto _ : state) {
        CooperRunResult r = runCooperDriver(*s, *record, PlaceCount, in);
        benchmark::DoNotOptimize(r);
    }
    state.counters["FinalIter"] = s->FinalIter;
}

} // namespace

BENCHMARK_CAPTURE(DriverRun, Default, "0,01")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Certificate, Default, "0,01")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DriverRun, Fine, "0,0001")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Certificate, Fine, "0,0001")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(OneCentre, AxisX, StoppingRule::AxisX)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(OneCentre, AxisY, StoppingRule::AxisY)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(OneCentre, BothAxes, StoppingRule::BothAxes)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(OneCentre, Objective, StoppingRule::Objective)->Unit(benchmark::kMicrosecond);
BENCHMARK(HistoryBound)->Unit(benchmark::kMicrosecond);
BENCHMARK(TenGroups)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
