#pragma once

// The exact star search on the network window's data: the same working copy, reach and capacity
// as the star search "Hviezda", whose best network is the exact search's start; its result as
// the station graph draws it, its lines and the line comparing it with the star search's.

#include "core/network/ExactStars.h"
#include "core/network/StarSearch.h"

#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// D0, the reach and the capacity of the working copy (places 0-based).
ExactStarProblem exactProblem(const StarWorkingCopy& copy);

// A network of the star search as places: each name of its order is the first place of that
// name not yet used. Empty when the names do not all match places.
std::vector<ExactStar> starsOfSolution(const StarWorkingCopy& copy, const StarSolution& solution);

// The exact result as the station graph draws it: the places star after star, each centre first.
StarSolution starSolutionOf(const StarWorkingCopy& copy, const ExactStarResult& result);

// The exact search started from the star search's best network.
ExactStarResult searchExactNetwork(
    const StarWorkingCopy& copy, const StarSolution& heuristic, const ExactStarOptions& options);

// "21 hviezd", "2 hviezdy", "1 hviezda".
std::string starsText(int count);

// The lines of the exact result's list: the count, the total, proven or the bounds, then each
// star with its places.
std::vector<std::string> exactListLines(
    const StarWorkingCopy& copy, const ExactStarResult& result, std::string_view separator);

// "Optimum: 21 hviezd, celková dráha 1234,5678 (dokázané); heuristika: 23 hviezd, 1302,1
// (+2 hviezdy)"; an unproven result names its lower bounds.
std::string comparisonLine(
    const ExactStarResult& result, const StarSolution& heuristic, std::string_view separator);

} // namespace dorvan
