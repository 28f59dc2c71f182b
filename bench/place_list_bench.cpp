// A place list of 1,000,000 places read as dorvan-cli reads it, and its one-centre solve with the
// certificate (goal: the solve within 2 s on 2 cores). A timed tool: prints the seconds of each
// part.
//   place_list_bench [PLACES]
#include "core/allocation/ListWeberPoint.h"
#include "core/cli/PlaceTable.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Places by latitude and longitude over Slovakia, clustered around a few towns, weights 1 to 50.
std::string slovakList(long n)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> lat(47.8, 49.5), lon(17.0, 22.5), q(1.0, 50.0);
    std::string s = "name;latitude;longitude;quantity\n";
    s.reserve(static_cast<std::size_t>(n) * 48);
    char line[128];
    for (long i = 0; i < n; ++i) {
        std::snprintf(
            line, sizeof line, "Miesto %ld;%.6f;%.6f;%.0f\n", i + 1, lat(random), lon(random), q(random));
        s += line;
    }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    const long n = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::string csv = slovakList(n);
    auto start = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    const dorvan::cli::PlaceTable table = dorvan::cli::readPlaceTable(csv);
    const double read = secondsSince(start);
    const double readCpu = static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    if (!table.ok()) {
        std::printf(
            "refused: line %d: %s\n", table.problems.front().line, table.problems.front().message.c_str());
        return 1;
    }
    start = std::chrono::steady_clock::now();
    cpu = std::clock();
    const dorvan::ListWeberPoint p = dorvan::listWeberPoint(table.x, table.y, table.weight);
    const double solve = secondsSince(start);
    const double solveCpu = static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    std::printf("places %zu (%.1f MB of CSV)\nread    %.3f s (processor %.3f s)\nsolve   %.3f s (processor "
                "%.3f s, %d passes), objective %.10Lg, gap %.3Lg\n",
        table.size(), static_cast<double>(csv.size()) / 1e6, read, readCpu, solve, solveCpu, p.passes,
        p.objective, p.certificate.gap);
    return 0;
}
