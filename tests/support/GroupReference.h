#pragma once

// An independent reference for the group searches, written apart from the code under test:
// a textbook Weiszfeld iteration with a check of every place by Kuhn's condition, and every
// partition of a few places enumerated by restricted growth strings.

#include "core/allocation/GroupSearch.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace group_reference {

using dorvan::GroupSite;

// The sum of weight × distance of the members to (x, y).
inline double cost(const std::vector<GroupSite>& s, const std::vector<int>& m, double x, double y)
{
    double f = 0.0;
    for (int i : m)
        f += static_cast<double>(s[i].weight) * std::hypot(s[i].x - x, s[i].y - y);
    return f;
}

// The least cost of the members from any point.
inline double weber(const std::vector<GroupSite>& s, const std::vector<int>& m)
{
    for (int j : m) {
        double gx = 0.0, gy = 0.0;
        for (int i : m)
            if (i != j) {
                const double d = std::hypot(s[i].x - s[j].x, s[i].y - s[j].y);
                gx += static_cast<double>(s[i].weight) * (s[i].x - s[j].x) / d;
                gy += static_cast<double>(s[i].weight) * (s[i].y - s[j].y) / d;
            }
        if (std::hypot(gx, gy) <= static_cast<double>(s[j].weight))
            return cost(s, m, s[j].x, s[j].y);
    }
    double x = 0.0, y = 0.0;
    for (int i : m) {
        x += s[i].x / static_cast<double>(m.size());
        y += s[i].y / static_cast<double>(m.size());
    }
    for (int it = 0; it < 100000; ++it) {
        double nx = 0.0, ny = 0.0, den = 0.0;
        for (int i : m) {
            const double d = std::max(std::hypot(s[i].x - x, s[i].y - y), 1e-300);
            nx += static_cast<double>(s[i].weight) * s[i].x / d;
            ny += static_cast<double>(s[i].weight) * s[i].y / d;
            den += static_cast<double>(s[i].weight) / d;
        }
        const double step = std::hypot(nx / den - x, ny / den - y);
        x = nx / den;
        y = ny / den;
        if (step < 1e-13)
            break;
    }
    return cost(s, m, x, y);
}

// The best total over every partition into `centres` groups that keeps the rules: each fixed
// place heads a group of its own, served from that place; groups of 3..cap places (cap 0: no
// upper limit). Infinity when no partition keeps them.
inline double bruteForce(
    const std::vector<GroupSite>& sites, int centres, const std::vector<int>& fixed = {}, int cap = 0)
{
    const int n = static_cast<int>(sites.size());
    const int most = cap > 0 ? cap : n;
    std::map<unsigned, double> weberCache;
    double best = std::numeric_limits<double>::infinity();
    std::vector<int> label(n, 0);
    // restricted growth strings: label[0] = 0, label[i] <= max(label[0..i-1]) + 1
    std::function<void(int, int)> walk = [&](int i, int used) {
        if (used > centres)
            return;
        if (i == n) {
            if (used != centres)
                return;
            std::vector<std::vector<int>> blocks(centres);
            for (int k = 0; k < n; ++k)
                blocks[label[k]].push_back(k);
            std::set<int> fixedBlocks;
            for (int f : fixed)
                if (!fixedBlocks.insert(label[f]).second)
                    return; // two existing centres in one group
            double total = 0.0;
            for (int b = 0; b < centres; ++b) {
                const auto& g = blocks[b];
                if (static_cast<int>(g.size()) < 3 || static_cast<int>(g.size()) > most)
                    return;
                int head = -1;
                for (int f : fixed)
                    if (label[f] == b)
                        head = f;
                if (head >= 0) {
                    total += cost(sites, g, sites[head].x, sites[head].y);
                } else {
                    unsigned mask = 0;
                    for (int k : g)
                        mask |= 1u << k;
                    auto it = weberCache.find(mask);
                    if (it == weberCache.end())
                        it = weberCache.emplace(mask, weber(sites, g)).first;
                    total += it->second;
                }
            }
            best = std::min(best, total);
            return;
        }
        for (int l = 0; l <= used && l < centres; ++l) {
            label[i] = l;
            walk(i + 1, std::max(used, l + 1));
        }
    };
    walk(0, 0);
    return best;
}

// n places named M1..Mn in a 100 × 100 square, weights 1..9 (or all 1), the same for a seed.
inline std::vector<GroupSite> randomSites(int n, unsigned seed, bool weighted = true)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> coord(0.0, 100.0);
    std::uniform_int_distribution<int> weight(1, 9);
    std::vector<GroupSite> s;
    for (int i = 0; i < n; ++i)
        s.push_back({ "M" + std::to_string(i + 1), coord(gen), coord(gen),
            weighted ? static_cast<long double>(weight(gen)) : 1.0L });
    return s;
}

// As randomSites, named P0..P(n-1), the coordinates rounded to 0.1 as typed in.
inline std::vector<GroupSite> typedSites(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> coord(0.0, 100.0);
    std::uniform_int_distribution<int> weight(1, 9);
    std::vector<GroupSite> sites;
    for (int i = 0; i < n; ++i)
        sites.push_back({ "P" + std::to_string(i), std::round(coord(rng) * 10) / 10,
            std::round(coord(rng) * 10) / 10, static_cast<long double>(weight(rng)) });
    return sites;
}

} // namespace group_reference
