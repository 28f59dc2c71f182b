#include "core/entry/ExistingCentres.h"

#include "core/common/CodePage.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

namespace dorvan {

std::vector<std::string> storedExistingCentres(const TProjectRecord& r, int placeCount)
{
    const int n = std::clamp(placeCount, 0, MaxPlaceCount);
    std::vector<std::pair<int, int>> marked; // order number, place
    for (int k = 1; k <= n; ++k) {
        const double mark = r.Distance[ExistingCentreRow][k];
        if (std::isfinite(mark) && mark >= 1.0 && mark <= MaxPlaceCount && std::floor(mark) == mark)
            marked.emplace_back(static_cast<int>(mark), k);
    }
    std::sort(marked.begin(), marked.end());
    std::vector<std::string> names;
    for (const auto& [order, place] : marked) {
        std::string name = displayName(r.PlaceName[place]);
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(std::move(name));
    }
    return names;
}

void storeExistingCentres(const std::vector<std::string>& names, int placeCount, TProjectRecord& r)
{
    const int n = std::clamp(placeCount, 0, MaxPlaceCount);
    r.Distance[ExistingCentreRow] = {};
    int order = 0;
    for (const std::string& name : names) {
        for (int k = 1; k <= n; ++k) {
            if (displayName(r.PlaceName[k]) != name || r.Distance[ExistingCentreRow][k] != 0.0)
                continue;
            r.Distance[ExistingCentreRow][k] = ++order;
            break;
        }
    }
}

std::vector<std::string> followedExistingCentres(
    const std::vector<std::string>& names, const TProjectRecord& r, const PlaceListChange& change)
{
    std::vector<std::string> out;
    for (const std::string& name : names)
        if (std::optional<std::string> now = followedLine(r, name, change))
            if (std::find(out.begin(), out.end(), *now) == out.end())
                out.push_back(std::move(*now));
    return out;
}

int existingCentreMember(const std::vector<std::string>& members, const std::vector<std::string>& existing)
{
    for (const std::string& centre : existing) {
        const auto it = std::find(members.begin(), members.end(), centre);
        if (it != members.end())
            return static_cast<int>(it - members.begin());
    }
    return -1;
}

} // namespace dorvan
