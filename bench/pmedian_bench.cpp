// The p-median engine against published best-known totals, and on large generated lists.
//
//   pmedian_bench tsp FILE.tsp BEST.csv [--time S] [--threads N] [--seed N] [--only P,P,...]
//       prints P, our total, the best known, the excess in % and the seconds for every row of
//       BEST.csv (columns centres,best_known_total), unit weights, exact Euclidean distances;
//   pmedian_bench random N P [--clustered] [--time S] [--threads N] [--seed N]
//       solves N generated places (uniform in a square, or in 30 Gaussian clusters), weights 1..10;
//   pmedian_bench project P M [--seed N]
//       99 generated weighted places as a project: the proposal (24 starts and the engine)
//       against 24 and 1000 starts of the group search alone, P centres, at most M places a group.

#include "core/allocation/ConstrainedGroups.h"
#include "core/allocation/PMedian.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace dorvan::pmedian;

struct Args {
    double time = 10;
    int threads = 2;
    unsigned long long seed = 1;
    bool clustered = false;
    std::vector<int> only;
};

Args optionsFrom(int argc, char** argv, int from)
{
    Args a;
    for (int i = from; i < argc; ++i) {
        const std::string s = argv[i];
        const auto value = [&] { return i + 1 < argc ? std::string(argv[++i]) : std::string(); };
        if (s == "--time")
            a.time = std::stod(value());
        else if (s == "--threads")
            a.threads = std::stoi(value());
        else if (s == "--seed")
            a.seed = std::stoull(value());
        else if (s == "--clustered")
            a.clustered = true;
        else if (s == "--only") {
            std::stringstream list(value());
            for (std::string p; std::getline(list, p, ',');)
                a.only.push_back(std::stoi(p));
        }
    }
    return a;
}

double secondsSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

int runTsp(const char* file, const char* bestFile, const Args& a)
{
    std::ifstream in(file);
    std::vector<double> x, y;
    bool coords = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("NODE_COORD_SECTION", 0) == 0) {
            coords = true;
            continue;
        }
        if (line.rfind("EOF", 0) == 0)
            break;
        if (!coords)
            continue;
        std::istringstream row(line);
        double id = 0, px = 0, py = 0;
        if (row >> id >> px >> py) {
            x.push_back(px);
            y.push_back(py);
        }
    }
    std::vector<double> w(x.size(), 1.0);
    std::ifstream bestIn(bestFile);
    std::string line;
    std::getline(bestIn, line);
    std::printf("| P | total | best known | excess %% | seconds |\n|---:|---:|---:|---:|---:|\n");
    int equal = 0, within = 0, rows = 0;
    while (std::getline(bestIn, line)) {
        const auto comma = line.find(',');
        if (comma == std::string::npos)
            continue;
        const int p = std::stoi(line.substr(0, comma));
        const double known = std::stod(line.substr(comma + 1));
        if (!a.only.empty() && std::find(a.only.begin(), a.only.end(), p) == a.only.end())
            continue;
        Problem problem { x, y, w, p, {}, 0, 0 };
        Options options;
        options.timeLimitSeconds = a.time;
        options.threads = a.threads;
        options.seed = a.seed;
        const auto t = std::chrono::steady_clock::now();
        const Solution s = solve(problem, options);
        const double seconds = secondsSince(t);
        const double excess = (s.total - known) / known * 100.0;
        char ours[64], theirs[64];
        std::snprintf(ours, sizeof ours, "%.7g", s.total);
        std::snprintf(theirs, sizeof theirs, "%.7g", known);
        ++rows;
        equal += std::string(ours) == theirs || s.total < known ? 1 : 0;
        within += excess <= 0.01 ? 1 : 0;
        std::printf("| %d | %.4f | %.4f | %.5f | %.2f |\n", p, s.total, known, excess, seconds);
        std::fflush(stdout);
    }
    std::printf("\n%d of %d within 0.01 %%, %d of %d equal to 7 significant digits (or below)\n", within,
        rows, equal, rows);
    return 0;
}

int runRandom(long n, int p, const Args& a)
{
    std::mt19937_64 rng(a.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::vector<double> x(static_cast<std::size_t>(n)), y(x.size()), w(x.size());
    std::vector<double> cx(30), cy(30), spread(30);
    for (std::size_t c = 0; c < cx.size(); ++c) {
        cx[c] = unit(rng) * 1000;
        cy[c] = unit(rng) * 1000;
        spread[c] = 5 + unit(rng) * 40;
    }
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (a.clustered) {
            const std::size_t c = rng() % cx.size();
            x[i] = cx[c] + gauss(rng) * spread[c];
            y[i] = cy[c] + gauss(rng) * spread[c];
        } else {
            x[i] = unit(rng) * 1000;
            y[i] = unit(rng) * 1000;
        }
        w[i] = 1 + static_cast<double>(rng() % 10);
    }
    Problem problem { x, y, w, p, {}, 0, 0 };
    Options options;
    options.timeLimitSeconds = a.time;
    options.threads = a.threads;
    options.seed = a.seed;
    double lastShown = -1;
    options.progress = [&](const Progress& pr) {
        if (pr.elapsedSeconds - lastShown >= 5) {
            lastShown = pr.elapsedSeconds;
            std::fprintf(stderr, "  %.1f s: %.6f\n", pr.elapsedSeconds, pr.bestTotal);
        }
    };
    const auto t = std::chrono::steady_clock::now();
    const Solution s = solve(problem, options);
    std::printf("n=%ld P=%d %s total=%.6f seconds=%.2f local searches=%d timed out=%s\n", n, p,
        a.clustered ? "clustered" : "uniform", s.total, secondsSince(t), s.starts, s.timedOut ? "yes" : "no");
    return 0;
}

} // namespace

int runProject(int p, int most, const Args& a)
{
    std::mt19937 gen(static_cast<unsigned>(a.seed));
    std::uniform_real_distribution<double> coord(0.0, 1000.0);
    std::uniform_int_distribution<int> weight(1, 50);
    std::vector<dorvan::GroupSite> sites;
    for (int i = 0; i < 99; ++i)
        sites.push_back(
            { "M" + std::to_string(i + 1), coord(gen), coord(gen), static_cast<long double>(weight(gen)) });
    const dorvan::GroupRules rules { {}, most };
    if (const auto m = dorvan::proposalProblem(sites, p, rules)) {
        std::printf("%s\n", m->c_str());
        return 2;
    }
    auto t = std::chrono::steady_clock::now();
    const auto proposal = dorvan::proposeGroups(sites, { p, dorvan::DefaultGroupStarts, 1 }, rules);
    const double proposalSeconds = secondsSince(t);
    const auto alone = most > 0
        ? dorvan::searchGroupsWithRules(sites, { p, dorvan::DefaultGroupStarts, 1 }, rules)
        : dorvan::searchGroups(sites, { p, dorvan::DefaultGroupStarts, 1 });
    t = std::chrono::steady_clock::now();
    const auto many = most > 0 ? dorvan::searchGroupsWithRules(sites, { p, 1000, 1 }, rules)
                               : dorvan::searchGroups(sites, { p, 1000, 1 });
    const double manySeconds = secondsSince(t);
    const auto share
        = [&](long double total) { return static_cast<double>((total - many.total) / many.total * 100.0L); };
    std::printf("P=%d m=%d seed=%llu | proposal %.6Lf (%+.4f %%, %.2f s) | 24 starts %.6Lf (%+.4f %%) | 1000 "
                "starts %.6Lf (%.2f s)\n",
        p, most, a.seed, proposal.total, share(proposal.total), proposalSeconds, alone.total,
        share(alone.total), many.total, manySeconds);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc >= 4 && std::string(argv[1]) == "project")
        return runProject(std::atoi(argv[2]), std::atoi(argv[3]), optionsFrom(argc, argv, 4));
    if (argc >= 4 && std::string(argv[1]) == "tsp")
        return runTsp(argv[2], argv[3], optionsFrom(argc, argv, 4));
    if (argc >= 4 && std::string(argv[1]) == "random")
        return runRandom(std::atol(argv[2]), std::atoi(argv[3]), optionsFrom(argc, argv, 4));
    std::fprintf(stderr, "usage: pmedian_bench tsp FILE.tsp BEST.csv [options] | random N P [options]\n");
    return 2;
}
