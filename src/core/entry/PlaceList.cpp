#include "core/entry/PlaceList.h"

#include "core/common/CodePage.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace dorvan {

int compareNames(std::string_view a, std::string_view b)
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

namespace {

std::string codePageKey(std::string_view utf8)
{
    try {
        return utf8ToCp1250(utf8);
    } catch (const CodePageError&) {
        return std::string(utf8);
    }
}

void swapPlaces(TProjectRecord& r, int i, int j)
{
    std::swap(r.PlaceName[i], r.PlaceName[j]);
    std::swap(r.PlaceX[i], r.PlaceX[j]);
    std::swap(r.PlaceY[i], r.PlaceY[j]);
    std::swap(r.PlaceQuantity[i], r.PlaceQuantity[j]);
    std::swap(r.PlacePrice[i], r.PlacePrice[j]);
    std::swap(r.PlaceFlexibility[i], r.PlaceFlexibility[j]);
    std::swap(r.Distance[i], r.Distance[j]);
    for (int k = 1; k <= MaxPlaces; ++k)
        std::swap(r.Distance[k][i], r.Distance[k][j]);
}

double straightLine(const TProjectRecord& r, int i, int j)
{
    if (i == j)
        return 0.0;
    long double dx = static_cast<long double>(r.PlaceX[i]) - static_cast<long double>(r.PlaceX[j]);
    long double dy = static_cast<long double>(r.PlaceY[i]) - static_cast<long double>(r.PlaceY[j]);
    return static_cast<double>(std::sqrt(dx * dx + dy * dy));
}

} // namespace

int compareNamesUtf8(std::string_view a, std::string_view b)
{
    return compareNames(codePageKey(a), codePageKey(b));
}

std::string displayName(const Text100& name)
{
    try {
        return name.toUtf8();
    } catch (const CodePageError&) {
        std::string out;
        for (char c : name.bytes()) {
            try {
                out += cp1250ToUtf8(std::string_view(&c, 1));
            } catch (const CodePageError&) {
                out += "\xEF\xBF\xBD";
            }
        }
        return out;
    }
}

std::vector<int> sortPlacesByName(TProjectRecord& r, int count)
{
    count = clampPlaceCount(count);
    std::vector<int> from(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k)
        from[static_cast<std::size_t>(k - 1)] = k;
    // Each pass of the exchange sort starts from place 1, but no pair before the place of the
    // last exchange can be out of order: the exchange only permuted places after it. So the
    // next pass may start there, which gives the same exchanges in O(n^3) instead of O(n^4).
    int i = 1;
    while (i <= count) {
        int j = i + 1;
        while (j <= count && compareNames(r.PlaceName[i].bytes(), r.PlaceName[j].bytes()) <= 0)
            ++j;
        if (j <= count) {
            swapPlaces(r, i, j); // and look at place i again
            std::swap(from[static_cast<std::size_t>(i - 1)], from[static_cast<std::size_t>(j - 1)]);
        } else {
            ++i;
        }
    }
    return from;
}

void computeDistances(TProjectRecord& r, int count)
{
    count = clampPlaceCount(count);
    for (int i = 1; i <= count; ++i)
        for (int j = 1; j <= count; ++j)
            r.Distance[i][j] = straightLine(r, i, j);
}

void straightenDistances(TProjectRecord& r, int place, int count)
{
    count = clampPlaceCount(count);
    if (place < 1 || place > MaxPlaceCount)
        return;
    for (int j = 1; j <= count; ++j)
        r.Distance[place][j] = r.Distance[j][place] = straightLine(r, place, j);
    r.Distance[place][place] = 0.0;
}

bool coordinatesDiffer(const TProjectRecord& r, int count)
{
    count = clampPlaceCount(count);
    for (int k = 2; k <= count; ++k)
        if (r.PlaceX[k] != r.PlaceX[1] || r.PlaceY[k] != r.PlaceY[1])
            return true;
    return false;
}

void storeNewPlace(TProjectRecord& r, int p, const Text100& name, double x, double y)
{
    r.PlaceName[p] = name;
    r.PlaceX[p] = x;
    r.PlaceY[p] = y;
    r.PlaceQuantity[p] = 1.0;
    r.PlacePrice[p] = 1.0;
    r.PlaceFlexibility[p] = 1;
}

void removePlace(TProjectRecord& r, int number, int oldCount)
{
    oldCount = clampPlaceCount(oldCount);
    if (number < 1 || number > oldCount)
        return;
    for (int k = number; k < oldCount; ++k) {
        r.PlaceName[k] = r.PlaceName[k + 1];
        r.PlaceX[k] = r.PlaceX[k + 1];
        r.PlaceY[k] = r.PlaceY[k + 1];
        r.PlaceQuantity[k] = r.PlaceQuantity[k + 1];
        r.PlacePrice[k] = r.PlacePrice[k + 1];
        r.PlaceFlexibility[k] = r.PlaceFlexibility[k + 1];
        r.Distance[k] = r.Distance[k + 1];
    }
    r.Distance[oldCount] = {};
    for (int row = 1; row <= MaxPlaces; ++row) {
        auto& line = r.Distance[row];
        for (int k = number; k < oldCount; ++k)
            line[k] = line[k + 1];
        line[oldCount] = 0.0;
    }
}

CountResult checkFirstCount(std::string_view text)
{
    auto n = parseWholeNumber(text);
    if (!n)
        return { CountCheck::Invalid, 0 };
    if (*n > MaxPlaceCount)
        return { CountCheck::TooMany, 0 };
    if (*n < 2)
        return { CountCheck::Invalid, 0 };
    return { CountCheck::Accepted, static_cast<int>(*n) };
}

CountResult checkAddCount(std::string_view text, int placeCount)
{
    auto n = parseWholeNumber(text);
    if (!n || *n <= 0)
        return { CountCheck::Invalid, 0 };
    if (*n >= 100 - static_cast<std::int64_t>(placeCount))
        return { CountCheck::TooMany, 0 };
    return { CountCheck::Accepted, static_cast<int>(*n) };
}

} // namespace dorvan

namespace dorvan {

namespace {

// The small letter of a Windows-1250 capital; other bytes stay. Apart from A..Z and the block
// 0xC0..0xDE (without the multiplication sign 0xD7), which lie 0x20 below their small letters,
// the capitals are these: Š Ś Ť Ž Ź Ł Ą Ş Ż Ľ.
unsigned char smallLetter(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    constexpr unsigned char capitals[] = { 0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0xA3, 0xA5, 0xAA, 0xAF, 0xBC };
    constexpr unsigned char small[] = { 0x9A, 0x9C, 0x9D, 0x9E, 0x9F, 0xB3, 0xB9, 0xBA, 0xBF, 0xBE };
    for (std::size_t i = 0; i < std::size(capitals); ++i)
        if (c == capitals[i])
            return small[i];
    return c;
}

std::string_view trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string placeNameKey(std::string_view cp1250)
{
    std::string key(trimmed(cp1250));
    for (char& c : key)
        c = static_cast<char>(smallLetter(static_cast<unsigned char>(c)));
    return key;
}

std::string placeExistsText(std::string_view utf8Name)
{
    return "Miesto " + std::string(trimmed(utf8Name)) + " už existuje !!!";
}

int placeNamed(const TProjectRecord& r, int count, const Text100& name, int except)
{
    const std::string key = placeNameKey(name.bytes());
    for (int k = 1; k <= std::min(count, MaxPlaceCount); ++k)
        if (k != except && placeNameKey(r.PlaceName[k].bytes()) == key)
            return k;
    return 0;
}

std::vector<std::pair<int, int>> repeatedNames(const std::vector<Text100>& names)
{
    std::vector<std::pair<int, int>> repeats;
    std::vector<std::string> keys;
    for (const Text100& n : names) {
        keys.push_back(placeNameKey(n.bytes()));
        const auto earlier = std::find(keys.begin(), keys.end() - 1, keys.back());
        if (earlier != keys.end() - 1)
            repeats.emplace_back(static_cast<int>(keys.size()), static_cast<int>(earlier - keys.begin()) + 1);
    }
    return repeats;
}

} // namespace dorvan
