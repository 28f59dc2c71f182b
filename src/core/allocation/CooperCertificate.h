#pragma once

// How far a result of the Cooper iteration can be from the true optimum. The stopping rules
// watch how far a step moved, which says nothing certain about the distance to the optimum;
// the certificate does. The weighted sum of distances F is convex and its minimum lies in the
// convex hull of the places that carry weight, so for any point z and subgradient g of F at z
//     F* >= F(z) + min over those places a_i of g . (a_i - z),
// a linear function being least over the hull at one of its corners. The point z may be any
// point: the bound is taken at the result, and when that leaves a gap, at the point a few of
// Newton's steps on F lead to from the result (where the gradient is far shorter) and at the
// place nearest to it, where the subgradient of least length (Kuhn's residual) is used; the
// best of them counts. The objective stays F at the result. The passes run in double precision
// with an allowance for their rounding taken off the bound.

#include "core/allocation/WeberSums.h"

#include <span>

namespace dorvan {

struct CooperCertificate {
    // False when a weight is negative: the sum is then not convex and may have no minimum, so
    // nothing can be said. The objective is still given.
    bool available = false;
    long double objective = 0.0L; // F at the result (summed in double precision)
    long double lowerBound = 0.0L; // L, never above the true minimum
    long double gap = 0.0L; // (F - L) / F, 0 when F = 0
    // Number (1-based) of the place the result lies on exactly when Kuhn's test proves that
    // place optimal (L = F, gap 0); 0 otherwise.
    int optimalPlace = 0;
};

// The certificate of the result (x, y) for these places.
CooperCertificate certifyResult(std::span<const CostSite> sites, long double x, long double y);

} // namespace dorvan
