#pragma once

// An allocation run as the core keeps it: what it was made from, the driver's result, the
// solver's working copy it left and the order in which the run told its warnings, the settings
// it put back to their defaults and its groups. computeAllocation is the one place the program
// solves an allocation; every reader (the allocation window, the report, the export, the copy,
// dorvan-cli, the rounds' depot) takes a result made by it through AllocationResults, which
// keeps it with the project and makes it once for the same inputs. replayAllocation tells a
// window what the run told as it went, in the same order, so that a window shows a kept result
// as it would show a run.

#include "core/allocation/CandidateSites.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/allocation/CooperSolver.h"
#include "core/project/Project.h"
#include "core/project/ProjectRecord.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dorvan {

struct AllocationResult {
    CooperRunInputs inputs;
    int placeCount = 0; // the places the run took, 0..99
    CooperRunResult run;
    // The working copy as the run left it: the one-centre history, the last group's state.
    CooperState state;
    // One-centre run: every place priced as the centre, cheapest first (empty for groups).
    std::vector<CandidateSite> candidates;

    // What the run told its callbacks, in order.
    struct Step {
        enum class Kind { Warning, PrecisionReset, CorrectionReset, GroupListed };
        Kind kind = Kind::Warning;
        int index = 0; // the warning's index in run.warnings, or the group's number
        // The group listed: the lines of both lists and the groups the run held then.
        std::size_t pathLines = 0;
        std::size_t placeLines = 0;
        std::size_t groups = 0;
    };
    std::vector<Step> steps;

    // The one-centre path, IterX / IterY[1..finalIter] (empty for a group run).
    std::vector<IteratePoint> path() const;
};

// Solves the allocation over places 1..placeCount of the record with the inputs. Throws only
// what the record's bounds checks throw.
std::shared_ptr<const AllocationResult> computeAllocation(
    const TProjectRecord& record, int placeCount, const CooperRunInputs& inputs);

// Calls the callbacks as the run called them, in the same order: each warning, each setting
// put back, and each group listed with the result as it stood then (its lines and groups up to
// that group).
void replayAllocation(const AllocationResult& result, const CooperRunCallbacks& callbacks);

// The allocation results of a project, kept with it and made once for the same inputs.
//
// A result is kept with the revision of the inputs it was made from. Until the project counts
// its own edits, the revision is told by the inputs themselves: what a run takes from the
// project (the places' rows, the ticked criteria, the groups and existing centres, the
// settings, the data mode, the separator) is compared with what the kept result was made from,
// and a new result, under a new revision, is made only when they differ. A reader asking again
// for unchanged inputs gets the kept result however often it asks (the allocation window reads
// it at every click, resize and activation). The last two sets of inputs are kept: the window's
// and the rounds' one centre without groups are asked for by turns.
class AllocationResults {
public:
    // The allocation of the project as it stands, as the allocation window runs it; separator
    // is the locale's decimal separator (UTF-8) of the list texts.
    std::shared_ptr<const AllocationResult> of(const Project& project, const std::string& separator);
    // The allocation of places 1..placeCount of a record with inputs the caller took
    // (dorvan-cli's settings, the rounds' one centre without groups).
    std::shared_ptr<const AllocationResult> of(
        const TProjectRecord& record, int placeCount, const CooperRunInputs& inputs);

    // How many results were made rather than read again.
    int made() const;
    // The revision of the inputs of the result last asked for: a new one each time they differ
    // from those of every kept result.
    std::uint64_t revision() const;

private:
    struct Entry;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Entry>> kept_;
    int made_ = 0;
    std::uint64_t revisions_ = 0;
    std::uint64_t last_ = 0;
};

// The allocation results kept with a project (the keeper made when first asked for).
AllocationResults& allocationsOf(const Project& project);

} // namespace dorvan
