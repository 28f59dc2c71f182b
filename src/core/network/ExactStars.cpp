// The exact star search through COIN-OR CBC. Two solves: the fewest stars (a capacitated
// covering of the places by stars), then the least total among networks with no more stars than
// the first found. The model:
//   y_c       place c is a centre (its own star's first place, cost D[c][c])
//   x_pc      place p joins centre c, only where D[c][p] <= reach (cost D[c][p])
//   y_p + sum_c x_pc = 1          every place once
//   x_pc <= y_c                   a member needs its centre (the strong form of the link)
//   sum_p x_pc <= (C - 1) y_c     the capacity, the centre counted (where it can bind)
//   sum_c y_c <= K                in the second solve
#include "core/network/ExactStars.h"

#include <CbcEventHandler.hpp>
#include <CbcModel.hpp>
#include <CbcSolver.hpp>
#include <CoinPackedMatrix.hpp>
#include <OsiClpSolverInterface.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <string>

namespace dorvan {

bool feasibleStars(const ExactStarProblem& pb, const std::vector<ExactStar>& stars)
{
    std::vector<char> seen(static_cast<std::size_t>(std::max(pb.n, 0)), 0);
    int placed = 0;
    for (const ExactStar& s : stars) {
        if (s.members.empty() || s.members.front() != s.centre
            || static_cast<int>(s.members.size()) > pb.capacity)
            return false;
        for (int m : s.members) {
            if (m < 0 || m >= pb.n || seen[static_cast<std::size_t>(m)])
                return false;
            seen[static_cast<std::size_t>(m)] = 1;
            ++placed;
            if (m != s.centre && !(pb.d(s.centre, m) <= pb.reach))
                return false;
        }
    }
    return placed == pb.n;
}

double starsTotal(const ExactStarProblem& pb, std::vector<ExactStar>& stars)
{
    double total = 0.0;
    for (ExactStar& s : stars) {
        s.sum = 0.0;
        for (int m : s.members)
            s.sum += pb.d(s.centre, m);
        total += s.sum;
    }
    return total;
}

namespace {

using Clock = std::chrono::steady_clock;

// Distances beyond this would leave the linear programs without sensible tolerances.
constexpr double LargestDistance = 1e12;

std::size_t idx(int k)
{
    return static_cast<std::size_t>(k);
}

// The columns: y_0 .. y_{n-1}, then the pairs (place, centre) within the reach.
struct Columns {
    std::vector<int> place, centre; // of x columns, from column n on
    std::vector<std::vector<int>> ofCentre; // column indices of the x columns of centre c
    std::vector<std::vector<int>> ofPlace; // column indices of the x columns of place p
};

Columns columnsOf(const ExactStarProblem& pb)
{
    Columns c;
    c.ofCentre.resize(idx(pb.n));
    c.ofPlace.resize(idx(pb.n));
    if (pb.capacity < 2)
        return c;
    for (int centre = 0; centre < pb.n; ++centre)
        for (int p = 0; p < pb.n; ++p)
            if (p != centre && pb.d(centre, p) <= pb.reach) {
                const int col = pb.n + static_cast<int>(c.place.size());
                c.place.push_back(p);
                c.centre.push_back(centre);
                c.ofCentre[idx(centre)].push_back(col);
                c.ofPlace[idx(p)].push_back(col);
            }
    return c;
}

// Reports progress and stops the solver when asked, from inside its search.
class Events : public CbcEventHandler {
public:
    Events(const ExactStarOptions& o, Clock::time_point started, int phase, const ExactStarProgress& base)
        : options_(&o)
        , started_(started)
        , phase_(phase)
        , base_(base)
    {
    }
    CbcEventHandler* clone() const override { return new Events(*this); }
    bool cancelled() const { return options_->cancel != nullptr && options_->cancel->load(); }

    CbcAction event(CbcEvent which) override
    {
        if (options_->cancel != nullptr && options_->cancel->load())
            return stop;
        const bool found = which == solution || which == heuristicSolution;
        const auto now = Clock::now();
        if (options_->progress && model_ != nullptr
            && (found || now - lastReport_ > std::chrono::milliseconds(200))) {
            lastReport_ = now;
            ExactStarProgress p = base_;
            p.phase = phase_;
            p.seconds = std::chrono::duration<double>(now - started_).count();
            const double best = model_->getObjValue();
            const double bound = model_->getBestPossibleObjValue();
            if (phase_ == 1) {
                if (model_->bestSolution() != nullptr && best < 1e20)
                    p.bestStars = static_cast<int>(std::lround(best));
                if (std::isfinite(bound) && bound > -1e20)
                    p.boundStars = std::max(p.boundStars, static_cast<int>(std::ceil(bound - 1e-6)));
            } else {
                if (model_->bestSolution() != nullptr && best < 1e20)
                    p.bestTotal = std::min(p.bestTotal, best);
                if (std::isfinite(bound) && bound > -1e20)
                    p.boundTotal = std::min(std::max(p.boundTotal, bound), p.bestTotal);
            }
            options_->progress(p);
        }
        return noAction;
    }

private:
    const ExactStarOptions* options_;
    Clock::time_point started_;
    int phase_;
    ExactStarProgress base_;
    Clock::time_point lastReport_ {};
};

struct SolveOutcome {
    std::vector<double> solution; // empty: none found
    double objective = 0.0;
    double bound = -std::numeric_limits<double>::infinity();
    bool proven = false;
    bool stopped = false;
};

// CBC's solver driver keeps state of its own between calls: one solve at a time.
std::mutex& solverLock()
{
    static std::mutex m;
    return m;
}

class Model {
public:
    Model(const ExactStarProblem& pb)
        : pb_(pb)
        , cols_(columnsOf(pb))
    {
    }

    int columnCount() const { return pb_.n + static_cast<int>(cols_.place.size()); }

    std::vector<double> columnsFor(const std::vector<ExactStar>& stars) const
    {
        std::vector<double> v(idx(columnCount()), 0.0);
        for (const ExactStar& s : stars) {
            v[idx(s.centre)] = 1.0;
            for (int m : s.members)
                if (m != s.centre)
                    for (int col : cols_.ofPlace[idx(m)])
                        if (cols_.centre[idx(col - pb_.n)] == s.centre)
                            v[idx(col)] = 1.0;
        }
        return v;
    }

    std::vector<ExactStar> starsFrom(const std::vector<double>& v) const
    {
        std::vector<ExactStar> stars;
        std::vector<int> starOf(idx(pb_.n), -1);
        for (int c = 0; c < pb_.n; ++c)
            if (v[idx(c)] > 0.5) {
                starOf[idx(c)] = static_cast<int>(stars.size());
                stars.push_back(ExactStar { c, { c }, 0.0 });
            }
        for (int k = 0; k < static_cast<int>(cols_.place.size()); ++k)
            if (v[idx(pb_.n + k)] > 0.5) {
                const int s = starOf[idx(cols_.centre[idx(k)])];
                if (s >= 0)
                    stars[idx(s)].members.push_back(cols_.place[idx(k)]);
            }
        starsTotal(pb_, stars);
        return stars;
    }

    // phase 1: minimise the stars; phase 2: the total with minStars to maxStars stars (no
    // network has fewer than minStars: the bound only strengthens the relaxation).
    SolveOutcome solve(int phase, int minStars, int maxStars, const std::vector<double>& start,
        double seconds, const Events& events) const
    {
        OsiClpSolverInterface solver;
        load(solver, phase, minStars, maxStars);
        solver.messageHandler()->setLogLevel(0);
        solver.getModelPtr()->messageHandler()->setLogLevel(0);
        CbcModel model(solver);
        model.messageHandler()->setLogLevel(0);
        model.passInEventHandler(&events);
        std::vector<std::string> names;
        std::vector<const char*> namePtrs;
        if (!start.empty()) {
            names.reserve(start.size());
            for (int c = 0; c < columnCount(); ++c)
                names.push_back(model.solver()->getColName(c));
            for (const std::string& s : names)
                namePtrs.push_back(s.c_str());
            model.setMIPStart(columnCount(), namePtrs.data(), start.data());
        }
        const std::string limit = std::to_string(std::max(seconds, 0.05));
        const char* argv[] = { "dorvan", "-log", "0", "-slog", "0", "-timeMode", "elapsed", "-sec",
            limit.c_str(), "-threads", "0", "-solve", "-quit" };
        std::lock_guard lock(solverLock());
        CbcSolverUsefulData data;
        data.noPrinting_ = true;
        data.useSignalHandler_ = false;
        CbcMain0(model, data);
        model.messageHandler()->setLogLevel(0);
        CbcMain1(
            static_cast<int>(std::size(argv)), argv, model, [](CbcModel*, int) { return 0; }, data);

        SolveOutcome out;
        if (model.bestSolution() != nullptr && model.getObjValue() < 1e20) {
            out.solution.assign(model.bestSolution(), model.bestSolution() + columnCount());
            out.objective = model.getObjValue();
        }
        out.bound = model.getBestPossibleObjValue();
        out.proven = model.isProvenOptimal() && !model.isSecondsLimitReached();
        out.stopped = events.cancelled();
        if (out.stopped)
            out.proven = false;
        return out;
    }

private:
    void load(OsiClpSolverInterface& solver, int phase, int minStars, int maxStars) const
    {
        const int n = pb_.n;
        const int cols = columnCount();
        std::vector<double> lower(idx(cols), 0.0), upper(idx(cols), 1.0), cost(idx(cols), 0.0);
        for (int c = 0; c < n; ++c)
            cost[idx(c)] = phase == 1 ? 1.0 : pb_.d(c, c);
        if (phase == 2)
            for (int k = 0; k < static_cast<int>(cols_.place.size()); ++k)
                cost[idx(n + k)] = pb_.d(cols_.centre[idx(k)], cols_.place[idx(k)]);

        CoinPackedMatrix rows(false, 0, 0);
        rows.setDimensions(0, cols);
        std::vector<double> rowLower, rowUpper;
        const double inf = solver.getInfinity();
        std::vector<int> index;
        std::vector<double> value;
        auto addRow = [&](double lo, double hi) {
            rows.appendRow(static_cast<int>(index.size()), index.data(), value.data());
            rowLower.push_back(lo);
            rowUpper.push_back(hi);
            index.clear();
            value.clear();
        };
        for (int p = 0; p < n; ++p) {
            index.push_back(p);
            value.push_back(1.0);
            for (int col : cols_.ofPlace[idx(p)]) {
                index.push_back(col);
                value.push_back(1.0);
            }
            addRow(1.0, 1.0);
        }
        for (int k = 0; k < static_cast<int>(cols_.place.size()); ++k) {
            index = { n + k, cols_.centre[idx(k)] };
            value = { 1.0, -1.0 };
            addRow(-inf, 0.0);
        }
        for (int c = 0; c < n; ++c) {
            const auto& members = cols_.ofCentre[idx(c)];
            if (static_cast<int>(members.size()) <= pb_.capacity - 1)
                continue; // the links alone keep it
            for (int col : members) {
                index.push_back(col);
                value.push_back(1.0);
            }
            index.push_back(c);
            value.push_back(-(pb_.capacity - 1.0));
            addRow(-inf, 0.0);
        }
        if (phase == 2) {
            for (int c = 0; c < n; ++c) {
                index.push_back(c);
                value.push_back(1.0);
            }
            addRow(minStars, maxStars);
        }
        solver.loadProblem(rows, lower.data(), upper.data(), cost.data(), rowLower.data(), rowUpper.data());
        for (int c = 0; c < cols; ++c)
            solver.setInteger(c);
        for (int c = 0; c < n; ++c)
            solver.setColName(c, "y" + std::to_string(c));
        for (int k = 0; k < static_cast<int>(cols_.place.size()); ++k)
            solver.setColName(n + k,
                "x" + std::to_string(cols_.place[idx(k)]) + "_" + std::to_string(cols_.centre[idx(k)]));
    }

    const ExactStarProblem& pb_;
    Columns cols_;
};

void checkDistances(const ExactStarProblem& pb)
{
    if (pb.n < 0 || pb.D.size() != idx(pb.n) * idx(pb.n) || pb.capacity < 1)
        throw std::logic_error("solveExactStars: a malformed problem");
    for (double d : pb.D)
        if (!std::isfinite(d) || std::abs(d) > LargestDistance)
            throw std::runtime_error("Vzdialenosti medzi miestami obsahujú neplatnú hodnotu: optimálnu sieť "
                                     "nemožno vypočítať !!!");
}

std::vector<ExactStar> singletons(const ExactStarProblem& pb)
{
    std::vector<ExactStar> stars;
    for (int c = 0; c < pb.n; ++c)
        stars.push_back(ExactStar { c, { c }, 0.0 });
    starsTotal(pb, stars);
    return stars;
}

// Every place is a centre or a member, each at its cheapest: no network costs less.
double plainLowerBound(const ExactStarProblem& pb)
{
    double sum = 0.0;
    for (int p = 0; p < pb.n; ++p) {
        double least = pb.d(p, p);
        if (pb.capacity >= 2)
            for (int c = 0; c < pb.n; ++c)
                if (c != p && pb.d(c, p) <= pb.reach)
                    least = std::min(least, pb.d(c, p));
        sum += least;
    }
    return sum;
}

bool better(const std::vector<ExactStar>& a, double totalA, const std::vector<ExactStar>& b, double totalB)
{
    return a.size() < b.size() || (a.size() == b.size() && totalA < totalB);
}

bool usable(double bound)
{
    return std::isfinite(bound) && std::abs(bound) < 1e20;
}

// The share of the time the fewest stars may take when they are not proven sooner: the rest
// goes to the total.
constexpr double StarPhaseShare = 0.6;

} // namespace

ExactStarResult solveExactStars(
    const ExactStarProblem& pb, const std::vector<ExactStar>& start, const ExactStarOptions& options)
{
    checkDistances(pb);
    const auto started = Clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - started).count(); };
    ExactStarResult r;
    if (pb.n == 0) {
        r.starsProven = r.proven = true;
        return r;
    }
    const Model model(pb);
    std::vector<ExactStar> best = feasibleStars(pb, start) ? start : singletons(pb);
    double bestTotal = starsTotal(pb, best);
    int lowerStars = (pb.n + pb.capacity - 1) / pb.capacity;
    double lowerTotal = plainLowerBound(pb);
    const auto take = [&](const SolveOutcome& o) {
        if (o.solution.empty())
            return;
        std::vector<ExactStar> found = model.starsFrom(o.solution);
        const double total = starsTotal(pb, found);
        if (feasibleStars(pb, found) && better(found, total, best, bestTotal)) {
            best = std::move(found);
            bestTotal = total;
        }
    };
    const auto progress = [&] {
        ExactStarProgress p;
        p.bestStars = static_cast<int>(best.size());
        p.bestTotal = bestTotal;
        p.boundStars = lowerStars;
        p.boundTotal = lowerTotal;
        return p;
    };

    // The fewest stars.
    {
        const Events events(options, started, 1, progress());
        const SolveOutcome o = model.solve(
            1, 0, 0, model.columnsFor(best), options.timeLimit * StarPhaseShare - elapsed(), events);
        take(o);
        r.stopped = o.stopped;
        if (usable(o.bound))
            lowerStars = std::max(lowerStars, static_cast<int>(std::ceil(o.bound - 1e-6)));
        if (o.proven || lowerStars >= static_cast<int>(best.size())) {
            r.starsProven = true;
            lowerStars = static_cast<int>(best.size());
        }
    }
    // The least total with no more stars than the best network has.
    bool totalProven = false;
    if (!r.stopped && options.timeLimit - elapsed() > 0.0) {
        const Events events(options, started, 2, progress());
        const int stars = static_cast<int>(best.size());
        const SolveOutcome o = model.solve(
            2, lowerStars, stars, model.columnsFor(best), options.timeLimit - elapsed(), events);
        take(o);
        r.stopped = o.stopped;
        if (usable(o.bound))
            lowerTotal = std::max(lowerTotal, o.bound);
        totalProven = o.proven;
    }
    r.proven = r.starsProven && totalProven;
    r.stars = std::move(best);
    r.starCount = static_cast<int>(r.stars.size());
    r.total = bestTotal;
    r.lowerBoundStars = std::min(lowerStars, r.starCount);
    r.lowerBoundTotal = r.proven ? r.total : std::min(lowerTotal, r.total);
    r.timedOut = !r.proven && !r.stopped;
    r.seconds = elapsed();
    return r;
}

} // namespace dorvan
