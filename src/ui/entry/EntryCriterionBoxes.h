#pragma once

#include "core/project/Project.h"
#include "core/project/ProjectRecord.h"

#include <array>
#include <cstddef>

namespace entry {

// The check boxes of the criteria page, by the number of their object names (CheckBox1 ..
// CheckBox17). The first fifteen are the criteria of the record's CriterionOn bytes 0..14;
// Settings is "Nastavenie premenných DORVAN", which has no byte; Groups is "Definovanie
// distribučných skupín", byte 15.
enum class CriterionBox : int {
    Quantity = 1,
    Price,
    RealDistances,
    MaxRouteLength,
    MaxDistributionTime,
    Centre,
    Depots,
    LoadTimes,
    DepotCapacity,
    Priority,
    VehicleCount,
    VehicleCapacity,
    VehicleSpeed,
    Flexibility,
    EvenGroups,
    Settings,
    Groups,
};

// How a criterion's sheet is set up when its box changes.
enum class SheetKind {
    PlaceValues, // one grid of the places (quantity, price, supply frequency)
    Relation, // distances, centre, depots, priorities
    Route, // one value with an entry and a change mode
    SiteValues, // DC, DS and DM values, opened by the centre and the depots
    SingleValue, // one value with one OK; the three vehicle boxes share one sheet
    Switch, // the settings and groups switches below the criteria
};

struct CriterionBoxSpec {
    CriterionBox box;
    SheetKind sheet;
};

// The fifteen criterion boxes in the order they stand on the page; their captions are the
// core's CriterionCaptions.
inline constexpr std::array<CriterionBoxSpec, 15> CriterionBoxes { {
    { CriterionBox::Quantity, SheetKind::PlaceValues },
    { CriterionBox::Price, SheetKind::PlaceValues },
    { CriterionBox::RealDistances, SheetKind::Relation },
    { CriterionBox::MaxRouteLength, SheetKind::Route },
    { CriterionBox::MaxDistributionTime, SheetKind::Route },
    { CriterionBox::Centre, SheetKind::Relation },
    { CriterionBox::Depots, SheetKind::Relation },
    { CriterionBox::LoadTimes, SheetKind::SiteValues },
    { CriterionBox::DepotCapacity, SheetKind::SiteValues },
    { CriterionBox::Priority, SheetKind::Relation },
    { CriterionBox::VehicleCount, SheetKind::SingleValue },
    { CriterionBox::VehicleCapacity, SheetKind::SingleValue },
    { CriterionBox::VehicleSpeed, SheetKind::SingleValue },
    { CriterionBox::Flexibility, SheetKind::PlaceValues },
    { CriterionBox::EvenGroups, SheetKind::SingleValue },
} };

// The number in the box's object name.
constexpr int boxNumber(CriterionBox box)
{
    return static_cast<int>(box);
}

// A criterion box's place in CriterionBoxes, which is also its CriterionOn byte.
constexpr std::size_t boxIndex(CriterionBox box)
{
    return static_cast<std::size_t>(boxNumber(box) - 1);
}

constexpr SheetKind sheetKind(CriterionBox box)
{
    return box == CriterionBox::Settings || box == CriterionBox::Groups ? SheetKind::Switch
                                                                        : CriterionBoxes[boxIndex(box)].sheet;
}

// The record byte of a box; the settings switch has none.
constexpr dorvan::Criterion criterionOf(CriterionBox box)
{
    return box == CriterionBox::Groups ? dorvan::CritGroups : static_cast<dorvan::Criterion>(boxIndex(box));
}

// The box of a record byte.
constexpr CriterionBox boxOf(dorvan::Criterion c)
{
    return c == dorvan::CritGroups ? CriterionBox::Groups : static_cast<CriterionBox>(static_cast<int>(c) + 1);
}

constexpr bool isVehicleBox(CriterionBox box)
{
    return box == CriterionBox::VehicleCount || box == CriterionBox::VehicleCapacity
        || box == CriterionBox::VehicleSpeed;
}

// Whether a criterion box is ticked, as the project's choices keep it.
inline bool ticked(const dorvan::Project& project, CriterionBox box)
{
    return project.ticked(criterionOf(box));
}

} // namespace entry
