#pragma once

// The commands of dorvan-cli that need no drawing: solve, places and import, and what render
// shares with solve. Each writes its result to out and its messages to err and returns the
// exit code; refused input throws UsageError with a one-line message.

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/cli/CliArguments.h"
#include "core/project/ProjectFile.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace dorvan::cli {

// The program shows numbers the Slovak way.
inline constexpr const char* Separator = ",";

// A project file read and checked; a file that cannot be read is a UsageError naming it.
LoadedProject loadProject(const std::string& path, std::ostream& err);

// A file read whole for a command, at most limit + 1 bytes (enough to tell that it is too large);
// a file that cannot be read is a UsageError naming it.
std::string readWholeFile(const std::string& path, std::size_t limit);

// The places a run takes: the project's place count as opening the project sets it.
int projectPlaceCount(const TProjectRecord& record);

// Callbacks that report the run's warnings on err, each once, with the value put in force.
CooperRunCallbacks reportingCallbacks(const SolveOptions& options, std::ostream& err);

// The allocation the window would show for this project after "Otvor ako ...", read from the
// project's results: the criteria switched on in the file weigh the places, the stored groups
// are the group list (with --groups), the settings are the options', the data mode follows the
// picture, numbers take the decimal comma. Its warnings are reported on err as the run told
// them (reportingCallbacks).
std::shared_ptr<const AllocationResult> allocationFor(
    const TProjectRecord& record, const SolveOptions& options, std::ostream& err);

// After a run: the notice the window shows under its lists when a history was used up.
void reportNotice(const CooperRunResult& result, std::ostream& err);

int solveCommand(const SolveOptions& options, std::ostream& out, std::ostream& err);
int placesCommand(const PlacesOptions& options, std::ostream& out, std::ostream& err);
int importCommand(const ImportOptions& options, std::ostream& out, std::ostream& err);
int groupsCommand(const GroupsOptions& options, std::ostream& out, std::ostream& err);
// map: exit status 2 and one line for a refusal, nothing written.
int mapCommand(const MapOptions& options, std::ostream& out, std::ostream& err);

// distances: a matrix imported into a copy of the project (every problem named on err, exit
// status 2 and nothing written when it is refused), or the request for one printed.
int distancesCommand(const DistancesOptions& options, std::ostream& out, std::ostream& err);

// The project as the program holds it after "Otvor ako ..." of this record.
std::unique_ptr<Project> projectAsOpened(const TProjectRecord& record);

} // namespace dorvan::cli
