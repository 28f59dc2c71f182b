#include "core/allocation/PMedian.h"

#include "core/allocation/PMedianSearch.h"
#include "core/allocation/SizedAssignment.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <initializer_list>
#include <limits>
#include <memory>
#include <mutex>
#include <numeric>
#include <stdexcept>
#include <thread>

namespace dorvan::pmedian {

namespace {

// The largest coordinate or weight a problem may have.
constexpr double LargestInput = 1e100;
// Within this share of the largest coordinate a point lies on a place.
constexpr double CoincidenceShare = 1e-12;
// Weber steps shorter than these shares of the extent of the places end the iterations.
constexpr double SearchTolerance = 1e-9;
constexpr double FinalTolerance = 1e-13;
constexpr int FinalWeberSteps = 20000;
constexpr double FinalStall = 1e-14;
// Above this many places an alternation round is cheaper (fewer Weiszfeld steps per round) and
// the alternation ends once a round gains less than a share of the total; the answer is then
// polished in the time kept for it.
constexpr std::size_t LargeList = 20000;
constexpr int LargeListWeberSteps = 5;
constexpr double LargeListStall = 1e-7;
// Large lists start from a search on this many of their places, for at most this share of the time.
constexpr int SampleSize = 20000;
constexpr double SampleShare = 0.25;
// ... when the sample gives every centre this many places at least (with many centres a sample
// start was worse than the spread start on all places).
constexpr int SampleGroup = 1000;
constexpr double PolishShare = 0.1, PolishSeconds = 5.0, PolishAtLeast = 0.25;
// Perturbations without a better end, per free centre, after which a search has converged.
constexpr int FailsPerCentre = 4;
constexpr int MinFails = 10;
// Above this many places an interchange pass tries a sample of places as new sites.
constexpr int AllCandidatesUpTo = 1000;
constexpr int SampledCandidates = 200;

// The message with each {} replaced by the next number.
std::string say(const char* text, std::initializer_list<long long> numbers)
{
    std::string out;
    auto next = numbers.begin();
    for (const char* c = text; *c; ++c) {
        if (c[0] == '{' && c[1] == '}' && next != numbers.end()) {
            out += std::to_string(*next++);
            ++c;
        } else {
            out += *c;
        }
    }
    return out;
}

std::uint64_t mix(std::uint64_t z)
{
    z += 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::optional<std::string> placeProblem(const Problem& p)
{
    if (p.x.size() != p.y.size() || p.x.size() != p.weight.size())
        return std::string("Súradnice a váhy miest nemajú rovnaký počet.");
    if (p.x.empty())
        return std::string("Zoznam neobsahuje žiadne miesto.");
    if (p.x.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2))
        return std::string("Zoznam má priveľa miest.");
    for (std::size_t i = 0; i < p.x.size(); ++i) {
        // Beyond 1e100 the sums of weight x distance would overflow.
        if (!(std::fabs(p.x[i]) <= LargestInput) || !(std::fabs(p.y[i]) <= LargestInput))
            return say("Miesto č. {} nemá platné súradnice.", { static_cast<long long>(i + 1) });
        if (!(p.weight[i] <= LargestInput) || !(p.weight[i] >= 0))
            return say("Miesto č. {} má zápornú alebo neplatnú váhu.", { static_cast<long long>(i + 1) });
    }
    return std::nullopt;
}

std::optional<std::string> centreProblem(const Problem& p)
{
    const auto n = static_cast<long long>(p.x.size());
    const long long centres = p.centres;
    if (centres < 1)
        return std::string("Počet centier musí byť aspoň 1.");
    if (centres > n)
        return say("Počet centier (P = {}) je väčší ako počet miest (n = {}).", { centres, n });
    std::vector<std::uint8_t> seen(p.x.size(), 0);
    for (const int f : p.fixed) {
        if (f < 0 || f >= n)
            return say("Existujúce centrum odkazuje na miesto č. {}, ktoré v zozname nie je.", { f + 1 });
        if (seen[at(f)]++)
            return say("Miesto č. {} je existujúcim centrom dvakrát.", { f + 1 });
    }
    if (static_cast<long long>(p.fixed.size()) > centres)
        return say("Existujúcich centier je {}, viac ako centier spolu (P = {}).",
            { static_cast<long long>(p.fixed.size()), centres });
    if (p.minPlaces < 0 || p.maxPlaces < 0)
        return std::string("Počet miest v skupine nemôže byť záporný.");
    if (p.maxPlaces > 0 && p.minPlaces > p.maxPlaces)
        return say(
            "Najmenší počet miest v skupine ({}) je väčší ako najväčší ({}).", { p.minPlaces, p.maxPlaces });
    if (p.minPlaces > 0 && centres * p.minPlaces > n)
        return say("{} centier po najmenej {} miestach potrebuje aspoň {} miest, zoznam ich má {}.",
            { centres, p.minPlaces, centres * p.minPlaces, n });
    if (p.maxPlaces > 0 && centres * p.maxPlaces < n)
        return say("{} centier po najviac {} miestach obslúži najviac {} miest, zoznam ich má {}.",
            { centres, p.maxPlaces, centres * p.maxPlaces, n });
    return std::nullopt;
}

// Large lists are searched in the order of a Z curve over the plane, so that the places of a
// group lie close together in memory; `original` maps the search's order back.
struct PlaceOrder {
    std::vector<double> x, y, w;
    std::vector<std::int32_t> original;
    std::vector<int> fixed;
};

PlaceOrder placeOrder(const Problem& problem)
{
    PlaceOrder o;
    const auto n = problem.x.size();
    o.original.resize(n);
    std::iota(o.original.begin(), o.original.end(), 0);
    o.fixed = problem.fixed;
    if (n <= LargeList)
        return o;
    const auto [loX, hiX] = std::minmax_element(problem.x.begin(), problem.x.end());
    const auto [loY, hiY] = std::minmax_element(problem.y.begin(), problem.y.end());
    const double sx = *hiX > *loX ? 65535.0 / (*hiX - *loX) : 0.0,
                 sy = *hiY > *loY ? 65535.0 / (*hiY - *loY) : 0.0;
    std::vector<std::uint32_t> code(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto qx = static_cast<std::uint32_t>((problem.x[i] - *loX) * sx);
        const auto qy = static_cast<std::uint32_t>((problem.y[i] - *loY) * sy);
        std::uint32_t z = 0;
        for (int b = 0; b < 16; ++b)
            z |= ((qx >> b & 1u) << (2 * b)) | ((qy >> b & 1u) << (2 * b + 1));
        code[i] = z;
    }
    std::stable_sort(o.original.begin(), o.original.end(),
        [&](std::int32_t a, std::int32_t b) { return code[at(a)] < code[at(b)]; });
    std::vector<std::int32_t> position(n);
    o.x.resize(n);
    o.y.resize(n);
    o.w.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const auto i = at(o.original[k]);
        position[i] = static_cast<std::int32_t>(k);
        o.x[k] = problem.x[i];
        o.y[k] = problem.y[i];
        o.w[k] = problem.weight[i];
    }
    for (int& f : o.fixed)
        f = position[at(f)];
    return o;
}

SearchSetup setupOf(const Problem& original, const PlaceOrder& order, const Options& options)
{
    Problem problem = original;
    if (!order.x.empty()) {
        problem.x = order.x;
        problem.y = order.y;
        problem.weight = order.w;
        problem.fixed = order.fixed;
    }
    SearchSetup s;
    const auto n = static_cast<std::int32_t>(problem.x.size());
    double scale = 0, loX = problem.x[0], hiX = loX, loY = problem.y[0], hiY = loY;
    for (std::int32_t i = 0; i < n; ++i) {
        scale = std::max({ scale, std::fabs(problem.x[at(i)]), std::fabs(problem.y[at(i)]) });
        loX = std::min(loX, problem.x[at(i)]);
        hiX = std::max(hiX, problem.x[at(i)]);
        loY = std::min(loY, problem.y[at(i)]);
        hiY = std::max(hiY, problem.y[at(i)]);
    }
    const double extent = std::max({ hiX - loX, hiY - loY, scale * 1e-6, 1e-300 });
    s.places = { problem.x.data(), problem.y.data(), problem.weight.data(), n, CoincidenceShare * scale };
    s.centres = problem.centres;
    s.fixed.assign(problem.fixed.begin(), problem.fixed.end());
    s.tolerance = SearchTolerance * extent;
    s.finalTolerance = FinalTolerance * extent;
    s.candidates = n <= AllCandidatesUpTo ? 0 : SampledCandidates;
    buildPlaceGrid(s);
    const int free = problem.centres - static_cast<int>(problem.fixed.size());
    const double effort = std::isfinite(options.effort) ? std::clamp(options.effort, 0.01, 100.0) : 1.0;
    s.failLimit = std::max(MinFails, static_cast<int>(std::lround(FailsPerCentre * free * effort)));
    s.rounds = 1;
    if (problem.minPlaces > 0 || problem.maxPlaces > 0) {
        // Every allocation is the exact least-cost assignment within the group sizes, each
        // fixed centre keeping its own place.
        std::vector<int> pinned(at(problem.centres), -1);
        for (std::size_t f = 0; f < problem.fixed.size(); ++f)
            pinned[f] = problem.fixed[f];
        const SizeLimits limits { problem.minPlaces, problem.maxPlaces };
        s.sized = [x = problem.x, y = problem.y, w = problem.weight, pinned, limits, cancel = options.cancel](
                      std::span<const double> cx, std::span<const double> cy, std::vector<std::int32_t>& of) {
            const bool complete = std::all_of(of.begin(), of.end(), [](std::int32_t c) { return c >= 0; });
            auto assigned = assignWithinSizes(x, y, w, cx, cy, pinned, limits,
                complete ? std::span<const std::int32_t>(of) : std::span<const std::int32_t>(), cancel);
            if (!assigned)
                return false;
            of = std::move(*assigned);
            return true;
        };
        s.decompose = false; // a part of the groups has no limits of its own
    }
    if (static_cast<std::size_t>(n) > LargeList) {
        s.weberSteps = LargeListWeberSteps;
        s.stall = LargeListStall;
    }
    return s;
}

// The answer from the best layout: fixed centres first in their order, then the free ones by
// their first place (those without places last).
Solution solutionOf(const SearchSetup& setup, const Layout& layout, std::span<const std::int32_t> original)
{
    const PlaceArrays& p = setup.places;
    const auto centres = at(setup.centres);
    const auto fixedCount = setup.fixed.size();
    std::vector<std::int32_t> first(centres, p.n);
    std::vector<int> members(centres, 0);
    for (std::int32_t i = 0; i < p.n; ++i) {
        const auto c = at(layout.of[at(i)]);
        first[c] = std::min(first[c], original[at(i)]);
        ++members[c];
    }
    std::vector<std::int32_t> order(centres);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(fixedCount), order.end(),
        [&](std::int32_t a, std::int32_t b) { return first[at(a)] < first[at(b)]; });
    std::vector<std::int32_t> rank(centres);
    for (std::size_t r = 0; r < centres; ++r)
        rank[at(order[r])] = static_cast<std::int32_t>(r);
    Solution s;
    s.centreOf.resize(at(p.n));
    std::vector<long double> cost(centres, 0.0L);
    for (std::int32_t i = 0; i < p.n; ++i) {
        const auto c = at(layout.of[at(i)]);
        s.centreOf[at(original[at(i)])] = rank[c];
        const double dx = p.x[at(i)] - layout.cx[c], dy = p.y[at(i)] - layout.cy[c];
        cost[c] += static_cast<long double>(p.w[at(i)]) * std::sqrt(dx * dx + dy * dy);
    }
    long double total = 0;
    for (std::size_t r = 0; r < centres; ++r) {
        const auto c = at(order[r]);
        Centre centre;
        centre.x = layout.cx[c];
        centre.y = layout.cy[c];
        centre.objective = static_cast<double>(cost[c]);
        centre.members = members[c];
        const std::int32_t on = c < fixedCount ? setup.fixed[c] : layout.onPlace[c];
        centre.fixedPlace = c < fixedCount ? original[at(on)] : -1;
        centre.onPlace = on >= 0 ? original[at(on)] : -1;
        total += cost[c];
        s.centres.push_back(centre);
    }
    s.total = static_cast<double>(total);
    return s;
}

} // namespace

std::optional<std::string> problemWith(const Problem& problem)
{
    if (auto m = placeProblem(problem))
        return m;
    return centreProblem(problem);
}

Solution solve(const Problem& problem, const Options& options)
{
    if (const auto m = problemWith(problem))
        throw std::invalid_argument(*m);
    const auto started = std::chrono::steady_clock::now();
    const double limit = std::max(0.0, options.timeLimitSeconds);
    // Large lists keep a share of the time for polishing the answer's centres.
    const double reserve = problem.x.size() > LargeList ? std::min(PolishShare * limit, PolishSeconds) : 0.0;
    const auto seconds = [](double s) {
        return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(std::min(s, 1e7)));
    };
    Stop stop { started + seconds(limit - reserve), options.cancel };
    const PlaceOrder order = placeOrder(problem);
    const SearchSetup setup = setupOf(problem, order, options);
    const int threads = options.threads > 0
        ? options.threads
        : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

    std::vector<Stop> stops(at(threads), stop);
    std::vector<std::unique_ptr<Search>> searches;
    for (int t = 0; t < threads; ++t)
        searches.push_back(
            std::make_unique<Search>(setup, mix(options.seed * 0x100000001B3ULL + at(t)), stops[at(t)]));
    std::atomic<double> best { std::numeric_limits<double>::infinity() };
    std::atomic<int> localSearches { 0 };
    std::atomic<int> running { threads };
    std::mutex mutex;
    std::condition_variable done;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            if (setup.places.n > static_cast<std::int32_t>(LargeList)
                && SampleSize / setup.centres >= SampleGroup) {
                // Large lists start from the centres found on a sample, in a share of the time.
                Stop sampleStop { std::min(stop.deadline, started + seconds(SampleShare * (limit - reserve))),
                    options.cancel };
                const Layout start = sampledStart(
                    setup, SampleSize, mix(options.seed * 0x9E3779B1ULL + at(t)), sampleStop, &localSearches);
                searches[at(t)]->run(&best, &localSearches, &start);
            } else {
                searches[at(t)]->run(&best, &localSearches);
            }
            std::lock_guard lock(mutex);
            --running;
            done.notify_all();
        });
    {
        std::unique_lock lock(mutex);
        while (running > 0) {
            done.wait_for(lock, std::chrono::milliseconds(200));
            if (options.progress && running > 0) {
                const double elapsed
                    = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
                const double total = best.load();
                lock.unlock();
                options.progress({ elapsed, limit > 0 ? std::min(0.99, elapsed / limit) : 0.99,
                    std::isfinite(total) ? total : 0.0 });
                lock.lock();
            }
        }
    }
    for (std::thread& w : workers)
        w.join();

    int winner = 0;
    for (int t = 1; t < threads; ++t)
        if (searches[at(t)]->best().total < searches[at(winner)]->best().total)
            winner = t;
    Layout layout = searches[at(winner)]->best();
    const bool cancelled
        = std::any_of(stops.begin(), stops.end(), [](const Stop& st) { return st.cancelled; });
    // The answer's centres to the full precision, whatever cut the search (a cancelled search
    // only gets the least time for it).
    const auto now = std::chrono::steady_clock::now();
    Stop polish { cancelled ? now + seconds(PolishAtLeast)
                            : std::max(started + seconds(limit), now + seconds(PolishAtLeast)) };
    Search finisher(setup, 0, polish);
    finisher.alternate(layout, setup.finalTolerance, FinalWeberSteps, FinalStall);
    Solution s = solutionOf(setup, layout, order.original);
    s.cancelled = cancelled;
    s.timedOut = std::any_of(stops.begin(), stops.end(), [](const Stop& st) { return st.timedOut; });
    s.starts = localSearches.load();
    if (options.progress) {
        const double elapsed
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        options.progress({ elapsed, 1.0, s.total });
    }
    return s;
}

} // namespace dorvan::pmedian
