#include "entry/GroupList.h"

#include "common/CodePage.h"
#include "entry/PlaceList.h"

#include <algorithm>

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

void selectGroups(
    const std::vector<std::string>& groupLines, int shownGroupCount, int groupCount, TProjectRecord& r)
{
    if (groupLines.empty() || shownGroupCount <= 0)
        return;
    int n = std::min(std::max(shownGroupCount, groupCount), MaxPlaces);
    int total = 0;
    for (int k = 1; k <= n; ++k) {
        auto header = std::find(groupLines.begin(), groupLines.end(), groupHeader(k));
        int c = 0;
        if (header != groupLines.end()) {
            const std::string next = groupHeader(k + 1);
            for (auto it = header + 1; it != groupLines.end() && *it != next; ++it) {
                if (total == MaxPlaces)
                    break;
                ++total;
                ++c;
                r.GroupedPlaceName[total] = storedName(*it);
            }
        }
        r.GroupPlaceCount[k] = c;
    }
}

} // namespace dorvan
