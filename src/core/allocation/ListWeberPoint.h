#pragma once

// The weighted Weber point of a place list of any size (one centre): the point z minimising
// F(z) = sum of w_i |z - a_i|, found by Newton's method on F with steps halved until F falls and
// Weiszfeld's step where Newton gives none, then Kuhn's test at the place nearest to the result
// (the optimum lies on that place when the pull of the others is at most its weight). Each step
// is one pass over the places; a million places take a few dozen passes.

#include "core/allocation/CooperCertificate.h"

#include <cstddef>
#include <span>

namespace dorvan {

struct ListWeberPoint {
    double x = 0.0;
    double y = 0.0;
    long double objective = 0.0L; // F at (x, y), summed in long double
    long onPlace = -1; // index of the place the result lies on by Kuhn's test, -1 for none
    int passes = 0; // passes over the places
    CooperCertificate certificate; // the bound of the result, as a one-centre run has it
};

// x, y and weight have one entry per place; at least one place, the weights not negative and
// the coordinates finite (the reader of the list sees to it).
ListWeberPoint listWeberPoint(
    std::span<const double> x, std::span<const double> y, std::span<const double> weight);

} // namespace dorvan
