#include "core/allocation/AllocationResult.h"

#include <algorithm>
#include <bit>
#include <iterator>

namespace dorvan {

std::vector<IteratePoint> AllocationResult::path() const
{
    if (run.groupRun)
        return {};
    return historyPoints(state.IterX, state.IterY, run.finalIter);
}

std::shared_ptr<const AllocationResult> computeAllocation(
    const TProjectRecord& record, int placeCount, const CooperRunInputs& inputs)
{
    auto result = std::make_shared<AllocationResult>();
    result->inputs = inputs;
    result->placeCount = runPlaceCount(placeCount);
    using Step = AllocationResult::Step;
    std::vector<Step>& steps = result->steps;
    // The driver tells each warning once a run, so its index is the count told before it.
    int warnings = 0;
    CooperRunCallbacks told;
    told.warn = [&](const std::string&) { steps.push_back({ Step::Kind::Warning, warnings++ }); };
    told.resetPrecision = [&] { steps.push_back({ Step::Kind::PrecisionReset }); };
    told.resetCorrection = [&] { steps.push_back({ Step::Kind::CorrectionReset }); };
    told.groupListed = [&](const CooperRunResult& soFar, int groupNo) {
        steps.push_back({ Step::Kind::GroupListed, groupNo, soFar.pathLines.size(), soFar.placeLines.size(),
            soFar.groups.size() });
    };
    result->run = runCooperDriver(result->state, record, placeCount, inputs, told);
    result->candidates = oneCentreCandidates(record, result->placeCount, result->run, result->state);
    return result;
}

namespace {

template <typename T> void appendUpTo(std::vector<T>& to, const std::vector<T>& from, std::size_t count)
{
    const std::size_t end = std::min(count, from.size());
    for (std::size_t i = to.size(); i < end; ++i)
        to.push_back(from[i]);
}

} // namespace

void replayAllocation(const AllocationResult& result, const CooperRunCallbacks& callbacks)
{
    using Kind = AllocationResult::Step::Kind;
    const CooperRunResult& run = result.run;
    // The result as the run held it at each group: grown step by step, each line copied once.
    CooperRunResult soFar;
    soFar.groupRun = run.groupRun;
    soFar.groupCount = run.groupCount;
    for (const AllocationResult::Step& step : result.steps) {
        switch (step.kind) {
        case Kind::Warning:
            if (callbacks.warn && step.index >= 0
                && static_cast<std::size_t>(step.index) < run.warnings.size())
                callbacks.warn(run.warnings[static_cast<std::size_t>(step.index)]);
            break;
        case Kind::PrecisionReset:
            if (callbacks.resetPrecision)
                callbacks.resetPrecision();
            break;
        case Kind::CorrectionReset:
            if (callbacks.resetCorrection)
                callbacks.resetCorrection();
            break;
        case Kind::GroupListed:
            appendUpTo(soFar.pathLines, run.pathLines, step.pathLines);
            appendUpTo(soFar.placeLines, run.placeLines, step.placeLines);
            appendUpTo(soFar.groups, run.groups, step.groups);
            if (callbacks.groupListed)
                callbacks.groupListed(soFar, step.index);
            break;
        }
    }
}

namespace {

// A place as a run takes it. Numbers are compared by their bits: a NaN typed into a value is
// the same input the next time too.
struct RunPlace {
    Text100 name;
    std::uint64_t x = 0, y = 0, quantity = 0, price = 0;
    std::int32_t flexibility = 0;
    bool operator==(const RunPlace&) const = default;
};

std::vector<RunPlace> runPlaces(const TProjectRecord& r, int count)
{
    std::vector<RunPlace> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i)
        rows.push_back({ r.PlaceName[i], std::bit_cast<std::uint64_t>(r.PlaceX[i]),
            std::bit_cast<std::uint64_t>(r.PlaceY[i]), std::bit_cast<std::uint64_t>(r.PlaceQuantity[i]),
            std::bit_cast<std::uint64_t>(r.PlacePrice[i]), r.PlaceFlexibility[i] });
    return rows;
}

} // namespace

struct AllocationResults::Entry {
    CooperRunInputs inputs;
    int placeCount = 0;
    std::vector<RunPlace> places;
    std::uint64_t revision = 0;
    std::shared_ptr<const AllocationResult> result;
};

std::shared_ptr<const AllocationResult> AllocationResults::of(
    const Project& project, const std::string& separator)
{
    return of(project.Record, project.State.PlaceCount, runInputs(project, separator));
}

std::shared_ptr<const AllocationResult> AllocationResults::of(
    const TProjectRecord& record, int placeCount, const CooperRunInputs& inputs)
{
    const int count = runPlaceCount(placeCount);
    std::vector<RunPlace> places = runPlaces(record, count);
    const std::lock_guard lock(mutex_);
    const auto same = std::find_if(kept_.begin(), kept_.end(), [&](const std::shared_ptr<Entry>& e) {
        return e->placeCount == count && e->inputs == inputs && e->places == places;
    });
    if (same != kept_.end()) {
        // The one read last stays longest.
        std::shared_ptr<Entry> entry = *same;
        kept_.erase(same);
        kept_.push_back(entry);
        last_ = entry->revision;
        return entry->result;
    }
    auto entry = std::make_shared<Entry>();
    entry->result = computeAllocation(record, count, inputs);
    entry->inputs = inputs;
    entry->placeCount = count;
    entry->places = std::move(places);
    entry->revision = ++revisions_;
    last_ = entry->revision;
    ++made_;
    constexpr std::size_t Kept = 2;
    if (kept_.size() == Kept)
        kept_.erase(kept_.begin());
    kept_.push_back(entry);
    return entry->result;
}

int AllocationResults::made() const
{
    const std::lock_guard lock(mutex_);
    return made_;
}

std::uint64_t AllocationResults::revision() const
{
    const std::lock_guard lock(mutex_);
    return last_;
}

AllocationResults& allocationsOf(const Project& project)
{
    if (!project.Allocations)
        project.Allocations = std::make_shared<AllocationResults>();
    return *project.Allocations;
}

} // namespace dorvan
