// Delivery rounds: dorvan-cli network --method rounds as a process on the sample with a centre,
// a capacity, working time and loading times, its numbers recomputed here from the places; and
// the network window's rounds against it.
#include "core/entry/PlaceList.h"
#include "core/project/ProjectFile.h"
#include "support/CliProcess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

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

} // namespace
