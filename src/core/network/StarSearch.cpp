#include "core/network/StarSearch.h"

#include "core/allocation/CooperRunDriver.h"
#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvan {

StarWorkingCopy VstupUdajRealStavCreate(const Project& project)
{
    const TProjectRecord& r = project.Record;
    StarWorkingCopy w;
    w.n = runPlaceCount(project.State.PlaceCount);
    const auto n = static_cast<std::size_t>(w.n);
    w.names.resize(n);
    w.x.resize(n);
    w.y.resize(n);
    w.quantity.assign(n, 1.0);
    w.price.assign(n, 1.0);
    w.flexibility.assign(n, 1);
    for (int i = 1; i <= w.n; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        w.names[k] = r.PlaceName[i];
        w.x[k] = r.PlaceX[i];
        w.y[k] = r.PlaceY[i];
        if (project.ticked(CritQuantity))
            w.quantity[k] = r.PlaceQuantity[i];
        if (project.ticked(CritPrice))
            w.price[k] = r.PlacePrice[i];
        if (project.ticked(CritFlexibility))
            w.flexibility[k] = r.PlaceFlexibility[i];
    }
    w.D0.resize(n * n);
    const bool real = project.ticked(CritRealDistances);
    for (int i = 1; i <= w.n; ++i)
        for (int j = 1; j <= w.n; ++j) {
            const double dx = r.PlaceX[i] - r.PlaceX[j];
            const double dy = r.PlaceY[i] - r.PlaceY[j];
            w.D0[static_cast<std::size_t>((i - 1) * w.n + (j - 1))]
                = real ? r.Distance[i][j] : std::sqrt(dx * dx + dy * dy);
        }
    w.routeLengthOn = project.ticked(CritMaxRouteLength);
    w.distributionTimeOn = project.ticked(CritMaxDistributionTime);
    w.evenGroupsOn = project.ticked(CritEvenGroups);
    w.maxRouteLength = w.routeLengthOn ? r.MaxRouteLength : 0.0;
    w.maxDistributionTime = w.distributionTimeOn ? r.MaxDistributionTime : 0.0;
    w.vehicleSpeed = project.ticked(CritVehicleSpeed) ? r.VehicleSpeed : 60.0;
    w.placesPerGroup = w.evenGroupsOn ? r.PlacesPerGroup : 0;
    if (project.ticked(CritCentral))
        w.centralName = r.CentralName;
    if (project.ticked(CritVehicleCount))
        w.vehicleCount = r.VehicleCount;
    if (project.ticked(CritVehicleCapacity))
        w.vehicleCapacity = r.VehicleCapacity;
    return w;
}

double starReach(const StarWorkingCopy& w)
{
    if (w.distributionTimeOn)
        return w.maxDistributionTime * w.vehicleSpeed;
    if (w.routeLengthOn)
        return w.maxRouteLength;
    double reach = -std::numeric_limits<double>::infinity();
    for (double d : w.D0)
        if (d > reach)
            reach = d;
    return reach;
}

int starCapacity(const StarWorkingCopy& w)
{
    // A ticked box with no room in a star would leave every place unassigned for ever; it counts
    // as unticked.
    if (w.evenGroupsOn && w.placesPerGroup >= 1)
        return w.placesPerGroup;
    return w.n + 1;
}

namespace {

// A solution: the places in the order the stars took them, as positions (0-based) in the order
// of the pass, star after star with each centre first, and where each star ends. Flat, so that
// the thousands of alternatives of a search reuse the same buffers.
struct Solution {
    std::vector<int> places;
    std::vector<int> starEnd; // one past each star's last place in `places`
    std::vector<double> sums;
    double total = 0.0;

    int count() const { return static_cast<int>(starEnd.size()); }
    int starBegin(int s) const { return s == 0 ? 0 : starEnd[static_cast<std::size_t>(s - 1)]; }
    int starSize(int s) const { return starEnd[static_cast<std::size_t>(s)] - starBegin(s); }
    // Keeps the first K stars.
    void keep(const Solution& from, int K)
    {
        const int end = from.starBegin(K);
        places.assign(from.places.begin(), from.places.begin() + end);
        starEnd.assign(from.starEnd.begin(), from.starEnd.begin() + K);
        sums.assign(from.sums.begin(), from.sums.begin() + K);
    }
};

std::size_t at(int k)
{
    return static_cast<std::size_t>(k);
}

class Search {
public:
    Search(const StarWorkingCopy& w, std::string_view separator)
        : w_(w)
        , n_(w.n)
        , separator_(separator)
    {
        result_.reach = starReach(w);
        result_.capacity = starCapacity(w);
        order_ = w.names;
        D_ = w.D0;
        assigned_.resize(at(n_));
        listReachable();
    }

    StarSearchResult run()
    {
        if (n_ < 1)
            return std::move(result_);
        for (int pass = 1; pass <= MaxStarPasses; ++pass) {
            result_.passes = pass;
            if (!runPass() || pass == MaxStarPasses)
                break;
            reorder();
        }
        finish();
        return std::move(result_);
    }

private:
    double d(int c, int p) const { return D_[at(c * n_ + p)]; }

    // One pass: a first solution, then the alternatives. True when a solution of the pass was
    // better than the best.
    bool runPass()
    {
        improved_ = false;
        work_.keep(work_, 0);
        std::fill(assigned_.begin(), assigned_.end(), 0);
        complete();
        evaluate();
        alternatives();
        return improved_;
    }

    int firstUnassigned(int from) const
    {
        while (from < n_ && assigned_[at(from)])
            ++from;
        return from;
    }

    // Step 2: stars until every place is assigned. Only the first look starts from the front:
    // a star whose centre was the first free place gives back places after its centre only.
    void complete()
    {
        for (int c = firstUnassigned(0); c < n_; c = firstUnassigned(c))
            buildStar(c);
    }

    void buildStar(int c)
    {
        // The centre joins first, whatever the reach or its own entry holds: a star always has
        // a place, so the search always ends.
        Building star { static_cast<std::ptrdiff_t>(work_.places.size()), &D_[at(c * n_)] };
        work_.places.push_back(c);
        star.sum = 0.0 + star.row[c];
        assigned_[at(c)] = 1;
        const auto end = reachable_.begin() + reachableBegin_[at(c + 1)];
        for (auto it = reachable_.begin() + reachableBegin_[at(c)]; it != end; ++it) {
            const int p = *it;
            if (assigned_[at(p)])
                continue;
            if (star.size < result_.capacity) {
                work_.places.push_back(p);
                star.sum += star.row[p];
                assigned_[at(p)] = 1;
                if (++star.size == result_.capacity)
                    findFarthest(star);
            } else if (star.far > 0 && star.largest > star.row[p]) {
                // A full star takes p in place of its farthest place when p is strictly nearer.
                int& slot = work_.places[at(star.begin + star.far)];
                assigned_[at(slot)] = 0;
                slot = p;
                assigned_[at(p)] = 1;
                star.sum = star.sum - star.largest + star.row[p];
                findFarthest(star);
            }
        }
        work_.starEnd.push_back(static_cast<int>(work_.places.size()));
        work_.sums.push_back(star.sum);
    }

    // The star being built.
    struct Building {
        std::ptrdiff_t begin; // its centre's index in work_.places
        const double* row; // the centre's distances
        double sum = 0.0;
        int size = 1;
        int far = 0; // index in the star of its farthest place; the centre (0) never gives way
        double largest = 0.0;
    };

    // The first of the star's places (the centre apart) with the largest distance.
    void findFarthest(Building& star) const
    {
        star.far = 0;
        for (int k = 1; k < star.size; ++k) {
            const double dk = star.row[work_.places[at(star.begin + k)]];
            if (star.far == 0 || dk > star.largest) {
                star.far = k;
                star.largest = dk;
            }
        }
    }

    // Step 3.
    void evaluate()
    {
        ++result_.best.RecalcCount;
        work_.total = 0.0;
        for (double s : work_.sums)
            work_.total += s;
        if (!haveBest_) {
            haveBest_ = true;
            take(true);
            return;
        }
        if (work_.count() < best_.count() || (work_.count() == best_.count() && work_.total < best_.total)) {
            take(false);
            improved_ = true;
        }
    }

    void take(bool first)
    {
        best_ = work_;
        auto& [l1, l2, l3, l4, l5] = result_.lists;
        if (!first)
            for (auto* l : { &l2, &l3, &l4, &l5 })
                l->push_back("----------");
        l1.push_back("Pocet Central: " + std::to_string(best_.count()));
        l1.push_back("----------");
        int j = 0;
        for (int p : best_.places)
            l2.push_back("Hviezda Zoznam" + std::to_string(++j) + ": " + displayName(order_[at(p)]));
        for (int s = 0; s < best_.count(); ++s) {
            const std::string no = std::to_string(s + 1);
            l3.push_back("Centrum" + no + ": " + std::to_string(best_.places[at(best_.starBegin(s))] + 1));
            l4.push_back("Pocet miest v okruhu" + no + ": " + std::to_string(best_.starSize(s)));
        }
        l5.push_back("Dlzka okruhu: " + formatDecimal4(best_.total, separator_));
    }

    // Step 4: the stars of the best solution are removed from its end one by one; once more
    // than two places are pooled, each pooled place from the second on is tried as the next
    // centre.
    void alternatives()
    {
        const int m = best_.count();
        for (int K = m - 1; K >= 0; --K) {
            const int P = n_ - keptSize(K);
            for (int k = 2; P > 2 && k <= P; ++k)
                tryAlternative(K, k);
        }
    }

    // Places of the best solution's first K stars (all of them when it has fewer).
    int keptSize(int K) const { return best_.starBegin(std::min(K, best_.count())); }

    void tryAlternative(int K, int k)
    {
        // Read from the best as it stands: an alternative taken before changes it.
        const int kept = std::min(K, best_.count());
        const int slot = best_.starBegin(kept) + k - 1;
        if (slot >= n_)
            return; // no k-th pooled place: nothing to try
        work_.keep(best_, kept);
        std::fill(assigned_.begin(), assigned_.end(), 0);
        for (int p : work_.places)
            assigned_[at(p)] = 1;
        // The pooled place is named by the best solution; its name is looked up in the order
        // of the pass, the later of equal names winning as everywhere names are looked up.
        const int centre = firstUnassigned(lastPositionNamed(order_[at(best_.places[at(slot)])]));
        if (centre >= n_)
            return; // ran past the last place: the alternative is skipped
        buildStar(centre);
        complete();
        evaluate();
    }

    int lastPositionNamed(const Text100& name) const
    {
        for (int a = n_ - 1; a > 0; --a)
            if (order_[at(a)] == name)
                return a;
        return 0;
    }

    // Step 5: the best solution's assignment order becomes the order of the next pass; D is
    // looked up in D0 by name, the later of equal names winning.
    void reorder()
    {
        std::vector<Text100> names;
        names.reserve(at(n_));
        for (int& p : best_.places) {
            names.push_back(order_[at(p)]);
            p = static_cast<int>(names.size()) - 1;
        }
        order_ = std::move(names);
        std::vector<int> place(at(n_));
        for (int a = 0; a < n_; ++a)
            place[at(a)] = lastPlaceNamed(order_[at(a)]);
        for (int a = 0; a < n_; ++a)
            for (int b = 0; b < n_; ++b)
                D_[at(a * n_ + b)] = w_.d0(place[at(a)], place[at(b)]);
        listReachable();
    }

    // For each centre, the places within the reach in the order of the pass: the stars scan
    // only these.
    void listReachable()
    {
        reachable_.clear();
        reachableBegin_.assign(1, 0);
        for (int c = 0; c < n_; ++c) {
            for (int p = 0; p < n_; ++p)
                if (d(c, p) <= result_.reach)
                    reachable_.push_back(p);
            reachableBegin_.push_back(static_cast<std::ptrdiff_t>(reachable_.size()));
        }
    }

    int lastPlaceNamed(const Text100& name) const
    {
        for (int i = n_; i >= 1; --i)
            if (w_.names[at(i - 1)] == name)
                return i;
        return 1; // every name of the order is a place's name
    }

    void finish()
    {
        StarSolution& b = result_.best;
        b.StarCount = best_.count();
        b.StarTotal = best_.total;
        for (int s = 0; s < best_.count(); ++s) {
            b.StarCentre.push_back(best_.starBegin(s) + 1);
            b.StarSize.push_back(best_.starSize(s));
            b.StarSum.push_back(best_.sums[at(s)]);
        }
        for (int p : best_.places)
            b.StarOrder.push_back(order_[at(p)]);
    }

    const StarWorkingCopy& w_;
    int n_;
    std::string separator_;
    std::vector<Text100> order_; // the names in the order of the pass
    std::vector<double> D_; // the working matrix in that order
    std::vector<char> assigned_; // by position in the order
    std::vector<int> reachable_; // the places within the reach of centre c, from reachableBegin_[c]
    std::vector<std::ptrdiff_t> reachableBegin_;
    Solution work_; // the solution being built
    Solution best_;
    bool haveBest_ = false;
    bool improved_ = false;
    StarSearchResult result_;
};

} // namespace

StarSearchResult Hviezda(const StarWorkingCopy& copy, std::string_view separator)
{
    return Search(copy, separator).run();
}

std::vector<StarGridRow> starResultGrid(const StarSolution& best, int n, std::string_view separator)
{
    std::vector<StarGridRow> rows(static_cast<std::size_t>(std::max(n, 0)) + 1);
    rows[0] = { "", "Miesta", "Centrum", "Hviezda Pocet", "Celková dráha - čas" };
    for (int r = 1; r <= n; ++r) {
        rows[static_cast<std::size_t>(r)][0] = std::to_string(r);
        if (r <= static_cast<int>(best.StarOrder.size()))
            rows[static_cast<std::size_t>(r)][1]
                = displayName(best.StarOrder[static_cast<std::size_t>(r - 1)]);
    }
    int row = 1;
    for (int s = 0; s < best.StarCount && s < static_cast<int>(best.StarSize.size()); ++s) {
        const auto k = static_cast<std::size_t>(s);
        const int centre = best.StarCentre[k];
        const std::string centreName = centre >= 1 && centre <= static_cast<int>(best.StarOrder.size())
            ? displayName(best.StarOrder[static_cast<std::size_t>(centre - 1)])
            : std::string();
        for (int j = 0; j < best.StarSize[k] && row <= n; ++j, ++row) {
            rows[static_cast<std::size_t>(row)][2] = centreName;
            rows[static_cast<std::size_t>(row)][3] = std::to_string(best.StarSize[k]);
        }
    }
    const std::string totals[]
        = { best.StarOrder.empty() ? std::string() : formatDecimal4(best.StarTotal, separator),
              "Pocet Prepoctov: " + std::to_string(best.RecalcCount),
              "Pocet Central: " + std::to_string(best.StarCount) };
    for (int r = 1; r <= 3 && r <= n; ++r)
        rows[static_cast<std::size_t>(r)][4] = totals[r - 1];
    return rows;
}

} // namespace dorvan
