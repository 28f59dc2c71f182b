#include "entry/PlaceRelations.h"

#include "common/DecimalText.h"
#include "entry/PlaceList.h"

#include <algorithm>

namespace dorvan {

namespace {
int clampCount(int placeCount)
{
    return std::clamp(placeCount, 0, MaxPlaceCount);
}
} // namespace

DistanceCursor firstDistancePair(int entryState, int placeCount, int addedCount)
{
    const int n = clampCount(placeCount);
    if (entryState == 1 && addedCount >= 1 && addedCount < n)
        return { n - addedCount + 1, 1 };
    return { 1, 2 };
}

void advanceDistancePair(DistanceCursor& c, int placeCount, int addedCount)
{
    const int n = clampCount(placeCount);
    if (c.col < n) {
        ++c.col;
    } else if (c.row < n) {
        ++c.row;
        if (addedCount >= 1)
            c.col = 1;
        else
            c.col = c.row < n ? c.row + 1 : c.row;
    }
}

bool distancePairOpen(const DistanceCursor& c, int placeCount)
{
    const int n = clampCount(placeCount);
    return c.row >= 1 && c.col >= 1 && c.row <= n && c.col <= n;
}

bool distanceEntryFinished(const DistanceCursor& c, int placeCount)
{
    const int n = clampCount(placeCount);
    return c.row > n || (c.row == n && c.col == n) || n < 2;
}

std::optional<double> parseDistance(std::string_view text)
{
    DecimalParse p = parseDecimal4(text);
    if (!p.ok() || p.number->tenThousandths <= 0)
        return std::nullopt;
    return p.number->value();
}

bool enterDistance(TProjectRecord& r, DistanceCursor& c, int placeCount, int addedCount, double value)
{
    if (!distancePairOpen(c, placeCount))
        return false;
    if (c.row != c.col) {
        r.Distance[c.row][c.col] = value;
        r.Distance[c.col][c.row] = value;
        advanceDistancePair(c, placeCount, addedCount);
    }
    if (c.row == c.col && distancePairOpen(c, placeCount)) {
        r.Distance[c.row][c.row] = 0.0;
        advanceDistancePair(c, placeCount, addedCount);
    }
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
    for (int p = 1; p <= clampCount(placeCount); ++p) {
        if (centre && r.PlaceName[p] == r.CentralName)
            continue;
        (listHolds(list, count, r.PlaceName[p]) ? s.listed : s.others).push_back(p);
    }
    return s;
}

} // namespace dorvan
