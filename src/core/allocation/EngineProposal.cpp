// A project's group proposal from the p-median engine: the project's rules (at least 3 places
// a group, the size limit, the existing centres) as the engine's problem, its groups' centres
// then solved as the group search solves them, so that the two proposals compare total for
// total.

#include "core/allocation/ConstrainedGroups.h"
#include "core/allocation/GroupWeber.h"
#include "core/allocation/PMedian.h"

namespace dorvan {

namespace {

// The engine's time cap for a project: far above what 99 places take, so that the answer
// depends on the seed alone.
constexpr double ProjectTimeLimit = 20.0;
// Threads of the engine for a project: fixed, so that every machine proposes the same groups.
constexpr int ProjectThreads = 2;
// A project's proposal must come within a second or two (and is tried for every P of the table
// of centre counts): a lighter search than for a place list.
constexpr double ProjectEffort = 0.1;

} // namespace

std::optional<GroupSearchResult> engineProposal(std::span<const GroupSite> sites,
    const GroupSearchOptions& options, const GroupRules& rules, const std::atomic<bool>* cancel)
{
    if (static_cast<int>(sites.size()) <= ExactGroupSearchPlaces)
        return std::nullopt;
    std::vector<double> x, y, w;
    for (const GroupSite& s : sites) {
        x.push_back(s.x);
        y.push_back(s.y);
        w.push_back(static_cast<double>(s.weight));
    }
    pmedian::Problem problem { x, y, w, options.centres, rules.fixed, grouping::MinMembers, rules.maxPlaces };
    if (pmedian::problemWith(problem))
        return std::nullopt;
    pmedian::Options o;
    o.timeLimitSeconds = ProjectTimeLimit;
    o.threads = ProjectThreads;
    o.seed = options.seed;
    o.cancel = cancel;
    o.effort = ProjectEffort;
    const pmedian::Solution solution = pmedian::solve(problem, o);
    if (solution.cancelled)
        return std::nullopt;
    GroupSearchResult res;
    res.centres = options.centres;
    res.starts = solution.starts;
    res.bestFound = 1;
    res.groups.resize(solution.centres.size());
    for (std::size_t i = 0; i < sites.size(); ++i)
        res.groups[grouping::at(solution.centreOf[i])].members.push_back(static_cast<int>(i));
    for (std::size_t c = 0; c < res.groups.size(); ++c) {
        FoundGroup& g = res.groups[c];
        g.fixedPlace = solution.centres[c].fixedPlace;
        if (g.fixedPlace >= 0) {
            const GroupSite& at = sites[grouping::at(g.fixedPlace)];
            g.centre = { at.x, at.y, grouping::objectiveAt(sites, g.members, at.x, at.y), g.fixedPlace };
        } else {
            g.centre = weberPoint(sites, g.members);
        }
    }
    grouping::orderGroups(res.groups);
    res.total = grouping::totalOf(res.groups);
    return res;
}

} // namespace dorvan
