#pragma once

// The allocation window runs again on every activation, click, drag and edit. A group too small
// to be solved ("Nedostatočný počet miest v SKUPINE 2 (MIN=3)!!!") is told once: runs over the
// same groups show that warning no more, while a change of the groups (or a run without them)
// makes it count afresh. Every other warning is shown as it arises.

#include "core/allocation/CooperRunDriver.h"

#include <set>
#include <string>

namespace dorvan {

class GroupWarnings {
public:
    // Called before each run with its inputs.
    void startRun(const CooperRunInputs& inputs);
    // Whether a warning that arose in the run is to be shown now.
    bool shows(const std::string& text);

private:
    bool groupRun_ = false;
    DistributionGroups groups_;
    std::set<std::string> shown_; // group-size warnings shown for groups_
};

} // namespace dorvan
