#pragma once

#include "project/ProjectRecord.h"

#include <optional>
#include <string_view>
#include <vector>

namespace dorvan {

// The criteria that relate places to each other: real distances typed pair by pair, the
// distribution centre, the depots (kept in byte order of their names) and the priority places
// (kept in priority order, first = highest). Places are named by number in the distance matrix
// and by name in the lists.

// The pair of place numbers the distance entry asks for next.
struct DistanceCursor {
    int row = 1;
    int col = 2;
    bool operator==(const DistanceCursor&) const = default;
};

// The first pair to ask: every unordered pair from (1,2) on for a new list (entry state 0),
// or the first added place against place 1 once places were added to a complete list (state 1,
// addedCount places at the end of the list). Added places that cannot be counted (none, or more
// than the list) make the whole list asked again.
DistanceCursor firstDistancePair(int entryState, int placeCount, int addedCount);

// One step on: the next column, else the next row, starting at column 1 after an addition and
// just right of the diagonal on a first list.
void advanceDistancePair(DistanceCursor& c, int placeCount, int addedCount);

// Whether the cursor names a pair inside the list, so a typed value can be taken.
bool distancePairOpen(const DistanceCursor& c, int placeCount);
// Whether no pair is left to ask: past the last row, or on the last diagonal.
bool distanceEntryFinished(const DistanceCursor& c, int placeCount);

// A real distance: a number whose four-decimal value is above 0.
std::optional<double> parseDistance(std::string_view text);

// Stores a distance for the pair under the cursor in both directions, moves on, and when that
// lands on the diagonal sets it to 0 and moves on once more. Returns false (nothing stored)
// when the cursor is outside the list.
bool enterDistance(TProjectRecord& r, DistanceCursor& c, int placeCount, int addedCount, double value);

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

} // namespace dorvan
