#include "core/network/RoundsLocal.h"

#include "core/common/Index.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace dorvan {

namespace {

std::uint64_t splitmix(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

} // namespace

RoundsRandom::RoundsRandom(std::uint64_t seed)
{
    for (auto& s : s_)
        s = splitmix(seed);
}

std::uint64_t RoundsRandom::next()
{
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

RoundsContext::RoundsContext(const RoundsProblem& p)
    : p_(p)
{
    allowed_.resize(ix(p.n + 2));
    for (int k = 0; k <= p.n + 1; ++k)
        allowed_[ix(k)] = p.lengthAllowed(k);
    double longest = 0.0;
    for (double d : p.dist)
        longest = std::max(longest, d);
    // More than any insertion can cost: a full solution is always cheaper than one without a place.
    absentPrice_ = 4.0 * longest + 1.0;
    demandScale_ = std::max(1e-9, *std::max_element(p.demand.begin(), p.demand.end()));
    for (int a = 0; a <= p.n && symmetric_; ++a)
        for (int b = 0; b < a; ++b)
            if (p.d(a, b) != p.d(b, a)) {
                symmetric_ = false;
                break;
            }
    where_.assign(ix(p.n + 1), -1);
}

double RoundsContext::routeLength(const std::vector<int>& route) const
{
    double len = 0.0;
    int at = 0;
    for (int c : route) {
        len += p_.d(at, c);
        at = c;
    }
    return len + p_.d(at, 0);
}

void RoundsContext::evaluate(RoundsSolution& s) const
{
    s.len.resize(s.routes.size());
    s.load.resize(s.routes.size());
    s.total = 0.0;
    for (std::size_t r = 0; r < s.routes.size(); ++r) {
        s.len[r] = routeLength(s.routes[r]);
        double load = 0.0;
        for (int c : s.routes[r])
            load += p_.demand[ix(c)];
        s.load[r] = load;
        s.total += s.len[r];
    }
    s.cost = s.total;
    for (int c : s.absent)
        s.cost += absentPrice_ * (1.0 + p_.demand[ix(c)] / demandScale_);
}

bool RoundsContext::fits(double load, double length, int k) const
{
    return fitsLoad(load) && length <= allowed(k) + slack(allowed(k));
}

bool RoundsContext::routesKept(const RoundsSolution& s) const
{
    if (p_.maxVehicles > 0 && static_cast<int>(s.routes.size()) > p_.maxVehicles)
        return false;
    for (std::size_t r = 0; r < s.routes.size(); ++r)
        if (!fits(s.load[r], s.len[r], static_cast<int>(s.routes[r].size())))
            return false;
    return true;
}

void RoundsContext::locate(const RoundsSolution& s)
{
    std::fill(where_.begin(), where_.end(), -1);
    for (std::size_t r = 0; r < s.routes.size(); ++r)
        for (int c : s.routes[r])
            where_[ix(c)] = static_cast<int>(r);
}

void RoundsContext::insert(RoundsSolution& s, int c, const RoundsInsertion& at) const
{
    const double q = p_.demand[ix(c)];
    if (at.route == static_cast<int>(s.routes.size())) {
        s.routes.push_back({ c });
        s.len.push_back(at.delta);
        s.load.push_back(q);
    } else {
        auto& route = s.routes[ix(at.route)];
        route.insert(route.begin() + at.pos, c);
        s.len[ix(at.route)] += at.delta;
        s.load[ix(at.route)] += q;
    }
    s.total += at.delta;
    s.cost = s.total;
}

std::vector<std::vector<int>> RoundsContext::savings() const
{
    std::vector<std::vector<int>> routes;
    std::vector<int> routeOf(ix(p_.n + 1), -1);
    for (int c = 1; c <= p_.n; ++c) {
        routeOf[ix(c)] = static_cast<int>(routes.size());
        routes.push_back({ c });
    }
    struct Saving {
        double value;
        int i, j;
    };
    std::vector<Saving> list;
    for (int i = 1; i <= p_.n; ++i)
        for (int j = i + 1; j <= p_.n; ++j)
            list.push_back({ p_.d(i, 0) + p_.d(0, j) - p_.d(i, j), i, j });
    std::stable_sort(
        list.begin(), list.end(), [](const Saving& a, const Saving& b) { return a.value > b.value; });
    const auto load = [&](const std::vector<int>& r) {
        double q = 0.0;
        for (int c : r)
            q += p_.demand[ix(c)];
        return q;
    };
    for (const Saving& sv : list) {
        const int ri = routeOf[ix(sv.i)], rj = routeOf[ix(sv.j)];
        if (ri == rj)
            continue;
        std::vector<int> a = routes[ix(ri)], b = routes[ix(rj)];
        // i must end a and j begin b; a place inside its round cannot be joined.
        if (a.back() != sv.i)
            std::reverse(a.begin(), a.end());
        if (b.front() != sv.j)
            std::reverse(b.begin(), b.end());
        if (a.back() != sv.i || b.front() != sv.j)
            continue;
        a.insert(a.end(), b.begin(), b.end());
        if (!fits(load(a), routeLength(a), static_cast<int>(a.size())))
            continue;
        for (int c : b)
            routeOf[ix(c)] = ri;
        routes[ix(ri)] = std::move(a);
        routes[ix(rj)].clear();
    }
    std::erase_if(routes, [](const std::vector<int>& r) { return r.empty(); });
    return routes;
}

RoundsSolution RoundsContext::startingSolution() const
{
    RoundsSolution s;
    s.routes = savings();
    evaluate(s);
    if (p_.maxVehicles > 0 && static_cast<int>(s.routes.size()) > p_.maxVehicles) {
        std::vector<std::size_t> order(s.routes.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(
            order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return s.load[a] < s.load[b]; });
        const std::size_t drop = s.routes.size() - static_cast<std::size_t>(p_.maxVehicles);
        for (std::size_t k = 0; k < drop; ++k) {
            auto& r = s.routes[order[k]];
            s.absent.insert(s.absent.end(), r.begin(), r.end());
            r.clear();
        }
        std::erase_if(s.routes, [](const std::vector<int>& r) { return r.empty(); });
        evaluate(s);
        reinsertAbsent(s);
    }
    evaluate(s);
    return s;
}

void RoundsContext::reinsertAbsent(RoundsSolution& s) const
{
    std::vector<int> pool;
    pool.swap(s.absent);
    for (int c : pool) {
        const RoundsInsertion at = bestInsertion(s, c, [] { return false; });
        if (at.route < 0)
            s.absent.push_back(c);
        else
            insert(s, c, at);
    }
}

void RoundsContext::polish(RoundsSolution& s) const
{
    evaluate(s);
    for (int guard = 0; guard < 10000; ++guard) {
        if (!orOpt(s) && !exchange(s) && !twoOpt(s) && !twoOptStar(s))
            break;
        std::erase_if(s.routes, [](const std::vector<int>& r) { return r.empty(); });
        evaluate(s);
    }
    reinsertAbsent(s);
    evaluate(s);
}

// A string of 1 to 3 places moved elsewhere, in its own round or another, in its direction.
// Priced from the edges it breaks and makes; the rounds are built only for the move taken.
bool RoundsContext::orOpt(RoundsSolution& s) const
{
    const double eps = 1e-9 * std::max(1.0, s.total);
    const auto node = [](const std::vector<int>& r, int k) {
        return k < 0 || k >= static_cast<int>(r.size()) ? 0 : r[ix(k)];
    };
    for (std::size_t r = 0; r < s.routes.size(); ++r) {
        const auto& route = s.routes[r];
        const int size = static_cast<int>(route.size());
        for (int len = 1; len <= 3 && len <= size; ++len)
            for (int i = 0; i + len <= size; ++i) {
                const int a = node(route, i - 1), b = node(route, i + len);
                const int first = route[ix(i)], last = route[ix(i + len - 1)];
                double segLoad = p_.demand[ix(first)], inside = 0.0;
                for (int k = i + 1; k < i + len; ++k) {
                    segLoad += p_.demand[ix(route[ix(k)])];
                    inside += p_.d(route[ix(k - 1)], route[ix(k)]);
                }
                const double gain = p_.d(a, first) + p_.d(last, b) - p_.d(a, b);
                if (gain <= eps)
                    continue;
                const bool restFits = fits(s.load[r] - segLoad, s.len[r] - gain - inside, size - len);
                for (std::size_t t = 0; t < s.routes.size(); ++t) {
                    const auto& target = s.routes[t];
                    const int tsize = static_cast<int>(target.size());
                    const bool same = t == r;
                    if (!same && (!restFits || !fitsLoad(s.load[t] + segLoad)))
                        continue;
                    // Edge k joins node k - 1 and node k of the target (the depot at both ends).
                    for (int k = 0; k <= tsize; ++k) {
                        if (same && k >= i && k <= i + len)
                            continue; // an edge of the string or beside it
                        const int prev = node(target, k - 1), next = node(target, k);
                        const double add = p_.d(prev, first) + p_.d(last, next) - p_.d(prev, next);
                        if (add - gain >= -eps)
                            continue;
                        const bool ok = same
                            ? fits(s.load[r], s.len[r] - gain + add, size)
                            : fits(s.load[t] + segLoad, s.len[t] + add + inside, tsize + len);
                        if (!ok)
                            continue;
                        std::vector<int> seg(route.begin() + i, route.begin() + i + len);
                        std::vector<int> moved = target;
                        if (same) {
                            // Insert first, then erase the string where it was (shifted when after).
                            moved.insert(moved.begin() + k, seg.begin(), seg.end());
                            const int from = k <= i ? i + len : i;
                            moved.erase(moved.begin() + from, moved.begin() + from + len);
                            s.routes[t] = std::move(moved);
                        } else {
                            moved.insert(moved.begin() + k, seg.begin(), seg.end());
                            s.routes[t] = std::move(moved);
                            s.routes[r].erase(s.routes[r].begin() + i, s.routes[r].begin() + i + len);
                        }
                        return true;
                    }
                }
            }
    }
    return false;
}

// Two places of different rounds change places.
bool RoundsContext::exchange(RoundsSolution& s) const
{
    const double eps = 1e-9 * std::max(1.0, s.total);
    for (std::size_t r1 = 0; r1 < s.routes.size(); ++r1)
        for (std::size_t r2 = r1 + 1; r2 < s.routes.size(); ++r2) {
            auto& a = s.routes[r1];
            auto& b = s.routes[r2];
            for (std::size_t i = 0; i < a.size(); ++i)
                for (std::size_t j = 0; j < b.size(); ++j) {
                    const int ap = i ? a[i - 1] : 0, an = i + 1 < a.size() ? a[i + 1] : 0;
                    const int bp = j ? b[j - 1] : 0, bn = j + 1 < b.size() ? b[j + 1] : 0;
                    const int x = a[i], y = b[j];
                    const double da = p_.d(ap, y) + p_.d(y, an) - p_.d(ap, x) - p_.d(x, an);
                    const double db = p_.d(bp, x) + p_.d(x, bn) - p_.d(bp, y) - p_.d(y, bn);
                    if (da + db >= -eps)
                        continue;
                    const double qx = p_.demand[ix(x)], qy = p_.demand[ix(y)];
                    if (!fits(s.load[r1] - qx + qy, s.len[r1] + da, static_cast<int>(a.size()))
                        || !fits(s.load[r2] - qy + qx, s.len[r2] + db, static_cast<int>(b.size())))
                        continue;
                    std::swap(a[i], b[j]);
                    return true;
                }
        }
    return false;
}

// A part of a round run backwards (only where distances are the same both ways).
bool RoundsContext::twoOpt(RoundsSolution& s) const
{
    if (!symmetric_)
        return false;
    const double eps = 1e-9 * std::max(1.0, s.total);
    for (auto& route : s.routes) {
        const int size = static_cast<int>(route.size());
        for (int i = 0; i < size; ++i)
            for (int j = i + 1; j < size; ++j) {
                const int a = i ? route[ix(i - 1)] : 0;
                const int b = j + 1 < size ? route[ix(j + 1)] : 0;
                const double change = p_.d(a, route[ix(j)]) + p_.d(route[ix(i)], b) - p_.d(a, route[ix(i)])
                    - p_.d(route[ix(j)], b);
                if (change < -eps) {
                    std::reverse(route.begin() + i, route.begin() + j + 1);
                    return true;
                }
            }
    }
    return false;
}

// Two rounds exchange their ends.
bool RoundsContext::twoOptStar(RoundsSolution& s) const
{
    const double eps = 1e-9 * std::max(1.0, s.total);
    const auto prefix = [&](const std::vector<int>& r, std::vector<double>& len, std::vector<double>& load) {
        len.assign(r.size() + 1, 0.0);
        load.assign(r.size() + 1, 0.0);
        int at = 0;
        for (std::size_t k = 0; k < r.size(); ++k) {
            len[k + 1] = len[k] + p_.d(at, r[k]);
            load[k + 1] = load[k] + p_.demand[ix(r[k])];
            at = r[k];
        }
    };
    std::vector<double> l1, q1, l2, q2;
    for (std::size_t r1 = 0; r1 < s.routes.size(); ++r1)
        for (std::size_t r2 = r1 + 1; r2 < s.routes.size(); ++r2) {
            auto& a = s.routes[r1];
            auto& b = s.routes[r2];
            prefix(a, l1, q1);
            prefix(b, l2, q2);
            const std::size_t sa = a.size(), sb = b.size();
            for (std::size_t i = 0; i <= sa; ++i)
                for (std::size_t j = 0; j <= sb; ++j) {
                    if ((i == 0 && j == 0) || (i == sa && j == sb))
                        continue;
                    const int a1 = i ? a[i - 1] : 0, b1 = i < sa ? a[i] : 0;
                    const int a2 = j ? b[j - 1] : 0, b2 = j < sb ? b[j] : 0;
                    // The tails keep their direction: their lengths are the old ones less the
                    // prefix and the cut edge.
                    const double tail1 = s.len[r1] - l1[i] - p_.d(a1, b1);
                    const double tail2 = s.len[r2] - l2[j] - p_.d(a2, b2);
                    const double n1 = l1[i] + p_.d(a1, b2) + tail2;
                    const double n2 = l2[j] + p_.d(a2, b1) + tail1;
                    if (n1 + n2 - s.len[r1] - s.len[r2] >= -eps)
                        continue;
                    const double load1 = q1[i] + (s.load[r2] - q2[j]);
                    const double load2 = q2[j] + (s.load[r1] - q1[i]);
                    if (!fits(load1, n1, static_cast<int>(i + sb - j))
                        || !fits(load2, n2, static_cast<int>(j + sa - i)))
                        continue;
                    std::vector<int> na(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(i));
                    na.insert(na.end(), b.begin() + static_cast<std::ptrdiff_t>(j), b.end());
                    std::vector<int> nb(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(j));
                    nb.insert(nb.end(), a.begin() + static_cast<std::ptrdiff_t>(i), a.end());
                    a = std::move(na);
                    b = std::move(nb);
                    return true;
                }
        }
    return false;
}

double RoundsContext::missScore(double load, double length, int k) const
{
    const auto excess = [](double value, double limit) {
        return limit == NoLimit || value <= limit ? 0.0 : (value - limit) / std::max(std::abs(limit), 1e-9);
    };
    const double lengthLimit = allowed(k);
    return excess(load, p_.capacity) + excess(length, lengthLimit);
}

void RoundsContext::completeAgainstLimits(RoundsSolution& s) const
{
    evaluate(s);
    std::vector<int> pool;
    pool.swap(s.absent);
    for (int c : pool) {
        RoundsInsertion best = bestInsertion(s, c, [] { return false; });
        if (best.route < 0) {
            double bestScore = 1e300;
            const double q = p_.demand[ix(c)];
            for (std::size_t r = 0; r < s.routes.size(); ++r) {
                const auto& route = s.routes[r];
                int prev = 0;
                for (std::size_t pos = 0; pos <= route.size(); ++pos) {
                    const int next = pos < route.size() ? route[pos] : 0;
                    const double delta = p_.d(prev, c) + p_.d(c, next) - p_.d(prev, next);
                    prev = next;
                    const int k = static_cast<int>(route.size()) + 1;
                    const double score = missScore(s.load[r] + q, s.len[r] + delta, k)
                        - missScore(s.load[r], s.len[r], k - 1);
                    if (score < bestScore || (score == bestScore && delta < best.delta)) {
                        bestScore = score;
                        best = { static_cast<int>(r), static_cast<int>(pos), delta };
                    }
                }
            }
            if (best.route < 0)
                best = { static_cast<int>(s.routes.size()), 0, p_.d(0, c) + p_.d(c, 0) };
        }
        insert(s, c, best);
    }
    evaluate(s);
}

} // namespace dorvan
