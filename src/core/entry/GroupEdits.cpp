#include "core/entry/GroupEdits.h"

#include "core/allocation/GroupSearch.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectEdits.h"
#include "core/project/ProjectDocument.h"

#include <algorithm>

namespace dorvan {

namespace {

// The names of the group page's steps, as the undo items may show them.
const EditCommand GroupMoveStep { .name = "Skupiny", .told = ProjectChange::Groups };
const EditCommand GroupSwitchStep { .name = "Skupiny",
    .told = ProjectChange::Criteria | ProjectChange::Groups };
const EditCommand TakenProposalStep { .name = "Návrh skupín",
    .told = ProjectChange::Criteria | ProjectChange::Groups };
const EditCommand ExistingCentreStep { .name = "Existujúce centrá", .told = ProjectChange::Groups };

// The row of the member numbered `member` among the member lines; -1 when there is none.
int rowOfMember(const std::vector<std::string>& lines, int member)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!isGroupHeader(lines[i]) && member-- == 0)
            return static_cast<int>(i);
    return -1;
}

} // namespace

std::vector<std::string> groupLines(const DistributionGroups& groups)
{
    std::vector<std::string> lines;
    for (const DistributionGroup& g : groups.Groups) {
        lines.push_back(groupHeader(g.No));
        lines.insert(lines.end(), g.Members.begin(), g.Members.end());
    }
    return lines;
}

std::vector<std::string> ungroupedLines(const TProjectRecord& r, int placeCount,
    const DistributionGroups& groups, const std::vector<std::string>& shown)
{
    std::vector<std::string> members;
    for (const DistributionGroup& g : groups.Groups)
        members.insert(members.end(), g.Members.begin(), g.Members.end());
    std::vector<std::string> wanted;
    placeCount = std::clamp(placeCount, 0, MaxPlaceCount);
    for (int k = 1; k <= placeCount; ++k) {
        std::string name = displayName(r.PlaceName[k]);
        if (std::find(members.begin(), members.end(), name) == members.end())
            wanted.push_back(std::move(name));
    }
    // Each wanted line is matched by one shown line at most: names may repeat.
    std::vector<bool> listed(wanted.size(), false);
    std::vector<std::string> out;
    for (const std::string& line : shown)
        for (std::size_t j = 0; j < wanted.size(); ++j)
            if (!listed[j] && wanted[j] == line) {
                listed[j] = true;
                out.push_back(line);
                break;
            }
    const bool anew = out.empty();
    for (std::size_t j = 0; j < wanted.size(); ++j) {
        if (listed[j])
            continue;
        auto at = anew ? out.end() : std::find_if(out.begin(), out.end(), [&](const std::string& line) {
            return compareNamesUtf8(line, wanted[j]) > 0;
        });
        out.insert(at, wanted[j]);
    }
    return out;
}

std::vector<std::string> groupPlaces(const Project& project)
{
    return ungroupedLines(
        project.Record, project.State.PlaceCount, project.Choices.Groups, project.Choices.GroupPlaces);
}

void followGroups(EntryChoices& choices, const TProjectRecord& r, const PlaceListChange& change)
{
    for (DistributionGroup& g : choices.Groups.Groups) {
        std::vector<std::string> members;
        for (const std::string& member : g.Members)
            if (std::optional<std::string> now = followedLine(r, member, change))
                members.push_back(std::move(*now));
        g.Members = std::move(members);
    }
    std::vector<std::string> places;
    for (const std::string& line : choices.GroupPlaces)
        if (std::optional<std::string> now = followedLine(r, line, change))
            places.push_back(std::move(*now));
    choices.GroupPlaces = std::move(places);
}

GroupLists GroupEdits::lists() const
{
    GroupLists l;
    l.places = groupPlaces(project_);
    l.groups = groupLines(project_.Choices.Groups);
    l.lastGroupItem = static_cast<int>(l.groups.size()) - 1;
    l.groupCount = std::clamp(project_.Record.GroupCount, 0, MaxPlaces);
    return l;
}

void GroupEdits::keep(const GroupLists& l, int shownCount)
{
    project_.Choices.Groups = groupsFromLines(l.groups, shownCount);
    project_.Choices.GroupPlaces = l.places;
    project_.Record.GroupCount = l.groupCount;
}

void GroupEdits::switchGroups(bool on)
{
    ProjectDocument(project_).execute(GroupSwitchStep, [&] {
        auto& r = project_.Record;
        if (!on)
            dorvan::storeGroups(project_.Choices.Groups, r.GroupCount, r);
        ProjectEdits(project_).tickCriterion(CritGroups, on);
        // A count from a damaged file never runs past the stored arrays.
        r.GroupCount = std::clamp(r.GroupCount, 0, MaxPlaces);
        project_.Choices.Groups
            = on ? storedGroups(r, project_.State.PlaceCount) : DistributionGroups { r.GroupCount, {} };
        project_.Choices.GroupPlaces = on
            ? ungroupedLines(r, project_.State.PlaceCount, project_.Choices.Groups, {})
            : std::vector<std::string> {};
    });
}

GroupMove GroupEdits::moveIn(const std::vector<int>& rows, int groupRow)
{
    return ProjectDocument(project_).execute(GroupMoveStep, [&] {
        GroupMove m;
        GroupLists l = lists();
        // Each move takes its line out of the place list, so the later rows move up by one.
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const MoveInResult res = moveIntoGroups(l, rows[i] - static_cast<int>(i), groupRow);
            m.moved = m.moved || res.moved;
        }
        if (!m.moved)
            return m;
        // The shown count catches up with every move.
        keep(l, l.groupCount);
        m.placesEmptied = l.places.empty();
        m.rerun = m.placesEmptied && l.groupCount > 0;
        return m;
    });
}

GroupMove GroupEdits::confirm()
{
    return ProjectDocument(project_).execute(GroupMoveStep, [&] {
        GroupLists l = lists();
        const ConfirmResult res = confirmGroup(l);
        GroupMove m;
        m.moved = res.headerAdded;
        // The shown count catches up at the next move.
        if (res.headerAdded)
            keep(l, project_.Choices.Groups.Count);
        m.rerun = res.acted && l.groupCount > 0;
        return m;
    });
}

GroupMove GroupEdits::takeOut(const std::vector<int>& members)
{
    return ProjectDocument(project_).execute(GroupMoveStep, [&] {
        GroupMove m;
        GroupLists l = lists();
        int shown = project_.Choices.Groups.Count;
        for (std::size_t i = 0; i < members.size(); ++i) {
            const int row = rowOfMember(l.groups, members[i] - static_cast<int>(i));
            if (row < 0)
                break;
            const int groupsBefore = l.groupCount;
            const TakeOutResult res = takeOutOfGroups(l, row);
            if (!res.moved)
                continue;
            m.moved = true;
            m.placeRows.push_back(res.placeRow);
            if (l.groupCount != groupsBefore)
                shown = l.groupCount;
            // Each removed empty group is a new grouping for an open allocation window, and so
            // is an empty group list.
            if ((res.emptyGroupRemoved || res.emptyLastGroupRemoved) && l.groupCount > 0)
                m.rerun = true;
            if (res.groupsEmptied)
                m.rerun = true;
        }
        if (!m.moved)
            return m;
        keep(l, shown);
        m.groupsEmptied = l.groups.empty();
        return m;
    });
}

void GroupEdits::storeGroups()
{
    ProjectDocument(project_).execute(GroupMoveStep,
        [&] { dorvan::storeGroups(project_.Choices.Groups, project_.Record.GroupCount, project_.Record); });
}

void GroupEdits::takeProposal(const std::vector<std::string>& lines, int groupCount)
{
    ProjectDocument(project_).execute(TakenProposalStep, [&] {
        auto& r = project_.Record;
        if (!project_.ticked(CritGroups))
            switchGroups(true);
        project_.Choices.Groups = groupsFromLines(lines, groupCount);
        storeProposedGroups(project_.Choices.Groups, r);
        // The page lists the groups as they are stored, and the places left anew.
        project_.Choices.Groups = storedGroups(r, project_.State.PlaceCount);
        project_.Choices.GroupPlaces
            = ungroupedLines(r, project_.State.PlaceCount, project_.Choices.Groups, {});
    });
}

bool GroupEdits::moveExistingCentre(const std::string& name, bool in)
{
    return ProjectDocument(project_).execute(ExistingCentreStep, [&] {
        std::vector<std::string>& fixed = project_.Choices.ExistingCentres;
        const auto at = std::find(fixed.begin(), fixed.end(), name);
        if (in && at == fixed.end())
            fixed.push_back(name);
        else if (!in && at != fixed.end())
            fixed.erase(at);
        else
            return false;
        return true;
    });
}

} // namespace dorvan
