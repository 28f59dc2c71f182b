// The least-cost assignment of places to centres at given positions within the group sizes.
#include "core/allocation/ConstrainedGroups.h"

#include "core/allocation/GroupWeber.h"

#include <limits>
#include <set>
#include <stdexcept>
#include <vector>

namespace dorvan {

namespace {

using grouping::at;
using grouping::MinMembers;

// A cost that first counts the places put into groups beyond their 3 required ones and only
// then the weighted distance: the least such cost fills every group to 3 places whenever the
// places allow, then serves the rest as cheaply as the limits let it.
struct Cost {
    long long extra = 0;
    long double distance = 0.0L;
    friend Cost operator+(Cost a, Cost b) { return { a.extra + b.extra, a.distance + b.distance }; }
    friend Cost operator-(Cost a, Cost b) { return { a.extra - b.extra, a.distance - b.distance }; }
    friend bool operator<(Cost a, Cost b)
    {
        return a.extra != b.extra ? a.extra < b.extra : a.distance < b.distance;
    }
};

// Least-cost assignment within group sizes, one place at a time: each new place goes in along
// the cheapest chain "place -> centre a, one place of a -> centre b, ..." ending at a centre
// that can still take one. Adding supply one unit at a time along shortest paths keeps every
// intermediate assignment optimal (the chains run over the centres only, so Bellman-Ford on
// P nodes finds them).
class Assignment {
public:
    Assignment(std::span<const GroupSite> sites, std::span<const long double> cx, std::span<const long double> cy,
        int maxPlaces)
        : sites_(sites)
        , n_(static_cast<int>(sites.size()))
        , p_(static_cast<int>(cx.size()))
        , cap_(maxPlaces > 0 ? maxPlaces : n_)
        , cost_(at(n_) * at(p_))
        , of_(at(n_), -1)
        , count_(at(p_), 0)
    {
        for (int i = 0; i < n_; ++i)
            for (int c = 0; c < p_; ++c)
                cost_[at(i * p_ + c)] = sites[at(i)].weight * grouping::dist(cx[at(c)], cy[at(c)], sites[at(i)]);
    }

    void pin(int place, int centre)
    {
        of_[at(place)] = centre;
        pinned_.insert(place);
        ++count_[at(centre)];
    }

    void insert(int place)
    {
        constexpr long long Unreachable = std::numeric_limits<long long>::max() / 4;
        std::vector<Cost> best(at(p_), Cost { Unreachable, 0.0L });
        std::vector<int> from(at(p_), -1), moved(at(p_), -1);
        for (int c = 0; c < p_; ++c)
            best[at(c)] = Cost { 0, c_(place, c) };
        // The cheapest move of one place from centre a to centre b, for every pair.
        std::vector<Cost> edge(at(p_) * at(p_), Cost { Unreachable, 0.0L });
        std::vector<int> edgePlace(at(p_) * at(p_), -1);
        for (int i = 0; i < n_; ++i) {
            const int a = of_[at(i)];
            if (a < 0 || pinned_.count(i))
                continue;
            for (int b = 0; b < p_; ++b) {
                if (b == a)
                    continue;
                const Cost d { 0, c_(i, b) - c_(i, a) };
                if (d < edge[at(a * p_ + b)]) {
                    edge[at(a * p_ + b)] = d;
                    edgePlace[at(a * p_ + b)] = i;
                }
            }
        }
        for (int round = 0; round < p_; ++round) {
            bool changed = false;
            for (int a = 0; a < p_; ++a) {
                if (count_[at(a)] == 0 || best[at(a)].extra >= Unreachable)
                    continue; // nothing to pass on from an empty centre
                for (int b = 0; b < p_; ++b) {
                    const int e = a * p_ + b;
                    if (edgePlace[at(e)] < 0)
                        continue;
                    const Cost via = best[at(a)] + edge[at(e)];
                    if (via < best[at(b)] && !onChain(from, a, b)) {
                        best[at(b)] = via;
                        from[at(b)] = a;
                        moved[at(b)] = edgePlace[at(e)];
                        changed = true;
                    }
                }
            }
            if (!changed)
                break;
        }
        int end = -1;
        Cost endCost { Unreachable, 0.0L };
        for (int c = 0; c < p_; ++c) {
            if (count_[at(c)] >= cap_ || best[at(c)].extra >= Unreachable)
                continue;
            const Cost total = best[at(c)] + Cost { count_[at(c)] >= MinMembers ? 1 : 0, 0.0L };
            if (end < 0 || total < endCost) {
                end = c;
                endCost = total;
            }
        }
        if (end < 0)
            throw std::logic_error("assignPlaces: no centre can take another place");
        ++count_[at(end)];
        for (int c = end; from[at(c)] >= 0; c = from[at(c)])
            of_[at(moved[at(c)])] = c;
        // The chain's first centre took the new place and passed one on, so its count holds.
        int first = end;
        while (from[at(first)] >= 0)
            first = from[at(first)];
        of_[at(place)] = first;
    }

    const std::vector<int>& centres() const { return of_; }

private:
    long double c_(int i, int c) const { return cost_[at(i * p_ + c)]; }

    // Whether centre b already lies on the chain that ends at a (a chain visits a centre once).
    static bool onChain(const std::vector<int>& from, int a, int b)
    {
        for (int c = a; c >= 0; c = from[at(c)])
            if (c == b)
                return true;
        return false;
    }

    std::span<const GroupSite> sites_;
    int n_;
    int p_;
    int cap_;
    std::vector<long double> cost_;
    std::vector<int> of_;
    std::vector<int> count_;
    std::set<int> pinned_;
};

} // namespace

std::vector<int> assignPlaces(std::span<const GroupSite> sites, std::span<const long double> cx,
    std::span<const long double> cy, std::span<const int> pinned, int maxPlaces)
{
    Assignment a(sites, cx, cy, maxPlaces);
    std::vector<bool> isPinned(sites.size(), false);
    for (std::size_t c = 0; c < pinned.size(); ++c)
        if (pinned[c] >= 0) {
            a.pin(pinned[c], static_cast<int>(c));
            isPinned[at(pinned[c])] = true;
        }
    for (int i = 0; i < static_cast<int>(sites.size()); ++i)
        if (!isPinned[at(i)])
            a.insert(i);
    return a.centres();
}

} // namespace dorvan
