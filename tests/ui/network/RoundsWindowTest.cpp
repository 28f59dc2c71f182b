// Delivery rounds: dorvan-cli network --method rounds as a process on the sample with a centre,
// a capacity, working time and loading times, its numbers recomputed here from the places; and
// the network window's rounds against it.
#include "core/entry/PlaceList.h"
#include "core/network/StationGraph.h"
#include "core/project/ProjectFile.h"
#include "support/CliProcess.h"
#include "support/Controls.h"
#include "support/PixelCompare.h"
#include "support/ScriptedDialogs.h"
#include "ui/main/Dorvan_Hlavny.h"
#include "ui/main/NetworkWindows.h"
#include "ui/network/Graficka_Siet_Stanic.h"
#include "ui/network/Metoda_Sieti.h"
#include "ui/network/RoundsPanel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using dorvan::test::CliRun;
using dorvan::test::runCli;

namespace {

using namespace dorvan;

QString sampleRounds(const QTemporaryDir& dir, const char* name, double capacity, int vehicles)
{
    LoadedProject sample = readProjectFile(DORVAN_EXAMPLES "/slovak_towns.mzd");
    TProjectRecord& r = sample.record;
    r.setCriterion(CritQuantity, true);
    r.setCriterion(CritCentral, true);
    r.CentralName = Text100::fromUtf8("Banská Bystrica");
    r.CentralState = 2;
    r.setCriterion(CritVehicleCapacity, true);
    r.VehicleCapacity = capacity;
    r.setCriterion(CritMaxDistributionTime, true);
    r.MaxDistributionTime = 12;
    r.setCriterion(CritVehicleSpeed, true);
    r.VehicleSpeed = 50;
    r.setCriterion(CritLoadTimes, true);
    r.LoadTimeDC = 0.5;
    r.LoadTimeDM = 0.25;
    r.setCriterion(CritVehicleCount, vehicles > 0);
    r.VehicleCount = vehicles;
    const QString path = dir.filePath(QString::fromUtf8(name));
    saveProjectFile(path.toStdString(), r, sample.picture);
    return path;
}

struct SamplePlace {
    double x, y, quantity;
};

std::map<QString, SamplePlace> samplePlaces()
{
    const LoadedProject sample = readProjectFile(DORVAN_EXAMPLES "/slovak_towns.mzd");
    std::map<QString, SamplePlace> out;
    for (int i = 1; i <= sample.record.SavedPlaceCount; ++i)
        out[QString::fromStdString(displayName(sample.record.PlaceName[i]))]
            = { sample.record.PlaceX[i], sample.record.PlaceY[i], sample.record.PlaceQuantity[i] };
    return out;
}

TEST(RoundsCli, SampleRoundsKeepEveryLimitRecomputedFromThePlaces)
{
    QTemporaryDir dir;
    const QString project = sampleRounds(dir, "sample.mzd", 500, 6);
    const QString geo = dir.filePath("rounds.geojson");
    const CliRun run = runCli({ "network", project, "--method", "rounds", "--iterations", "3000", "--format",
        "json", "--out", geo });
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
    const auto places = samplePlaces();
    const SamplePlace depot = places.at(QString::fromUtf8("Banská Bystrica"));
    EXPECT_EQ(json["depot"].toObject()["name"].toString(), QString::fromUtf8("Banská Bystrica"));
    std::map<QString, int> seen;
    double total = 0;
    const QJsonArray rounds = json["rounds"].toArray();
    for (const QJsonValue& v : rounds) {
        const QJsonObject round = v.toObject();
        double len = 0, load = 0;
        SamplePlace at = depot;
        const QJsonArray stops = round["places"].toArray();
        for (const QJsonValue& s : stops) {
            const SamplePlace p = places.at(s.toString());
            ++seen[s.toString()];
            len += std::hypot(p.x - at.x, p.y - at.y);
            load += p.quantity;
            at = p;
        }
        len += std::hypot(depot.x - at.x, depot.y - at.y);
        const double time = len / 50 + 0.5 + 0.25 * stops.size();
        EXPECT_NEAR(round["length"].toDouble(), len, 1e-9 * len);
        EXPECT_NEAR(round["load"].toDouble(), load, 1e-9);
        EXPECT_NEAR(round["time"].toDouble(), time, 1e-9 * time);
        EXPECT_LE(load, 500);
        EXPECT_LE(time, 12 + 1e-9);
        total += len;
    }
    // The quantities of the 26 places other than the centre: 1792 - 76 = 1716, four loads of 500
    // at least.
    EXPECT_GE(rounds.size(), 4);
    EXPECT_LE(rounds.size(), 6);
    EXPECT_EQ(json["vehicles"].toInt(), rounds.size());
    EXPECT_NEAR(json["total"].toDouble(), total, 1e-9 * total);
    EXPECT_TRUE(json["missed"].toArray().isEmpty());
    EXPECT_EQ(seen.size(), places.size() - 1);
    EXPECT_EQ(seen.count(QString::fromUtf8("Banská Bystrica")), 0u);
    for (const auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << name.toStdString();

    // GeoJSON: the centre, then each round from the centre (19.1462 E, 48.7363 N) and back.
    QFile f(geo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonArray features = QJsonDocument::fromJson(f.readAll()).object()["features"].toArray();
    ASSERT_EQ(features.size(), rounds.size() + 1);
    for (qsizetype k = 1; k < features.size(); ++k) {
        const QJsonObject geometry = features[k].toObject()["geometry"].toObject();
        EXPECT_EQ(geometry["type"].toString(), "LineString");
        const QJsonArray line = geometry["coordinates"].toArray();
        ASSERT_EQ(line.size(), rounds[k - 1].toObject()["places"].toArray().size() + 2);
        for (const QJsonValue& end : { line.first(), line.last() }) {
            EXPECT_NEAR(end.toArray()[0].toDouble(), 19.1462001, 1e-6);
            EXPECT_NEAR(end.toArray()[1].toDouble(), 48.7362997, 1e-6);
        }
    }
}

TEST(RoundsCli, RefusalsAndLimitsMissedHaveTheirExitCodes)
{
    QTemporaryDir dir;
    // Bratislava's 475 exceed a capacity of 300.
    const CliRun refused
        = runCli({ "network", sampleRounds(dir, "small.mzd", 300, 0), "--method", "rounds" });
    EXPECT_EQ(refused.code, 2);
    EXPECT_EQ(refused.err.trimmed(),
        QString::fromUtf8("dorvan-cli: network: Množstvo miesta Bratislava (475) je väčšie ako kapacita "
                          "dopravného prostriedku (300)."));
    EXPECT_TRUE(refused.out.isEmpty());
    // 1716 to carry in three loads of 500: no plan keeps the capacity; the best is printed with
    // what it misses.
    const CliRun missed = runCli(
        { "network", sampleRounds(dir, "three.mzd", 500, 3), "--method", "rounds", "--iterations", "2000" });
    EXPECT_EQ(missed.code, 3);
    EXPECT_TRUE(
        missed.err.contains(QString::fromUtf8("Kapacita dopravných prostriedkov: najlepšie nájdené okruhy ju "
                                              "prekračujú o ")))
        << missed.err.toStdString();
    EXPECT_TRUE(missed.out.contains(QString::fromUtf8("Počet dopravných prostriedkov: 3")));
    EXPECT_TRUE(missed.out.contains(QString::fromUtf8("Obmedzenie nedodržané – Kapacita")));
}

// ----------------------------------------------------------------------------------------------
// The rounds in the network window and the station graph, against dorvan-cli

class RoundsWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        w = std::make_unique<TDorvan_Central>(dialogs);
        w->resize(1280, 900);
        w->show();
    }
    void TearDown() override { w.reset(); }

    // "Otvor ako ..." and the hidden network methods; the search of the window's opening is
    // replaced by one of the given steps, so that the command line can make the same.
    void open(const QString& project, long iterations)
    {
        ASSERT_TRUE(w->openProjectFile(project));
        settle();
        w->SieteClick();
        settle();
        ASSERT_NE(net(), nullptr);
        dorvan::RoundsOptions o;
        o.iterations = iterations;
        o.timeLimit = 600;
        net()->rounds().setOptions(o);
        net()->rounds().compute();
        waitForRounds();
    }
    void waitForRounds()
    {
        QElapsedTimer t;
        t.start();
        while (net()->rounds().busy() && t.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    TMetodaDistribSieti* net() const { return w->networkWindows().networkWindow(); }
    TGrafickaSietStanic* graph() const { return w->networkWindows().graphWindow(); }
    QStringList roundsList() const
    {
        return dorvan::test::lines(dorvan::test::control<QListWidget>(net(), "RoundsList"));
    }
    QString status() const { return dorvan::test::control<QLabel>(net(), "RoundsStatus")->text(); }

    QTemporaryDir dir;
    dorvan::test::ScriptedDialogs dialogs;
    std::unique_ptr<TDorvan_Central> w;
};

bool colourNear(const QImage& image, int x, int y, QRgb colour)
{
    for (int j = y - 1; j <= y + 1; ++j)
        for (int i = x - 1; i <= x + 1; ++i)
            if (image.valid(i, j) && (image.pixel(i, j) & 0xFFFFFF) == (colour & 0xFFFFFF))
                return true;
    return false;
}

TEST_F(RoundsWindow, ListsAndGraphAreThoseOfTheCommandLine)
{
    const QString project = sampleRounds(dir, "sample.mzd", 500, 6);
    open(project, 3000);
    EXPECT_EQ(status(), QString::fromUtf8("Okruhy vypočítané."));
    const CliRun text = runCli({ "network", project, "--method", "rounds", "--iterations", "3000" });
    ASSERT_EQ(text.code, 0) << text.err.toStdString();
    EXPECT_EQ(roundsList(), text.outLines());
    ASSERT_GE(roundsList().size(), 2);
    EXPECT_TRUE(roundsList()[0].startsWith(QString::fromUtf8("Okruh 1: Banská Bystrica – ")));

    // The graph: the rounds over the stars, pixel for pixel as the command line draws them.
    const QImage shown = graph()->image();
    const QString png = dir.filePath("graph.png");
    const CliRun drawn = runCli({ "network", project, "--method", "rounds", "--iterations", "3000", "--out",
        png, "--size", QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height()) });
    ASSERT_EQ(drawn.code, 0) << drawn.err.toStdString();
    EXPECT_EQ(dorvan::test::differingPixels(shown, QImage(png)), 0);

    // The depot is a black square on Banská Bystrica; each round leaves it in its colour: the
    // middle of its first line, from the centre to its first place, is drawn in it.
    const dorvan::RoundsTrace& trace = w->project().BestRounds;
    ASSERT_TRUE(trace.present);
    const auto places = dorvan::graphPlaces(w->project().Record, w->project().State.PlaceCount);
    const dorvan::GraphWindow g = dorvan::graphWindow(places, shown.width(), shown.height());
    const int dx = g.px(152.9751), dy = g.py(109.2785);
    EXPECT_EQ(shown.pixel(dx, dy) & 0xFFFFFF, 0u);
    EXPECT_EQ(shown.pixel(dx + 3, dy - 3) & 0xFFFFFF, 0u);
    for (std::size_t r = 0; r < trace.rounds.size(); ++r) {
        const auto& first = trace.rounds[r].front();
        const int mx = (dx + g.px(first.x)) / 2, my = (dy + g.py(first.y)) / 2;
        const std::uint32_t bgr = dorvan::roundColour(static_cast<int>(r) + 1);
        const QRgb rgb = qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
        EXPECT_TRUE(colourNear(shown, mx, my, rgb)) << "round " << r + 1;
    }
}

TEST_F(RoundsWindow, StopKeepsTheBestRoundsFoundSoFar)
{
    open(sampleRounds(dir, "sample.mzd", 500, 6), 3000);
    dorvan::RoundsOptions o;
    o.iterations = 200000000;
    o.timeLimit = 600;
    net()->rounds().setOptions(o);
    net()->rounds().compute();
    EXPECT_TRUE(net()->rounds().busy());
    auto* stop = dorvan::test::control<QPushButton>(net(), "RoundsStop");
    EXPECT_TRUE(stop->isEnabled());
    QTest::qWait(200);
    stop->click();
    waitForRounds();
    ASSERT_FALSE(net()->rounds().busy());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_EQ(status(), QString::fromUtf8("Zastavené: najlepšie okruhy nájdené dovtedy."));
    EXPECT_TRUE(
        roundsList().contains(QString::fromUtf8("Výpočet bol zastavený: najlepšie okruhy nájdené dovtedy.")));
    // Every place but the centre in exactly one round.
    std::map<QString, int> seen;
    for (const QString& line : roundsList())
        if (line.startsWith(QString::fromUtf8("Okruh "))) {
            QStringList stops = line.section(": ", 1).split(QString::fromUtf8(" – "));
            ASSERT_GE(stops.size(), 3);
            EXPECT_EQ(stops.takeFirst(), QString::fromUtf8("Banská Bystrica"));
            EXPECT_EQ(stops.takeLast(), QString::fromUtf8("Banská Bystrica"));
            for (const QString& s : stops)
                ++seen[s];
        }
    EXPECT_EQ(seen.size(), 26u);
    for (const auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << name.toStdString();
    EXPECT_TRUE(w->project().BestRounds.present);
}

TEST_F(RoundsWindow, ARefusalIsShownAndNoRoundsAreDrawn)
{
    open(sampleRounds(dir, "small.mzd", 300, 0), 1000);
    EXPECT_EQ(status(),
        QString::fromUtf8(
            "Okruhy sa nedajú vypočítať: Množstvo miesta Bratislava (475) je väčšie ako kapacita "
            "dopravného prostriedku (300)."));
    EXPECT_TRUE(roundsList().isEmpty());
    EXPECT_FALSE(w->project().BestRounds.present);
    EXPECT_FALSE(net()->rounds().busy());
}

} // namespace
