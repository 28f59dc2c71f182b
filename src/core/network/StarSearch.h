#pragma once

// The star search "Hviezda" of the network window: stars of places around a centre, each place
// within the reach of its centre and at most a given number of places a star. The search looks
// for the fewest stars and, among those, the smallest total distance, improving on a first
// solution by alternatives and by passes over the order of the best solution.

#include "core/project/StarSolution.h"
#include "core/project/Project.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// The search's own copy of the project (VstupUdajRealStavCreate). Index i-1 holds place i.
struct StarWorkingCopy {
    int n = 0;
    std::vector<Text100> names;
    std::vector<double> x, y;
    std::vector<double> quantity, price; // 1.0 unless "Množstvo" / "Cena" is ticked
    std::vector<double> D0; // n × n, row-major: real distances or straight-line ones
    bool routeLengthOn = false; // "Maximálna dĺžka distribučnej trasy" ticked
    bool distributionTimeOn = false; // "Maximálny čas distribúcie" ticked
    bool evenGroupsOn = false; // "Rovnomernosť počtu miest v skupinách" ticked
    double maxRouteLength = 0.0;
    double maxDistributionTime = 0.0;
    double vehicleSpeed = 60.0;
    int placesPerGroup = 0;
    // Copied for completeness; the star method does not use them.
    Text100 centralName;
    int vehicleCount = 1;
    double vehicleCapacity = 1.0;
    std::vector<int> flexibility;

    double d0(int i, int j) const { return D0[static_cast<std::size_t>((i - 1) * n + (j - 1))]; }
    bool operator==(const StarWorkingCopy&) const = default;
};

// The working copy from the project as it stands: the ticked criteria of project.Choices, the
// values of the record, places 1..PlaceCount (bounded to 0..99).
StarWorkingCopy VstupUdajRealStavCreate(const Project& project);

// The reach of a star: the route length, or time × speed (which wins when both are ticked), or
// with neither the largest distance of all pairs (the diagonal included).
double starReach(const StarWorkingCopy& copy);
// Places a star may hold: the places per group while that box is ticked and the value is at
// least 1, else n + 1.
int starCapacity(const StarWorkingCopy& copy);

inline constexpr int MaxStarPasses = 100;

struct StarSearchResult {
    StarSolution best;
    // The lines of the window's five lists (star count, places, centres, star sizes, round
    // length): every solution taken as the best, in turn.
    std::array<std::vector<std::string>, 5> lists;
    double reach = 0.0;
    int capacity = 0;
    int passes = 0;
};

// The search over the working copy; separator is the locale's decimal separator (UTF-8) for
// the totals. With no places the result is empty.
StarSearchResult Hviezda(const StarWorkingCopy& copy, std::string_view separator);

// The result grid of the best network: rows 0..n, columns 0..4 (UTF-8, empty cells empty).
using StarGridRow = std::array<std::string, 5>;
std::vector<StarGridRow> starResultGrid(const StarSolution& best, int n, std::string_view separator);

} // namespace dorvan
