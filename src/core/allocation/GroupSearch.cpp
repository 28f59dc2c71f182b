#include "core/allocation/GroupSearch.h"

#include "core/allocation/CooperSolver.h"
#include "core/allocation/GroupWeber.h"
#include "core/entry/GroupList.h"
#include "core/entry/PlaceList.h"
#include "core/project/ProjectRecord.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <set>
#include <stdexcept>

namespace dorvan {

namespace {

using grouping::dist;
using grouping::Members;
using grouping::reachOf;
using grouping::Searching;
using grouping::solveWeber;

using grouping::orderGroups;
using grouping::SameTotal;
using grouping::totalOf;

// A small, fully specified generator, so a seed gives the same groups on every system.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed)
        : state_(seed)
    {
    }
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    long double unit() { return static_cast<long double>(next() >> 11) * 0x1.0p-53L; }

private:
    std::uint64_t state_;
};

// Index drawn with probability proportional to the scores; uniform when all are zero.
int drawIndex(const std::vector<long double>& score, SplitMix64& rng)
{
    const long double total = std::accumulate(score.begin(), score.end(), 0.0L);
    if (!(total > 0.0L))
        return static_cast<int>(rng.next() % score.size());
    long double target = rng.unit() * total;
    for (std::size_t i = 0; i < score.size(); ++i) {
        if (target < score[i])
            return static_cast<int>(i);
        target -= score[i];
    }
    // Rounding left the target past the end: the last place with a score.
    for (std::size_t i = score.size(); i-- > 0;)
        if (score[i] > 0.0L)
            return static_cast<int>(i);
    return 0;
}

// One alternating search with local improvement over the places.
class LocalSearch {
public:
    LocalSearch(std::span<const GroupSite> sites, int centres)
        : sites_(sites)
        , n_(static_cast<int>(sites.size()))
        , p_(centres)
        , reach_(reachOf(sites))
    {
    }

    // The end reached from a start seeded by rng.
    std::vector<FoundGroup> run(SplitMix64& rng)
    {
        seed(rng);
        allocate();
        locateAll();
        alternate();
        improve();
        return result();
    }

private:
    const GroupSite& site(int i) const { return sites_[static_cast<std::size_t>(i)]; }
    long double distTo(int i, int g) const
    {
        const WeberResult& c = centre_[static_cast<std::size_t>(g)];
        return dist(c.x, c.y, site(i));
    }

    // Weighted k-means++: the first centre on a place drawn by weight, each further one on a
    // place drawn by weight × squared distance to the nearest centre so far.
    void seed(SplitMix64& rng)
    {
        centre_.assign(static_cast<std::size_t>(p_), {});
        std::vector<long double> score(static_cast<std::size_t>(n_));
        for (int i = 0; i < n_; ++i)
            score[static_cast<std::size_t>(i)] = site(i).weight;
        for (int g = 0; g < p_; ++g) {
            const int pick = drawIndex(score, rng);
            centre_[static_cast<std::size_t>(g)].x = site(pick).x;
            centre_[static_cast<std::size_t>(g)].y = site(pick).y;
            for (int i = 0; i < n_; ++i) {
                long double nearest = std::numeric_limits<long double>::max();
                for (int h = 0; h <= g; ++h)
                    nearest = std::min(nearest, distTo(i, h));
                score[static_cast<std::size_t>(i)] = site(i).weight * nearest * nearest;
            }
        }
    }

    // Each place to its nearest centre; then every group short of 3 takes the places that
    // cost least to bring over from groups that can spare one.
    void allocate()
    {
        group_.assign(static_cast<std::size_t>(n_), 0);
        size_.assign(static_cast<std::size_t>(p_), 0);
        for (int i = 0; i < n_; ++i) {
            int best = 0;
            for (int g = 1; g < p_; ++g)
                if (distTo(i, g) < distTo(i, best))
                    best = g;
            group_[static_cast<std::size_t>(i)] = best;
            ++size_[static_cast<std::size_t>(best)];
        }
        for (int g = 0; g < p_; ++g)
            while (size_[static_cast<std::size_t>(g)] < MinGroupMembers)
                bringCheapest(g);
    }

    void bringCheapest(int g)
    {
        int best = -1;
        long double bestCost = 0.0L;
        for (int i = 0; i < n_; ++i) {
            const int h = group_[static_cast<std::size_t>(i)];
            if (h == g || size_[static_cast<std::size_t>(h)] <= MinGroupMembers)
                continue;
            const long double cost = site(i).weight * (distTo(i, g) - distTo(i, h));
            if (best < 0 || cost < bestCost) {
                best = i;
                bestCost = cost;
            }
        }
        --size_[static_cast<std::size_t>(group_[static_cast<std::size_t>(best)])];
        group_[static_cast<std::size_t>(best)] = g;
        ++size_[static_cast<std::size_t>(g)];
    }

    Members membersOf(int g) const
    {
        Members m;
        for (int i = 0; i < n_; ++i)
            if (group_[static_cast<std::size_t>(i)] == g)
                m.push_back(i);
        return m;
    }

    void locateAll()
    {
        for (int g = 0; g < p_; ++g)
            centre_[static_cast<std::size_t>(g)]
                = solveWeber(sites_, membersOf(g), reach_, Searching, &centre_[static_cast<std::size_t>(g)]);
    }

    long double total() const
    {
        long double t = 0.0L;
        for (const WeberResult& c : centre_)
            t += c.objective;
        return t;
    }

    // Cooper's alternation: allocate to the centres, locate the centres, while the total falls.
    void alternate()
    {
        for (int round = 0; round < 100; ++round) {
            const auto keepGroup = group_;
            const auto keepSize = size_;
            const auto keepCentre = centre_;
            const long double before = total();
            allocate();
            if (group_ == keepGroup)
                return;
            locateAll();
            if (!(total() < before)) {
                group_ = keepGroup;
                size_ = keepSize;
                centre_ = keepCentre;
                return;
            }
        }
    }

    // The other groups by the distance of their centre from place i, nearest first.
    std::vector<int> nearestOthers(int i, std::size_t count) const
    {
        std::vector<int> others;
        for (int g = 0; g < p_; ++g)
            if (g != group_[static_cast<std::size_t>(i)])
                others.push_back(g);
        std::stable_sort(
            others.begin(), others.end(), [&](int a, int b) { return distTo(i, a) < distTo(i, b); });
        if (others.size() > count)
            others.resize(count);
        return others;
    }

    // The centres of groups a and b after place i leaves a for b and place j (if any) leaves
    // b for a; applied when they lower the total.
    bool tryExchange(int i, int j, int a, int b)
    {
        group_[static_cast<std::size_t>(i)] = b;
        if (j >= 0)
            group_[static_cast<std::size_t>(j)] = a;
        const WeberResult ca
            = solveWeber(sites_, membersOf(a), reach_, Searching, &centre_[static_cast<std::size_t>(a)]);
        const WeberResult cb
            = solveWeber(sites_, membersOf(b), reach_, Searching, &centre_[static_cast<std::size_t>(b)]);
        const long double before
            = centre_[static_cast<std::size_t>(a)].objective + centre_[static_cast<std::size_t>(b)].objective;
        if (ca.objective + cb.objective < before * (1.0L - 1e-12L)) {
            centre_[static_cast<std::size_t>(a)] = ca;
            centre_[static_cast<std::size_t>(b)] = cb;
            if (j < 0) {
                --size_[static_cast<std::size_t>(a)];
                ++size_[static_cast<std::size_t>(b)];
            }
            return true;
        }
        group_[static_cast<std::size_t>(i)] = a;
        if (j >= 0)
            group_[static_cast<std::size_t>(j)] = b;
        return false;
    }

    // What place i adds to the total when it changes from group a to group b with the centres
    // kept, and how much solving both centres again may win back at most, roughly: the
    // centres shift by about the place's share of its groups' weight times its distance.
    long double fixedChange(int i, int a, int b) const
    {
        return site(i).weight * (distTo(i, b) - distTo(i, a));
    }
    long double mayWinBack(int i, int a, int b) const
    {
        const long double w = site(i).weight;
        const long double wa = weight_[static_cast<std::size_t>(a)];
        const long double wb = weight_[static_cast<std::size_t>(b)] + w;
        const long double shiftA = wa > w ? w / (wa - w) * distTo(i, a) : distTo(i, a);
        const long double shiftB = wb > 0.0L ? w / wb * distTo(i, b) : distTo(i, b);
        return 3.0L * w * (shiftA + shiftB);
    }
    bool worthSolving(int i, int a, int b) const { return fixedChange(i, a, b) < mayWinBack(i, a, b); }

    void weighGroups()
    {
        weight_.assign(static_cast<std::size_t>(p_), 0.0L);
        for (int i = 0; i < n_; ++i)
            weight_[static_cast<std::size_t>(group_[static_cast<std::size_t>(i)])] += site(i).weight;
    }

    bool movePass()
    {
        bool improved = false;
        weighGroups();
        for (int i = 0; i < n_; ++i) {
            const int a = group_[static_cast<std::size_t>(i)];
            if (size_[static_cast<std::size_t>(a)] <= MinGroupMembers)
                continue;
            for (int b : nearestOthers(i, 2))
                if (worthSolving(i, a, b) && tryExchange(i, -1, a, b)) {
                    improved = true;
                    weighGroups();
                    break;
                }
        }
        return improved;
    }

    // Swaps between a place and a place of its nearest other group that has it as its own
    // nearest other group: the moves that keep the sizes, so a group of 3 can change too.
    bool swapPass()
    {
        bool improved = false;
        weighGroups();
        std::vector<int> other(static_cast<std::size_t>(n_));
        for (int i = 0; i < n_; ++i)
            other[static_cast<std::size_t>(i)] = nearestOthers(i, 1).front();
        for (int i = 0; i < n_; ++i) {
            const int a = group_[static_cast<std::size_t>(i)];
            const int b = other[static_cast<std::size_t>(i)];
            for (int j = 0; j < n_; ++j) {
                if (group_[static_cast<std::size_t>(j)] != b || other[static_cast<std::size_t>(j)] != a)
                    continue;
                if (fixedChange(i, a, b) + fixedChange(j, b, a) >= mayWinBack(i, a, b) + mayWinBack(j, b, a))
                    continue;
                if (tryExchange(i, j, a, b)) {
                    improved = true;
                    weighGroups();
                    break;
                }
            }
        }
        return improved;
    }

    void improve()
    {
        for (int pass = 0; pass < 50; ++pass) {
            if (movePass())
                continue;
            if (!swapPass())
                return;
        }
    }

    std::vector<FoundGroup> result() const
    {
        std::vector<FoundGroup> out;
        for (int g = 0; g < p_; ++g)
            out.push_back({ membersOf(g), centre_[static_cast<std::size_t>(g)] });
        return out;
    }

    std::span<const GroupSite> sites_;
    int n_;
    int p_;
    long double reach_;
    std::vector<int> group_;
    std::vector<int> size_;
    std::vector<WeberResult> centre_;
    std::vector<long double> weight_;
};

// Every partition of at most 10 places into groups of 3 or more: the Weber cost of every
// subset once, then the best split of each set of places into k groups.
class ExactSearch {
public:
    ExactSearch(std::span<const GroupSite> sites)
        : sites_(sites)
        , n_(static_cast<int>(sites.size()))
        , reach_(reachOf(sites))
        , cost_(std::size_t { 1 } << n_)
    {
        for (unsigned mask = 0; mask < cost_.size(); ++mask)
            if (std::popcount(mask) >= MinGroupMembers)
                cost_[mask] = solveWeber(sites_, members(mask), reach_);
    }

    std::vector<FoundGroup> best(int centres)
    {
        std::vector<FoundGroup> groups;
        unsigned mask = static_cast<unsigned>(cost_.size() - 1);
        for (int k = centres; k > 0; --k) {
            const unsigned part = bestSplit(mask, k).second;
            if (part == 0)
                throw std::logic_error("searchGroups: too few places for the centres");
            groups.push_back({ members(part), cost_[part] });
            mask &= ~part;
        }
        orderGroups(groups);
        return groups;
    }

private:
    Members members(unsigned mask) const
    {
        Members m;
        for (int i = 0; i < n_; ++i)
            if (mask & (1u << i))
                m.push_back(i);
        return m;
    }

    // The least cost of splitting mask into k groups, and the group holding its lowest place.
    std::pair<long double, unsigned> bestSplit(unsigned mask, int k)
    {
        const auto key = std::make_pair(mask, k);
        if (auto it = memo_.find(key); it != memo_.end())
            return it->second;
        constexpr long double None = std::numeric_limits<long double>::infinity();
        std::pair<long double, unsigned> best { None, 0 };
        if (k == 1) {
            if (std::popcount(mask) >= MinGroupMembers)
                best = { cost_[mask].objective, mask };
        } else {
            const unsigned low = mask & (~mask + 1);
            const unsigned rest = mask & ~low;
            // Every group that holds the lowest place, its other members taken from rest.
            for (unsigned sub = rest;; sub = (sub - 1) & rest) {
                const unsigned part = sub | low;
                if (std::popcount(part) >= MinGroupMembers
                    && std::popcount(mask & ~part) >= MinGroupMembers * (k - 1)) {
                    const long double c = cost_[part].objective + bestSplit(mask & ~part, k - 1).first;
                    if (c < best.first)
                        best = { c, part };
                }
                if (sub == 0)
                    break;
            }
        }
        memo_[key] = best;
        return best;
    }

    std::span<const GroupSite> sites_;
    int n_;
    long double reach_;
    std::vector<WeberResult> cost_;
    std::map<std::pair<unsigned, int>, std::pair<long double, unsigned>> memo_;
};

} // namespace

std::vector<GroupSite> groupingSites(const Project& project)
{
    const TProjectRecord& r = project.Record;
    const int n = std::clamp(project.State.PlaceCount, 0, MaxPlaces - 1);
    const bool q = project.ticked(CritQuantity);
    const bool p = project.ticked(CritPrice);
    const bool f = project.ticked(CritFlexibility);
    std::vector<GroupSite> sites;
    for (int i = 1; i <= n; ++i) {
        CooperPlace place;
        place.x = r.PlaceX[i];
        place.y = r.PlaceY[i];
        place.quantity = q ? r.PlaceQuantity[i] : 1.0;
        place.price = p ? r.PlacePrice[i] : 1.0;
        place.flexibility = f ? r.PlaceFlexibility[i] : 1;
        sites.push_back({ displayName(r.PlaceName[i]), place.x, place.y, cooperWeight(place) });
    }
    return sites;
}

int projectGroupSizeLimit(const Project& project)
{
    return project.ticked(CritEvenGroups) ? std::max(project.Record.PlacesPerGroup, 1) : 0;
}

int maxCentres(int placeCount)
{
    return std::max(placeCount, 0) / MinGroupMembers;
}

std::optional<std::string> groupSearchProblem(std::span<const GroupSite> sites, int centres)
{
    const int n = static_cast<int>(sites.size());
    if (maxCentres(n) < 2)
        return "Na 2 centrá treba aspoň 6 miest !!!";
    if (centres < 2 || centres > maxCentres(n))
        return "Počet centier musí byť od 2 do " + std::to_string(maxCentres(n)) + " !!!";
    return groupSitesProblem(sites);
}

std::optional<std::string> groupSitesProblem(std::span<const GroupSite> sites)
{
    std::set<std::string_view> names;
    for (const GroupSite& s : sites) {
        // Groups keep their members by name, so a repeated name could not say which place.
        if (!names.insert(s.name).second)
            return "Meno miesta " + s.name + " sa opakuje, skupiny ho nerozlíšia !!!";
        if (!std::isfinite(s.x) || !std::isfinite(s.y))
            return "Miesto " + s.name + " nemá platné súradnice !!!";
        if (!std::isfinite(s.weight) || s.weight < 0.0L)
            return "Miesto " + s.name + " má zápornú alebo neplatnú váhu !!!";
    }
    return std::nullopt;
}

WeberResult weberPoint(std::span<const GroupSite> sites, std::span<const int> members)
{
    return solveWeber(sites, members, reachOf(sites));
}

GroupSearchResult searchGroups(
    std::span<const GroupSite> sites, const GroupSearchOptions& options, const std::atomic<bool>* cancel)
{
    GroupSearchResult res;
    res.centres = options.centres;
    if (static_cast<int>(sites.size()) <= ExactGroupSearchPlaces) {
        res.groups = ExactSearch(sites).best(options.centres);
        res.exact = true;
        res.starts = 1;
        res.bestFound = 1;
        res.total = totalOf(res.groups);
        return res;
    }
    LocalSearch search(sites, options.centres);
    std::vector<long double> totals;
    const int starts = std::clamp(options.starts, 1, MaxGroupStarts);
    for (int s = 0; s < starts; ++s) {
        if (cancel && cancel->load()) {
            res.cancelled = true;
            break;
        }
        // Each start has its own stream, so start s is the same whatever ran before it.
        SplitMix64 rng(options.seed * 0x9E3779B97F4A7C15ULL + static_cast<std::uint64_t>(s));
        rng.next();
        std::vector<FoundGroup> groups = search.run(rng);
        const long double t = totalOf(groups);
        totals.push_back(t);
        if (res.groups.empty() || t < res.total) {
            res.groups = std::move(groups);
            res.total = t;
        }
    }
    res.starts = static_cast<int>(totals.size());
    res.bestFound = static_cast<int>(std::count_if(
        totals.begin(), totals.end(), [&](long double t) { return t <= res.total * (1.0L + SameTotal); }));
    // The winner's centres solved to the last digit.
    const long double reach = reachOf(sites);
    for (FoundGroup& g : res.groups)
        g.centre = solveWeber(sites, g.members, reach);
    res.total = totalOf(res.groups);
    if (!res.groups.empty())
        orderGroups(res.groups);
    return res;
}

long double singleCentreTotal(std::span<const GroupSite> sites)
{
    Members all(sites.size());
    std::iota(all.begin(), all.end(), 0);
    return weberPoint(sites, all).objective;
}

CentreCountRow centreCountRow(int centres, long double total, const CentreCountRow* before)
{
    CentreCountRow row { centres, total, std::nullopt };
    if (before)
        row.saving = before->total - total;
    return row;
}

std::vector<std::string> groupListLines(const GroupSearchResult& result, std::span<const GroupSite> sites)
{
    std::vector<std::string> lines;
    int g = 0;
    for (const FoundGroup& group : result.groups) {
        lines.push_back(groupHeader(++g));
        for (int i : group.members)
            lines.push_back(sites[static_cast<std::size_t>(i)].name);
    }
    return lines;
}

void storeProposedGroups(const DistributionGroups& groups, TProjectRecord& r)
{
    // A larger earlier count has its stale group sizes cleared too.
    storeGroups(groups, std::clamp(r.GroupCount, 0, MaxPlaces), r);
    r.GroupCount = groups.Count;
    r.setCriterion(CritGroups, true);
}

} // namespace dorvan
