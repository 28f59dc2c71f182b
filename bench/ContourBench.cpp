// Cost contours of a full project: 99 weighted places on a 1920 × 1080 drawing area, the three
// default levels, labels placed clear of the optimum.
#include "core/allocation/ChartGeometry.h"
#include "core/allocation/CooperSolver.h"
#include "core/allocation/CostContours.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace dorvan;

namespace {

void Contours(benchmark::State& state)
{
    std::mt19937 g(20261209u);
    std::uniform_int_distribution<int> coord(0, 10000000);
    std::uniform_int_distribution<int> quantity(1, 100);
    std::vector<CooperPlace> places;
    std::vector<ChartPoint> points;
    for (int i = 0; i < 99; ++i) {
        const CooperPlace p { coord(g) / 10000.0, coord(g) / 10000.0, static_cast<double>(quantity(g)), 1.0,
            1 };
        places.push_back(p);
        points.push_back({ p.x, p.y });
    }
    const CooperRun run = solveCooper(places, CooperSettings {});
    ContourInput input;
    for (const CooperPlace& p : places)
        input.sites.push_back({ p.x, p.y, cooperWeight(p) });
    input.result = { run.IterX[run.FinalIter], run.IterY[run.FinalIter] };
    input.percents = { 1, 5, 10 };
    const int w = 1920, h = 1080;
    const ChartState chart = chartWindow(points, w, h);
    const std::vector<ContourLabelSize> sizes(3, ContourLabelSize { 36, 15 });
    const ChartPixel o { chart.px(input.result.x), chart.py(input.result.y) };
    const std::vector<ChartRect> optimum { { o.x - 3, o.y - 3, o.x + 5, o.y + 5 },
        { o.x - 22, o.y - 17, o.x + 50, o.y } };
    std::size_t pixels = 0;
    for (auto _ : state) {
        CostContours c = costContours(input, chart, contourArea(w, h), sizes, optimum, ",");
        pixels = 0;
        for (const ContourLine& l : c.lines)
            pixels += l.pixels.size();
        benchmark::DoNotOptimize(c);
    }
    state.counters["pixels"] = static_cast<double>(pixels);
}

} // namespace

BENCHMARK(Contours)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
