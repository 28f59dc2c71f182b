#pragma once

// Existing centres: places where a centre already stands. The group proposal keeps them where
// they are, and a run serves a group that holds one from that place, without iterating.
//
// In the file they live in row 100 of the distance matrix, a row no place ever has (at most 99
// places exist), so every file written without them holds zeros there: Distance[100][k] is the
// order number (1 = chosen first) of place k among the existing centres, 0 when place k is none.
// The row moves with its places when the list is sorted or a place is deleted, like every
// column of the matrix. Programs that do not know it never read it.

#include "core/entry/PlaceRelations.h"
#include "core/project/ProjectRecord.h"

#include <string>
#include <vector>

namespace dorvan {

// The distance row that holds the marks.
inline constexpr int ExistingCentreRow = MaxPlaces;

// The existing centres of places 1..placeCount as the record marks them, in their order (UTF-8
// names, each once). A mark that is not a whole number from 1 to 99 is no mark: a damaged file
// loses its centres, never its places.
std::vector<std::string> storedExistingCentres(const TProjectRecord& r, int placeCount);

// Marks the places 1..placeCount named (in this order) and clears every other mark of the row.
// A name no place carries is not stored.
void storeExistingCentres(const std::vector<std::string>& names, int placeCount, TProjectRecord& r);

// The names after a change of the place list (r as it now stands): a renamed place's new name,
// a deleted place's name gone.
std::vector<std::string> followedExistingCentres(
    const std::vector<std::string>& names, const TProjectRecord& r, const PlaceListChange& change);

// Which member serves a group from its place: the index (0-based) of the member that is the
// first of the existing centres, in their order, the group holds; -1 when it holds none.
int existingCentreMember(const std::vector<std::string>& members, const std::vector<std::string>& existing);

} // namespace dorvan
