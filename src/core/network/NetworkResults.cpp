#include "core/network/NetworkResults.h"

#include <bit>
#include <cstdint>

namespace dorvan {

namespace {

bool sameSearch(const RoundsOptions& a, const RoundsOptions& b)
{
    return a.seed == b.seed && a.iterations == b.iterations && a.threads == b.threads
        && std::bit_cast<std::uint64_t>(a.timeLimit) == std::bit_cast<std::uint64_t>(b.timeLimit);
}

} // namespace

struct NetworkResults::Stars {
    StarWorkingCopy copy;
    std::string separator;
    std::shared_ptr<const StarSearchResult> result;
};

struct NetworkResults::Rounds {
    RoundsProblem problem;
    RoundsOptions options;
    std::string separator;
    std::shared_ptr<const RoundsPlan> plan;
};

std::shared_ptr<const StarSearchResult> NetworkResults::stars(
    const Project& project, const std::string& separator)
{
    StarWorkingCopy copy = VstupUdajRealStavCreate(project);
    const std::lock_guard lock(mutex_);
    if (stars_ && stars_->separator == separator && stars_->copy == copy)
        return stars_->result;
    auto kept = std::make_shared<Stars>();
    kept->result = std::make_shared<const StarSearchResult>(Hviezda(copy, separator));
    kept->copy = std::move(copy);
    kept->separator = separator;
    ++starSearchesMade_;
    stars_ = kept;
    return kept->result;
}

std::shared_ptr<const RoundsPlan> NetworkResults::rounds(
    const RoundsProblem& problem, const RoundsOptions& options, const std::string& separator) const
{
    const std::lock_guard lock(mutex_);
    if (rounds_ && sameSearch(rounds_->options, options) && rounds_->separator == separator
        && rounds_->problem == problem)
        return rounds_->plan;
    return nullptr;
}

void NetworkResults::keepRounds(
    const RoundsProblem& problem, const RoundsOptions& options, const std::string& separator, RoundsPlan plan)
{
    if (plan.cancelled)
        return;
    auto kept = std::make_shared<Rounds>();
    kept->separator = separator;
    kept->problem = problem;
    kept->options = options;
    kept->options.cancel = nullptr;
    kept->options.progress = nullptr;
    kept->plan = std::make_shared<const RoundsPlan>(std::move(plan));
    const std::lock_guard lock(mutex_);
    rounds_ = kept;
}

std::shared_ptr<const RoundsPlan> NetworkResults::searchedRounds(
    const RoundsProblem& problem, const RoundsOptions& options, const std::string& separator)
{
    if (std::shared_ptr<const RoundsPlan> kept = rounds(problem, options, separator))
        return kept;
    auto plan = std::make_shared<const RoundsPlan>(searchRounds(problem, options, separator));
    {
        const std::lock_guard lock(mutex_);
        ++roundsSearchesMade_;
    }
    keepRounds(problem, options, separator, *plan);
    // The rounds kept are the ones given to every reader from now on.
    const std::shared_ptr<const RoundsPlan> kept = rounds(problem, options, separator);
    return kept ? kept : plan;
}

int NetworkResults::roundsSearchesMade() const
{
    const std::lock_guard lock(mutex_);
    return roundsSearchesMade_;
}

int NetworkResults::starSearchesMade() const
{
    const std::lock_guard lock(mutex_);
    return starSearchesMade_;
}

NetworkResults& networkResultsOf(const Project& project)
{
    if (!project.Networks)
        project.Networks = std::make_shared<NetworkResults>();
    return *project.Networks;
}

} // namespace dorvan
