#include "core/allocation/PMedianIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace dorvan::pmedian {

namespace {

constexpr double Far = std::numeric_limits<double>::infinity();

// Whether (d, c) comes before the entry: nearer, or as near with a lower index.
bool before(double d, std::int32_t c, const Nearest& entry)
{
    return d < entry.distance || (d == entry.distance && entry.centre >= 0 && c < entry.centre)
        || entry.centre < 0;
}

} // namespace

void CentreIndex::build(std::span<const double> cx, std::span<const double> cy)
{
    cx_.assign(cx.begin(), cx.end());
    cy_.assign(cy.begin(), cy.end());
    nodes_.clear();
    nodes_.reserve(cx_.size());
    std::vector<std::int32_t> order(cx_.size());
    std::iota(order.begin(), order.end(), 0);
    root_ = buildRange(order, 0, static_cast<int>(order.size()));
}

std::int32_t CentreIndex::buildRange(std::vector<std::int32_t>& order, int from, int to)
{
    if (from >= to)
        return -1;
    double loX = Far, hiX = -Far, loY = Far, hiY = -Far;
    for (int i = from; i < to; ++i) {
        const auto c = static_cast<std::size_t>(order[static_cast<std::size_t>(i)]);
        loX = std::min(loX, cx_[c]);
        hiX = std::max(hiX, cx_[c]);
        loY = std::min(loY, cy_[c]);
        hiY = std::max(hiY, cy_[c]);
    }
    const std::uint8_t axis = hiY - loY > hiX - loX ? 1 : 0;
    const std::vector<double>& key = axis == 0 ? cx_ : cy_;
    const int mid = from + (to - from) / 2;
    std::nth_element(
        order.begin() + from, order.begin() + mid, order.begin() + to, [&](std::int32_t a, std::int32_t b) {
            const double ka = key[static_cast<std::size_t>(a)], kb = key[static_cast<std::size_t>(b)];
            return ka < kb || (ka == kb && a < b);
        });
    const auto self = static_cast<std::int32_t>(nodes_.size());
    Node node;
    node.centre = order[static_cast<std::size_t>(mid)];
    node.axis = axis;
    node.split = key[static_cast<std::size_t>(node.centre)];
    nodes_.push_back(node);
    const std::int32_t left = buildRange(order, from, mid);
    const std::int32_t right = buildRange(order, mid + 1, to);
    nodes_[static_cast<std::size_t>(self)].left = left;
    nodes_[static_cast<std::size_t>(self)].right = right;
    return self;
}

template <int Count> void CentreIndex::search(std::int32_t index, double x, double y, Nearest* best) const
{
    while (index >= 0) {
        const Node& node = nodes_[static_cast<std::size_t>(index)];
        const auto c = static_cast<std::size_t>(node.centre);
        const double dx = x - cx_[c], dy = y - cy_[c];
        const double d = dx * dx + dy * dy; // squared while searching
        if (before(d, node.centre, best[Count - 1])) {
            if constexpr (Count == 2) {
                if (before(d, node.centre, best[0])) {
                    best[1] = best[0];
                    best[0] = { node.centre, d };
                } else {
                    best[1] = { node.centre, d };
                }
            } else {
                best[0] = { node.centre, d };
            }
        }
        const double off = (node.axis == 0 ? x : y) - node.split;
        const std::int32_t nearSide = off < 0 ? node.left : node.right;
        const std::int32_t farSide = off < 0 ? node.right : node.left;
        search<Count>(nearSide, x, y, best);
        if (best[Count - 1].centre >= 0 && off * off > best[Count - 1].distance)
            return;
        index = farSide;
    }
}

Nearest CentreIndex::nearest(double x, double y) const
{
    Nearest best[1] = { { -1, Far } };
    search<1>(root_, x, y, best);
    best[0].distance = std::sqrt(best[0].distance);
    return best[0];
}

NearestTwo CentreIndex::nearestTwo(double x, double y) const
{
    Nearest best[2] = { { -1, Far }, { -1, Far } };
    search<2>(root_, x, y, best);
    best[0].distance = std::sqrt(best[0].distance);
    best[1].distance = std::sqrt(best[1].distance);
    return { best[0], best[1] };
}

} // namespace dorvan::pmedian
