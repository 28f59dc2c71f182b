#pragma once

// Group proposals under rules: existing centres that stay where they are, and a largest number
// of places a group may hold. A fixed centre serves its group from its place (the group's cost
// is the weighted distance of its members to that place) and its group holds that place; the
// other centres move freely to their groups' weighted Weber points, as in the free search.
//
// Up to 10 places every partition that keeps the rules is tried. Above that the search runs
// alternating location-allocation from spread starts, each allocation an exact least-cost
// assignment of the places to the centres within the group sizes (a transportation problem
// solved by shortest augmenting paths), and ends with single-place moves judged with the
// centres solved again.

#include "core/allocation/GroupSearch.h"

#include <atomic>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dorvan {

struct GroupRules {
    std::vector<int> fixed; // indices into the sites of the existing centres
    int maxPlaces = 0; // the most places a group may hold; 0 for no limit
    bool any() const { return !fixed.empty() || maxPlaces > 0; }
};

// The least number of centres a proposal under the rules may have: the fixed centres (at
// least one), or 2 without them.
int leastCentres(const GroupRules& rules);

// Why a proposal of this many centres cannot keep the rules (a Slovak message for the user,
// naming P, m and n where the sizes cannot work), or nothing when it can.
std::optional<std::string> groupRulesProblem(
    std::span<const GroupSite> sites, int centres, const GroupRules& rules);

// Assigns the places to centres at the given positions at the least sum of weight × distance,
// each centre getting at least 3 and at most `maxPlaces` places (every place when 0) and each
// pinned place (pinned[c], or -1) the centre c. Returns the centre of each place. Requires
// 3 · centres <= places <= maxPlaces · centres.
std::vector<int> assignPlaces(std::span<const GroupSite> sites, std::span<const long double> cx,
    std::span<const long double> cy, std::span<const int> pinned, int maxPlaces);

// The best groups found under the rules; the groups of fixed centres carry their place in
// `fixedPlace`. Requires groupSearchProblem-style checks and groupRulesProblem to have no
// objection. Deterministic for a given seed.
GroupSearchResult searchGroupsWithRules(std::span<const GroupSite> sites, const GroupSearchOptions& options,
    const GroupRules& rules, const std::atomic<bool>* cancel = nullptr);

// The proposal of the p-median engine under the project's rules (at least 3 places a group, the
// size limit, the existing centres), its centres solved as the group search solves them.
// Nothing up to 10 places (the search tries every partition there) or when cancelled.
std::optional<GroupSearchResult> engineProposal(std::span<const GroupSite> sites,
    const GroupSearchOptions& options, const GroupRules& rules, const std::atomic<bool>* cancel = nullptr);

// The proposal both the groups page and dorvan-cli make: the search under the rules when there
// are any, otherwise the free search exactly as before rules existed; then the engine's
// proposal, taken only when its total is lower (the starts count it as one more start), so a
// proposal only gets better. Deterministic for a given seed.
std::optional<std::string> proposalProblem(std::span<const GroupSite> sites, int centres, const GroupRules& rules);
GroupSearchResult proposeGroups(std::span<const GroupSite> sites, const GroupSearchOptions& options,
    const GroupRules& rules, const std::atomic<bool>* cancel = nullptr);

// One row of the table of centre counts "Počet centier / Náklady / Úspora" under the rules.
// Without existing centres one centre is the baseline of the savings, the Weber point of all
// places; a count that cannot keep the rules gets its refusal and no total (the row after it
// then has no saving: before is null). total(P) is the best total of a proposal of P centres,
// from the caller's search (which may reuse a result it already has).
struct CentreCountEntry {
    CentreCountRow row;
    std::optional<std::string> refusal;
};
CentreCountEntry centreCountEntry(std::span<const GroupSite> sites, int centres, const GroupRules& rules,
    const CentreCountRow* before, const std::function<long double(int)>& total);

// Whether P centres is the table's baseline (one centre, none of them existing).
inline bool baselineCount(int centres, const GroupRules& rules) { return centres == 1 && rules.fixed.empty(); }

} // namespace dorvan
