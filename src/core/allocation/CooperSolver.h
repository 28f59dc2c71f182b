#pragma once

// Cooper's location-allocation iteration: a weighted Weiszfeld iteration that finds the point
// with the least sum of weighted straight-line distances to a set of places. The X coordinate
// moves first, then the Y coordinate from the new X. Every iterate is kept so that the
// allocation window can list and draw the whole path.
//
// Nothing here touches a widget. The caller hands over the settings as the data-entry window
// shows them (the start point, the stopping rule, the precision and correction with the values
// parsed from their texts) and gets back, besides the iterates, the warnings to show and which
// fields to reset.

#include "core/allocation/CooperCertificate.h"
#include "core/project/AllocationSettings.h"
#include "core/project/ProjectRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// The history holds the start point and at most 999 steps.
inline constexpr int CooperHistorySize = 1000;
using CooperHistory = Array1<long double, CooperHistorySize>;

// The smallest number of members for which a group is solved.
inline constexpr int MinGroupMembers = 3;

// Not a box: runs repeat on every edit, so the window shows this where it does not interrupt.
inline constexpr std::string_view HistoryFullNotice
    = "Zadaná presnosť nebola dosiahnutá ani po 999 krokoch !!!";

// "Nedostatočný počet miest v SKUPINE n (MIN=3)!!!"
std::string tooFewMembersMessage(int groupNo);

// One place as the iteration sees it. A criterion that is not ticked gives its factor 1.
struct CooperPlace {
    double x = 0.0;
    double y = 0.0;
    double quantity = 1.0;
    double price = 1.0;
    std::int32_t flexibility = 1;
};

// Quantity × price × flexibility, multiplied in this order in extended precision.
long double cooperWeight(const CooperPlace& p);

// What the window has to do after a solve besides reading the iterates.
struct CooperReport {
    // Warnings to show, in the order they arose. A text that holds no acceptable value is
    // complained about once per call and its default is used; the caller resets the text
    // before the next call (the next group of a run reads the reset text).
    std::vector<std::string> messages;
    bool precisionReset = false; // set the precision text to "0,01"
    bool correctionReset = false; // set the correction text to "1,0"
    // The stopping rule had not held by entry 1000; entry 1000 was taken as the result.
    bool historyFull = false;
    // Number (1-based, in the order given) of a place on which the result lies exactly and at
    // which the optimality test holds; 0 when the result is not on such a place.
    int resultOnPlace = 0;
    // The result entry was set onto that place after the iteration had stopped near it.
    bool movedOntoPlace = false;
    // Group solve only: fewer than 3 members, so they were only looked up.
    bool tooFewMembers = false;
    // How far the result can be from the optimum (not made for a group of fewer than 3).
    // In a group solve optimalPlace is a member number.
    CooperCertificate certificate;
};

struct CooperRun {
    // Entry 1 is the start point, entry j the point after j-1 steps; entries past FinalIter
    // are zero.
    CooperHistory IterX;
    CooperHistory IterY;
    int FinalIter = 0;
    std::int64_t precisionUnits = 0; // E in force at the end
    std::int64_t correctionUnits = 0; // K in force at the end; 0 when the rule never read it
    CooperReport report;
};

// Runs the iteration on the places. Never divides by zero and never writes past entry 1000,
// whatever the places hold.
CooperRun solveCooper(std::span<const CooperPlace> places, const CooperSettings& settings);

// The solver state the allocation window owns. It survives between runs and is overwritten
// by each run; the names are those the window and the drawings use.
struct CooperState {
    // Working copy of the places, filled at the start of every run.
    std::int32_t CooperPlaceCount = 0;
    Array1<Text100, MaxPlaces> CooperPlaceName;
    Array1<double, MaxPlaces> CooperPlaceX;
    Array1<double, MaxPlaces> CooperPlaceY;
    Array1<double, MaxPlaces> CooperQuantity;
    Array1<double, MaxPlaces> CooperPrice;
    Array1<std::int32_t, MaxPlaces> CooperFlexibility;

    // One-centre history, the current group's history and their shared indices.
    CooperHistory IterX;
    CooperHistory IterY;
    CooperHistory GroupIterX;
    CooperHistory GroupIterY;
    std::int32_t IterIndex = 0;
    std::int32_t FinalIter = 0;

    // The group being solved.
    std::int32_t GroupNo = 0;
    std::int32_t GroupSize = 0;
    std::int32_t GroupMemberTotal = 0;
    Array1<Text100, MaxPlaces> GroupMemberName;
    Array1<double, MaxPlaces> GroupMemberX;
    Array1<double, MaxPlaces> GroupMemberY;
    // Whether member k matched a place name in the last lookup. A member that matched none
    // keeps the coordinates it had before.
    Array1<bool, MaxPlaces> GroupMemberFound;
    // The weight member k carried in the last group solve (0 when it matched no place).
    Array1<long double, MaxPlaces> GroupMemberWeight;
    // The group's centre is an existing centre at its place, not iterated (solveGroupAtPlace).
    bool GroupCentreExisting = false;
};

// Fills the working copy from the project: names and coordinates of places 1..placeCount, and
// the quantity, price and flexibility of the criteria that are ticked (1 otherwise).
void VstupUdajCMStavCreate(CooperState& s, const TProjectRecord& r, int placeCount, bool quantityOn,
    bool priceOn, bool flexibilityOn);

// One centre for all places of the working copy: fills IterX / IterY[1..FinalIter] and sets
// IterIndex = FinalIter.
CooperReport PocitajCooper(CooperState& s, const CooperSettings& settings);

// One centre for the group whose member names are GroupMemberName[1..GroupSize]. Looks the
// members up among the places by exact name (the last place of a repeated name wins) into
// GroupMemberX / GroupMemberY; with at least 3 members also solves the group into GroupIterX /
// GroupIterY and sets IterIndex = FinalIter. A member matching no place takes no part. With
// fewer than 3 members the histories and FinalIter stay as they were and tooFewMembers is set.
CooperReport PocitajCooperSkupiny(CooperState& s, const CooperSettings& settings);

// The group of GroupMemberName[1..GroupSize] served from an existing centre, member
// centreMember: the members are looked up as PocitajCooperSkupiny does, and the history holds
// that member's place alone (FinalIter = 1): no iteration. The certificate is that of the
// place, its objective the cost of serving the group from there. With fewer than 3 members
// nothing is solved, as in PocitajCooperSkupiny. Throws std::out_of_range when the centre is no
// member found among the places.
CooperReport solveGroupAtPlace(CooperState& s, int centreMember);

} // namespace dorvan
