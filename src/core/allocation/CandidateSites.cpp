#include "core/allocation/CandidateSites.h"

#include "core/allocation/CostContours.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace dorvan {

std::vector<CandidateSite> candidateSites(
    std::span<const CostSite> sites, std::span<const std::string> names, long double objective)
{
    std::vector<CandidateSite> out;
    const std::size_t n = std::min(sites.size(), names.size());
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        CandidateSite c;
        c.name = names[i];
        c.objective = weightedDistanceSum(sites, sites[i].x, sites[i].y);
        if (objective != 0.0L)
            c.excess = (c.objective - objective) / objective * 100.0L;
        out.push_back(std::move(c));
    }
    // Costs equal but for the order their terms were summed in are a tie: the sort compares
    // them to 12 digits of the largest.
    long double largest = 0.0L;
    for (const CandidateSite& c : out)
        largest = std::max(largest, std::fabs(c.objective));
    const auto key = [largest](const CandidateSite& c) {
        return largest > 0.0L && std::isfinite(static_cast<double>(largest))
            ? std::llround(static_cast<double>(c.objective / largest * 1e12L))
            : 0LL;
    };
    std::stable_sort(
        out.begin(), out.end(), [&](const CandidateSite& a, const CandidateSite& b) { return key(a) < key(b); });
    return out;
}

std::vector<CandidateSite> oneCentreCandidates(const TProjectRecord& record, int placeCount,
    const CooperRunResult& result, const CooperState& state)
{
    if (result.groupRun || result.finalIter < 1)
        return {};
    const std::vector<CostSite> sites = oneCentreCostSites(state);
    std::vector<std::string> names;
    const int n = std::min(runPlaceCount(placeCount), static_cast<int>(sites.size()));
    for (int i = 1; i <= n; ++i)
        names.push_back(displayName(record.PlaceName[i]));
    return candidateSites(sites, names, result.certificate.objective);
}

std::vector<CandidateSite> groupCandidates(const CooperGroupResult& group)
{
    if (!group.solved || group.iterates.empty())
        return {};
    // The cost sites are the found members in member order.
    std::vector<std::string> names;
    for (std::size_t k = 0; k < group.memberNames.size(); ++k)
        if (k < group.memberFound.size() && group.memberFound[k])
            names.push_back(group.memberNames[k]);
    return candidateSites(group.costSites, names, group.certificate.objective);
}

std::string candidateLine(const CandidateSite& site, std::string_view separator)
{
    if (!site.excess || !std::isfinite(static_cast<double>(*site.excess)))
        return site.name + ": \u2013";
    char text[64];
    // A cost a hair under the result's (a coarse stopping rule) reads as +0,00 %, not -0,00 %.
    double shown = std::round(static_cast<double>(*site.excess) * 100.0) / 100.0;
    if (shown == 0.0)
        shown = 0.0;
    std::snprintf(text, sizeof text, "%+.2f", shown);
    std::string s(text);
    if (const auto dot = s.find('.'); dot != std::string::npos)
        s.replace(dot, 1, separator);
    return site.name + ": " + s + " %";
}

} // namespace dorvan
