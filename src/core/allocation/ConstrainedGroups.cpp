#include "core/allocation/ConstrainedGroups.h"

#include "core/allocation/GroupWeber.h"

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

using grouping::at;
using grouping::MinMembers;
using grouping::orderGroups;
using grouping::SameTotal;
using grouping::totalOf;

constexpr int MaxAlternations = 100;
constexpr int MaxMovePasses = 20;

// The cost of a group served from a fixed place, as a Weber result standing on that place.
WeberResult fixedCentre(std::span<const GroupSite> sites, std::span<const int> members, int place)
{
    const GroupSite& c = sites[at(place)];
    return { c.x, c.y, grouping::objectiveAt(sites, members, c.x, c.y), place };
}

std::vector<FoundGroup> groupsOf(std::span<const GroupSite> sites, const std::vector<int>& centreOf,
    int centres, std::span<const int> fixed)
{
    std::vector<FoundGroup> groups(at(centres));
    for (int i = 0; i < static_cast<int>(centreOf.size()); ++i)
        groups[at(centreOf[at(i)])].members.push_back(i);
    for (int c = 0; c < centres; ++c) {
        FoundGroup& g = groups[at(c)];
        if (c < static_cast<int>(fixed.size())) {
            g.fixedPlace = fixed[at(c)];
            g.centre = fixedCentre(sites, g.members, g.fixedPlace);
        } else {
            g.centre = weberPoint(sites, g.members);
        }
    }
    return groups;
}

// Every partition of at most 10 places that keeps the rules: the cost of every admissible
// group once, then the best split of the places into the fixed groups and k free ones.
class ExactRuleSearch {
public:
    ExactRuleSearch(std::span<const GroupSite> sites, int centres, const GroupRules& rules)
        : sites_(sites)
        , n_(static_cast<int>(sites.size()))
        , free_(centres - static_cast<int>(rules.fixed.size()))
        , maxSize_(rules.maxPlaces > 0 ? rules.maxPlaces : n_)
        , fixed_(rules.fixed)
    {
        for (int f : fixed_)
            fixedMask_ |= 1u << f;
    }

    std::vector<FoundGroup> best()
    {
        const unsigned all = (1u << n_) - 1u;
        if (fixedSplit(0, all).first == Infinity)
            throw std::logic_error("searchGroupsWithRules: no partition keeps the rules");
        std::vector<FoundGroup> groups;
        unsigned mask = all;
        for (int k = 0; k < static_cast<int>(fixed_.size()); ++k) {
            const unsigned part = fixedSplit(k, mask).second;
            groups.push_back({ members(part), fixedCentre(sites_, members(part), fixed_[at(k)]), fixed_[at(k)] });
            mask &= ~part;
        }
        for (int k = free_; k > 0; --k) {
            const unsigned part = freeSplit(mask, k).second;
            groups.push_back({ members(part), weber(part), -1 });
            mask &= ~part;
        }
        return groups;
    }

private:
    static constexpr long double Infinity = std::numeric_limits<long double>::infinity();

    std::vector<int> members(unsigned mask) const
    {
        std::vector<int> m;
        for (int i = 0; i < n_; ++i)
            if (mask & (1u << i))
                m.push_back(i);
        return m;
    }

    bool fits(unsigned part) const
    {
        const int size = std::popcount(part);
        return size >= MinMembers && size <= maxSize_;
    }

    // The least room the groups still to be formed from `places` need, and the most they hold.
    bool splittable(unsigned places, int groups) const
    {
        const int size = std::popcount(places);
        return size >= MinMembers * groups && size <= maxSize_ * groups;
    }

    const WeberResult& weber(unsigned part)
    {
        auto it = weber_.find(part);
        if (it == weber_.end())
            it = weber_.emplace(part, weberPoint(sites_, members(part))).first;
        return it->second;
    }

    // Fixed groups k.. of the places in mask, then the free groups of what is left.
    std::pair<long double, unsigned> fixedSplit(int k, unsigned mask)
    {
        if (k == static_cast<int>(fixed_.size()))
            return { free_ == 0 ? (mask == 0 ? 0.0L : Infinity) : freeSplit(mask, free_).first, 0 };
        const auto key = std::make_pair(mask, k);
        if (auto it = fixedMemo_.find(key); it != fixedMemo_.end())
            return it->second;
        const unsigned own = 1u << fixed_[at(k)];
        const unsigned rest = mask & ~fixedMask_; // other fixed places belong to their own groups
        const int groupsAfter = static_cast<int>(fixed_.size()) - k - 1 + free_;
        std::pair<long double, unsigned> best { Infinity, 0 };
        for (unsigned sub = rest;; sub = (sub - 1) & rest) {
            const unsigned part = sub | own;
            if (fits(part) && splittable(mask & ~part, groupsAfter)) {
                const long double after = fixedSplit(k + 1, mask & ~part).first;
                if (after < Infinity) {
                    const long double c = fixedCentre(sites_, members(part), fixed_[at(k)]).objective + after;
                    if (c < best.first)
                        best = { c, part };
                }
            }
            if (sub == 0)
                break;
        }
        fixedMemo_[key] = best;
        return best;
    }

    // The least cost of splitting mask into k free groups, and the group holding its lowest place.
    std::pair<long double, unsigned> freeSplit(unsigned mask, int k)
    {
        const auto key = std::make_pair(mask, k);
        if (auto it = freeMemo_.find(key); it != freeMemo_.end())
            return it->second;
        std::pair<long double, unsigned> best { Infinity, 0 };
        if (!splittable(mask, k)) {
        } else if (k == 1) {
            best = { weber(mask).objective, mask };
        } else {
            const unsigned low = mask & (~mask + 1);
            const unsigned rest = mask & ~low;
            for (unsigned sub = rest;; sub = (sub - 1) & rest) {
                const unsigned part = sub | low;
                if (fits(part) && splittable(mask & ~part, k - 1)) {
                    const long double c = weber(part).objective + freeSplit(mask & ~part, k - 1).first;
                    if (c < best.first)
                        best = { c, part };
                }
                if (sub == 0)
                    break;
            }
        }
        freeMemo_[key] = best;
        return best;
    }

    std::span<const GroupSite> sites_;
    int n_;
    int free_;
    int maxSize_;
    std::vector<int> fixed_;
    unsigned fixedMask_ = 0;
    std::map<unsigned, WeberResult> weber_;
    std::map<std::pair<unsigned, int>, std::pair<long double, unsigned>> fixedMemo_;
    std::map<std::pair<unsigned, int>, std::pair<long double, unsigned>> freeMemo_;
};

// A small, fully specified generator, so a seed gives the same groups on every system.
std::uint64_t splitMix(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// Alternating location-allocation under the rules, from spread starts.
class RuleSearch {
public:
    RuleSearch(std::span<const GroupSite> sites, int centres, const GroupRules& rules)
        : sites_(sites)
        , n_(static_cast<int>(sites.size()))
        , centres_(centres)
        , rules_(rules)
    {
    }

    std::vector<FoundGroup> run(std::uint64_t stream)
    {
        std::vector<long double> cx, cy;
        startCentres(stream, cx, cy);
        std::vector<FoundGroup> groups = allocate(cx, cy);
        long double total = totalOf(groups);
        for (int round = 0; round < MaxAlternations; ++round) {
            for (int c = 0; c < centres_; ++c) {
                cx[at(c)] = groups[at(c)].centre.x;
                cy[at(c)] = groups[at(c)].centre.y;
            }
            std::vector<FoundGroup> next = allocate(cx, cy);
            const long double t = totalOf(next);
            if (!(t < total * (1.0L - SameTotal)))
                break;
            groups = std::move(next);
            total = t;
        }
        return groups;
    }

    // Single places moved to another group while that lowers the total, each move judged with
    // both groups' centres solved again.
    void improve(std::vector<FoundGroup>& groups) const
    {
        const int cap = rules_.maxPlaces > 0 ? rules_.maxPlaces : n_;
        for (int pass = 0; pass < MaxMovePasses; ++pass) {
            bool moved = false;
            for (int a = 0; a < centres_; ++a) {
                for (std::size_t k = 0; k < groups[at(a)].members.size(); ++k) {
                    const int i = groups[at(a)].members[k];
                    if (groups[at(a)].fixedPlace == i || static_cast<int>(groups[at(a)].members.size()) <= MinMembers)
                        continue;
                    for (int b = 0; b < centres_; ++b) {
                        if (b == a || static_cast<int>(groups[at(b)].members.size()) >= cap)
                            continue;
                        if (tryMove(groups, a, b, k)) {
                            moved = true;
                            --k;
                            break;
                        }
                    }
                }
            }
            if (!moved)
                break;
        }
    }

private:
    WeberResult centreOf(const FoundGroup& g) const
    {
        return g.fixedPlace >= 0 ? fixedCentre(sites_, g.members, g.fixedPlace) : weberPoint(sites_, g.members);
    }

    bool tryMove(std::vector<FoundGroup>& groups, int a, int b, std::size_t k) const
    {
        FoundGroup from = groups[at(a)];
        FoundGroup to = groups[at(b)];
        const int i = from.members[k];
        from.members.erase(from.members.begin() + static_cast<std::ptrdiff_t>(k));
        to.members.insert(std::lower_bound(to.members.begin(), to.members.end(), i), i);
        from.centre = centreOf(from);
        to.centre = centreOf(to);
        const long double before = groups[at(a)].centre.objective + groups[at(b)].centre.objective;
        if (!(from.centre.objective + to.centre.objective < before * (1.0L - SameTotal)))
            return false;
        groups[at(a)] = std::move(from);
        groups[at(b)] = std::move(to);
        return true;
    }

    // Fixed centres at their places; the free ones drawn one by one, each with probability
    // growing with weight × squared distance to the nearest centre chosen so far.
    void startCentres(std::uint64_t stream, std::vector<long double>& cx, std::vector<long double>& cy) const
    {
        std::uint64_t state = stream;
        splitMix(state);
        for (int f : rules_.fixed) {
            cx.push_back(sites_[at(f)].x);
            cy.push_back(sites_[at(f)].y);
        }
        std::vector<long double> score(at(n_));
        while (static_cast<int>(cx.size()) < centres_) {
            long double sum = 0.0L;
            for (int i = 0; i < n_; ++i) {
                long double nearest = std::numeric_limits<long double>::infinity();
                for (std::size_t c = 0; c < cx.size(); ++c)
                    nearest = std::min(nearest, grouping::dist(cx[c], cy[c], sites_[at(i)]));
                score[at(i)] = cx.empty() ? sites_[at(i)].weight + 1.0L
                                          : (sites_[at(i)].weight + 1e-12L) * nearest * nearest;
                sum += score[at(i)];
            }
            const long double u = static_cast<long double>(splitMix(state) >> 11) * 0x1.0p-53L * sum;
            int pick = n_ - 1;
            long double run = 0.0L;
            for (int i = 0; i < n_; ++i) {
                run += score[at(i)];
                if (u < run) {
                    pick = i;
                    break;
                }
            }
            cx.push_back(sites_[at(pick)].x);
            cy.push_back(sites_[at(pick)].y);
        }
    }

    std::vector<FoundGroup> allocate(const std::vector<long double>& cx, const std::vector<long double>& cy) const
    {
        std::vector<int> pinned(at(centres_), -1);
        for (std::size_t c = 0; c < rules_.fixed.size(); ++c)
            pinned[c] = rules_.fixed[c];
        return groupsOf(sites_, assignPlaces(sites_, cx, cy, pinned, rules_.maxPlaces), centres_, rules_.fixed);
    }

    std::span<const GroupSite> sites_;
    int n_;
    int centres_;
    const GroupRules& rules_;
};

} // namespace

namespace {

// "1 miesto", "3 miesta", "5 miest".
std::string places(int count)
{
    const char* word = count == 1 ? "miesto" : (count >= 2 && count <= 4 ? "miesta" : "miest");
    return std::to_string(count) + " " + word;
}

} // namespace

int leastCentres(const GroupRules& rules)
{
    return rules.fixed.empty() ? 2 : static_cast<int>(rules.fixed.size());
}

std::optional<std::string> groupRulesProblem(
    std::span<const GroupSite> sites, int centres, const GroupRules& rules)
{
    const int n = static_cast<int>(sites.size());
    const std::string P = std::to_string(centres);
    const std::string m = std::to_string(rules.maxPlaces);
    std::set<int> seen;
    for (int f : rules.fixed) {
        if (f < 0 || f >= n)
            return "Existujúce centrum nie je medzi miestami projektu !!!";
        if (!seen.insert(f).second)
            return "Existujúce centrum " + sites[at(f)].name + " je uvedené dvakrát !!!";
    }
    if (static_cast<int>(rules.fixed.size()) > centres)
        return "Počet centier P = " + P + " je menší ako počet existujúcich centier ("
            + std::to_string(rules.fixed.size()) + ") !!!";
    if (rules.maxPlaces != 0 && rules.maxPlaces < MinMembers)
        return "Skupina musí smieť mať aspoň 3 miesta, m = " + m + " je málo !!!";
    if (centres < leastCentres(rules))
        return "Počet centier musí byť aspoň " + std::to_string(leastCentres(rules)) + " !!!";
    const std::string m3 = places(MinMembers);
    if (MinMembers * centres > n)
        return "Skupiny nemožno naplniť: P = " + P + ", aspoň " + m3 + " v skupine, spolu " + places(MinMembers * centres)
            + ", projekt má n = " + places(n) + (rules.maxPlaces > 0 ? " (m = " + m + ")" : "") + " !!!";
    if (rules.maxPlaces > 0 && static_cast<long long>(centres) * rules.maxPlaces < n)
        return "Skupiny nepojmú všetky miesta: P = " + P + ", najviac m = " + places(rules.maxPlaces)
            + " v skupine, spolu " + places(centres * rules.maxPlaces) + ", projekt má n = " + places(n) + " !!!";
    return groupSitesProblem(sites);
}

GroupSearchResult searchGroupsWithRules(std::span<const GroupSite> sites, const GroupSearchOptions& options,
    const GroupRules& rules, const std::atomic<bool>* cancel)
{
    GroupSearchResult res;
    res.centres = options.centres;
    if (static_cast<int>(sites.size()) <= ExactGroupSearchPlaces) {
        res.groups = ExactRuleSearch(sites, options.centres, rules).best();
        res.exact = true;
        res.starts = res.bestFound = 1;
    } else {
        RuleSearch search(sites, options.centres, rules);
        std::vector<long double> totals;
        const int starts = std::clamp(options.starts, 1, MaxGroupStarts);
        for (int s = 0; s < starts; ++s) {
            if (cancel && cancel->load()) {
                res.cancelled = true;
                break;
            }
            std::vector<FoundGroup> groups
                = search.run(options.seed * 0x9E3779B97F4A7C15ULL + static_cast<std::uint64_t>(s));
            const long double t = totalOf(groups);
            totals.push_back(t);
            if (res.groups.empty() || t < res.total) {
                res.groups = std::move(groups);
                res.total = t;
            }
        }
        if (!res.groups.empty())
            search.improve(res.groups);
        res.total = totalOf(res.groups);
        res.starts = static_cast<int>(totals.size());
        res.bestFound = static_cast<int>(std::count_if(
            totals.begin(), totals.end(), [&](long double t) { return t <= res.total * (1.0L + SameTotal); }));
        res.bestFound = std::max(res.bestFound, res.groups.empty() ? 0 : 1);
    }
    res.total = totalOf(res.groups);
    orderGroups(res.groups);
    return res;
}

std::optional<std::string> proposalProblem(std::span<const GroupSite> sites, int centres, const GroupRules& rules)
{
    return rules.any() ? groupRulesProblem(sites, centres, rules) : groupSearchProblem(sites, centres);
}

GroupSearchResult proposeGroups(std::span<const GroupSite> sites, const GroupSearchOptions& options,
    const GroupRules& rules, const std::atomic<bool>* cancel)
{
    GroupSearchResult found
        = rules.any() ? searchGroupsWithRules(sites, options, rules, cancel) : searchGroups(sites, options, cancel);
    if (found.exact || found.cancelled || found.groups.empty())
        return found;
    std::optional<GroupSearchResult> engine = engineProposal(sites, options, rules, cancel);
    if (!engine || !(engine->total < found.total * (1.0L - SameTotal)))
        return found;
    engine->starts = found.starts + 1;
    engine->bestFound = 1;
    return std::move(*engine);
}

CentreCountEntry centreCountEntry(std::span<const GroupSite> sites, int centres, const GroupRules& rules,
    const CentreCountRow* before, const std::function<long double(int)>& total)
{
    if (baselineCount(centres, rules))
        return { centreCountRow(centres, singleCentreTotal(sites), nullptr), std::nullopt };
    if (auto refusal = proposalProblem(sites, centres, rules))
        return { CentreCountRow { centres, 0.0L, std::nullopt }, std::move(refusal) };
    return { centreCountRow(centres, total(centres), before), std::nullopt };
}

} // namespace dorvan
