// The exact assignment within group sizes at scale: n places (uniform in a square, weights 1 to
// 50), P centres, at most ceil(n / P) + slack places a centre. Three runs per size:
//  - cold, centres on random places (Voronoi cells of very unequal sizes: much to repair);
//  - cold, centres after a few rounds of Lloyd's averaging (cells of nearly equal size, as in
//    the alternation of a p-median search);
//  - warm, the same centres each moved by 0.1 % of the square, started from the last result
//    (and cold for comparison), then four more small moves, each started from the last result.
// Usage: sized_assignment_bench [n P slack]...  (default: 100000 100 5 and 1000000 10 5)
#include "core/allocation/SizedAssignment.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using dorvan::pmedian::assignWithinSizes;
using dorvan::pmedian::lastSizedAssignmentStats;
using dorvan::pmedian::SizeLimits;

struct Places {
    std::vector<double> x, y, w;
};

Places randomPlaces(int n, std::mt19937_64& gen)
{
    std::uniform_real_distribution<double> coord(0.0, 1000.0);
    std::uniform_int_distribution<int> weight(1, 50);
    Places s;
    for (int i = 0; i < n; ++i) {
        s.x.push_back(coord(gen));
        s.y.push_back(coord(gen));
        s.w.push_back(weight(gen));
    }
    return s;
}

double totalOf(const Places& s, const std::vector<double>& cx, const std::vector<double>& cy,
    const std::vector<std::int32_t>& of)
{
    long double t = 0;
    for (std::size_t i = 0; i < of.size(); ++i)
        t += s.w[i] * std::hypot(s.x[i] - cx[of[i]], s.y[i] - cy[of[i]]);
    return static_cast<double>(t);
}

// Centres moved to the plain averages of their nearest places, a few times.
void lloyd(const Places& s, std::vector<double>& cx, std::vector<double>& cy, int rounds)
{
    const std::size_t p = cx.size();
    for (int r = 0; r < rounds; ++r) {
        std::vector<double> sx(p, 0), sy(p, 0), k(p, 0);
        for (std::size_t i = 0; i < s.x.size(); ++i) {
            std::size_t best = 0;
            double bd = 1e300;
            for (std::size_t c = 0; c < p; ++c) {
                const double d = std::hypot(s.x[i] - cx[c], s.y[i] - cy[c]);
                if (d < bd) {
                    bd = d;
                    best = c;
                }
            }
            sx[best] += s.x[i];
            sy[best] += s.y[i];
            k[best] += 1;
        }
        for (std::size_t c = 0; c < p; ++c)
            if (k[c] > 0) {
                cx[c] = sx[c] / k[c];
                cy[c] = sy[c] / k[c];
            }
    }
}

std::vector<std::int32_t> timed(const char* what, const Places& s, const std::vector<double>& cx,
    const std::vector<double>& cy, SizeLimits limits, const std::vector<std::int32_t>& start)
{
    const auto t0 = Clock::now();
    const std::clock_t c0 = std::clock();
    auto r = assignWithinSizes(s.x, s.y, s.w, cx, cy, {}, limits, start);
    const double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    const double secs = std::chrono::duration<double>(Clock::now() - t0).count();
    if (!r) {
        std::printf("%s: no assignment\n", what);
        std::exit(1);
    }
    const auto stats = lastSizedAssignmentStats();
    std::printf("| %8zu | %4zu | %6d | %-28s | %8.3f | %8.3f | %9lld | %8lld | %.10g |\n", s.x.size(),
        cx.size(), limits.maxPlaces, what, secs, cpu, stats.augmentations, stats.listRebuilds,
        totalOf(s, cx, cy, *r));
    std::fflush(stdout);
    return *r;
}

void run(int n, int p, int slack)
{
    std::mt19937_64 gen(20261209);
    const Places s = randomPlaces(n, gen);
    std::vector<double> cx, cy;
    std::uniform_int_distribution<int> pick(0, n - 1);
    for (int c = 0; c < p; ++c) {
        const int i = pick(gen);
        cx.push_back(s.x[i]);
        cy.push_back(s.y[i]);
    }
    const SizeLimits limits { 0, (n + p - 1) / p + slack };
    timed("cold, random centres", s, cx, cy, limits, {});
    lloyd(s, cx, cy, 5);
    const auto first = timed("cold, Lloyd centres", s, cx, cy, limits, {});
    std::normal_distribution<double> nudge(0.0, 1.0);
    for (int c = 0; c < p; ++c) {
        cx[c] += nudge(gen);
        cy[c] += nudge(gen);
    }
    auto last = timed("warm, centres moved 0.1 %", s, cx, cy, limits, first);
    timed("cold, the same moved centres", s, cx, cy, limits, {});
    // the alternation's pattern: the centres keep moving a little, each call starts from the last
    for (int step = 0; step < 4; ++step) {
        for (int c = 0; c < p; ++c) {
            cx[c] += nudge(gen) * 0.3;
            cy[c] += nudge(gen) * 0.3;
        }
        last = timed("warm, moved 0.03 % again", s, cx, cy, limits, last);
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::printf("|   places |    P |    max | run                          | seconds  | CPU s    | aug.paths "
                "| rebuilds | total |\n");
    std::printf("|---------:|-----:|-------:|------------------------------|---------:|---------:|----------:"
                "|---------:|------:|\n");
    if (argc >= 4) {
        for (int a = 1; a + 2 < argc; a += 3)
            run(std::atoi(argv[a]), std::atoi(argv[a + 1]), std::atoi(argv[a + 2]));
        return 0;
    }
    run(100000, 100, 5);
    run(1000000, 10, 5);
    return 0;
}
