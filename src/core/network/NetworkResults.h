#pragma once

// The network results of a project, kept with it and made once for the same inputs, as the
// allocation's are (AllocationResults): the star search of the network window and the delivery
// rounds. The star search is made here when its working copy of the project differs from the
// one the kept result was made from. The rounds are searched on a thread of their own with
// progress and a stop (the network window's rounds panel, dorvan-cli), and the plan found is
// kept here with its problem and options, so that the same problem is not searched again.

#include "core/network/Rounds.h"
#include "core/network/RoundsSearch.h"
#include "core/network/StarSearch.h"
#include "core/project/Project.h"

#include <memory>
#include <mutex>
#include <string>

namespace dorvan {

class NetworkResults {
public:
    // The star search over the project as it stands; separator is the locale's decimal
    // separator (UTF-8) of the list totals.
    std::shared_ptr<const StarSearchResult> stars(const Project& project, const std::string& separator);

    // The rounds kept for this problem searched with these options (seed, steps, threads, time
    // limit) and separator; nothing when none are kept.
    std::shared_ptr<const RoundsPlan> rounds(
        const RoundsProblem& problem, const RoundsOptions& options, const std::string& separator) const;
    // Keeps the rounds a search found for a problem. A stopped search's rounds are not kept:
    // asked for again, the search is made whole.
    void keepRounds(const RoundsProblem& problem, const RoundsOptions& options, const std::string& separator,
        RoundsPlan plan);
    // The rounds kept, or searched here (searchRounds, which takes the options' progress and
    // stop) and kept.
    std::shared_ptr<const RoundsPlan> searchedRounds(
        const RoundsProblem& problem, const RoundsOptions& options, const std::string& separator);

    // How many star searches and rounds searches were made rather than read again.
    int starSearchesMade() const;
    int roundsSearchesMade() const;

private:
    struct Stars;
    struct Rounds;
    mutable std::mutex mutex_;
    std::shared_ptr<Stars> stars_;
    std::shared_ptr<Rounds> rounds_;
    int starSearchesMade_ = 0;
    int roundsSearchesMade_ = 0;
};

// The network results kept with a project (the keeper made when first asked for).
NetworkResults& networkResultsOf(const Project& project);

} // namespace dorvan
