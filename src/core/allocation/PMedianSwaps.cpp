// The interchange estimate of the p-median search: for a new centre on place s and a free
// centre j taken away, with the other centres where they are,
//     delta(s, j) = -gain(s) + loss(j, s)
//     gain(s)     = sum over places of w max(0, d1 - dn)
//     loss(j, s)  = sum over the places of j of w (min(dn, d2) - min(dn, d1))
//                 = base(j) - sum over the places of j with dn < d2 of w (d2 - max(dn, d1))
// with d1, d2 the distances of a place to its nearest and second centre, dn to s, and
// base(j) = sum over the places of j of w (d2 - d1). Only places nearer to s than their second
// centre count beyond base(j), so with the lists of nearest places a candidate visits only
// the places around it.

#include "core/allocation/PMedianSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace dorvan::pmedian {

void buildNearLists(SearchSetup& setup, int count)
{
    const PlaceArrays& p = setup.places;
    count = std::min(count, p.n);
    setup.nearCount = count;
    setup.near.assign(at(p.n) * at(count), 0);
    setup.nearDistance.assign(at(p.n) * at(count), 0);
    std::vector<std::pair<double, std::int32_t>> row(at(p.n));
    for (std::int32_t i = 0; i < p.n; ++i) {
        for (std::int32_t k = 0; k < p.n; ++k)
            row[at(k)] = { std::hypot(p.x[at(k)] - p.x[at(i)], p.y[at(k)] - p.y[at(i)]), k == i ? -1 : k };
        std::partial_sort(row.begin(), row.begin() + count, row.end());
        for (int k = 0; k < count; ++k) {
            const auto slot = at(i) * at(count) + at(k);
            setup.near[slot] = row[at(k)].second < 0 ? i : row[at(k)].second;
            setup.nearDistance[slot] = row[at(k)].first;
        }
    }
}

std::vector<std::int32_t> Search::swapCandidates(const Layout& layout)
{
    const PlaceArrays& p = setup_.places;
    std::vector<std::int32_t> candidates;
    if (setup_.candidates <= 0 || setup_.candidates >= p.n) {
        candidates.resize(at(p.n));
        std::iota(candidates.begin(), candidates.end(), 0);
        return candidates;
    }
    std::vector<double> prefix(at(p.n));
    double run = 0;
    for (std::int32_t i = 0; i < p.n; ++i)
        prefix[at(i)] = run += p.w[at(i)] * layout.d[at(i)];
    for (int k = 0; k < setup_.candidates; ++k)
        candidates.push_back(draw(prefix));
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    return candidates;
}

std::vector<Search::Swap> Search::bestSwaps(const Layout& layout, int keep)
{
    const PlaceArrays& p = setup_.places;
    const auto centres = at(setup_.centres);
    index_.build(layout.cx, layout.cy);
    second_.resize(at(p.n));
    std::vector<double> base(centres, 0.0);
    double reachOfSecond = 0;
    for (std::int32_t i = 0; i < p.n; ++i) {
        const NearestTwo two = index_.nearestTwo(p.x[at(i)], p.y[at(i)]);
        const double d2
            = two.second.centre >= 0 ? two.second.distance : std::numeric_limits<double>::infinity();
        second_[at(i)] = d2;
        base[at(layout.of[at(i)])] += p.w[at(i)] * (d2 - layout.d[at(i)]);
        reachOfSecond = std::max(reachOfSecond, d2);
    }
    const auto fixedCount = static_cast<int>(setup_.fixed.size());
    std::vector<double> credit(centres);
    std::vector<Swap> found;
    const auto visit = [&](std::int32_t i, double dn, double& gain) {
        const double d1 = layout.d[at(i)], d2 = second_[at(i)], w = p.w[at(i)];
        if (dn < d1) {
            gain += w * (d1 - dn);
            credit[at(layout.of[at(i)])] += w * (d2 - d1);
        } else if (dn < d2) {
            credit[at(layout.of[at(i)])] += w * (d2 - dn);
        }
    };
    for (const std::int32_t site : swapCandidates(layout)) {
        if (layout.d[at(site)] <= p.reach)
            continue; // a centre stands there already
        double gain = 0;
        std::fill(credit.begin(), credit.end(), 0.0);
        bool listed = false;
        if (setup_.nearCount > 0 && std::isfinite(reachOfSecond)) {
            const auto from = at(site) * at(setup_.nearCount);
            const double last = setup_.nearDistance[from + at(setup_.nearCount) - 1];
            if (last >= reachOfSecond || setup_.nearCount == p.n) {
                listed = true;
                for (auto k = from; k < from + at(setup_.nearCount); ++k) {
                    const double dn = setup_.nearDistance[k];
                    if (dn >= reachOfSecond)
                        break;
                    visit(setup_.near[k], dn, gain);
                }
            }
        }
        if (!listed) {
            const double sx = p.x[at(site)], sy = p.y[at(site)];
            for (std::int32_t i = 0; i < p.n; ++i) {
                const double dx = p.x[at(i)] - sx, dy = p.y[at(i)] - sy;
                visit(i, std::sqrt(dx * dx + dy * dy), gain);
            }
        }
        for (int c = fixedCount; c < setup_.centres; ++c) {
            // With a single centre there is no second one: the new centre takes every place.
            const double loss = std::isfinite(base[at(c)]) ? base[at(c)] - credit[at(c)] : 0.0;
            found.push_back({ loss - gain, site, c });
        }
    }
    const auto kept = std::min<std::size_t>(at(keep), found.size());
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(),
        [](const Swap& a, const Swap& b) {
            return a.delta < b.delta
                || (a.delta == b.delta && (a.place < b.place || (a.place == b.place && a.centre < b.centre)));
        });
    found.resize(kept);
    return found;
}

} // namespace dorvan::pmedian
