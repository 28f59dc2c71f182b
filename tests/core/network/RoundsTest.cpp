// Delivery rounds: small projects against a brute force over every set of rounds, the limits
// recomputed here from the test's own coordinates, the depot, and the refusals.
#include "core/entry/PlaceList.h"
#include "core/network/RoundsSearch.h"
#include "core/report/ReportContent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace dorvan;

struct Town {
    std::string name;
    double x, y, quantity;
};

struct Limits {
    double capacity = 0; // 0: unticked
    double length = 0;
    double time = 0; // with speed, DC and DM below when ticked
    double speed = 0; // 0: unticked (60)
    double dc = -1, dm = -1; // < 0: loading times unticked
    int vehicles = 0;
};

void tickBox(Project& p, Criterion c)
{
    p.Record.setCriterion(c, true);
}

// Towns[0] is the centre when central is true.
std::unique_ptr<Project> roundsProject(const std::vector<Town>& towns, const Limits& l, bool central)
{
    auto p = std::make_unique<Project>();
    p->resetAtStart();
    int i = 0;
    for (const Town& t : towns) {
        storeNewPlace(p->Record, ++i, Text100::fromUtf8(t.name), t.x, t.y);
        p->Record.PlaceQuantity[i] = t.quantity;
    }
    computeDistances(p->Record, i);
    p->State.PlaceCount = i;
    tickBox(*p, CritQuantity);
    if (central) {
        tickBox(*p, CritCentral);
        p->Record.CentralName = Text100::fromUtf8(towns[0].name);
    }
    if (l.capacity > 0) {
        tickBox(*p, CritVehicleCapacity);
        p->Record.VehicleCapacity = l.capacity;
    }
    if (l.length > 0) {
        tickBox(*p, CritMaxRouteLength);
        p->Record.MaxRouteLength = l.length;
    }
    if (l.time > 0) {
        tickBox(*p, CritMaxDistributionTime);
        p->Record.MaxDistributionTime = l.time;
    }
    if (l.speed > 0) {
        tickBox(*p, CritVehicleSpeed);
        p->Record.VehicleSpeed = l.speed;
    }
    if (l.dc >= 0) {
        tickBox(*p, CritLoadTimes);
        p->Record.LoadTimeDC = l.dc;
        p->Record.LoadTimeDM = l.dm;
    }
    if (l.vehicles > 0) {
        tickBox(*p, CritVehicleCount);
        p->Record.VehicleCount = l.vehicles;
    }
    return p;
}

double gap(const Town& a, const Town& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
}

// Every partition of towns 1..n into rounds from towns[0], each round in its shortest order
// (every permutation), rounds kept only within the limits; the least total, or infinity.
double roundsBruteForce(const std::vector<Town>& t, const Limits& l)
{
    const int n = static_cast<int>(t.size()) - 1;
    const double speed = l.speed > 0 ? l.speed : 60.0;
    const double inf = std::numeric_limits<double>::infinity();
    const int full = (1 << n) - 1;
    std::vector<double> best(static_cast<std::size_t>(full + 1), inf);
    for (int mask = 1; mask <= full; ++mask) {
        std::vector<int> members;
        double load = 0;
        for (int k = 0; k < n; ++k)
            if (mask & (1 << k)) {
                members.push_back(k + 1);
                load += t[static_cast<std::size_t>(k + 1)].quantity;
            }
        if (l.capacity > 0 && load > l.capacity + 1e-9)
            continue;
        double shortest = inf;
        do {
            double len = gap(t[0], t[static_cast<std::size_t>(members.front())])
                + gap(t[static_cast<std::size_t>(members.back())], t[0]);
            for (std::size_t k = 1; k < members.size(); ++k)
                len += gap(
                    t[static_cast<std::size_t>(members[k - 1])], t[static_cast<std::size_t>(members[k])]);
            shortest = std::min(shortest, len);
        } while (std::next_permutation(members.begin(), members.end()));
        const double time = shortest / speed + std::max(l.dc, 0.0)
            + std::max(l.dm, 0.0) * static_cast<double>(members.size());
        if ((l.length > 0 && shortest > l.length + 1e-9) || (l.time > 0 && time > l.time + 1e-9))
            continue;
        best[static_cast<std::size_t>(mask)] = shortest;
    }
    // total[k][mask]: mask served by exactly k rounds.
    const int most = l.vehicles > 0 ? l.vehicles : n;
    std::vector<std::vector<double>> total(
        static_cast<std::size_t>(most + 1), std::vector<double>(static_cast<std::size_t>(full + 1), inf));
    total[0][0] = 0;
    double answer = inf;
    for (int k = 1; k <= most; ++k) {
        for (int mask = 1; mask <= full; ++mask) {
            const int low = mask & -mask;
            for (int sub = mask; sub; sub = (sub - 1) & mask)
                if ((sub & low) && best[static_cast<std::size_t>(sub)] < inf)
                    total[static_cast<std::size_t>(k)][static_cast<std::size_t>(mask)] = std::min(
                        total[static_cast<std::size_t>(k)][static_cast<std::size_t>(mask)],
                        best[static_cast<std::size_t>(sub)]
                            + total[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(mask ^ sub)]);
        }
        answer = std::min(answer, total[static_cast<std::size_t>(k)][static_cast<std::size_t>(full)]);
    }
    return answer;
}

// Towns from a fixed generator: coordinates 0..100, quantities 1..9; towns[0] the centre.
std::vector<Town> towns(int n, unsigned seed)
{
    std::vector<Town> out;
    unsigned s = seed * 2654435761u + 12345u;
    const auto next = [&] {
        s = s * 1103515245u + 12345u;
        return (s >> 8) % 1000u;
    };
    for (int i = 0; i <= n; ++i) {
        const double x = next() / 10.0, y = next() / 10.0;
        out.push_back({ "T" + std::to_string(i), x, y, 1.0 + static_cast<double>(next() % 9) });
    }
    return out;
}

RoundsOptions quick()
{
    RoundsOptions o;
    o.iterations = 4000;
    o.timeLimit = 30;
    return o;
}

struct RoundsCase {
    const char* what;
    int n;
    unsigned seed;
    Limits limits;
    std::vector<const char*> binding;
};

class RoundsBruteForce : public ::testing::TestWithParam<RoundsCase> { };

TEST_P(RoundsBruteForce, LeastTotalWithinEveryLimitAndEveryPlaceOnce)
{
    const RoundsCase& c = GetParam();
    const std::vector<Town> t = towns(c.n, c.seed);
    const auto project = roundsProject(t, c.limits, true);
    const RoundsInput in = roundsProblem(*project);
    ASSERT_TRUE(in.problem) << in.refusal;
    const RoundsPlan plan = searchRounds(*in.problem, quick());
    const double expected = roundsBruteForce(t, c.limits);
    ASSERT_TRUE(std::isfinite(expected)) << "the case must have a solution";
    // The limits of a case must change the answer, or the case tests nothing of them.
    // Each limit the case names must bind (the brute force without it finds less), or the case
    // would test nothing of it.
    for (const char* limit : c.binding) {
        Limits without = c.limits;
        const std::string l = limit;
        without.capacity = l == "capacity" ? 0 : without.capacity;
        without.length = l == "length" ? 0 : without.length;
        without.time = l == "time" ? 0 : without.time;
        without.vehicles = l == "vehicles" ? 0 : without.vehicles;
        EXPECT_LT(roundsBruteForce(t, without), expected - 1e-6) << c.what << ": " << l << " does not bind";
    }
    EXPECT_TRUE(plan.missed.empty());
    EXPECT_NEAR(plan.total, expected, 1e-6 * expected) << c.what;

    std::map<std::string, int> seen;
    double total = 0;
    const double speed = c.limits.speed > 0 ? c.limits.speed : 60.0;
    for (const Round& r : plan.rounds) {
        ASSERT_FALSE(r.stops.empty());
        double len = 0, load = 0;
        const Town* at = &t[0];
        for (int s : r.stops) {
            const std::string& name = in.problem->names[static_cast<std::size_t>(s)];
            const auto town = std::find_if(t.begin(), t.end(), [&](const Town& x) { return x.name == name; });
            ASSERT_NE(town, t.end());
            ++seen[name];
            len += gap(*at, *town);
            load += town->quantity;
            at = &*town;
        }
        len += gap(*at, t[0]);
        total += len;
        const double time = len / speed + std::max(c.limits.dc, 0.0)
            + std::max(c.limits.dm, 0.0) * static_cast<double>(r.stops.size());
        EXPECT_NEAR(r.length, len, 1e-9 * len);
        EXPECT_NEAR(r.load, load, 1e-9);
        EXPECT_NEAR(r.time, time, 1e-9 * time);
        const double inf = std::numeric_limits<double>::infinity();
        EXPECT_LE(load, c.limits.capacity > 0 ? c.limits.capacity + 1e-9 : inf);
        EXPECT_LE(len, c.limits.length > 0 ? c.limits.length + 1e-9 : inf);
        EXPECT_LE(time, c.limits.time > 0 ? c.limits.time + 1e-9 : inf);
    }
    EXPECT_LE(static_cast<int>(plan.rounds.size()), c.limits.vehicles > 0 ? c.limits.vehicles : c.n);
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(c.n));
    for (const auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << name;
    EXPECT_NEAR(plan.total, total, 1e-9 * total);
}

// Limits chosen against the towns of each seed (found with a brute force of their own) so that
// the limits named last bind.
INSTANTIATE_TEST_SUITE_P(Limits, RoundsBruteForce,
    ::testing::Values(RoundsCase { "none", 6, 1, {}, {} },
        RoundsCase { "capacity", 8, 2, { .capacity = 12 }, { "capacity" } },
        RoundsCase { "capacity tight", 7, 3, { .capacity = 9 }, { "capacity" } },
        RoundsCase { "length", 8, 4, { .length = 190 }, { "length" } },
        RoundsCase {
            "time with loading", 8, 5, { .time = 4.0, .speed = 80, .dc = 0.5, .dm = 0.25 }, { "time" } },
        RoundsCase { "time at 60", 7, 6, { .time = 3.5 }, { "time" } },
        RoundsCase {
            "vehicles with capacity", 8, 10, { .capacity = 20, .vehicles = 2 }, { "capacity", "vehicles" } },
        RoundsCase { "all, capacity and time bind", 8, 9,
            { .capacity = 16, .length = 240, .time = 3.0, .speed = 90, .dc = 0.3, .dm = 0.1, .vehicles = 3 },
            { "capacity", "time" } },
        RoundsCase { "all, capacity and length bind", 8, 10,
            { .capacity = 16, .length = 200, .time = 3.0, .speed = 90, .dc = 0.3, .dm = 0.1, .vehicles = 3 },
            { "capacity", "length" } },
        RoundsCase { "all, capacity and vehicles bind", 8, 13,
            { .capacity = 12, .length = 200, .time = 3.0, .speed = 90, .dc = 0.3, .dm = 0.1, .vehicles = 4 },
            { "capacity", "vehicles" } }));

TEST(Rounds, DepotIsTheOneCentreOptimumWhenNoCentreIsTicked)
{
    // Four equal corners: the optimum is the square's middle; with a heavier corner it is that
    // corner (its weight outweighs the other three: 5 > 3 × 1, Kuhn's condition).
    struct Case {
        double heavy;
        double x, y;
    };
    for (const Case& c : { Case { 1, 5, 5 }, Case { 5, 0, 0 } }) {
        const std::vector<Town> t
            = { { "A", 0, 0, c.heavy }, { "B", 10, 0, 1 }, { "C", 0, 10, 1 }, { "D", 10, 10, 1 } };
        const auto project = roundsProject(t, {}, false);
        const RoundsInput in = roundsProblem(*project);
        ASSERT_TRUE(in.problem) << in.refusal;
        EXPECT_FALSE(in.problem->depotIsPlace);
        EXPECT_NEAR(in.problem->depotX, c.x, 1e-2);
        EXPECT_NEAR(in.problem->depotY, c.y, 1e-2);
        EXPECT_EQ(in.problem->n, 4);
        // Unlimited: one round around the square from the depot.
        const RoundsPlan plan = searchRounds(*in.problem, quick());
        ASSERT_EQ(plan.rounds.size(), 1u);
        const double expected = c.heavy == 1 ? 2 * std::hypot(5.0, 5.0) + 30 : 40;
        EXPECT_NEAR(plan.total, expected, 1e-2);
    }
}

TEST(Rounds, RealDistancesServeWhenTheDepotIsAPlace)
{
    // Straight lines put B and C next to each other; the real distance B–C is 100 (a river
    // between them), so two rounds from A beat one round through both.
    const std::vector<Town> t = { { "A", 0, 0, 1 }, { "B", 10, 0, 1 }, { "C", 10, 1, 1 } };
    auto project = roundsProject(t, {}, true);
    TProjectRecord& r = project->Record;
    r.Distance[2][3] = r.Distance[3][2] = 100;
    tickBox(*project, CritRealDistances);
    const RoundsInput in = roundsProblem(*project);
    ASSERT_TRUE(in.problem);
    const RoundsPlan plan = searchRounds(*in.problem, quick());
    // Two rounds A-B-A and A-C-A: 2 × 10 + 2 × sqrt(101), against 10 + 100 + sqrt(101) in one.
    EXPECT_NEAR(plan.total, 20 + 2 * std::sqrt(101.0), 1e-9);
    EXPECT_EQ(plan.rounds.size(), 2u);
}

struct RoundsRefusalCase {
    const char* what;
    std::vector<Town> towns;
    Limits limits;
    bool central;
    std::string refusal;
};

TEST(Rounds, RefusalsNameThePlaceOrTheChoice)
{
    const std::vector<Town> three = { { "Nitra", 0, 0, 1 }, { "Trnava", 30, 40, 7 }, { "Senec", 60, 80, 3 } };
    const std::vector<RoundsRefusalCase> cases = {
        { "demand over capacity", three, { .capacity = 5 }, true,
            "Množstvo miesta Trnava (7) je väčšie ako kapacita dopravného prostriedku (5)." },
        // Senec alone: 100 there and back 100.
        { "too far for the length", three, { .length = 150 }, true,
            "Miesto Senec sa nedá obslúžiť ani samostatným okruhom: okruh meria 200, najviac smie 150." },
        // Senec alone: 200 km at 100 km/h, 0,5 loading, 0,25 unloading: 2,75 h.
        { "too far for the time", three, { .time = 2.5, .speed = 100, .dc = 0.5, .dm = 0.25 }, true,
            "Miesto Senec sa nedá obslúžiť ani samostatným okruhom: okruh trvá 2,75, najviac smie 2,5." },
        { "only the centre", { { "Nitra", 0, 0, 1 } }, {}, true,
            "Okrem distribučnej centrály niet miesta na rozvoz." },
        { "nothing limited", three, {}, true, "" },
    };
    for (const RoundsRefusalCase& c : cases) {
        const auto project = roundsProject(c.towns, c.limits, c.central);
        const RoundsInput in = roundsProblem(*project);
        EXPECT_EQ(in.refusal, c.refusal) << c.what;
        EXPECT_EQ(in.problem.has_value(), c.refusal.empty()) << c.what;
    }
    auto project = roundsProject(three, {}, true);
    project->Record.CentralName = Text100();
    EXPECT_EQ(roundsProblem(*project).refusal, "Distribučná centrála nie je zvolená.");
    project->Record.CentralName = Text100::fromUtf8("Praha");
    EXPECT_EQ(roundsProblem(*project).refusal, "Distribučná centrála Praha nie je medzi miestami.");
    tickBox(*project, CritVehicleCount);
    project->Record.VehicleCount = 0;
    project->Record.CentralName = Text100::fromUtf8("Nitra");
    EXPECT_EQ(roundsProblem(*project).refusal, "Počet dopravných prostriedkov musí byť aspoň 1.");
}

TEST(Rounds, LimitsNoSolutionKeepsAreNamedWithTheirExcess)
{
    // Demands 7 and 3 with a capacity of 8 and one vehicle: no plan within both. The places are
    // both put into the one round (7 + 3 = 10, two over), or a second round is needed.
    const std::vector<Town> t = { { "Nitra", 0, 0, 1 }, { "Trnava", 30, 40, 7 }, { "Senec", 60, 80, 3 } };
    const auto project = roundsProject(t, { .capacity = 8, .vehicles = 1 }, true);
    const RoundsInput in = roundsProblem(*project);
    ASSERT_TRUE(in.problem) << in.refusal;
    const RoundsPlan plan = searchRounds(*in.problem, quick());
    ASSERT_EQ(plan.rounds.size(), 1u);
    EXPECT_EQ(plan.rounds[0].stops.size(), 2u);
    ASSERT_EQ(plan.missed.size(), 1u);
    EXPECT_EQ(plan.missed[0],
        "Kapacita dopravných prostriedkov: najlepšie nájdené okruhy ju prekračujú o 2 (okruh 1).");
    const std::vector<std::string> lines = roundsLines(*in.problem, plan, ",");
    EXPECT_EQ(lines.back(), "Obmedzenie nedodržané – " + plan.missed[0]);
    // The places lie on one line: either order is 50 + 50 + 100 long.
    EXPECT_TRUE(lines[0] == "Okruh 1: Nitra – Trnava – Senec – Nitra"
        || lines[0] == "Okruh 1: Nitra – Senec – Trnava – Nitra")
        << lines[0];
    EXPECT_EQ(lines[1], "   dĺžka 200, náklad 10, čas 3,3333");

    // The report's page of the rounds: a row a round, the total and what is missed under it.
    const report::ReportSection page = report::roundsSection(roundsTrace(*in.problem, plan));
    EXPECT_EQ(page.title, "Okruhy rozvozu");
    ASSERT_EQ(page.tables.size(), 1u);
    ASSERT_EQ(page.tables[0].rows.size(), 1u);
    const std::vector<std::string>& row = page.tables[0].rows[0];
    ASSERT_EQ(row.size(), 5u);
    EXPECT_EQ(row[0], "1");
    EXPECT_EQ("Okruh 1: " + row[1], lines[0]);
    EXPECT_EQ((std::vector<std::string> { row[2], row[3], row[4] }),
        (std::vector<std::string> { "200", "10", "3,3333" }));
    EXPECT_EQ(page.lines,
        (std::vector<std::string> { "Celková dĺžka okruhov: 200, počet dopravných prostriedkov: 1",
            "Obmedzenie nedodržané – " + plan.missed[0] }));
}

TEST(Rounds, SameSeedSameRounds)
{
    const std::vector<Town> t = towns(30, 11);
    const auto project = roundsProject(t, { .capacity = 25, .vehicles = 8 }, true);
    const RoundsInput in = roundsProblem(*project);
    ASSERT_TRUE(in.problem) << in.refusal;
    RoundsOptions o = quick();
    o.iterations = 3000;
    const RoundsPlan a = searchRounds(*in.problem, o);
    const RoundsPlan b = searchRounds(*in.problem, o);
    ASSERT_EQ(a.rounds.size(), b.rounds.size());
    for (std::size_t k = 0; k < a.rounds.size(); ++k)
        EXPECT_EQ(a.rounds[k].stops, b.rounds[k].stops);
    EXPECT_EQ(a.iterations, 2 * 3000);
}

} // namespace
