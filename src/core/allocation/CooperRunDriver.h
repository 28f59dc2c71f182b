#pragma once

// The run driver of the allocation window without the window: it copies the places into the
// solver's working copy, solves for one centre or for each distribution group, and makes the
// texts of the result lists. The window (SpustiCooper) and the command line both run it on the
// inputs runInputs takes from a project; the window draws while a group run goes, through the
// callbacks.

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/CooperSolver.h"
#include "core/allocation/CostContours.h"
#include "core/project/Project.h"
#include "core/project/ProjectRecord.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// What a run takes from the project at its start.
struct CooperRunInputs {
    bool quantityOn = false; // "Množstvo" ticked
    bool priceOn = false; // "Cena" ticked
    bool flexibilityOn = false; // "Flexibilita zásobovania miest ..." (supply frequency) ticked
    bool groupsOn = false; // "Definovanie distribučných skupín - DORVAN" ticked
    DistributionGroups groups; // taken only while groups are ticked
    // The existing centres (UTF-8 names, in the order chosen), taken with the groups: a group
    // that holds one is served from its place.
    std::vector<std::string> existingCentres;
    // The iteration settings as the settings page shows them. A text the solver complains
    // about is reset to its default for the rest of the run (and the callbacks are told).
    CooperSettings settings;
    ChartDataMode mode = ChartDataMode::Manual; // how the places were entered
    std::string separator = ","; // the locale's decimal separator (UTF-8)
    bool operator==(const CooperRunInputs&) const = default;
};

// One group of a group run, as it was listed.
struct CooperGroupResult {
    int no = 0;
    int firstMemberNumber = 0; // m of its first member, counted on through the groups
    std::vector<std::string> memberNames; // UTF-8, as the group list holds them
    std::vector<bool> memberFound; // the name matched a place
    std::vector<ChartPoint> memberPoints; // GroupMemberX / GroupMemberY as the lookup left them
    bool solved = false; // at least 3 members: the group has a centre
    int finalIter = 0; // of its own history; 0 when not solved
    std::vector<IteratePoint> iterates; // GroupIterX / GroupIterY[1..finalIter]
    bool historyFull = false;
    CooperCertificate certificate; // of a solved group; optimalPlace is a member number
    // The existing centre that serves the group from its place (no iteration: the history
    // holds that place alone); empty when the group's centre was iterated.
    std::string existingCentre;
    std::vector<CostSite> costSites; // of a solved group: its found members with their weights
};

// What a run leaves for the window to show.
struct CooperRunResult {
    bool groupRun = false;
    // One-centre run: the optimum's line above the path (empty in a group run) and the
    // history's end.
    std::string optimumText;
    int finalIter = 0;
    std::vector<std::string> pathLines; // the iteration path or the group centres
    std::vector<std::string> placeLines; // the places or the groups and their members
    int groupCount = 0; // groups read from the group count (group run only)
    std::vector<CooperGroupResult> groups;
    std::vector<std::string> warnings; // in the order they arose, each text once
    bool precisionReset = false; // the precision text went back to "0,01"
    bool correctionReset = false; // the correction text went back to "1,0"
    // Runs that used up the history: 0 for the one-centre run, else group numbers.
    std::vector<int> historyFullGroups;
    // Group run: the names of the places no group lists, in place-number order.
    std::vector<std::string> ungroupedPlaces;
    // One-centre run: how far the result can be from the optimum.
    CooperCertificate certificate;
};

// Hooks of a run. Each may be left empty.
struct CooperRunCallbacks {
    // A warning to show, at the moment it arises; each text once a run.
    std::function<void(const std::string&)> warn;
    // The precision or the correction text is to go back to its default.
    std::function<void()> resetPrecision;
    std::function<void()> resetCorrection;
    // Group run: group groupNo has members and has been listed; the state holds its members
    // and, for a solved group, its history. The window draws the group here.
    std::function<void(const CooperRunResult& soFar, int groupNo)> groupListed;
};

// The inputs of a run over the project as it stands: the ticked criteria weigh the places, the
// groups count while their box is ticked, the settings as the settings page holds them, the
// data mode of the main window. separator is the locale's decimal separator (UTF-8).
CooperRunInputs runInputs(const Project& project, std::string separator);

// The members of group g as a run takes them: at most 100, each cut to a name's 100 characters.
std::vector<std::string> groupRunMembers(const DistributionGroups& groups, int groupNo);

// Whether a run with these inputs solves per group: groups ticked and a group list with lines.
bool isGroupRun(const CooperRunInputs& inputs);

// The places of the project that a run takes: the count bounded to 0..99.
int runPlaceCount(int placeCount);

// One run over places 1..placeCount of the record. Throws only what the record's bounds checks
// throw.
CooperRunResult runCooperDriver(CooperState& state, const TProjectRecord& record, int placeCount,
    const CooperRunInputs& inputs, const CooperRunCallbacks& callbacks = {});

// The line the window shows under its lists when a run used up a history: the notice, with
// the groups concerned in brackets ("(SKUPINA 2, 3)"). Empty when no history was used up.
std::string runNoticeText(const std::vector<int>& historyFullGroups);

// The line under the lists of a group run that left places out: "Miesta mimo skupín: A, B".
// Empty when every place is in a group.
std::string ungroupedText(const std::vector<std::string>& ungroupedPlaces);
// The sum of the weighted distances over the solved groups, each from its centre.
long double groupRunTotal(const CooperRunResult& result);
// "Vážený súčet skupín: 170265,5388" for a group run with a solved group; empty otherwise.
std::string groupTotalText(const CooperRunResult& result, std::string_view separator);
// "Výsledok je optimum (miesto NAME)": the certificate line of a result proven optimal on a place.
std::string optimumPlaceText(const std::string& name);
// "Existujúce centrum: NAME"
std::string existingCentreText(std::string_view name);
// Where each solved group's centre lies in latitude/longitude, for a project with a coordinate
// reference: "Skupina 1: Poloha optima: ..." or "Skupina 1: Existujúce centrum NAME: ...". Empty
// without a reference.
std::vector<std::string> groupPositionLines(const CooperRunResult& result, const TProjectRecord& record);

// The line under the lists that says how good the result is: "Výsledok je optimum (miesto
// NAME)" for a one-centre result proven to lie on an optimal place, else "Výsledok je nanajvýš
// o G % horší ako optimum" with G in percent to 4 significant digits and the locale's
// separator; a group run gives the largest gap over its solved groups whose centres were
// iterated. Empty when nothing can be said (no such group, a negative weight).
std::string certificateText(
    const CooperRunResult& result, const TProjectRecord& record, std::string_view separator);
// The gap of one certificate as that line writes it ("Výsledok je nanajvýš o 0,01234 % horší
// ako optimum"), without regard to a place.
std::string gapText(long double gap, std::string_view separator);
// The same for one group: its gap, or its optimal member by name; for a group served from an
// existing centre, existingCentreText.
std::string groupCertificateText(const CooperGroupResult& group, std::string_view separator);

// The iterates of a history, entries 1..finalIter (bounded to the history).
std::vector<IteratePoint> historyPoints(const CooperHistory& x, const CooperHistory& y, int finalIter);

// The project places 1..placeCount as the chart takes them.
std::vector<ChartPoint> projectChartPlaces(const TProjectRecord& record, int placeCount);

} // namespace dorvan
