#include "core/entry/GroupList.h"

#include "core/common/CodePage.h"
#include "core/common/DecimalText.h"
#include "core/entry/PlaceList.h"

#include <algorithm>
#include <optional>

namespace dorvan {
namespace {

constexpr std::string_view HeaderStart = "--- Skupina ";
constexpr std::string_view HeaderEnd = " ---";

// A list line back into a stored name. Lines come from place names, so they convert; a name
// that showed a damaged byte as U+FFFD keeps a '?' there.
Text100 storedName(const std::string& line)
{
    try {
        return Text100::fromUtf8(line);
    } catch (const CodePageError&) {
        std::string bytes;
        std::size_t i = 0;
        while (i < line.size()) {
            std::size_t len = 1;
            while (i + len < line.size() && (static_cast<unsigned char>(line[i + len]) & 0xC0) == 0x80)
                ++len;
            try {
                bytes += utf8ToCp1250(std::string_view(line).substr(i, len));
            } catch (const CodePageError&) {
                bytes += '?';
            }
            i += len;
        }
        return Text100::fromBytes(bytes);
    }
}

// The number of a header line (0 when it is too large to be one).
int headerNumber(std::string_view line)
{
    const std::string_view digits
        = line.substr(HeaderStart.size(), line.size() - HeaderStart.size() - HeaderEnd.size());
    const std::optional<std::int64_t> n = parseWholeNumber(digits);
    return n && *n > 0 && *n <= 1000000 ? static_cast<int>(*n) : 0;
}

void renumberHeaders(std::vector<std::string>& lines)
{
    int g = 0;
    for (auto& line : lines)
        if (isGroupHeader(line))
            line = groupHeader(++g);
}

} // namespace

std::string groupHeader(int g)
{
    std::string s(HeaderStart);
    s += std::to_string(g);
    s += HeaderEnd;
    return s;
}

bool isGroupHeader(std::string_view line)
{
    if (line.size() <= HeaderStart.size() + HeaderEnd.size() || !line.starts_with(HeaderStart)
        || !line.ends_with(HeaderEnd))
        return false;
    std::string_view number
        = line.substr(HeaderStart.size(), line.size() - HeaderStart.size() - HeaderEnd.size());
    return std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

GroupLists followedGroupLists(const GroupLists& l, const TProjectRecord& r, const PlaceListChange& change)
{
    GroupLists out { {}, {}, l.lastGroupItem, l.groupCount };
    for (const std::string& line : l.places)
        if (std::optional<std::string> now = followedLine(r, line, change))
            out.places.push_back(std::move(*now));
    for (std::size_t i = 0; i < l.groups.size(); ++i) {
        if (std::optional<std::string> now = followedLine(r, l.groups[i], change))
            out.groups.push_back(std::move(*now));
        else if (static_cast<int>(i) <= l.lastGroupItem)
            --out.lastGroupItem;
    }
    return out;
}

GroupLists buildGroupLists(const TProjectRecord& r, int placeCount)
{
    GroupLists l;
    l.groupCount = std::clamp(r.GroupCount, 0, MaxPlaces);
    int total = 0;
    for (int g = 1; g <= l.groupCount; ++g) {
        l.groups.push_back(groupHeader(g));
        int members = std::max(0, r.GroupPlaceCount[g]);
        for (int m = 0; m < members && total < MaxPlaces; ++m)
            l.groups.push_back(displayName(r.GroupedPlaceName[++total]));
    }
    l.lastGroupItem = static_cast<int>(l.groups.size()) - 1;

    placeCount = std::clamp(placeCount, 0, MaxPlaceCount);
    for (int k = 1; k <= placeCount; ++k) {
        bool grouped = false;
        for (int m = 1; m <= total && !grouped; ++m)
            grouped = r.GroupedPlaceName[m] == r.PlaceName[k];
        if (!grouped)
            l.places.push_back(displayName(r.PlaceName[k]));
    }
    return l;
}

MoveInResult moveIntoGroups(GroupLists& l, int placeRow, int selectedGroupRow)
{
    MoveInResult res;
    if (placeRow < 0 || placeRow >= static_cast<int>(l.places.size()))
        return res;
    if (l.groups.empty()) {
        l.groupCount = 1;
        l.groups.push_back(groupHeader(1));
        l.lastGroupItem = 0;
    }
    std::string name = l.places[static_cast<std::size_t>(placeRow)];
    if (selectedGroupRow >= 0 && selectedGroupRow < l.lastGroupItem
        && selectedGroupRow < static_cast<int>(l.groups.size()))
        l.groups.insert(l.groups.begin() + selectedGroupRow + 1, name);
    else
        l.groups.push_back(name);
    ++l.lastGroupItem;
    l.places.erase(l.places.begin() + placeRow);
    res.moved = true;
    res.placesEmptied = l.places.empty();
    return res;
}

ConfirmResult confirmGroup(GroupLists& l)
{
    ConfirmResult res;
    if (l.places.empty() || l.groups.empty())
        return res;
    res.acted = true;
    if (l.groups.back() != groupHeader(l.groupCount)) {
        ++l.groupCount;
        l.groups.push_back(groupHeader(l.groupCount));
        ++l.lastGroupItem;
        res.headerAdded = true;
    }
    return res;
}

TakeOutResult takeOutOfGroups(GroupLists& l, int groupRow)
{
    TakeOutResult res;
    if (groupRow < 0 || groupRow >= static_cast<int>(l.groups.size())
        || isGroupHeader(l.groups[static_cast<std::size_t>(groupRow)]))
        return res;
    --l.lastGroupItem;

    std::string name = l.groups[static_cast<std::size_t>(groupRow)];
    auto at = std::find_if(l.places.begin(), l.places.end(),
        [&](const std::string& line) { return compareNamesUtf8(line, name) > 0; });
    res.placeRow = static_cast<int>(at - l.places.begin());
    l.places.insert(at, name);
    l.groups.erase(l.groups.begin() + groupRow);
    res.moved = true;

    // An empty group inside the list: its header is directly followed by the next header.
    int last = std::min(l.lastGroupItem, static_cast<int>(l.groups.size()) - 1);
    for (int k = 1; k <= last; ++k) {
        if (isGroupHeader(l.groups[static_cast<std::size_t>(k - 1)])
            && isGroupHeader(l.groups[static_cast<std::size_t>(k)])) {
            l.groups.erase(l.groups.begin() + (k - 1));
            --l.lastGroupItem;
            renumberHeaders(l.groups);
            --l.groupCount;
            res.emptyGroupRemoved = true;
            break;
        }
    }
    if (!l.groups.empty() && l.groups.back() == groupHeader(l.groupCount)) {
        l.groups.pop_back();
        --l.lastGroupItem;
        --l.groupCount;
        res.emptyLastGroupRemoved = true;
    }
    res.groupsEmptied = l.groups.empty();
    return res;
}

int groupCountFromText(std::string_view text)
{
    const std::optional<std::int64_t> n = parseWholeNumber(text);
    if (!n || *n <= 0)
        return 0;
    return static_cast<int>(std::min<std::int64_t>(*n, MaxRunGroups));
}

DistributionGroups groupsFromLines(const std::vector<std::string>& groupLines, int shownGroupCount)
{
    DistributionGroups d;
    d.Count = shownGroupCount;
    for (const std::string& line : groupLines) {
        if (isGroupHeader(line))
            d.Groups.push_back({ headerNumber(line), {} });
        else if (!d.Groups.empty())
            d.Groups.back().Members.push_back(line);
    }
    return d;
}

DistributionGroups storedGroups(const TProjectRecord& r, int placeCount)
{
    const GroupLists lists = buildGroupLists(r, placeCount);
    return groupsFromLines(lists.groups, lists.groupCount);
}

void storeGroups(const DistributionGroups& groups, int groupCount, TProjectRecord& r)
{
    if (groups.Groups.empty() || groups.Count <= 0)
        return;
    const int n = std::min(std::max(groups.Count, groupCount), MaxPlaces);
    int total = 0;
    for (int k = 1; k <= n; ++k) {
        int c = 0;
        for (const std::string& name : groups.members(k)) {
            if (total == MaxPlaces)
                break;
            ++total;
            ++c;
            r.GroupedPlaceName[total] = storedName(name);
        }
        r.GroupPlaceCount[k] = c;
    }
}

void selectGroups(
    const std::vector<std::string>& groupLines, int shownGroupCount, int groupCount, TProjectRecord& r)
{
    storeGroups(groupsFromLines(groupLines, shownGroupCount), groupCount, r);
}

} // namespace dorvan
