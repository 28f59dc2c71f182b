#pragma once

#include "core/common/DecimalText.h"
#include "core/project/ProjectRecord.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dorvan {

// The largest number of places a project may hold (the arrays have one slot more).
inline constexpr int MaxPlaceCount = 99;

// A place count as the lists and tables take it: 0..MaxPlaceCount.
inline int clampPlaceCount(int count)
{
    return std::clamp(count, 0, MaxPlaceCount);
}

// Byte-wise comparison of two names in code-page order: case-sensitive, a proper prefix first.
// Negative, zero or positive like strcmp.
int compareNames(std::string_view cp1250a, std::string_view cp1250b);

// The same order for names held as UTF-8 (the lists of the windows). A name with a character
// outside the code page is compared by its UTF-8 bytes.
int compareNamesUtf8(std::string_view a, std::string_view b);

// Two place names are the same place when they differ only in the case of their letters and in
// spaces around them. The key is the code-page name so folded: spaces and tabs trimmed, capitals
// of the code page made small.
std::string placeNameKey(std::string_view cp1250);
// "Miesto NAME už existuje !!!" (NAME as typed, without its surrounding spaces).
std::string placeExistsText(std::string_view utf8Name);
// The first of places 1..count apart from `except` whose name is the same place as `name` (see
// placeNameKey); 0 when none is.
int placeNamed(const TProjectRecord& r, int count, const Text100& name, int except = 0);
// The names of a list (1-based positions) that repeat an earlier one: each repeat once, in
// order, as (position, position of the earlier name).
std::vector<std::pair<int, int>> repeatedNames(const std::vector<Text100>& names);

// A name for display. Bytes the code page leaves undefined (only a damaged file holds them)
// show as U+FFFD instead of failing the whole list.
std::string displayName(const Text100& name);

// Sorts places 1..count by name in code-page order. Passes repeat until none exchanges
// anything: a pass looks for the first pair (i, j), i < j, whose name i is greater than name j
// and exchanges the six per-place values of the two. Places with equal names are never
// exchanged with each other, so the outcome is exactly that of the repeated passes. The rows
// and columns of the distance matrix move with their places, so a distance the user typed
// stays with its pair. Returns the old number of each place in its new order (entry k - 1 for
// place k).
std::vector<int> sortPlacesByName(TProjectRecord& r, int count);

// Distance[i][j] for all i, j in 1..count: the Euclidean distance in extended precision,
// stored as double; zero on the diagonal. count is clamped to 1..99.
void computeDistances(TProjectRecord& r, int count);
// Row and column `place` of the distance matrix, against places 1..count, get the straight-line
// distances again (the same values computeDistances gives); the other pairs keep theirs.
void straightenDistances(TProjectRecord& r, int place, int count);

// True when some place of 2..count differs from place 1 in X or Y.
bool coordinatesDiffer(const TProjectRecord& r, int count);

// A newly entered place p: name and coordinates, quantity 1, price 1, flexibility 1.
void storeNewPlace(TProjectRecord& r, int p, const Text100& name, double x, double y);

// Removes place `number` from places 1..oldCount: places number+1..oldCount move down by one,
// their rows and columns of the distance matrix with them; the row and column left free at
// oldCount are cleared.
void removePlace(TProjectRecord& r, int number, int oldCount);

// The place-count field.
enum class CountCheck { Accepted, Invalid, TooMany };
struct CountResult {
    CountCheck check = CountCheck::Invalid;
    int count = 0;
};
// A first total: a whole number from 2 to 99.
CountResult checkFirstCount(std::string_view text);
// Places to add to a list of placeCount places: a whole number above 0 with a total below 100.
CountResult checkAddCount(std::string_view text, int placeCount);

} // namespace dorvan
