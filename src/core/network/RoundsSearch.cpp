#include "core/network/RoundsSearch.h"

#include "core/network/RoundsLocal.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <thread>

namespace dorvan {

namespace {

using Clock = std::chrono::steady_clock;

// Ruin and recreate: about this many places taken out a step, strings of at most this many.
constexpr double MeanRemoved = 10.0;
constexpr double MaxString = 10.0;
// A place inside a split string is kept with this chance at each further step.
constexpr double SplitKeep = 0.5;
constexpr double SplitRate = 0.5;
constexpr double BlinkRate = 0.01;

class Annealing {
public:
    Annealing(const RoundsProblem& p, const RoundsOptions& o, std::uint64_t seed, long iterations,
        Clock::time_point deadline, bool reports)
        : p_(p)
        , o_(o)
        , rng_(seed)
        , iterations_(iterations)
        , deadline_(deadline)
        , reports_(reports)
        , ctx_(p)
    {
        neighbours_.resize(static_cast<std::size_t>(p.n + 1));
        for (int c = 1; c <= p.n; ++c) {
            auto& list = neighbours_[static_cast<std::size_t>(c)];
            for (int o2 = 1; o2 <= p.n; ++o2)
                if (o2 != c)
                    list.push_back(o2);
            std::sort(list.begin(), list.end(), [&](int a, int b) { return p.d(c, a) < p.d(c, b); });
        }
    }

    RoundsSolution run(RoundsSolution start)
    {
        ctx_.evaluate(start);
        RoundsSolution current = start;
        best_ = start;
        polishBest(current);
        const double perPlace = std::max(best_.total / std::max(p_.n, 1), 1e-9);
        const double t0 = 0.35 * perPlace;
        const double tf = t0 / 100.0;
        RoundsSolution cand;
        long it = 0;
        for (; it < iterations_; ++it) {
            if ((it & 255) == 0 && stopNow(it))
                break;
            const double temperature
                = t0 * std::pow(tf / t0, static_cast<double>(it) / static_cast<double>(iterations_));
            cand = current;
            ruin(cand);
            recreate(cand);
            ctx_.evaluate(cand);
            if (!ctx_.routesKept(cand))
                continue; // distances without the triangle inequality can lengthen a ruined round
            if (cand.cost < current.cost - temperature * std::log(rng_.uniform())) {
                std::swap(current, cand);
                if (current.cost < best_.cost - 1e-9 * std::max(1.0, best_.cost))
                    polishBest(current);
            }
        }
        done_ = it;
        return best_;
    }

    long done() const { return done_; }
    bool cut() const { return cut_; }

private:
    bool stopNow(long it)
    {
        if (o_.cancel && o_.cancel->load()) {
            cut_ = true;
            return true;
        }
        if (Clock::now() >= deadline_)
            return true;
        if (reports_ && o_.progress && (it & 4095) == 0)
            o_.progress(static_cast<double>(it) / static_cast<double>(iterations_));
        return false;
    }

    void polishBest(RoundsSolution& s)
    {
        ctx_.polish(s);
        if (s.cost < best_.cost || best_.routes.empty())
            best_ = s;
    }

    void ruin(RoundsSolution& s)
    {
        const int served = p_.n - static_cast<int>(s.absent.size());
        if (served <= 0 || s.routes.empty())
            return;
        const double meanSize = static_cast<double>(served) / static_cast<double>(s.routes.size());
        const double lsMax = std::min(MaxString, meanSize);
        const double ksMax = 4.0 * MeanRemoved / (1.0 + lsMax) - 1.0;
        const int ks = static_cast<int>(std::floor(rng_.uniform() * ksMax)) + 1;
        const int seed = 1 + rng_.below(p_.n);
        ctx_.locate(s);
        std::vector<char>& ruined = ruined_;
        ruined.assign(s.routes.size(), 0);
        int count = 0;
        const auto visit = [&](int c) {
            const int r = ctx_.routeOf(c);
            if (r < 0 || ruined[static_cast<std::size_t>(r)])
                return;
            auto& route = s.routes[static_cast<std::size_t>(r)];
            const int size = static_cast<int>(route.size());
            const int lMax = std::max(1, std::min(size, static_cast<int>(lsMax)));
            const int l = 1 + rng_.below(lMax);
            const int pos = static_cast<int>(std::find(route.begin(), route.end(), c) - route.begin());
            if (l < size && rng_.uniform() < SplitRate)
                removeSplit(s, route, pos, l);
            else
                removeString(s, route, pos, l);
            ruined[static_cast<std::size_t>(r)] = 1;
            ++count;
        };
        visit(seed);
        for (int c : neighbours_[static_cast<std::size_t>(seed)]) {
            if (count >= ks)
                break;
            visit(c);
        }
        std::erase_if(s.routes, [](const std::vector<int>& r) { return r.empty(); });
    }

    void removeString(RoundsSolution& s, std::vector<int>& route, int pos, int l)
    {
        const int size = static_cast<int>(route.size());
        const int lo = std::max(0, pos - l + 1);
        const int hi = std::min(pos, size - l);
        const int start = lo + rng_.below(hi - lo + 1);
        s.absent.insert(s.absent.end(), route.begin() + start, route.begin() + start + l);
        route.erase(route.begin() + start, route.begin() + start + l);
    }

    // l places out of a string of l + m around pos, a block of m kept in the middle.
    void removeSplit(RoundsSolution& s, std::vector<int>& route, int pos, int l)
    {
        const int size = static_cast<int>(route.size());
        int m = 1;
        while (l + m < size && rng_.uniform() < SplitKeep)
            ++m;
        const int span = l + m;
        const int lo = std::max(0, pos - span + 1);
        const int hi = std::min(pos, size - span);
        const int start = lo + rng_.below(hi - lo + 1);
        const int keepAt = start + rng_.below(l + 1);
        std::vector<int> kept;
        for (int k = 0; k < size; ++k) {
            const bool out = k >= start && k < start + span && !(k >= keepAt && k < keepAt + m);
            (out ? s.absent : kept).push_back(route[static_cast<std::size_t>(k)]);
        }
        route = std::move(kept);
    }

    void sortPool(std::vector<int>& pool)
    {
        const int pick = rng_.below(11);
        if (pick < 4) {
            for (std::size_t k = pool.size(); k > 1; --k)
                std::swap(pool[k - 1], pool[static_cast<std::size_t>(rng_.below(static_cast<int>(k)))]);
        } else if (pick < 8) {
            std::sort(
                pool.begin(), pool.end(), [&](int a, int b) { return p_.demand[at(a)] > p_.demand[at(b)]; });
        } else if (pick < 10) {
            std::sort(pool.begin(), pool.end(), [&](int a, int b) { return p_.d(0, a) > p_.d(0, b); });
        } else {
            std::sort(pool.begin(), pool.end(), [&](int a, int b) { return p_.d(0, a) < p_.d(0, b); });
        }
    }

    static std::size_t at(int k) { return static_cast<std::size_t>(k); }

    void recreate(RoundsSolution& s)
    {
        std::vector<int> pool;
        pool.swap(s.absent);
        sortPool(pool);
        ctx_.measure(s);
        for (int c : pool) {
            const RoundsInsertion best
                = ctx_.bestInsertion(s, c, [this] { return rng_.uniform() < BlinkRate; });
            if (best.route < 0)
                s.absent.push_back(c);
            else
                ctx_.insert(s, c, best);
        }
    }

    const RoundsProblem& p_;
    const RoundsOptions& o_;
    RoundsRandom rng_;
    long iterations_;
    Clock::time_point deadline_;
    bool reports_;
    RoundsContext ctx_;
    std::vector<std::vector<int>> neighbours_;
    std::vector<char> ruined_;
    RoundsSolution best_;
    long done_ = 0;
    bool cut_ = false;
};

} // namespace

long defaultRoundsIterations(int n)
{
    return 20000L + 12000L * std::max(n, 1);
}

std::vector<std::vector<int>> savingsRounds(const RoundsProblem& p)
{
    RoundsContext ctx(p);
    return ctx.savings();
}

RoundsPlan searchRounds(const RoundsProblem& p, const RoundsOptions& o, std::string_view separator)
{
    const long iterations = o.iterations > 0 ? o.iterations : defaultRoundsIterations(p.n);
    const auto deadline = Clock::now()
        + std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(std::max(o.timeLimit, 0.0)));
    RoundsContext ctx(p);
    const RoundsSolution start = ctx.startingSolution();
    const int threads = std::clamp(o.threads, 1, 2);
    std::vector<RoundsSolution> found(static_cast<std::size_t>(threads));
    std::vector<long> done(found.size());
    bool cut = false;
    const auto work = [&](int k) {
        Annealing a(p, o, o.seed * 2654435761ULL + static_cast<std::uint64_t>(k) * 97ULL + 1ULL, iterations,
            deadline, k == 0);
        found[static_cast<std::size_t>(k)] = a.run(start);
        done[static_cast<std::size_t>(k)] = a.done();
        if (k == 0)
            cut = a.cut();
    };
    if (threads == 2) {
        std::thread second(work, 1);
        work(0);
        second.join();
    } else {
        work(0);
    }
    std::size_t pick = 0;
    for (std::size_t k = 1; k < found.size(); ++k)
        if (found[k].cost < found[pick].cost)
            pick = k;
    RoundsSolution best = found[pick];
    ctx.completeAgainstLimits(best);
    RoundsPlan plan = makePlan(p, best.routes, separator);
    plan.cancelled = cut;
    plan.iterations = std::accumulate(done.begin(), done.end(), 0L);
    return plan;
}

} // namespace dorvan
