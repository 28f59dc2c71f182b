#pragma once

// The pieces the rounds search is built of: its random numbers, a solution (rounds and the
// places left out for a while), pricing and the limits, the best place to insert a place, the
// savings construction and the local search that polishes a solution.

#include "core/network/Rounds.h"

#include <cstdint>
#include <vector>

namespace dorvan {

// xoshiro256** seeded by splitmix64: the same seed, the same numbers on every machine.
class RoundsRandom {
public:
    explicit RoundsRandom(std::uint64_t seed);
    std::uint64_t next();
    // In (0, 1]: never 0, so that its logarithm is finite.
    double uniform() { return (static_cast<double>(next() >> 11) + 1.0) * 0x1.0p-53; }
    // In 0 .. k - 1 (k >= 1).
    int below(int k) { return static_cast<int>(next() % static_cast<std::uint64_t>(k)); }

private:
    std::uint64_t s_[4];
};

struct RoundsSolution {
    std::vector<std::vector<int>> routes; // no empty round
    std::vector<double> len, load; // of each round
    std::vector<int> absent; // places left out for now
    double total = 0.0; // of the lengths
    double cost = 0.0; // total with the price of the places left out
};

struct RoundsInsertion {
    int route = -1; // -1: nowhere; routes.size(): a new round
    int pos = 0;
    double delta = 0.0;
};

class RoundsContext {
public:
    explicit RoundsContext(const RoundsProblem& p);

    // Lengths, loads, total and cost from the rounds.
    void evaluate(RoundsSolution& s) const;
    void measure(RoundsSolution& s) const { evaluate(s); }
    // Every round within the capacity, the length and the time, and no more rounds than vehicles.
    bool routesKept(const RoundsSolution& s) const;
    bool fits(double load, double length, int k) const;

    // Where each place is (for routeOf): after any change of the rounds.
    void locate(const RoundsSolution& s);
    int routeOf(int c) const { return where_[static_cast<std::size_t>(c)]; }

    // The cheapest feasible place for c (a new round when the vehicles allow), skipping the
    // positions skip() says to skip.
    template <class Skip> RoundsInsertion bestInsertion(const RoundsSolution& s, int c, Skip&& skip) const
    {
        RoundsInsertion best;
        best.delta = 1e300;
        const double q = p_.demand[static_cast<std::size_t>(c)];
        for (std::size_t r = 0; r < s.routes.size(); ++r) {
            const auto& route = s.routes[r];
            const int k = static_cast<int>(route.size()) + 1;
            if (!fitsLoad(s.load[r] + q))
                continue;
            const double room = allowed(k) - s.len[r];
            int prev = 0;
            for (int pos = 0; pos <= k - 1; ++pos) {
                const int next = pos < k - 1 ? route[static_cast<std::size_t>(pos)] : 0;
                if (!skip()) {
                    const double delta = p_.d(prev, c) + p_.d(c, next) - p_.d(prev, next);
                    if (delta < best.delta && delta <= room + slack(room)) {
                        best = { static_cast<int>(r), pos, delta };
                    }
                }
                prev = next;
            }
        }
        if (p_.maxVehicles == 0 || static_cast<int>(s.routes.size()) < p_.maxVehicles) {
            const double alone = p_.d(0, c) + p_.d(c, 0);
            if (alone < best.delta)
                best = { static_cast<int>(s.routes.size()), 0, alone };
        }
        return best;
    }
    void insert(RoundsSolution& s, int c, const RoundsInsertion& at) const;

    // Clarke and Wright's parallel savings within the limits (the vehicle count apart).
    std::vector<std::vector<int>> savings() const;
    // The savings rounds; with more rounds than vehicles, the places of the smallest rounds are
    // left out and put back where they fit.
    RoundsSolution startingSolution() const;
    // Local search to a local optimum: or-opt (strings of 1 to 3, relocate among them), exchange,
    // 2-opt within a round (symmetric distances), 2-opt* between rounds.
    void polish(RoundsSolution& s) const;
    // Every place left out is put where it misses the limits least: the plan then names them.
    void completeAgainstLimits(RoundsSolution& s) const;
    // The places left out put back where they fit best; those that fit nowhere stay out.
    void reinsertAbsent(RoundsSolution& s) const;

private:
    double allowed(int k) const { return allowed_[static_cast<std::size_t>(k)]; }
    bool fitsLoad(double load) const { return load <= p_.capacity + slack(p_.capacity); }
    static double slack(double limit)
    {
        return 1e-9 * (limit < 1.0 && limit > -1.0 ? 1.0 : (limit < 0 ? -limit : limit));
    }
    double routeLength(const std::vector<int>& route) const;
    bool orOpt(RoundsSolution& s) const;
    bool exchange(RoundsSolution& s) const;
    bool twoOpt(RoundsSolution& s) const;
    bool twoOptStar(RoundsSolution& s) const;
    double missScore(double load, double length, int k) const;

    const RoundsProblem& p_;
    std::vector<double> allowed_; // by the number of places of a round
    double absentPrice_ = 0.0;
    double demandScale_ = 1.0;
    bool symmetric_ = true;
    std::vector<int> where_;
};

} // namespace dorvan
