#pragma once

// Delivery rounds ("Okruh"): which vehicle serves which places in which order from one depot,
// within the vehicles' capacity, the longest route and the longest working time the planner
// entered, with as few kilometres as possible over all rounds. This file holds the problem as
// the project poses it, a plan and how a plan is priced and checked; RoundsSearch.h finds one.

#include "core/project/Project.h"

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

inline constexpr double NoLimit = std::numeric_limits<double>::infinity();

// Node 0 is the depot, nodes 1..n the places to serve.
struct RoundsProblem {
    int n = 0;
    std::vector<double> dist; // (n + 1) × (n + 1), row-major
    std::vector<double> demand; // n + 1 entries, demand[0] = 0
    std::vector<std::string> names; // n + 1 entries (UTF-8); names[0] is the depot's
    std::vector<int> placeNo; // n + 1 entries: the project's place number, 0 for a depot point
    std::vector<double> xs, ys; // n + 1 entries: the project's X and Y of each node (may be empty)
    double depotX = 0.0, depotY = 0.0;
    bool depotIsPlace = false;
    double capacity = NoLimit; // "Kapacita dopravných prostriedkov"
    double maxLength = NoLimit; // "Maximálna dĺžka distribučnej trasy"
    double maxTime = NoLimit; // "Maximálny čas distribúcie"
    double speed = 60.0; // "Priemerná rýchlosť DP"
    double loadDepot = 0.0; // loading at the centre, once a round
    double unloadPlace = 0.0; // unloading at each place
    int maxVehicles = 0; // "Počet dopravných prostriedkov"; 0 = as many as needed

    double d(int i, int j) const { return dist[static_cast<std::size_t>(i * (n + 1) + j)]; }
    // The working time of a round of this length serving k places.
    double roundTime(double length, int k) const;
    // The longest a round serving k places may be under the length and the time limit.
    double lengthAllowed(int k) const;

    bool operator==(const RoundsProblem&) const = default;
};

// The problem or why there is none (a Slovak sentence).
struct RoundsInput {
    std::optional<RoundsProblem> problem;
    std::string refusal;
};

// The problem the project poses: the depot is the place of "Distribučná centrála" when that
// criterion is ticked, else the optimum of the one-centre allocation (straight-line distances
// then); demand the quantity when "Množstvo" is ticked, else 1; real distances when they are
// ticked and the depot is a place. Refused: no place to serve, a centre ticked but not chosen
// or not among the places, a negative demand or limit, a place whose demand exceeds the
// capacity, a place that cannot be served by a round of its own within the length or the time.
RoundsInput roundsProblem(const Project& project);

// Checks a problem built by hand (the benchmark, the tests): the refusals above that do not
// depend on the project. Empty when the problem can be searched.
std::string roundsRefusal(const RoundsProblem& problem);

struct Round {
    std::vector<int> stops; // nodes 1..n in the order served
    double length = 0.0;
    double load = 0.0;
    double time = 0.0;
};

struct RoundsPlan {
    std::vector<Round> rounds;
    double total = 0.0;
    // Empty when every limit is kept; else one sentence a limit missed, with by how much.
    std::vector<std::string> missed;
    bool cancelled = false; // stopped before the search's end: the best found so far
    long iterations = 0;
};

// A round priced over the problem: length, load and time of its stops.
Round priceRound(const RoundsProblem& problem, std::vector<int> stops);
// A plan of these rounds (each priced), its total and the limits it misses; separator is the
// decimal separator of the numbers in the sentences.
RoundsPlan makePlan(const RoundsProblem& problem, const std::vector<std::vector<int>>& rounds,
    std::string_view separator = ",");

// The rounds as the station graph draws them: the depot and each round's places (xs, ys).
RoundsTrace roundsTrace(const RoundsProblem& problem, const RoundsPlan& plan);

// The lines the window lists and the text output prints: per round its places in order, length,
// load and time; then the total and the vehicles used; then the limits missed.
std::vector<std::string> roundsLines(
    const RoundsProblem& problem, const RoundsPlan& plan, std::string_view separator);

} // namespace dorvan
