// The interchange estimate of the p-median search: for a new centre on place s and a free
// centre j taken away, with the other centres where they are,
//     delta(s, j) = -gain(s) + loss(j, s)
//     gain(s)     = sum over places of w max(0, d1 - dn)
//     loss(j, s)  = sum over the places of j of w (min(dn, d2) - min(dn, d1))
//                 = base(j) - sum over the places of j with dn < d2 of w (d2 - max(dn, d1))
// with d1, d2 the distances of a place to its nearest and second centre, dn to s, and
// base(j) = sum over the places of j of w (d2 - d1). Only places nearer to s than their second
// centre count beyond base(j), so a candidate visits only the cells of a grid over the places
// that hold such places.

#include "core/allocation/PMedianSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace dorvan::pmedian {

namespace {

constexpr double PlacesPerCell = 4.0;

} // namespace

void buildPlaceGrid(SearchSetup& setup)
{
    const PlaceArrays& p = setup.places;
    if (p.n <= 0)
        return;
    double loX = p.x[0], hiX = loX, loY = p.y[0], hiY = loY;
    for (std::int32_t i = 0; i < p.n; ++i) {
        loX = std::min(loX, p.x[at(i)]);
        hiX = std::max(hiX, p.x[at(i)]);
        loY = std::min(loY, p.y[at(i)]);
        hiY = std::max(hiY, p.y[at(i)]);
    }
    const double width = std::max(hiX - loX, 1e-300), height = std::max(hiY - loY, 1e-300);
    const double cells = std::max(1.0, static_cast<double>(p.n) / PlacesPerCell);
    setup.cellSize = std::max(std::sqrt(width * height / cells), std::max(width, height) / 4096.0);
    setup.cellsX = std::clamp(static_cast<int>(width / setup.cellSize) + 1, 1, 4097);
    setup.cellsY = std::clamp(static_cast<int>(height / setup.cellSize) + 1, 1, 4097);
    setup.originX = loX;
    setup.originY = loY;
    const auto cellOf = [&](std::int32_t i) {
        const int cx = std::min(setup.cellsX - 1, static_cast<int>((p.x[at(i)] - loX) / setup.cellSize));
        const int cy = std::min(setup.cellsY - 1, static_cast<int>((p.y[at(i)] - loY) / setup.cellSize));
        return at(cx) + at(cy) * at(setup.cellsX);
    };
    setup.cellStart.assign(at(setup.cellsX) * at(setup.cellsY) + 1, 0);
    for (std::int32_t i = 0; i < p.n; ++i)
        ++setup.cellStart[cellOf(i) + 1];
    for (std::size_t c = 1; c < setup.cellStart.size(); ++c)
        setup.cellStart[c] += setup.cellStart[c - 1];
    setup.cellPlaces.resize(at(p.n));
    std::vector<std::int32_t> fill(setup.cellStart.begin(), setup.cellStart.end() - 1);
    for (std::int32_t i = 0; i < p.n; ++i)
        setup.cellPlaces[at(fill[cellOf(i)]++)] = i;
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
    for (std::int32_t i = 0; i < p.n; ++i) {
        const NearestTwo two = index_.nearestTwo(p.x[at(i)], p.y[at(i)]);
        const double d2
            = two.second.centre >= 0 ? two.second.distance : std::numeric_limits<double>::infinity();
        second_[at(i)] = d2;
        base[at(layout.of[at(i)])] += p.w[at(i)] * (d2 - layout.d[at(i)]);
    }
    // The farthest second centre of each cell's places, squared: a site farther from the cell
    // changes nothing there beyond base(j).
    std::vector<double> cellReach(setup_.cellStart.size() - 1, 0.0);
    for (std::size_t cell = 0; cell + 1 < setup_.cellStart.size(); ++cell)
        for (auto k = at(setup_.cellStart[cell]); k < at(setup_.cellStart[cell + 1]); ++k) {
            const double d2 = second_[at(setup_.cellPlaces[k])];
            cellReach[cell] = std::max(cellReach[cell], std::isfinite(d2) ? d2 * d2 : d2);
        }
    // No cell farther than the farthest second centre of all places counts.
    const double farthest = std::sqrt(*std::max_element(cellReach.begin(), cellReach.end()));
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
        // Only the cells some of whose places lie nearer to the site than their second centre.
        const double sx = p.x[at(site)], sy = p.y[at(site)];
        const auto first = [&](double from, int cells) {
            const double cell = std::floor(from / setup_.cellSize); // infinite with a single centre
            return static_cast<int>(std::clamp(cell, 0.0, static_cast<double>(cells - 1)));
        };
        const int fromX = first(sx - farthest - setup_.originX, setup_.cellsX);
        const int toX = first(sx + farthest - setup_.originX, setup_.cellsX);
        const int fromY = first(sy - farthest - setup_.originY, setup_.cellsY);
        const int toY = first(sy + farthest - setup_.originY, setup_.cellsY);
        for (int cy = fromY; cy <= toY; ++cy) {
            const double y0 = setup_.originY + cy * setup_.cellSize;
            const double gy = std::max({ 0.0, y0 - sy, sy - (y0 + setup_.cellSize) });
            for (int cx = fromX; cx <= toX; ++cx) {
                const auto cell = at(cx) + at(cy) * at(setup_.cellsX);
                const double x0 = setup_.originX + cx * setup_.cellSize;
                const double gx = std::max({ 0.0, x0 - sx, sx - (x0 + setup_.cellSize) });
                if (!(gx * gx + gy * gy < cellReach[cell]))
                    continue;
                for (auto k = at(setup_.cellStart[cell]); k < at(setup_.cellStart[cell + 1]); ++k) {
                    const std::int32_t i = setup_.cellPlaces[k];
                    const double dx = p.x[at(i)] - sx, dy = p.y[at(i)] - sy;
                    visit(i, std::sqrt(dx * dx + dy * dy), gain);
                }
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
