// Loads a map into the picture page of the data-entry window as "Otvor" does and reports the
// longest time the window's event loop went without turning (a timer due every millisecond),
// from the click to the picture shown. Goal: no stall over 100 ms.
//   map_load_stall MAP [PROJECT.mzd]
#include "core/common/MapRaster.h"
#include "core/entry/ProjectSession.h"
#include "core/project/Project.h"
#include "core/project/ProjectFile.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryMapLoad.h"
#include "ui/entry/Vstupne_Udaje.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

// Answers every question yes and every file dialog with the map.
struct Answers : dorvan::UserDialogs {
    QString map;
    void warn(QWidget*, const QString& text) override { std::printf("told: %s\n", qPrintable(text)); }
    bool confirm(QWidget*, const QString& text, bool) override
    {
        std::printf("asked: %s\n", qPrintable(text));
        return true;
    }
    Answer confirmOrSave(QWidget*, const QString&) override { return Answer::Yes; }
    void error(QWidget*, const QString& text) override { std::printf("error: %s\n", qPrintable(text)); }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString openPictureName(QWidget*, const QString&, const QString&) override { return map; }
    bool printerSetup(QWidget*, QPrinter&) override { return false; }
    std::optional<QString> askText(QWidget*, const QString&) override { return std::nullopt; }
    bool openUrl(const QString&) override { return false; }
};

struct Host : EntryHost {
    int updates = 0;
    void entryValuesChanged() override { }
    void entryFirstCountAccepted() override { }
    void entryLastPlaceEntered() override { }
    void entrySettingsSwitched(bool) override { }
    void entryWindowClosed() override { }
    void entryProgress(const QString&, int) override { ++updates; }
    void entryStatusNotice(const QString& text) override { std::printf("notice: %s\n", qPrintable(text)); }
};

} // namespace

int main(int argc, char** argv)
{
    const dorvan::GeoLibrariesRelease release;
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "map_load_stall MAP [PROJECT.mzd]\n");
        return 2;
    }
    dorvan::Project project;
    project.resetAtStart();
    if (argc > 2)
        dorvan::ProjectSession(project).open(dorvan::readProjectFile(argv[2]).record, argv[2]);
    else {
        project.State.FirstEntryMode = true;
        project.State.NextPlace = 1;
    }
    project.State.EntryStarted = true;
    Answers dialogs;
    dialogs.map = QString::fromLocal8Bit(argv[1]);
    Host host;
    // On the heap and kept: the window deletes itself on closing otherwise.
    auto* entryWindow = new TVstupUdajov(project, dialogs, host);
    entryWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    std::unique_ptr<TVstupUdajov> owner(entryWindow);
    TVstupUdajov& window = *entryWindow;
    window.resize(1400, 900);
    window.show();
    auto* pages = window.findChild<QTabWidget*>("PageControl1");
    pages->setCurrentIndex(pages->indexOf(window.findChild<QWidget*>("TabSheet19")));
    QApplication::processEvents();
    auto* task = dynamic_cast<entry::MapLoadTask*>(window.findChild<QObject*>("MapLoadTask"));

    QElapsedTimer clock;
    qint64 last = 0, longest = 0, longestAt = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (now - last > longest) {
            longest = now - last;
            longestAt = now;
        }
        last = now;
    });
    QTimer::singleShot(0, [&] {
        clock.start();
        tick.start(1);
        window.findChild<QPushButton*>("Button48")->click();
    });
    qint64 loaded = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (loaded == 0 && !task->busy() && clock.isValid() && clock.elapsed() > 50) {
            loaded = clock.elapsed();
            const auto& r = project.Record;
            std::printf(
                "picture: %d x %d, %d x %d km\n", r.PictureWidth, r.PictureHeight, r.MapRangeX, r.MapRangeY);
        }
        // Half a second after the result, to see the picture drawn and the window settle (Qt's
        // quit closes the window, and the project with it).
        if (loaded > 0 && clock.elapsed() > loaded + 500)
            app.quit();
    });
    watch.start(10);
    app.exec();
    std::printf("map: %s\n", argv[1]);
    std::printf("load (thread) until the result: %lld ms, progress updates: %d\n",
        static_cast<long long>(loaded), host.updates);
    std::printf("longest event-loop stall: %.1f ms (ending %.0f ms after the click); goal: at most 100 ms\n",
        longest / 1e6, longestAt / 1e6);
    return longest <= 100'000'000 ? 0 : 1;
}
