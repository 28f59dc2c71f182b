#pragma once

// solve, groups and render of dorvan-cli when the input is a place list (PlaceTable.h) instead
// of a project: the classic problem, every place served by its nearest centre (or within the
// size limits given), no limit of 99 places.

#include "core/cli/CliArguments.h"
#include "core/cli/ListOutput.h"
#include "core/cli/PlaceTable.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace dorvan::cli {

// The list of a file, its notices said on err; a refused list has every bad line named on err
// ("dorvan-cli: FILE:LINE: message") and gives nothing.
std::optional<PlaceTable> readListFor(const std::string& path, const ListOptions& o, std::ostream& err);

// The Weber point of all places with its certificate, as one group.
ListResult oneCentreResult(const PlaceTable& table);

// The best groups for `centres` centres by the options (fixed centres, size limits, time, threads,
// seed); the progress goes to `progress` when it is set. A problem that cannot be solved is a
// UsageError with the engine's message, prefixed by cmd.
ListResult listGroups(const PlaceTable& table, const ListOptions& o, int centres, const std::string& cmd,
    const std::function<void(double fraction, double seconds, double bestTotal)>& progress = {});

// Draws the progress line on a terminal (redrawn in place with a carriage return) and clears it
// when the search ends; nothing when `shown` is false.
class ProgressDisplay {
public:
    ProgressDisplay(std::ostream& err, bool shown)
        : err_(err)
        , shown_(shown)
    {
    }
    ~ProgressDisplay() { finish(); }
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    void show(double fraction, double seconds, double bestTotal);
    void finish();
    // The callback for listGroups, or none when nothing is shown.
    std::function<void(double, double, double)> callback();

private:
    std::ostream& err_;
    bool shown_;
    bool drawn_ = false;
};

int listSolveCommand(const SolveOptions& o, std::ostream& out, std::ostream& err);
int listGroupsCommand(const GroupsOptions& o, std::ostream& out, std::ostream& err);

} // namespace dorvan::cli
