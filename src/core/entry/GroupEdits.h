#pragma once

// The edits of the distribution-group page, each one command of the project's document.
//
// The groups are held in two forms, on purpose. Choices.Groups is the page's model: the groups
// as the group list shows them, with the count the page shows ("Počet skupín", which lags
// behind a group just opened by "OK" until the next move); a run reads it. The record's
// GroupedPlaceName/GroupPlaceCount are the file's form: written from the model only when the
// box "Definovanie distribučných skupín" is unticked and when the project is saved with it
// ticked, and read back into the model when the box is ticked. They are not one state held
// twice: while the box is off the model is empty and the stored groups wait in the record; the
// file's form cannot hold the lagging count; and an emptied group list is never stored (the
// last stored groups stay in the file under a group count of 0), so writing the record at every
// move would change the bytes a saved file holds. The record's GroupCount is the number of
// groups the list holds, kept at every move as the file layout has it.

#include "core/entry/GroupList.h"
#include "core/project/Project.h"

#include <string>
#include <vector>

namespace dorvan {

// The group list's lines of the groups: each group's header followed by its members.
std::vector<std::string> groupLines(const DistributionGroups& groups);

// The group list's places ("Zoznam miest"): places 1..placeCount whose name no member of the
// groups carries (membership is by name). The lines of `shown` that are such places keep their
// order; a place not among them goes to its sorted place as "<<<" puts a name; a list made anew
// (none of `shown` kept) is in place-number order.
std::vector<std::string> ungroupedLines(const TProjectRecord& r, int placeCount,
    const DistributionGroups& groups, const std::vector<std::string>& shown);

// The page's place list as the project stands: its kept order (EntryChoices::GroupPlaces)
// brought in line with the places and the groups.
std::vector<std::string> groupPlaces(const Project& project);

// The groups and the page's place list after a change of the place list (r as it now stands):
// each name follows its place by followedLine, so a deleted place leaves its group or the list
// and a moved place keeps its line under its new name. Empty groups stay: the page removes them
// only as "<<<" does.
void followGroups(EntryChoices& choices, const TProjectRecord& r, const PlaceListChange& change);

// What a move of the page did: whether it changed anything, whether the place list or the group
// list is now empty, and whether an open allocation window has a new grouping to run on.
struct GroupMove {
    bool moved = false;
    bool placesEmptied = false;
    bool groupsEmptied = false;
    bool rerun = false;
    // Where each name taken out went in the place list, in the order taken out.
    std::vector<int> placeRows;
};

class GroupEdits {
public:
    explicit GroupEdits(Project& project)
        : project_(project)
    {
    }

    // "Definovanie distribučných skupín" ticked: the groups come from the stored ones. Unticked:
    // the groups as they stand are stored in the record and the page holds none. The record's
    // byte of the box follows it.
    void switchGroups(bool on);
    // ">>>": the places at `rows` of the page's place list go into the groups in list order,
    // each as one click would, after the group line `groupRow` (-1: to the last group).
    GroupMove moveIn(const std::vector<int>& rows, int groupRow);
    // "OK": the current group is complete and the next one opens, unless it is empty.
    GroupMove confirm();
    // "<<<": the members numbered `members` (0-based among the member lines, headers not
    // counted) go back into the place list, in list order, each as one click would.
    GroupMove takeOut(const std::vector<int>& members);
    // The groups stored into the record's file form as they stand.
    void storeGroups();
    // A proposal taken: its groups stored and listed, the box ticked.
    void takeProposal(const std::vector<std::string>& lines, int groupCount);
    // A place chosen as an existing centre becomes the last one (in) or leaves them (out).
    // False when that changes nothing.
    bool moveExistingCentre(const std::string& name, bool in);

private:
    GroupLists lists() const;
    void keep(const GroupLists& l, int shownCount);

    Project& project_;
};

} // namespace dorvan
