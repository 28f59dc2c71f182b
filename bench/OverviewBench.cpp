// The overview page filled anew, as every page change of the data-entry window does: 99 places,
// so the distance table alone has 101 x 101 cells. A page change should feel immediate (target:
// at most 20 ms per fill; each iteration below makes two page changes, so two fills).
#include "ui/entry/EntryHost.h"
#include "core/entry/PlaceList.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "core/project/Project.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

struct QuietHost : EntryHost {
    void entryValuesChanged() override { }
    void entryFirstCountAccepted() override { }
    void entryLastPlaceEntered() override { }
    void entrySettingsSwitched(bool) override { }
    void entryWindowClosed() override { }
};

void BM_OverviewFillFor99Places(benchmark::State& bench)
{
    dorvan::Project project;
    project.resetAtStart();
    auto& r = project.Record;
    for (int k = 1; k <= dorvan::MaxPlaceCount; ++k)
        dorvan::storeNewPlace(r, k,
            dorvan::Text100::fromUtf8("Miesto s dlhym menom " + std::to_string(100 + k)),
            37.0 * std::sin(k * 0.7), 29.0 * std::cos(k * 1.3));
    dorvan::computeDistances(r, dorvan::MaxPlaceCount);
    project.State.PlaceCount = dorvan::MaxPlaceCount;
    project.State.NextPlace = dorvan::MaxPlaceCount + 1;

    dorvan::test::ScriptedDialogs dialogs;
    QuietHost host;
    TVstupUdajov window(project, dialogs, host);
    window.resize(1600, 1000);
    auto* pages = window.findChild<QTabWidget*>("PageControl1");
    for (auto _ : bench) {
        pages->setCurrentIndex(3);
        pages->setCurrentIndex(0);
    }
    bench.SetItemsProcessed(2 * bench.iterations()); // fills
}
BENCHMARK(BM_OverviewFillFor99Places)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
