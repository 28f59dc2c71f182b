#pragma once

// A k-d tree over the centres of the p-median search: the nearest and the two nearest centres
// of a point. Rebuilt whenever the centres move (P is small against the places); a query
// visits only the boxes nearer than the best found so far, so it costs about log P distances.
// Ties go to the lower centre index, as a plain scan in index order gives them.

#include <cstdint>
#include <span>
#include <vector>

namespace dorvan::pmedian {

struct Nearest {
    std::int32_t centre = -1;
    double distance = 0;
};

struct NearestTwo {
    Nearest first, second; // second.centre is -1 when there is one centre
};

class CentreIndex {
public:
    void build(std::span<const double> cx, std::span<const double> cy);
    Nearest nearest(double x, double y) const;
    NearestTwo nearestTwo(double x, double y) const;

private:
    struct Node {
        double split = 0;
        std::int32_t centre = -1; // the centre at this node
        std::int32_t left = -1, right = -1;
        std::uint8_t axis = 0;
    };
    std::int32_t buildRange(std::vector<std::int32_t>& order, int from, int to);
    template <int Count> void search(std::int32_t node, double x, double y, Nearest* best) const;

    std::vector<double> cx_, cy_;
    std::vector<Node> nodes_;
    std::int32_t root_ = -1;
};

} // namespace dorvan::pmedian
