#pragma once

// "dorvan-cli network": the star search of the network window and its station graph.

#include "core/cli/CliArguments.h"
#include "core/network/Rounds.h"
#include "core/network/ExactNetwork.h"
#include "core/network/StarSearch.h"

#include <iosfwd>

namespace dorvan::cli {

// The project as the program holds it after "Otvor ako ...", searched as the network window
// searches it.
struct NetworkRun {
    std::unique_ptr<Project> project;
    StarSearchResult search;
    std::optional<ExactStarResult> exact; // --method exact
};
NetworkRun runNetwork(const std::string& path, std::ostream& err);

// The project as opened and its delivery rounds; a project the rounds cannot be made for
// throws UsageError with the reason.
struct RoundsRun {
    std::unique_ptr<Project> project;
    RoundsProblem problem;
    RoundsPlan plan;
};
RoundsRun runRounds(const NetworkOptions& options, std::ostream& err);

int networkCommand(const NetworkOptions& options, std::ostream& out, std::ostream& err);

} // namespace dorvan::cli
