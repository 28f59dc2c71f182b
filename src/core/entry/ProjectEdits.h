#pragma once

#include "core/entry/CriterionValues.h"
#include "core/entry/PicturePlacement.h"
#include "core/project/Project.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// The edits of the data-entry pages beyond the place list, each one command of the project's
// document (undone and redone as one step): the criterion boxes, the values of places and of
// the criteria, the centre, the depots and the priorities, typed distances, the iteration
// settings, the groups (by hand or a taken proposal) and the existing centres.
class ProjectEdits {
public:
    explicit ProjectEdits(Project& project)
        : project_(project)
    {
    }

    // A criterion box ticked or unticked: the record's byte, which holds the box. With an
    // allocation shown, a box that weighs the places makes its result stale (see rerunTold).
    void tickCriterion(Criterion criterion, bool on, bool allocationShown = false);
    // The grid cells of a per-place value (see commitPlaceValues); with an allocation shown
    // its result is stale.
    PlaceValueCommit placeValues(PlaceValueKind kind, const std::vector<std::string>& cells,
        std::string_view separator, bool allocationShown = false);
    // A single value of a criterion (a time, a capacity, a length, a speed, a count).
    void setValue(double TProjectRecord::*field, double value);
    void setCount(std::int32_t TProjectRecord::*field, std::int32_t value);

    // The centre chosen among the places 1..placeCount, or none any more.
    void chooseCentral(const Text100& name, int placeCount);
    void cancelCentral();
    // A depot added (false when it was one already); when the centre and the depots then cover
    // every place, the values of the other places (DM) go.
    bool addDepot(const Text100& name, int placeCount);
    // A depot removed by its name; with the last one the depots' values (DS) go.
    bool removeDepot(const Text100& name);
    bool addPriority(const Text100& name);
    bool removePriority(int position);
    // The new position, or 0 when the place cannot move that way.
    int movePriority(int position, bool up);
    // A real distance typed over for the pair a, b (both directions).
    void setDistance(int a, int b, double km);

    // "Nastavenie premenných DORVAN" ticked or not, and the settings as the page shows them.
    void setSettingsOn(bool on);
    void setSettings(const CooperSettings& settings);

    // The groups as the group page holds them, and their count in the record.
    void setGroups(const DistributionGroups& groups, int groupCount);
    // A proposal taken: the groups of its lines, stored in the record with their switch on
    // (GroupEdits::takeProposal).
    void takeProposedGroups(const std::vector<std::string>& lines, int groupCount);
    // The existing centres of the group proposal, in the order chosen.
    void setExistingCentres(const std::vector<std::string>& names);

    // --- Depots and priorities ---
    // The edits `edits` makes (several places moved into or out of a list by one click), as
    // one step.
    void relationsTogether(const std::function<void()>& edits);

    // ---- The picture page
    // The picture shown at `control` pixels of Image1: a plain picture's coordinate range
    // follows that size, in the working state and the record alike; a map's or a scaled
    // picture's stays its kilometres, and the working state takes them from the record.
    void takePictureRange(PixelSize control);

    // ---- The criteria page ----
    // A single value typed (loading time, capacity, vehicles, places per group): stored when
    // good, false with nothing changed when not.
    bool enterSingleValue(SingleValue value, std::string_view text);
    // The maximum route length or distribution time typed, first or as a change: stored and
    // marked entered when good, false with nothing changed when not.
    bool enterRouteLimit(RouteLimit limit, std::string_view text);

    // --- The settings page ---
    // One control at a time (the rest of the settings stay as they are).
    // The precision or correction text as it stands after a key. With `continuing` (the field's
    // typing was neither confirmed nor shown anew since the last key) it is one step with the
    // typing before it, as long as that typing is the last step; else a step of its own.
    void typePrecision(const std::string& text, bool continuing);
    void typeCorrection(const std::string& text, bool continuing);
    // A stopping rule or start point chosen; with `runAgain` (an allocation window is open) the
    // observers are told that a run's inputs changed.
    void setStoppingRule(StoppingRule rule, bool runAgain);
    void setStartPoint(StartPoint start, bool runAgain);
    // A text that a run or the page's check refused goes back to its default, as part of the
    // step before it: the refusal belongs to the edit that led to it, and undoing that edit
    // does not bring back a text that was never taken. Kept without a step at the saved point
    // or with no step before it (the texts are not saved, so nothing becomes unsaved).
    void resetPrecision();
    void resetCorrection();

private:
    // What an edit of a run's inputs tells: the shown allocation is stale while the settings
    // are on ("Nastavenie premenných DORVAN"); a window that is not shown needs no new run.
    ProjectChange rerunTold(bool allocationShown) const;

    Project& project_;
};

} // namespace dorvan
