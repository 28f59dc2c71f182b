#include "network/StarSearch.h"

#include "allocation/CooperRunDriver.h"
#include "common/DecimalText.h"
#include "entry/PlaceList.h"

#include <cmath>
#include <limits>

namespace dorvan {

StarWorkingCopy VstupUdajRealStavCreate(const Project& project)
{
    const TProjectRecord& r = project.Record;
    const EntryChoices& c = project.Choices;
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
        if (c.ticked(CritQuantity))
            w.quantity[k] = r.PlaceQuantity[i];
        if (c.ticked(CritPrice))
            w.price[k] = r.PlacePrice[i];
        if (c.ticked(CritFlexibility))
            w.flexibility[k] = r.PlaceFlexibility[i];
    }
    w.D0.resize(n * n);
    const bool real = c.ticked(CritRealDistances);
    for (int i = 1; i <= w.n; ++i)
        for (int j = 1; j <= w.n; ++j) {
            const double dx = r.PlaceX[i] - r.PlaceX[j];
            const double dy = r.PlaceY[i] - r.PlaceY[j];
            w.D0[static_cast<std::size_t>((i - 1) * w.n + (j - 1))]
                = real ? r.Distance[i][j] : std::sqrt(dx * dx + dy * dy);
        }
    w.routeLengthOn = c.ticked(CritMaxRouteLength);
    w.distributionTimeOn = c.ticked(CritMaxDistributionTime);
    w.evenGroupsOn = c.ticked(CritEvenGroups);
    w.maxRouteLength = w.routeLengthOn ? r.MaxRouteLength : 0.0;
    w.maxDistributionTime = w.distributionTimeOn ? r.MaxDistributionTime : 0.0;
    w.vehicleSpeed = c.ticked(CritVehicleSpeed) ? r.VehicleSpeed : 60.0;
    w.placesPerGroup = w.evenGroupsOn ? r.PlacesPerGroup : 0;
    if (c.ticked(CritCentral))
        w.centralName = r.CentralName;
    if (c.ticked(CritVehicleCount))
        w.vehicleCount = r.VehicleCount;
    if (c.ticked(CritVehicleCapacity))
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

// A star of a solution: positions (0-based) in the order of the pass, the centre first.
struct Star {
    std::vector<int> members;
    double sum = 0.0;
};

struct Solution {
    std::vector<Star> stars;
    double total = 0.0;
    int count() const { return static_cast<int>(stars.size()); }
};

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
    double d(int c, int p) const { return D_[static_cast<std::size_t>(c * n_ + p)]; }

    // One pass: a first solution, then the alternatives. True when a solution of the pass was
    // better than the best.
    bool runPass()
    {
        improved_ = false;
        std::vector<char> assigned(static_cast<std::size_t>(n_), 0);
        Solution first;
        complete(first, assigned);
        evaluate(first);
        alternatives();
        return improved_;
    }

    // Step 2: stars until every place is assigned.
    void complete(Solution& s, std::vector<char>& assigned) const
    {
        // A place a full star gave back may lie before the star's centre.
        for (int c = firstUnassigned(assigned, 0); c < n_; c = firstUnassigned(assigned, 0))
            s.stars.push_back(buildStar(c, assigned));
    }

    int firstUnassigned(const std::vector<char>& assigned, int from) const
    {
        while (from < n_ && assigned[static_cast<std::size_t>(from)])
            ++from;
        return from;
    }

    Star buildStar(int c, std::vector<char>& assigned) const
    {
        // The centre joins first, whatever the reach or its own entry holds: a star always has
        // a place, so the search always ends.
        Star star;
        star.members.push_back(c);
        star.sum = 0.0 + d(c, c);
        assigned[static_cast<std::size_t>(c)] = 1;
        for (int p = 0; p < n_; ++p) {
            if (assigned[static_cast<std::size_t>(p)] || !(d(c, p) <= result_.reach))
                continue;
            if (static_cast<int>(star.members.size()) < result_.capacity) {
                star.members.push_back(p);
                star.sum += d(c, p);
                assigned[static_cast<std::size_t>(p)] = 1;
                continue;
            }
            swapIntoFullStar(star, c, p, assigned);
        }
        return star;
    }

    // A full star takes p in place of its farthest place when p is strictly nearer. The centre
    // keeps its slot.
    void swapIntoFullStar(Star& star, int c, int p, std::vector<char>& assigned) const
    {
        std::size_t far = 0;
        for (std::size_t k = 1; k < star.members.size(); ++k)
            if (far == 0 || d(c, star.members[k]) > d(c, star.members[far]))
                far = k;
        if (far == 0)
            return;
        const double largest = d(c, star.members[far]);
        if (!(largest > d(c, p)))
            return;
        assigned[static_cast<std::size_t>(star.members[far])] = 0;
        star.members[far] = p;
        assigned[static_cast<std::size_t>(p)] = 1;
        star.sum = star.sum - largest + d(c, p);
    }

    // Step 3.
    void evaluate(Solution& s)
    {
        ++result_.best.RecalcCount;
        s.total = 0.0;
        for (const Star& star : s.stars)
            s.total += star.sum;
        if (!haveBest_) {
            haveBest_ = true;
            take(s, true);
            return;
        }
        if (s.count() < best_.count() || (s.count() == best_.count() && s.total < best_.total)) {
            take(s, false);
            improved_ = true;
        }
    }

    void take(const Solution& s, bool first)
    {
        best_ = s;
        auto& [l1, l2, l3, l4, l5] = result_.lists;
        if (!first)
            for (auto* l : { &l2, &l3, &l4, &l5 })
                l->push_back("----------");
        l1.push_back("Pocet Central: " + std::to_string(s.count()));
        l1.push_back("----------");
        int j = 0;
        int star = 0;
        for (const Star& st : s.stars) {
            ++star;
            for (int p : st.members)
                l2.push_back("Hviezda Zoznam" + std::to_string(++j) + ": " + displayName(order_[index(p)]));
            l3.push_back("Centrum" + std::to_string(star) + ": " + std::to_string(st.members.front() + 1));
            l4.push_back("Pocet miest v okruhu" + std::to_string(star) + ": "
                + std::to_string(st.members.size()));
        }
        l5.push_back("Dlzka okruhu: " + formatDecimal4(s.total, separator_));
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
    int keptSize(int K) const
    {
        int size = 0;
        for (int s = 0; s < K && s < best_.count(); ++s)
            size += static_cast<int>(best_.stars[static_cast<std::size_t>(s)].members.size());
        return size;
    }

    void tryAlternative(int K, int k)
    {
        // Read from the best as it stands: an alternative taken before changes it.
        const int kept = keptSize(K);
        const int slot = kept + k - 1;
        if (slot >= n_)
            return; // no k-th pooled place: nothing to try
        Solution s;
        std::vector<char> assigned(static_cast<std::size_t>(n_), 0);
        for (int st = 0; st < K && st < best_.count(); ++st) {
            s.stars.push_back(best_.stars[static_cast<std::size_t>(st)]);
            for (int p : s.stars.back().members)
                assigned[static_cast<std::size_t>(p)] = 1;
        }
        // The pooled place is named by the best solution; its name is looked up in the order
        // of the pass, the later of equal names winning as everywhere names are looked up.
        const int centre = firstUnassigned(assigned, lastPositionNamed(order_[index(assignmentAt(best_, slot))]));
        if (centre >= n_)
            return; // ran past the last place: the alternative is skipped
        s.stars.push_back(buildStar(centre, assigned));
        complete(s, assigned);
        evaluate(s);
    }

    static int assignmentAt(const Solution& s, int slot)
    {
        for (const Star& st : s.stars) {
            if (slot < static_cast<int>(st.members.size()))
                return st.members[static_cast<std::size_t>(slot)];
            slot -= static_cast<int>(st.members.size());
        }
        return std::numeric_limits<int>::max();
    }

    static std::size_t index(int p) { return static_cast<std::size_t>(p); }

    // Step 5: the best solution's assignment order becomes the order of the next pass; D is
    // looked up in D0 by name, the later of equal names winning.
    void reorder()
    {
        std::vector<Text100> names;
        names.reserve(static_cast<std::size_t>(n_));
        for (Star& st : best_.stars)
            for (int& p : st.members) {
                names.push_back(order_[index(p)]);
                p = static_cast<int>(names.size()) - 1;
            }
        order_ = std::move(names);
        std::vector<int> place(static_cast<std::size_t>(n_));
        for (int a = 0; a < n_; ++a)
            place[index(a)] = lastPlaceNamed(order_[index(a)]);
        for (int a = 0; a < n_; ++a)
            for (int b = 0; b < n_; ++b)
                D_[static_cast<std::size_t>(a * n_ + b)] = w_.d0(place[index(a)], place[index(b)]);
    }

    int lastPositionNamed(const Text100& name) const
    {
        for (int a = n_ - 1; a > 0; --a)
            if (order_[index(a)] == name)
                return a;
        return 0;
    }

    int lastPlaceNamed(const Text100& name) const
    {
        for (int i = n_; i >= 1; --i)
            if (w_.names[static_cast<std::size_t>(i - 1)] == name)
                return i;
        return 1; // every name of the order is a place's name
    }

    void finish()
    {
        StarSolution& b = result_.best;
        b.StarCount = best_.count();
        b.StarTotal = best_.total;
        int position = 0;
        for (const Star& st : best_.stars) {
            b.StarCentre.push_back(position + 1);
            b.StarSize.push_back(static_cast<int>(st.members.size()));
            b.StarSum.push_back(st.sum);
            for (int p : st.members) {
                b.StarOrder.push_back(order_[index(p)]);
                ++position;
            }
        }
    }

    const StarWorkingCopy& w_;
    int n_;
    std::string separator_;
    std::vector<Text100> order_; // the names in the order of the pass
    std::vector<double> D_; // the working matrix in that order
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
            rows[static_cast<std::size_t>(r)][1] = displayName(best.StarOrder[static_cast<std::size_t>(r - 1)]);
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
    const std::string totals[] = { best.StarOrder.empty() ? std::string() : formatDecimal4(best.StarTotal, separator),
        "Pocet Prepoctov: " + std::to_string(best.RecalcCount), "Pocet Central: " + std::to_string(best.StarCount) };
    for (int r = 1; r <= 3 && r <= n; ++r)
        rows[static_cast<std::size_t>(r)][4] = totals[r - 1];
    return rows;
}

} // namespace dorvan
