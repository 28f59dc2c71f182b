// The chart interaction over a large map picture, and loading such a picture, timed through the
// real windows: an 8000 × 6000 picture drawn "S obrázkom" / "NIE" on a 1600 × 1000 drawing area.
//
// - a mouse move during a selection (target: at most 2 ms);
// - the zoom on release (target: at most 0.25 s, never the whole 194 MB zoom surface);
// - a full redraw over the picture, what each move used to cost;
// - an 8000 × 6000 JPEG opened on the picture page until it is shown, beside djpeg decoding the
//   same file (target: at most twice djpeg's time).
//
// The JPEG is made on the first run (or taken from DORVAN_BENCH_JPEG).
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "core/project/Project.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int PictureWidth = 8000;
constexpr int PictureHeight = 6000;
const QSize Area(1600, 1000);

// Smooth shapes with a little noise, roughly what a scanned map compresses like.
std::uint8_t shade(int x, int y, int k)
{
    const unsigned h = static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u
        ^ static_cast<unsigned>(k) * 83492791u;
    return static_cast<std::uint8_t>(((x / 7 + y / 5) * (k + 1) + static_cast<int>(h % 24u)) & 0xFF);
}

dorvan::RgbPicture largePicture()
{
    dorvan::RgbPicture p(PictureWidth, PictureHeight);
    for (int y = 0; y < PictureHeight; ++y) {
        std::uint8_t* row = p.row(y);
        for (int x = 0; x < PictureWidth; ++x) {
            row[3 * x] = shade(x, y, 0);
            row[3 * x + 1] = shade(x, y, 1);
            row[3 * x + 2] = shade(x, y, 2);
        }
    }
    return p;
}

long peakRssMb()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

void send(QWidget* to, QEvent::Type type, Qt::MouseButton button, QPoint at)
{
    const Qt::MouseButtons held
        = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, at, to->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held, {});
    QCoreApplication::sendEvent(to, &e);
}

// The allocation window over the picture, its drawing area 1600 × 1000.
struct WindowOverPicture {
    WindowOverPicture()
    {
        project.resetAtStart();
        const double places[][2]
            = { { 800, 600 }, { 2400, 3100 }, { 5100, 900 }, { 7000, 5200 }, { 3900, 4400 } };
        int i = 0;
        for (const auto& p : places) {
            ++i;
            project.Record.PlaceName[i] = dorvan::Text100::fromUtf8("A" + std::to_string(i));
            project.Record.PlaceX[i] = p[0];
            project.Record.PlaceY[i] = p[1];
            project.Record.PlaceQuantity[i] = 1.0;
            project.Record.PlacePrice[i] = 1.0;
            project.Record.PlaceFlexibility[i] = 1;
        }
        project.State.PlaceCount = i;
        project.State.EntryStarted = true;
        project.State.PictureMode = true;
        project.Choices.SettingsOn = true;
        project.MapPicture = largePicture();
        project.Record.PictureWidth = PictureWidth;
        project.Record.PictureHeight = PictureHeight;
        project.State.PictureRangeX = project.Record.MapRangeX = PictureWidth;
        project.State.PictureRangeY = project.Record.MapRangeY = PictureHeight;
        frame.resize(2600, 1500);
        frame.show();
        w = new TCooperAlokMetod(project, dialogs, &frame);
        w->setResultChoiceByPicture(true);
        w->show();
        w->findChild<QRadioButton*>(QStringLiteral("RadioButton4"))->click(); // "NIE": fills the frame
        area = w->findChild<QWidget*>(QStringLiteral("Image1"));
        w->resize(w->size() + Area - area->size());
        QCoreApplication::processEvents();
    }
    ~WindowOverPicture()
    {
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        delete w;
    }

    dorvan::Project project;
    dorvan::test::ScriptedDialogs dialogs;
    QWidget frame;
    TCooperAlokMetod* w = nullptr;
    QWidget* area = nullptr;
};

WindowOverPicture& window()
{
    static auto* w = new WindowOverPicture;
    return *w;
}

bool areaReady(benchmark::State& bench, const WindowOverPicture& w)
{
    if (w.area->size() == Area && w.w->image().size() == Area)
        return true;
    bench.SkipWithError("the drawing area is not 1600 x 1000");
    return false;
}

// A move during a selection: the result as drawn at the press and the rectangle over it.
void BM_SelectionMove(benchmark::State& bench)
{
    WindowOverPicture& w = window();
    if (!areaReady(bench, w))
        return;
    send(w.area, QEvent::MouseButtonPress, Qt::RightButton, QPoint(300, 200));
    int i = 0;
    for (auto _ : bench) {
        send(w.area, QEvent::MouseMove, Qt::RightButton, QPoint(700 + i % 500, 500 + i % 300));
        if (bench.range(0) != 0)
            w.area->repaint(); // and shown on the screen
        ++i;
    }
    send(w.area, QEvent::MouseButtonRelease, Qt::RightButton, QPoint(300, 200)); // no selection: runs
}
BENCHMARK(BM_SelectionMove)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The release of a selection: the zoom. Arguments: the selection's corners on the area.
void BM_ZoomRelease(benchmark::State& bench)
{
    WindowOverPicture& w = window();
    if (!areaReady(bench, w))
        return;
    const QPoint from(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
    const QPoint to(static_cast<int>(bench.range(2)), static_cast<int>(bench.range(3)));
    const long before = peakRssMb();
    for (auto _ : bench) {
        send(w.area, QEvent::MouseButtonPress, Qt::RightButton, from);
        send(w.area, QEvent::MouseButtonRelease, Qt::RightButton, to);
        if (!w.w->zoomed())
            bench.SkipWithError("no zoom");
    }
    bench.counters["peak_rss_growth_MB"] = static_cast<double>(peakRssMb() - before);
    bench.counters["peak_rss_MB"] = static_cast<double>(peakRssMb());
}
BENCHMARK(BM_ZoomRelease)
    ->Args({ 600, 400, 800, 550 }) // a detail: 200 × 150 of the area
    ->Args({ 200, 100, 1400, 900 }) // most of the area
    ->Args({ 0, 0, 1600, 1000 }) // all of it: every pixel of F read
    ->Unit(benchmark::kMillisecond);

// The whole drawing over the picture again, as every move did before.
void BM_FullRedrawOverPicture(benchmark::State& bench)
{
    WindowOverPicture& w = window();
    if (!areaReady(bench, w))
        return;
    auto* noProportion = w.w->findChild<QRadioButton*>(QStringLiteral("RadioButton4"));
    for (auto _ : bench)
        noProportion->click();
}
BENCHMARK(BM_FullRedrawOverPicture)->Unit(benchmark::kMillisecond);

struct QuietHost : EntryHost {
    void entryValuesChanged() override { }
    void entryFirstCountAccepted() override { }
    void entryLastPlaceEntered() override { }
    void entrySettingsSwitched(bool) override { }
    void entryWindowClosed() override { }
};

QString benchJpeg()
{
    const QString given = qEnvironmentVariable("DORVAN_BENCH_JPEG");
    if (!given.isEmpty())
        return given;
    const QString path = QStringLiteral("/tmp/dorvan-bench-8000x6000.jpg");
    if (!QFile::exists(path)) {
        const dorvan::RgbPicture p = largePicture();
        QImage img(
            p.row(0), p.width(), p.height(), static_cast<qsizetype>(p.rowBytes()), QImage::Format_RGB888);
        img.save(path, "JPG", 90);
    }
    return path;
}

// "Načítaj obrázok" on the picture page until the picture is painted.
void BM_LoadJpegOnPicturePage(benchmark::State& bench)
{
    const QString file = benchJpeg();
    for (auto _ : bench) {
        bench.PauseTiming();
        dorvan::Project project;
        project.resetAtStart();
        project.State.FirstEntryMode = true;
        project.State.NextPlace = 1;
        project.State.EntryStarted = true;
        dorvan::test::ScriptedDialogs dialogs;
        dialogs.fileAnswers.push_back(file);
        QuietHost host;
        auto entry = std::make_unique<TVstupUdajov>(project, dialogs, host);
        entry->setAttribute(Qt::WA_DeleteOnClose, false);
        entry->resize(1600, 1000);
        entry->show();
        auto* pages = entry->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
        pages->setCurrentIndex(pages->indexOf(entry->findChild<QWidget*>(QStringLiteral("TabSheet19"))));
        QCoreApplication::processEvents();
        auto* load = entry->findChild<QPushButton*>(QStringLiteral("Button48"));
        bench.ResumeTiming();

        load->click();
        entry->repaint();

        bench.PauseTiming();
        if (project.MapPicture.width() != PictureWidth || !dialogs.texts("warn").isEmpty())
            bench.SkipWithError("the picture was not loaded");
        project.State.EntryClosable = true;
        entry.reset();
        bench.ResumeTiming();
    }
}
BENCHMARK(BM_LoadJpegOnPicturePage)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

// djpeg decoding the same file, the decoder's own speed on this machine.
void BM_Djpeg(benchmark::State& bench)
{
    const std::string command = "djpeg -outfile /dev/null '" + benchJpeg().toStdString() + "'";
    for (auto _ : bench)
        if (std::system(command.c_str()) != 0)
            bench.SkipWithError("djpeg failed (Debian package libjpeg-turbo-progs)");
}
BENCHMARK(BM_Djpeg)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly(true);

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
