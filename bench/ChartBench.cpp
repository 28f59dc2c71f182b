// A full redraw of the one-centre chart on a large drawing area: 99 places and a path of 999
// iterates on 1920 × 1080, the most a run can produce. Every resize of the window and every
// run repaints this much, so it has to stay well under a frame (target: below 10 ms).
#include "render/ChartPainter.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace dorvan;

namespace {

// Text needs a running application; the benchmarks run headless.
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "chart_bench";
    static char* argv[] = { name, nullptr };
    static QGuiApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

void BM_OneCentreChartRedraw(benchmark::State& bench)
{
    ensureApplication();
    std::vector<ChartPoint> places;
    for (int i = 0; i < 99; ++i)
        places.push_back({ 37.0 * std::sin(i * 0.7) + 50.0, 29.0 * std::cos(i * 1.3) + 40.0 });
    // A slow spiral into the optimum, so that the staircase has 999 distinct steps.
    std::vector<IteratePoint> path;
    for (int j = 0; j < 999; ++j) {
        long double r = 30.0L * (999 - j) / 999.0L;
        path.push_back({ 50.0L + r * std::cos(j * 0.05L), 40.0L + r * std::sin(j * 0.05L) });
    }
    QImage image(1920, 1080, QImage::Format_RGB32);
    ChartState state;
    for (auto _ : bench) {
        bool drawn = KresliGrafCooper(image, places, path, ChartDataMode::Manual, state);
        benchmark::DoNotOptimize(drawn);
        benchmark::ClobberMemory();
    }
    // Set DORVAN_CHART_PNG to a folder to keep the last drawing for a look.
    QString folder = qEnvironmentVariable("DORVAN_CHART_PNG");
    if (!folder.isEmpty())
        image.save(folder + QStringLiteral("/chart_bench.png"));
}
BENCHMARK(BM_OneCentreChartRedraw)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace
