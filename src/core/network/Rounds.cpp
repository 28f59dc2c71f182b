#include "core/network/Rounds.h"

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace dorvan {

namespace {

// A limit is kept up to this relative slack: sums in another order may differ in the last bits.
bool within(double value, double limit)
{
    return value <= limit + 1e-9 * std::max(1.0, std::abs(limit));
}

std::string roundsNumber(double v, std::string_view separator)
{
    return formatDecimal4(v, separator);
}

// The optimum of the one-centre allocation over the project's places, as the allocation
// window computes it (no groups).
std::pair<double, double> oneCentreOptimum(const Project& project)
{
    CooperRunInputs in = runInputs(project, ",");
    in.groupsOn = false;
    in.groups = {};
    in.existingCentres.clear();
    const std::vector<IteratePoint> path
        = allocationsOf(project).of(project.Record, project.State.PlaceCount, in)->path();
    if (path.empty())
        return { 0.0, 0.0 };
    return { path.back().x, path.back().y };
}

int lastPlaceWithName(const TProjectRecord& r, int count, const Text100& name)
{
    for (int i = count; i >= 1; --i)
        if (r.PlaceName[i] == name)
            return i;
    return 0;
}

} // namespace

double RoundsProblem::roundTime(double length, int k) const
{
    return length / speed + loadDepot + unloadPlace * k;
}

double RoundsProblem::lengthAllowed(int k) const
{
    double allowed = maxLength;
    if (maxTime != NoLimit)
        allowed = std::min(allowed, (maxTime - loadDepot - unloadPlace * k) * speed);
    return allowed;
}

RoundsInput roundsProblem(const Project& project)
{
    const TProjectRecord& r = project.Record;
    const int count = runPlaceCount(project.State.PlaceCount);
    RoundsInput in;
    RoundsProblem p;
    int depot = 0;
    if (project.ticked(CritCentral)) {
        if (r.CentralName.empty()) {
            in.refusal = "Distribučná centrála nie je zvolená.";
            return in;
        }
        depot = lastPlaceWithName(r, count, r.CentralName);
        if (depot == 0) {
            in.refusal = "Distribučná centrála " + displayName(r.CentralName) + " nie je medzi miestami.";
            return in;
        }
    }
    std::vector<int> places;
    for (int i = 1; i <= count; ++i)
        if (i != depot)
            places.push_back(i);
    if (places.empty()) {
        in.refusal = depot ? "Okrem distribučnej centrály niet miesta na rozvoz." : "Niet miest na rozvoz.";
        return in;
    }
    p.n = static_cast<int>(places.size());
    p.depotIsPlace = depot != 0;
    if (depot) {
        p.depotX = r.PlaceX[depot];
        p.depotY = r.PlaceY[depot];
    } else {
        std::tie(p.depotX, p.depotY) = oneCentreOptimum(project);
    }
    std::vector<int> node { depot };
    node.insert(node.end(), places.begin(), places.end());
    p.placeNo = node;
    const auto m = static_cast<std::size_t>(p.n + 1);
    p.names.resize(m);
    p.demand.assign(m, 0.0);
    for (std::size_t k = 0; k < m; ++k) {
        p.names[k] = node[k] ? displayName(r.PlaceName[node[k]]) : std::string("Optimum");
        if (k > 0)
            p.demand[k] = project.ticked(CritQuantity) ? r.PlaceQuantity[node[k]] : 1.0;
    }
    const bool real = project.ticked(CritRealDistances) && depot != 0;
    p.dist.resize(m * m);
    const auto xy = [&](std::size_t k) {
        return node[k] ? std::pair { r.PlaceX[node[k]], r.PlaceY[node[k]] }
                       : std::pair { p.depotX, p.depotY };
    };
    for (std::size_t k = 0; k < m; ++k) {
        p.xs.push_back(xy(k).first);
        p.ys.push_back(xy(k).second);
    }
    for (std::size_t a = 0; a < m; ++a)
        for (std::size_t b = 0; b < m; ++b) {
            const auto [xa, ya] = xy(a);
            const auto [xb, yb] = xy(b);
            p.dist[a * m + b] = a == b ? 0.0
                : real                 ? r.Distance[node[a]][node[b]]
                                       : std::hypot(xa - xb, ya - yb);
        }
    if (project.ticked(CritVehicleCapacity))
        p.capacity = r.VehicleCapacity;
    if (project.ticked(CritMaxRouteLength))
        p.maxLength = r.MaxRouteLength;
    if (project.ticked(CritMaxDistributionTime))
        p.maxTime = r.MaxDistributionTime;
    if (project.ticked(CritVehicleSpeed))
        p.speed = r.VehicleSpeed;
    if (project.ticked(CritLoadTimes)) {
        p.loadDepot = r.LoadTimeDC;
        p.unloadPlace = r.LoadTimeDM;
    }
    if (project.ticked(CritVehicleCount)) {
        if (r.VehicleCount < 1) {
            in.refusal = "Počet dopravných prostriedkov musí byť aspoň 1.";
            return in;
        }
        p.maxVehicles = r.VehicleCount;
    }
    in.refusal = roundsRefusal(p);
    if (in.refusal.empty())
        in.problem = std::move(p);
    return in;
}

std::string roundsRefusal(const RoundsProblem& p)
{
    const std::string_view sep = ",";
    if (!(p.speed > 0.0) || !std::isfinite(p.speed))
        return "Priemerná rýchlosť DP musí byť väčšia ako 0.";
    for (double v : { p.capacity, p.maxLength, p.maxTime, p.loadDepot, p.unloadPlace })
        if (std::isnan(v) || v < 0.0)
            return "Kapacita, dĺžka trasy, čas distribúcie ani časy nakladania nesmú byť záporné.";
    for (int a = 0; a <= p.n; ++a)
        for (int b = 0; b <= p.n; ++b)
            if (!std::isfinite(p.d(a, b)) || p.d(a, b) < 0.0)
                return "Vzdialenosť medzi miestami " + p.names[static_cast<std::size_t>(a)] + " a "
                    + p.names[static_cast<std::size_t>(b)] + " nie je nezáporné číslo.";
    for (int i = 1; i <= p.n; ++i) {
        const std::string& name = p.names[static_cast<std::size_t>(i)];
        const double q = p.demand[static_cast<std::size_t>(i)];
        if (!std::isfinite(q) || q < 0.0)
            return "Množstvo miesta " + name + " nie je nezáporné číslo.";
        if (!within(q, p.capacity))
            return "Množstvo miesta " + name + " (" + roundsNumber(q, sep)
                + ") je väčšie ako kapacita dopravného prostriedku (" + roundsNumber(p.capacity, sep) + ").";
        const double alone = p.d(0, i) + p.d(i, 0);
        if (!within(alone, p.maxLength))
            return "Miesto " + name + " sa nedá obslúžiť ani samostatným okruhom: okruh meria "
                + roundsNumber(alone, sep) + ", najviac smie " + roundsNumber(p.maxLength, sep) + ".";
        if (!within(p.roundTime(alone, 1), p.maxTime))
            return "Miesto " + name + " sa nedá obslúžiť ani samostatným okruhom: okruh trvá "
                + roundsNumber(p.roundTime(alone, 1), sep) + ", najviac smie " + roundsNumber(p.maxTime, sep)
                + ".";
    }
    return {};
}

Round priceRound(const RoundsProblem& p, std::vector<int> stops)
{
    Round r;
    r.stops = std::move(stops);
    int at = 0;
    for (int s : r.stops) {
        r.length += p.d(at, s);
        r.load += p.demand[static_cast<std::size_t>(s)];
        at = s;
    }
    r.length += p.d(at, 0);
    r.time = p.roundTime(r.length, static_cast<int>(r.stops.size()));
    return r;
}

RoundsPlan makePlan(const RoundsProblem& p, const std::vector<std::vector<int>>& rounds, std::string_view sep)
{
    RoundsPlan plan;
    for (const std::vector<int>& stops : rounds)
        if (!stops.empty()) {
            plan.rounds.push_back(priceRound(p, stops));
            plan.total += plan.rounds.back().length;
        }
    struct Worst {
        double excess = 0.0;
        int round = 0;
    };
    Worst load, length, time;
    const auto note = [](Worst& w, double value, double limit, int round) {
        if (!within(value, limit) && value - limit > w.excess)
            w = { value - limit, round };
    };
    for (std::size_t k = 0; k < plan.rounds.size(); ++k) {
        const Round& r = plan.rounds[k];
        const int no = static_cast<int>(k) + 1;
        note(load, r.load, p.capacity, no);
        note(length, r.length, p.maxLength, no);
        note(time, r.time, p.maxTime, no);
    }
    const auto say = [&](const Worst& w, const char* limit) {
        if (w.round)
            plan.missed.push_back(std::string(limit) + ": najlepšie nájdené okruhy ju prekračujú o "
                + roundsNumber(w.excess, sep) + " (okruh " + std::to_string(w.round) + ").");
    };
    say(load, "Kapacita dopravných prostriedkov");
    say(length, "Maximálna dĺžka distribučnej trasy");
    say(time, "Maximálny čas distribúcie");
    const int used = static_cast<int>(plan.rounds.size());
    if (p.maxVehicles > 0 && used > p.maxVehicles)
        plan.missed.push_back("Počet dopravných prostriedkov: najlepšie nájdené okruhy potrebujú o "
            + std::to_string(used - p.maxVehicles) + " viac (" + std::to_string(used) + " namiesto "
            + std::to_string(p.maxVehicles) + ").");
    return plan;
}

RoundsTrace roundsTrace(const RoundsProblem& p, const RoundsPlan& plan)
{
    RoundsTrace t;
    t.present = true;
    t.depot = { p.depotX, p.depotY };
    const std::string_view sep = ",";
    for (std::size_t k = 0; k < plan.rounds.size(); ++k) {
        const Round& r = plan.rounds[k];
        std::string route = p.names[0];
        for (int s : r.stops)
            route += " – " + p.names[static_cast<std::size_t>(s)];
        t.rows.push_back({ std::to_string(k + 1), route + " – " + p.names[0], roundsNumber(r.length, sep),
            roundsNumber(r.load, sep), roundsNumber(r.time, sep) });
        auto& points = t.rounds.emplace_back();
        for (int s : r.stops)
            if (static_cast<std::size_t>(s) < p.xs.size() && static_cast<std::size_t>(s) < p.ys.size())
                points.push_back({ p.xs[static_cast<std::size_t>(s)], p.ys[static_cast<std::size_t>(s)] });
    }
    t.notes.push_back("Celková dĺžka okruhov: " + roundsNumber(plan.total, sep)
        + ", počet dopravných prostriedkov: " + std::to_string(plan.rounds.size()));
    if (plan.cancelled)
        t.notes.push_back("Výpočet bol zastavený: najlepšie okruhy nájdené dovtedy.");
    for (const std::string& m : plan.missed)
        t.notes.push_back("Obmedzenie nedodržané – " + m);
    return t;
}

std::vector<std::string> roundsLines(const RoundsProblem& p, const RoundsPlan& plan, std::string_view sep)
{
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < plan.rounds.size(); ++k) {
        const Round& r = plan.rounds[k];
        std::string route = p.names[0];
        for (int s : r.stops)
            route += " – " + p.names[static_cast<std::size_t>(s)];
        route += " – " + p.names[0];
        lines.push_back("Okruh " + std::to_string(k + 1) + ": " + route);
        lines.push_back("   dĺžka " + roundsNumber(r.length, sep) + ", náklad " + roundsNumber(r.load, sep)
            + ", čas " + roundsNumber(r.time, sep));
    }
    lines.push_back("Celková dĺžka okruhov: " + roundsNumber(plan.total, sep));
    lines.push_back("Počet dopravných prostriedkov: " + std::to_string(plan.rounds.size()));
    if (plan.cancelled)
        lines.push_back("Výpočet bol zastavený: najlepšie okruhy nájdené dovtedy.");
    for (const std::string& m : plan.missed)
        lines.push_back("Obmedzenie nedodržané – " + m);
    return lines;
}

} // namespace dorvan
