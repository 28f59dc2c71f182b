#include "core/allocation/CooperSolver.h"

#include "core/allocation/WeberSums.h"

#include "core/common/DecimalText.h"
#include "core/common/Rounding.h" // the sums need the 80-bit long double it checks for

#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <utility>

namespace dorvan {

namespace {

constexpr long double Scale = 10000.0L;
// Where a start point that lies on a place is put instead.
constexpr long double OffPlaceStart = 0.01L;

// A place ready for the sums: coordinates widened once, weight formed once.
using Site = CostSite;

long double distance(long double px, long double py, const Site& s)
{
    return weberDistance(px, py, s.x, s.y);
}

// Coordinates arrive as doubles, so a point that should lie on a place (a weighted mean, an
// iterate the pulls balance onto it) usually misses it by a few units in the last digit. Its
// term w / d then outweighs every other place and the next steps only creep by rounding, so
// within this share of the largest coordinate a place counts as lying on the point.
constexpr long double CoincidenceTolerance = 1e-12L;

long double coincidenceReach(const std::vector<Site>& sites)
{
    long double scale = 0.0L;
    for (const Site& s : sites)
        scale = std::max({ scale, std::fabs(s.x), std::fabs(s.y) });
    return CoincidenceTolerance * scale;
}

// Kuhn's optimality test at point p: the places lying on p (no farther than reach) are weighed
// together (here), the others pull with unit vectors times their weight (pull) and add w / d to
// spread. For non-negative weights p is an optimum exactly when |pull| <= here.
using KuhnTest = WeberSums<long double>;

KuhnTest kuhnAt(const std::vector<Site>& sites, long double px, long double py, long double reach)
{
    return weberSums<long double, KuhnParts>(sites, px, py, reach);
}

struct HalfStep {
    long double value;
    bool onPlace = false; // a place lies on the starting point
    bool optimal = false; // ... and passes Kuhn's test there: the coordinate stays
};

// One half-step of the iteration from (px, py) along X or along Y: the coordinate minus
// sum w (coordinate - place) / d over sum w / d.
//
// When the point lies on a place (d no more than reach) its term is left out. If the point
// passes Kuhn's test it is the optimum and the coordinate stays. Otherwise the sums without
// the places on the point give the value, which moves the point off them; the caller decides
// whether that move is good enough. A zero sum of weights over distances leaves the coordinate
// as it is.
HalfStep halfStep(
    const std::vector<Site>& sites, long double px, long double py, bool alongX, long double reach)
{
    // Sum w (coordinate - place) / d along the one axis, and sum w / d.
    constexpr WeberParts AlongX { .pullX = true, .spread = true, .direction = Direction::Gradient };
    constexpr WeberParts AlongY { .pullY = true, .spread = true, .direction = Direction::Gradient };
    const WeberSums<long double> sums = alongX ? weberSums<long double, AlongX>(sites, px, py, reach)
                                               : weberSums<long double, AlongY>(sites, px, py, reach);
    const long double a = alongX ? sums.pullX : sums.pullY;
    const long double b = sums.spread;
    const bool onPlace = sums.onPlace;
    long double current = alongX ? px : py;
    if (onPlace && kuhnAt(sites, px, py, reach).kuhnOptimal())
        return { current, true, true };
    if (b == 0.0L)
        return { current, onPlace };
    return { current - a / b, onPlace };
}

long double objective(const std::vector<Site>& sites, long double px, long double py)
{
    return weberObjective(sites, px, py);
}

struct Point {
    long double x;
    long double y;
};

// The point lies on a place that fails Kuhn's test: it leaves the place along the pull, by
// Vardi and Zhang's length (|pull| - here) / spread, which lowers the weighted sum. Rounding
// close to the optimum can spoil that, so the length is halved until the sum does go down;
// when it never does, the place is as good as the optimum and there is nothing to return.
std::optional<Point> stepOffPlace(
    const std::vector<Site>& sites, long double px, long double py, long double reach)
{
    const KuhnTest k = kuhnAt(sites, px, py, reach);
    const long double r = k.pullLength();
    if (!(r > k.here) || !(k.spread > 0.0L))
        return std::nullopt;
    const long double f = objective(sites, px, py);
    long double t = (r - k.here) / k.spread;
    for (int halvings = 0; halvings < 64; ++halvings, t /= 2.0L) {
        Point next { px + t * k.pullX / r, py + t * k.pullY / r };
        if (objective(sites, next.x, next.y) < f)
            return next;
    }
    return std::nullopt;
}

// E or K as the run takes it: the value parsed from the text, or, when the text held none, the
// default's after a complaint (the first step would have read the text and put it back).
std::int64_t unitsInForce(std::optional<std::int64_t> parsed, std::string_view complaint,
    const char* defaultText, std::optional<std::int64_t> (*parse)(std::string_view), CooperReport& report,
    bool& reset)
{
    if (parsed)
        return *parsed;
    report.messages.emplace_back(complaint);
    reset = true;
    return parse(defaultText).value();
}

// Kuhn's test shows a place to be the only optimum when the pull of the others stays below its
// weight by more than rounding: |pull| < w (1 - 1e-9).
constexpr long double UniqueOptimumMargin = 1.0L - 1e-9L;

bool allWeightsNonNegative(const std::vector<Site>& sites)
{
    return std::all_of(sites.begin(), sites.end(), [](const Site& s) { return s.w >= 0.0L; });
}

// The iteration has stopped near a place that is the only optimum: the result becomes that
// place exactly, as the iteration would only creep towards it. Only the nearest place is tried
// (the first of equally near ones); with a negative weight the test says nothing and is
// skipped. Where the pull balances the place's weight (two equal places: every point between
// them is optimal) the place is one optimum among many, and the result stays where the
// iteration stopped: moving it would draw a path the iteration never took.
void settleOnOptimalPlace(const std::vector<Site>& sites, long double reach, CooperRun& run)
{
    if (sites.empty() || !allWeightsNonNegative(sites))
        return;
    long double px = run.IterX[run.FinalIter];
    long double py = run.IterY[run.FinalIter];
    std::size_t nearest = 0;
    long double best = distance(px, py, sites[0]);
    for (std::size_t i = 1; i < sites.size(); ++i) {
        long double d = distance(px, py, sites[i]);
        if (d < best) {
            best = d;
            nearest = i;
        }
    }
    const Site& s = sites[nearest];
    KuhnTest k = kuhnAt(sites, s.x, s.y, reach);
    // A place of weight 0 is no better than any other point when every weight around is 0.
    if (!(k.here > 0.0L) || !k.kuhnOptimal())
        return;
    if (best == 0.0L) {
        run.report.resultOnPlace = static_cast<int>(nearest) + 1;
        return;
    }
    if (!(k.pullLength() < k.here * UniqueOptimumMargin))
        return;
    run.report.resultOnPlace = static_cast<int>(nearest) + 1;
    run.IterX[run.FinalIter] = s.x;
    run.IterY[run.FinalIter] = s.y;
    run.report.movedOntoPlace = true;
}

void startPoint(const std::vector<Site>& sites, StartPoint start, CooperRun& run)
{
    long double x0 = 0.0L;
    long double y0 = 0.0L;
    if (start == StartPoint::Computed) {
        const WeberTerm<long double> m = weightMoments<long double>(sites);
        if (m.w != 0.0L) {
            x0 = m.x / m.w;
            y0 = m.y / m.w;
        } else if (!sites.empty()) {
            // No weight to balance (all quantities 0, say): every point is as good as any
            // other, so start from the plain mean of the places.
            for (const Site& s : sites) {
                x0 += s.x;
                y0 += s.y;
            }
            x0 /= static_cast<long double>(sites.size());
            y0 /= static_cast<long double>(sites.size());
        }
    }
    for (const Site& s : sites) {
        if (x0 == s.x && y0 == s.y) {
            x0 = OffPlaceStart;
            y0 = OffPlaceStart;
        }
    }
    run.IterX[1] = x0;
    run.IterY[1] = y0;
}

} // namespace

std::string tooFewMembersMessage(int groupNo)
{
    std::string text = "Nedostatočný počet miest v SKUPINE ";
    text += std::to_string(groupNo);
    text += " (MIN=3)!!!";
    return text;
}

long double cooperWeight(const CooperPlace& p)
{
    return static_cast<long double>(p.quantity) * static_cast<long double>(p.price)
        * static_cast<long double>(p.flexibility);
}

namespace {

// One step from entry j to entry j + 1: the X move, then the Y move from the new X and the old
// Y, or off a place that fails Kuhn's test. True when the point stays on an optimal place.
bool takeStep(const std::vector<Site>& sites, CooperRun& run, int j, long double reach)
{
    const int m = j + 1;
    bool onOptimum = false;
    const HalfStep stepX = halfStep(sites, run.IterX[j], run.IterY[j], true, reach);
    if (stepX.onPlace && !stepX.optimal) {
        // A step along one axis need not lead off the place downhill, so both coordinates
        // leave it together; the entry lists them as the X and the Y move as usual.
        if (std::optional<Point> off = stepOffPlace(sites, run.IterX[j], run.IterY[j], reach)) {
            run.IterX[m] = off->x;
            run.IterY[m] = off->y;
        } else {
            run.IterX[m] = run.IterX[j];
            run.IterY[m] = run.IterY[j];
            onOptimum = true;
        }
    } else {
        run.IterX[m] = stepX.value;
        const HalfStep stepY = halfStep(sites, run.IterX[m], run.IterY[j], false, reach);
        onOptimum = stepX.optimal || stepY.optimal;
        run.IterY[m] = stepY.value;
        // Off a place along Y only when that is downhill; otherwise the point stays on it
        // and the next step leaves it along the pull.
        if (stepY.onPlace && !stepY.optimal
            && !(objective(sites, run.IterX[m], stepY.value) < objective(sites, run.IterX[m], run.IterY[j])))
            run.IterY[m] = run.IterY[j];
    }
    return onOptimum;
}

// Whether the change from entry m - 1 to entry m meets the stopping rule with E (and, for the
// objective rule, K) in force.
bool ruleMet(const std::vector<Site>& sites, StoppingRule rule, const CooperRun& run, int m)
{
    const long double limit = static_cast<long double>(run.precisionUnits);
    const long double changeX = std::fabs(run.IterX[m] - run.IterX[m - 1]) * Scale;
    const long double changeY = std::fabs(run.IterY[m] - run.IterY[m - 1]) * Scale;
    bool stop = false;
    switch (rule) {
    case StoppingRule::AxisX:
        stop = changeX < limit;
        break;
    case StoppingRule::AxisY:
        stop = changeY < limit;
        break;
    case StoppingRule::BothAxes:
        stop = changeX < limit && changeY < limit;
        break;
    case StoppingRule::Objective: {
        long double fNew = objective(sites, run.IterX[m], run.IterY[m]);
        long double fOld = objective(sites, run.IterX[m - 1], run.IterY[m - 1]);
        const std::int64_t k = run.correctionUnits;
        fNew = static_cast<long double>(k) * fNew / Scale;
        fOld = static_cast<long double>(k) * fOld / Scale;
        stop = std::fabs(fNew - fOld) * Scale < limit;
        break;
    }
    }
    return stop;
}

} // namespace

CooperRun solveCooper(std::span<const CooperPlace> places, const CooperSettings& settings)
{
    std::vector<Site> sites;
    sites.reserve(places.size());
    for (const CooperPlace& p : places)
        sites.push_back({ p.x, p.y, cooperWeight(p) });

    CooperRun run;
    // Every run makes at least one step, whose rule reads E first and then, for the objective
    // rule only, K: the complaints come in that order, once each.
    run.precisionUnits = unitsInForce(settings.precision(), BadPrecisionMessage, DefaultPrecisionText,
        precisionUnits, run.report, run.report.precisionReset);
    if (settings.rule == StoppingRule::Objective)
        run.correctionUnits = unitsInForce(settings.correction(), BadCorrectionMessage, DefaultCorrectionText,
            correctionUnits, run.report, run.report.correctionReset);
    startPoint(sites, settings.start, run);
    const long double reach = coincidenceReach(sites);

    int j = 1;
    for (;;) {
        const int m = j + 1;
        // X step from the point j, then the Y step from the new X and the old Y.
        const bool onOptimum = takeStep(sites, run, j, reach);
        bool stop = ruleMet(sites, settings.rule, run, m);
        // A step that ends on a place failing Kuhn's test has not converged, however little it
        // moved: the next step leaves the place.
        if (stop && !onOptimum) {
            const KuhnTest k = kuhnAt(sites, run.IterX[m], run.IterY[m], reach);
            stop = !k.onPlace || k.kuhnOptimal();
        }
        // On an optimal place the step stays put, which every rule accepts anyway; say so
        // plainly rather than rely on it.
        if (stop || onOptimum) {
            run.FinalIter = m;
            break;
        }
        if (m == CooperHistorySize) {
            run.FinalIter = m;
            run.report.historyFull = true;
            break;
        }
        j = m;
    }

    settleOnOptimalPlace(sites, reach, run);
    run.report.certificate = certifyResult(sites, run.IterX[run.FinalIter], run.IterY[run.FinalIter]);
    return run;
}

void VstupUdajCMStavCreate(CooperState& s, const TProjectRecord& r, int placeCount, bool quantityOn,
    bool priceOn, bool flexibilityOn)
{
    const int n = std::clamp(placeCount, 0, MaxPlaces);
    s.CooperPlaceCount = n;
    for (int i = 1; i <= n; ++i) {
        s.CooperPlaceName[i] = r.PlaceName[i];
        s.CooperPlaceX[i] = r.PlaceX[i];
        s.CooperPlaceY[i] = r.PlaceY[i];
        s.CooperQuantity[i] = quantityOn ? r.PlaceQuantity[i] : 1.0;
        s.CooperPrice[i] = priceOn ? r.PlacePrice[i] : 1.0;
        s.CooperFlexibility[i] = flexibilityOn ? r.PlaceFlexibility[i] : 1;
    }
}

namespace {

void storeHistory(const CooperRun& run, CooperHistory& x, CooperHistory& y, CooperState& s)
{
    for (int j = 1; j <= run.FinalIter; ++j) {
        x[j] = run.IterX[j];
        y[j] = run.IterY[j];
    }
    s.FinalIter = run.FinalIter;
    s.IterIndex = run.FinalIter;
}

} // namespace

CooperReport PocitajCooper(CooperState& s, const CooperSettings& settings)
{
    const int n = std::clamp<int>(s.CooperPlaceCount, 0, MaxPlaces);
    std::vector<CooperPlace> places;
    places.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i)
        places.push_back({ s.CooperPlaceX[i], s.CooperPlaceY[i], s.CooperQuantity[i], s.CooperPrice[i],
            s.CooperFlexibility[i] });
    CooperRun run = solveCooper(places, settings);
    storeHistory(run, s.IterX, s.IterY, s);
    return run.report;
}

namespace {

// The members of the current group by name; every matching place overwrites the earlier one,
// so of several places with one name the last wins. Returns the found members and fills
// memberNo with the member number of each.
std::vector<CooperPlace> lookUpGroupMembers(CooperState& s, std::vector<int>& memberNo)
{
    const int n = std::clamp<int>(s.CooperPlaceCount, 0, MaxPlaces);
    const int size = std::clamp<int>(s.GroupSize, 0, MaxPlaces);
    std::vector<CooperPlace> members;
    for (int k = 1; k <= size; ++k) {
        std::optional<CooperPlace> found;
        for (int j = 1; j <= n; ++j) {
            if (s.GroupMemberName[k] == s.CooperPlaceName[j])
                found = CooperPlace { s.CooperPlaceX[j], s.CooperPlaceY[j], s.CooperQuantity[j],
                    s.CooperPrice[j], s.CooperFlexibility[j] };
        }
        s.GroupMemberFound[k] = found.has_value();
        s.GroupMemberWeight[k] = 0.0L;
        if (!found)
            continue;
        s.GroupMemberWeight[k] = cooperWeight(*found);
        s.GroupMemberX[k] = found->x;
        s.GroupMemberY[k] = found->y;
        members.push_back(*found);
        memberNo.push_back(k);
    }
    return members;
}

} // namespace

CooperReport PocitajCooperSkupiny(CooperState& s, const CooperSettings& settings)
{
    const int size = std::clamp<int>(s.GroupSize, 0, MaxPlaces);
    std::vector<int> memberNo; // member number of each found member
    const std::vector<CooperPlace> members = lookUpGroupMembers(s, memberNo);

    s.GroupCentreExisting = false;
    CooperReport report;
    if (size < MinGroupMembers) {
        report.tooFewMembers = true;
        return report;
    }
    // A member that matched no place has no weight and no coordinates of its own, so it is
    // left out altogether rather than let its old coordinates steer the start point.
    CooperRun run = solveCooper(members, settings);
    for (int* place : { &run.report.resultOnPlace, &run.report.certificate.optimalPlace })
        if (*place > 0)
            *place = memberNo[static_cast<std::size_t>(*place - 1)];
    storeHistory(run, s.GroupIterX, s.GroupIterY, s);
    return run.report;
}

CooperReport solveGroupAtPlace(CooperState& s, int centreMember)
{
    const int size = std::clamp<int>(s.GroupSize, 0, MaxPlaces);
    std::vector<int> memberNo;
    const std::vector<CooperPlace> members = lookUpGroupMembers(s, memberNo);
    CooperReport report;
    if (size < MinGroupMembers) {
        report.tooFewMembers = true;
        return report;
    }
    if (centreMember < 1 || centreMember > size || !s.GroupMemberFound[centreMember])
        throw std::out_of_range("the existing centre is no member found among the places");
    CooperRun run;
    run.IterX[1] = s.GroupMemberX[centreMember];
    run.IterY[1] = s.GroupMemberY[centreMember];
    run.FinalIter = 1;
    std::vector<CostSite> sites;
    for (const CooperPlace& p : members)
        sites.push_back({ p.x, p.y, cooperWeight(p) });
    run.report.certificate = certifyResult(sites, run.IterX[1], run.IterY[1]);
    s.GroupCentreExisting = true;
    if (run.report.certificate.optimalPlace > 0)
        run.report.certificate.optimalPlace
            = memberNo[static_cast<std::size_t>(run.report.certificate.optimalPlace - 1)];
    storeHistory(run, s.GroupIterX, s.GroupIterY, s);
    return run.report;
}

} // namespace dorvan
