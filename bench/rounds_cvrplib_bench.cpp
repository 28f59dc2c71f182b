// The delivery rounds search against the proven optima of the classic capacitated routing
// instances (CVRPLIB's sets A, B, E and P). Usage:
//   rounds_cvrplib_bench FOLDER [--time-limit S] [--seed N] [--threads T]
// FOLDER holds NAME.vrp (EUC_2D coordinates, demands, capacity, the depot) and NAME.sol (ending
// in "Cost N"; without it the optimum is read from the instance's comment). Distances are
// rounded to the nearest integer, the convention of the optima, and the vehicle count is the
// one in the instance's name ("-k5": at most 5 rounds). Prints one row an instance: name,
// optimum, ours, excess in percent, seconds; then the average and largest excess.

#include "core/network/RoundsSearch.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Instance {
    std::string name;
    dorvan::RoundsProblem problem;
    double optimum = 0.0;
};

bool readInstance(const std::filesystem::path& vrp, Instance& out)
{
    std::ifstream in(vrp);
    std::string line, section;
    int dimension = 0, depot = 1;
    double capacity = 0.0;
    std::vector<double> x, y, q;
    std::smatch m;
    const std::regex optimum(R"(Optimal value:\s*(\d+)|Best value:\s*(\d+))");
    while (std::getline(in, line)) {
        if (line.rfind("DIMENSION", 0) == 0) {
            dimension = std::stoi(line.substr(line.find(':') + 1));
            x.assign(static_cast<std::size_t>(dimension), 0.0);
            y = x;
            q = x;
        } else if (line.rfind("CAPACITY", 0) == 0) {
            capacity = std::stod(line.substr(line.find(':') + 1));
        } else if (line.rfind("COMMENT", 0) == 0 && std::regex_search(line, m, optimum)) {
            out.optimum = std::stod(m[1].matched ? m[1].str() : m[2].str());
        } else if (line.rfind("NODE_COORD_SECTION", 0) == 0 || line.rfind("DEMAND_SECTION", 0) == 0
            || line.rfind("DEPOT_SECTION", 0) == 0) {
            section = line.substr(0, line.find('_'));
        } else if (line.rfind("EOF", 0) == 0) {
            break;
        } else if (!section.empty()) {
            std::istringstream row(line);
            int k = 0;
            if (section == "DEPOT") {
                if (row >> k && k > 0) {
                    depot = k;
                }
                section.clear();
                continue;
            }
            if (!(row >> k) || k < 1 || k > dimension)
                continue;
            const auto i = static_cast<std::size_t>(k - 1);
            if (section == "NODE")
                row >> x[i] >> y[i];
            else
                row >> q[i];
        }
    }
    if (dimension < 2)
        return false;
    // Node 0 is the depot; the others keep their order.
    std::vector<std::size_t> node { static_cast<std::size_t>(depot - 1) };
    for (std::size_t i = 0; i < static_cast<std::size_t>(dimension); ++i)
        if (i != node[0])
            node.push_back(i);
    dorvan::RoundsProblem& p = out.problem;
    p.n = dimension - 1;
    const auto n1 = static_cast<std::size_t>(dimension);
    p.dist.resize(n1 * n1);
    for (std::size_t a = 0; a < n1; ++a)
        for (std::size_t b = 0; b < n1; ++b)
            p.dist[a * n1 + b] = std::round(std::hypot(x[node[a]] - x[node[b]], y[node[a]] - y[node[b]]));
    for (std::size_t a = 0; a < n1; ++a) {
        p.demand.push_back(a ? q[node[a]] : 0.0);
        p.names.push_back(std::to_string(node[a] + 1));
        p.placeNo.push_back(0);
    }
    p.capacity = capacity;
    std::smatch k;
    if (std::regex_search(out.name, k, std::regex(R"(-k(\d+))")))
        p.maxVehicles = std::stoi(k[1].str());
    return true;
}

double readCost(const std::filesystem::path& sol)
{
    std::ifstream in(sol);
    std::string line;
    std::smatch m;
    const std::regex cost(R"(^\s*[Cc]ost\s+(\d+(\.\d+)?))");
    while (std::getline(in, line))
        if (std::regex_search(line, m, cost))
            return std::stod(m[1].str());
    return 0.0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: rounds_cvrplib_bench FOLDER [--time-limit S] [--seed N] [--threads T]\n";
        return 2;
    }
    dorvan::RoundsOptions options;
    for (int a = 2; a + 1 < argc; a += 2) {
        const std::string flag = argv[a];
        if (flag == "--time-limit")
            options.timeLimit = std::stod(argv[a + 1]);
        else if (flag == "--seed")
            options.seed = std::stoull(argv[a + 1]);
        else if (flag == "--threads")
            options.threads = std::stoi(argv[a + 1]);
    }
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(argv[1]))
        if (e.path().extension() == ".vrp")
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    std::printf("%-12s %8s %8s %8s %8s\n", "instance", "optimum", "ours", "excess%", "seconds");
    double sum = 0.0, worst = 0.0;
    int count = 0;
    for (const auto& f : files) {
        Instance inst;
        inst.name = f.stem().string();
        if (!readInstance(f, inst))
            continue;
        auto sol = f;
        sol.replace_extension(".sol");
        if (const double c = std::filesystem::exists(sol) ? readCost(sol) : 0.0; c > 0.0)
            inst.optimum = c;
        const std::string refusal = dorvan::roundsRefusal(inst.problem);
        if (!refusal.empty()) {
            std::printf("%-12s refused: %s\n", inst.name.c_str(), refusal.c_str());
            continue;
        }
        const auto t0 = std::chrono::steady_clock::now();
        const dorvan::RoundsPlan plan = dorvan::searchRounds(inst.problem, options);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const double excess = inst.optimum > 0.0 ? 100.0 * (plan.total - inst.optimum) / inst.optimum : 0.0;
        std::printf("%-12s %8.0f %8.0f %8.2f %8.2f%s\n", inst.name.c_str(), inst.optimum, plan.total, excess,
            seconds, plan.missed.empty() ? "" : "  LIMITS MISSED");
        std::fflush(stdout);
        sum += excess;
        worst = std::max(worst, excess);
        ++count;
    }
    if (count)
        std::printf("average excess %.3f %%, largest %.3f %%, %d instances\n", sum / count, worst, count);
    return 0;
}
