#include "core/entry/PlaceRelations.h"

#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"

#include <algorithm>

namespace dorvan {

std::optional<double> parseDistance(std::string_view text)
{
    DecimalParse p = parseDecimal4(text);
    if (!p.ok() || p.number->tenThousandths <= 0)
        return std::nullopt;
    return p.number->value();
}

bool enterDistance(TProjectRecord& r, DistanceQuestions& q, int placeCount, double value)
{
    const std::optional<DistanceCursor> c = q.next(placeCount);
    if (!c)
        return false;
    r.Distance[c->row][c->col] = value;
    r.Distance[c->col][c->row] = value;
    r.Distance[c->row][c->row] = 0.0;
    q.answered(*c);
    return true;
}

int sortedPosition(const std::vector<Text100>& names, const Text100& name)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (compareNames(names[i].bytes(), name.bytes()) > 0)
            return static_cast<int>(i);
    return static_cast<int>(names.size());
}

bool listHolds(const Array1<Text100, MaxPlaces>& list, int count, const Text100& name)
{
    for (int k = 1; k <= std::clamp(count, 0, MaxPlaces); ++k)
        if (list[k] == name)
            return true;
    return false;
}

void chooseCentral(TProjectRecord& r, const Text100& name, int placeCount)
{
    r.CentralName = name;
    r.CentralState = 2;
    removeWarehouse(r, name);
    if (r.WarehouseCount + 1 == placeCount) {
        r.LoadTimeDM = 0.0;
        r.CapacityDM = 0.0;
    }
}

void cancelCentral(TProjectRecord& r)
{
    r.CentralName = Text100 {};
    r.CentralState = 0;
    r.LoadTimeDC = 0.0;
    r.CapacityDC = 0.0;
}

namespace {
std::vector<Text100> entries(const Array1<Text100, MaxPlaces>& list, int count)
{
    std::vector<Text100> v;
    for (int k = 1; k <= std::clamp(count, 0, MaxPlaces); ++k)
        v.push_back(list[k]);
    return v;
}
void store(Array1<Text100, MaxPlaces>& list, std::int32_t& count, const std::vector<Text100>& v)
{
    for (std::size_t i = 0; i < v.size(); ++i)
        list[static_cast<int>(i) + 1] = v[i];
    count = static_cast<std::int32_t>(v.size());
}
} // namespace

int addWarehouse(TProjectRecord& r, const Text100& name)
{
    std::vector<Text100> v = entries(r.WarehouseName, r.WarehouseCount);
    if (static_cast<int>(v.size()) >= MaxPlaces || std::find(v.begin(), v.end(), name) != v.end())
        return 0;
    const int pos = sortedPosition(v, name);
    v.insert(v.begin() + pos, name);
    store(r.WarehouseName, r.WarehouseCount, v);
    return pos + 1;
}

bool removeWarehouse(TProjectRecord& r, const Text100& name)
{
    std::vector<Text100> v = entries(r.WarehouseName, r.WarehouseCount);
    auto it = std::find(v.begin(), v.end(), name);
    if (it == v.end())
        return false;
    v.erase(it);
    store(r.WarehouseName, r.WarehouseCount, v);
    return true;
}

bool addPriority(TProjectRecord& r, const Text100& name)
{
    std::vector<Text100> v = entries(r.PriorityName, r.PriorityCount);
    if (static_cast<int>(v.size()) >= MaxPlaces)
        return false;
    v.push_back(name);
    store(r.PriorityName, r.PriorityCount, v);
    return true;
}

bool removePriority(TProjectRecord& r, int position)
{
    std::vector<Text100> v = entries(r.PriorityName, r.PriorityCount);
    if (position < 1 || position > static_cast<int>(v.size()))
        return false;
    v.erase(v.begin() + (position - 1));
    store(r.PriorityName, r.PriorityCount, v);
    return true;
}

int movePriority(TProjectRecord& r, int position, bool up)
{
    std::vector<Text100> v = entries(r.PriorityName, r.PriorityCount);
    const int n = static_cast<int>(v.size());
    if (position < 1 || position > n)
        return 0;
    int target = 0;
    if (up && position == 1) {
        std::rotate(v.begin(), v.begin() + 1, v.end());
        target = n;
    } else if (!up && position == n) {
        std::rotate(v.rbegin(), v.rbegin() + 1, v.rend());
        target = 1;
    } else {
        target = up ? position - 1 : position + 1;
        std::swap(v[static_cast<std::size_t>(position - 1)], v[static_cast<std::size_t>(target - 1)]);
    }
    store(r.PriorityName, r.PriorityCount, v);
    return target;
}

PlaceSplit splitPlaces(
    const TProjectRecord& r, int placeCount, const Array1<Text100, MaxPlaces>& list, int count)
{
    PlaceSplit s;
    const bool centre = !r.CentralName.empty();
    for (int p = 1; p <= clampPlaceCount(placeCount); ++p) {
        if (centre && r.PlaceName[p] == r.CentralName)
            continue;
        (listHolds(list, count, r.PlaceName[p]) ? s.listed : s.others).push_back(p);
    }
    return s;
}

namespace {

// What a listed name becomes after a change of the place list; empty when it leaves the list.
std::optional<Text100> followedName(const TProjectRecord& r, const Text100& name,
    const std::vector<Text100>& oldNames, const std::vector<int>& newNumber)
{
    std::optional<Text100> first;
    bool carried = false;
    for (std::size_t k = 0; k < oldNames.size() && k < newNumber.size(); ++k) {
        if (!(oldNames[k] == name))
            continue;
        carried = true;
        const int now = newNumber[k];
        if (now < 1 || now > MaxPlaceCount)
            continue;
        if (r.PlaceName[now] == name)
            return name;
        if (!first)
            first = r.PlaceName[now];
    }
    if (!carried)
        return name;
    return first;
}

std::vector<Text100> followedList(const TProjectRecord& r, const Array1<Text100, MaxPlaces>& list, int count,
    const std::vector<Text100>& oldNames, const std::vector<int>& newNumber)
{
    std::vector<Text100> out;
    for (const Text100& name : entries(list, count)) {
        const std::optional<Text100> now = followedName(r, name, oldNames, newNumber);
        if (now && std::find(out.begin(), out.end(), *now) == out.end())
            out.push_back(*now);
    }
    return out;
}

} // namespace

void followPlaceNames(
    TProjectRecord& r, const std::vector<Text100>& oldNames, const std::vector<int>& newNumber)
{
    std::vector<Text100> depots = followedList(r, r.WarehouseName, r.WarehouseCount, oldNames, newNumber);
    std::stable_sort(depots.begin(), depots.end(),
        [](const Text100& a, const Text100& b) { return compareNames(a.bytes(), b.bytes()) < 0; });
    const int oldDepots = std::clamp(r.WarehouseCount, 0, MaxPlaces);
    store(r.WarehouseName, r.WarehouseCount, depots);
    for (int k = static_cast<int>(depots.size()) + 1; k <= oldDepots; ++k)
        r.WarehouseName[k] = Text100 {};

    const std::vector<Text100> priorities
        = followedList(r, r.PriorityName, r.PriorityCount, oldNames, newNumber);
    const int oldPriorities = std::clamp(r.PriorityCount, 0, MaxPlaces);
    store(r.PriorityName, r.PriorityCount, priorities);
    for (int k = static_cast<int>(priorities.size()) + 1; k <= oldPriorities; ++k)
        r.PriorityName[k] = Text100 {};

    // The centre follows its place the same way; when its place is gone, so is the centre.
    if (!r.CentralName.empty()) {
        if (const std::optional<Text100> now = followedName(r, r.CentralName, oldNames, newNumber))
            r.CentralName = *now;
        else
            cancelCentral(r);
    }
}

std::optional<std::string> followedLine(
    const TProjectRecord& r, const std::string& line, const PlaceListChange& change)
{
    std::optional<std::string> first;
    bool carried = false;
    for (std::size_t k = 0; k < change.oldNames.size() && k < change.newNumber.size(); ++k) {
        if (displayName(change.oldNames[k]) != line)
            continue;
        carried = true;
        const int now = change.newNumber[k];
        if (now < 1 || now > MaxPlaceCount)
            continue;
        std::string name = displayName(r.PlaceName[now]);
        if (name == line)
            return line;
        if (!first)
            first = std::move(name);
    }
    if (!carried)
        return line;
    return first;
}

} // namespace dorvan
