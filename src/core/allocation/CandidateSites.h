#pragma once

// Candidate sites: a centre is rarely built at the exact optimum, so each place of a run is
// priced as the centre instead. F(place) is the weighted sum of distances from the place to
// every place of the run with the run's weights; its excess over the optimum is
//     excess = (F(place) - objective) / objective * 100 %,
// with objective = F at the listed result. The list runs from the cheapest place up; places
// of equal cost keep their order in the run.

#include "core/allocation/CooperRunDriver.h"
#include "core/allocation/WeberSums.h"
#include "core/project/ProjectRecord.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

struct CandidateSite {
    std::string name; // UTF-8, as the run lists the place
    long double objective = 0.0L; // F with the centre on the place
    // Percent above the result's F; nothing when the result's F is 0 (all weight on one
    // point), where no percentage can be said.
    std::optional<long double> excess;
};

// Each site, with its name, priced against objective (F at the result).
std::vector<CandidateSite> candidateSites(
    std::span<const CostSite> sites, std::span<const std::string> names, long double objective);

// The candidates of a one-centre run over places 1..placeCount of the record (empty for a
// group run or a run without a result).
std::vector<CandidateSite> oneCentreCandidates(const TProjectRecord& record, int placeCount,
    const CooperRunResult& result, const CooperState& state);

// The candidates of one solved group: its members found among the places (empty otherwise).
std::vector<CandidateSite> groupCandidates(const CooperGroupResult& group);

// The list line "NAME: +0,83 %", the excess to two decimals with the given separator; "NAME: –"
// without an excess.
std::string candidateLine(const CandidateSite& site, std::string_view separator);

} // namespace dorvan
