#pragma once

#include "core/project/DistanceQuestions.h"
#include "core/project/ProjectRecord.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// The criteria that relate places to each other: real distances typed pair by pair, the
// distribution centre, the depots (kept in byte order of their names) and the priority places
// (kept in priority order, first = highest). Places are named by number in the distance matrix
// and by name in the lists.

// A whole matrix of real distances for places 1..count, as an import brings it in: kilometres
// kept as counts of ten-thousandths (as typed entry keeps them), row-major, symmetric, with a
// zero diagonal.
struct DistanceTable {
    int count = 0;
    std::vector<std::int64_t> tenThousandths; // count × count

    std::int64_t at(int i, int j) const
    {
        return tenThousandths[static_cast<std::size_t>((i - 1) * count + (j - 1))];
    }
    double km(int i, int j) const { return static_cast<double>(at(i, j)) / 10000.0; }
};

// A real distance: a number whose four-decimal value is above 0.
std::optional<double> parseDistance(std::string_view text);

// Stores a distance for the pair asked next in both directions (the asked place's own diagonal
// 0) and marks the pair answered. Returns false (nothing stored) when no pair is asked.
bool enterDistance(TProjectRecord& r, DistanceQuestions& q, int placeCount, double value);

// The position a name takes in a list kept in byte order of names: before the first greater
// name, else at the end (0-based).
int sortedPosition(const std::vector<Text100>& names, const Text100& name);

// Whether a name is among entries 1..count of a name list.
bool listHolds(const Array1<Text100, MaxPlaces>& list, int count, const Text100& name);

// The centre is chosen: it leaves the depots, and when the centre and the depots then cover
// every place, the values of the other places (DM) no longer apply and are cleared.
void chooseCentral(TProjectRecord& r, const Text100& name, int placeCount);
// No centre any more: its name, state and its own values (DC) cleared.
void cancelCentral(TProjectRecord& r);

// A depot added at its sorted position; returns that position (1-based), or 0 when the list is
// full or already holds the name.
int addWarehouse(TProjectRecord& r, const Text100& name);
// A depot removed by name (later names move up); returns whether it was there.
bool removeWarehouse(TProjectRecord& r, const Text100& name);

// A priority place appended as the lowest priority; returns false when the list is full.
bool addPriority(TProjectRecord& r, const Text100& name);
// The priority place at a position (1-based) removed, later ones move up.
bool removePriority(TProjectRecord& r, int position);
// The priority place at a position moved one up (towards the first) or down; from the first
// line up it goes to the end, from the last line down to the top, the others moving one on.
// Returns its new position, or 0 for a position outside the list.
int movePriority(TProjectRecord& r, int position, bool up);

// The places of a choice list (place numbers in order): every place except the centre, split
// into those on the given name list and the others.
struct PlaceSplit {
    std::vector<int> listed;
    std::vector<int> others;
};
PlaceSplit splitPlaces(
    const TProjectRecord& r, int placeCount, const Array1<Text100, MaxPlaces>& list, int count);

// The depot and priority lists follow a change of the place list. oldNames holds the names of
// the places before the change (entry k - 1 for old place k), newNumber the number each of them
// has now (0: deleted), whose name is read from the record. A listed name that no remaining
// place carries any more goes to the name of the first remaining old place that carried it, or
// leaves the list when all of them were deleted; a name no old place carried stays as it is.
// The depots stay in name order and no name is listed twice. The centre follows by the same
// rule; a centre whose place was deleted is cancelled.
void followPlaceNames(
    TProjectRecord& r, const std::vector<Text100>& oldNames, const std::vector<int>& newNumber);

// A change of the place list as followPlaceNames takes it: the old names and new numbers.
struct PlaceListChange {
    std::vector<Text100> oldNames;
    std::vector<int> newNumber;
};

// A line of a list of names shown to the user (the groups page's lists) after that change, by
// the same rule: the new name of the place it named, nothing when that place was deleted, the
// line itself when it named no old place (a group's header, a name of no place).
std::optional<std::string> followedLine(
    const TProjectRecord& r, const std::string& line, const PlaceListChange& change);

} // namespace dorvan
