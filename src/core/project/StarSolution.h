#pragma once

// The best star network of the last star search: kept by the project after the network window
// closes, and drawn by the station network graph.

#include "core/project/ProjectRecord.h"

#include <string>
#include <vector>

namespace dorvan {

struct StarSolution {
    int StarCount = 0;
    double StarTotal = 0.0; // the sum of the star sums, star 1 first
    std::vector<Text100> StarOrder; // StarOrder[1..n] as [0..n-1]: the places star after star
    std::vector<int> StarSize; // [s-1]: places of star s, its centre included
    std::vector<int> StarCentre; // [s-1]: position (1-based) in StarOrder of star s's centre
    std::vector<double> StarSum; // [s-1]: the distances from star s's centre to its places
    int RecalcCount = 0; // complete solutions evaluated

    bool operator==(const StarSolution&) const = default;
};

// The delivery rounds of the network window's last search, kept like the stars and drawn by the
// station network graph: the depot and each round's places in order, in project coordinates.
struct RoundsTrace {
    struct Point {
        double x = 0.0;
        double y = 0.0;
        bool operator==(const Point&) const = default;
    };
    bool present = false;
    Point depot;
    std::vector<std::vector<Point>> rounds; // the places of each round; the depot not repeated
    // For the report: a row a round (its number, the depot and places in order, length, load,
    // time, numbers with a decimal comma), then the lines under the table (total, vehicles,
    // limits missed).
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> notes;

    bool operator==(const RoundsTrace&) const = default;
};

} // namespace dorvan
