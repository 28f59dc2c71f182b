#pragma once

#include "core/entry/PlaceRelations.h"
#include "core/project/Project.h"
#include "core/project/ProjectRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// The header line of group g in the group list.
std::string groupHeader(int g);
// Any header line: "--- Skupina " + a decimal number + " ---".
bool isGroupHeader(std::string_view line);

// The two lists of the distribution-group page, as UTF-8 lines: the places not yet in a
// group, and all groups as one flat list of headers each followed by its members.
struct GroupLists {
    std::vector<std::string> places;
    std::vector<std::string> groups;
    int lastGroupItem = -1; // index of the last line of `groups`
    int groupCount = 0; // the project's number of groups
};

// The lists rebuilt from the stored groups: each stored group's header and members, then every
// place 1..placeCount whose name is no stored member's name. Damaged counts are bounded by the
// size of the stored arrays.
GroupLists buildGroupLists(const TProjectRecord& r, int placeCount);

// The lists after a change of the place list (r as it now stands): each line follows its place
// by followedLine, so a deleted place's line goes and a moved place's line takes its new name;
// lastGroupItem moves up by the lines that went above it.
GroupLists followedGroupLists(const GroupLists& l, const TProjectRecord& r, const PlaceListChange& change);

struct MoveInResult {
    bool moved = false;
    bool placesEmptied = false; // the place list has no line left
};
// ">>>": moves places[placeRow] into the groups, after the selected group line when that lies
// before the last line, else at the end (the last group). The first move creates group 1.
// selectedGroupRow is -1 when nothing is selected.
MoveInResult moveIntoGroups(GroupLists& l, int placeRow, int selectedGroupRow);

struct ConfirmResult {
    bool acted = false; // both lists had lines
    bool headerAdded = false; // the current group had members, so the next one was opened
};
// "OK": closes the current group and opens the next; an empty current group stays the last.
ConfirmResult confirmGroup(GroupLists& l);

struct TakeOutResult {
    bool moved = false;
    bool emptyGroupRemoved = false; // an empty group inside the list went, headers renumbered
    bool emptyLastGroupRemoved = false; // the last group was left empty and went
    bool groupsEmptied = false; // the group list has no line left
    int placeRow = -1; // where the name went back into the place list
};
// "<<<": puts groups[groupRow] back into the place list in code-page order. Header lines do
// not move. Afterwards at most one empty group inside the list is removed (the headers are
// numbered again from 1) and an empty last group is removed.
TakeOutResult takeOutOfGroups(GroupLists& l, int groupRow);

// The largest number of groups a run reads; the project stores at most this many.
inline constexpr int MaxRunGroups = MaxPlaces;

// The number of groups as the group page shows it: a whole number, bounded to 0..100. Anything
// else counts as no group.
int groupCountFromText(std::string_view text);

// The groups of a flat group list: one group per header line, numbered as its header, with the
// lines up to the next header as its members; lines before the first header belong to no group.
// shownGroupCount is the number of groups the page shows.
DistributionGroups groupsFromLines(const std::vector<std::string>& groupLines, int shownGroupCount);

// The groups stored in the project, as the group page lists them after opening it.
DistributionGroups storedGroups(const TProjectRecord& r, int placeCount);

// Stores the groups into GroupedPlaceName and GroupPlaceCount: groups 1..n, n the larger of
// the shown count and groupCount (at most 100); a group that is not in the list is stored
// empty, so that no count is left from an earlier state. Nothing is stored when there is no
// group or the shown count is not positive. At most 100 members are stored in all.
void storeGroups(const DistributionGroups& groups, int groupCount, TProjectRecord& r);

// Stores the group list into GroupedPlaceName and GroupPlaceCount: group k's members are the
// lines after its header up to the next group's header. shownGroupCount is the count the
// page shows, which may lag behind groupCount by a just-opened empty last group; that group is
// stored too (with no members) so that no count is left from an earlier state (storeGroups).
void selectGroups(
    const std::vector<std::string>& groupLines, int shownGroupCount, int groupCount, TProjectRecord& r);

} // namespace dorvan
