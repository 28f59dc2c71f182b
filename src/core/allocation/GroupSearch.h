#pragma once

// Proposes distribution groups: P centres and, for each, the places it serves, so that the
// sum of weight × distance from every place to the centre of its group is least (the
// continuous weighted p-median). Every group keeps at least the 3 places a group run needs.
//
// Up to 10 places every partition is tried, so the answer is the optimum. Above that the search
// runs alternating location-allocation from several spread starts and improves each end by
// moving single places to another group and by swapping two places of two groups, each move
// judged with both groups' centres solved again. Each group's centre is its exact weighted
// Weber point; a place that passes Kuhn's optimality test is the centre itself.

#include "core/project/Project.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dorvan {

// One place as the search weighs it.
struct GroupSite {
    std::string name; // UTF-8
    double x = 0.0;
    double y = 0.0;
    long double weight = 1.0L; // quantity × price × flexibility of the ticked criteria
};

inline constexpr int DefaultGroupStarts = 24;
inline constexpr std::uint64_t DefaultGroupSeed = 1;
// Projects up to this many places are solved by trying every partition.
inline constexpr int ExactGroupSearchPlaces = 10;
// The most starts a search takes.
inline constexpr int MaxGroupStarts = 10000;

struct GroupSearchOptions {
    int centres = 2;
    int starts = DefaultGroupStarts;
    std::uint64_t seed = DefaultGroupSeed;
};

// The weighted Weber point of some places.
struct WeberResult {
    long double x = 0.0L;
    long double y = 0.0L;
    long double objective = 0.0L; // sum of weight × distance to (x, y)
    int onPlace = -1; // index of the place the optimum lies on, -1 when it lies on none
};

struct FoundGroup {
    std::vector<int> members; // indices into the sites, ascending
    WeberResult centre;
    int fixedPlace = -1; // the existing centre's place that serves this group, -1 for a free centre
};

struct GroupSearchResult {
    int centres = 0;
    long double total = 0.0L; // sum of the groups' objectives
    int starts = 0; // starts run (1 for an exact search)
    int bestFound = 0; // starts whose end reached the best total
    bool exact = false; // every partition was tried
    bool cancelled = false;
    std::vector<FoundGroup> groups; // ordered by their first member
};

// The places of the project as a group run weighs them: places 1..PlaceCount, weights from
// the ticked quantity, price and flexibility boxes.
std::vector<GroupSite> groupingSites(const Project& project);

// The most places a proposed group may hold by the project: the value of "Rovnomernosť počtu
// miest v skupinách" (at least 1) when that criterion is ticked, 0 (no limit) when it is not.
int projectGroupSizeLimit(const Project& project);

// The largest number of centres the places allow: one group of 3 places per centre.
int maxCentres(int placeCount);

// Why the search cannot run for these places and this number of centres (a Slovak message
// for the user), or nothing when it can: P from 2 to n / 3, distinct place names (groups keep
// their members by name), finite coordinates, weights not negative.
std::optional<std::string> groupSearchProblem(std::span<const GroupSite> sites, int centres);

// Why the places cannot be grouped whatever the number of centres (a Slovak message for the
// user), or nothing: distinct place names (groups keep their members by name), finite
// coordinates, weights not negative.
std::optional<std::string> groupSitesProblem(std::span<const GroupSite> sites);

// The weighted Weber point of the members (indices into sites).
WeberResult weberPoint(std::span<const GroupSite> sites, std::span<const int> members);

// The best groups found. Requires groupSearchProblem to have no objection. Deterministic for a
// given seed; cancel, when set, ends the search after the start that is running.
GroupSearchResult searchGroups(std::span<const GroupSite> sites, const GroupSearchOptions& options,
    const std::atomic<bool>* cancel = nullptr);

// One row of the table of centre counts: the best total for P centres and what it saves
// against P - 1 (none for P = 1).
struct CentreCountRow {
    int centres = 0;
    long double total = 0.0L;
    std::optional<long double> saving;
};

// The best total for one centre: the Weber point of all places.
long double singleCentreTotal(std::span<const GroupSite> sites);

// The table row for P centres, given the row before (for its saving).
CentreCountRow centreCountRow(int centres, long double total, const CentreCountRow* before);

// The group list lines of a result: "--- Skupina g ---" followed by the member names.
std::vector<std::string> groupListLines(const GroupSearchResult& result, std::span<const GroupSite> sites);

// Stores the groups into the record as saving stores the group list, with their number as the
// number of groups and the groups box switched on, so that opening the project shows them.
void storeProposedGroups(const DistributionGroups& groups, TProjectRecord& r);

} // namespace dorvan
