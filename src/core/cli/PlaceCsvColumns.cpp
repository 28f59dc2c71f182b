// The columns of a place list by the names of its header, in English, Slovak and Czech.
#include "core/cli/PlaceCsvColumns.h"

#include "core/common/DecimalText.h"

#include <algorithm>

namespace dorvan::cli {

namespace {

// Lower case for the letters a header may hold: ASCII and the Latin letters of two UTF-8 bytes
// (Latin-1 and Latin Extended-A, where Slovak letters lie).
std::string foldCase(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 'A' && b <= 'Z') {
            out += static_cast<char>(b + 32);
            continue;
        }
        if ((b == 0xC3 || b == 0xC4 || b == 0xC5) && i + 1 < s.size()) {
            unsigned cp = ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
            if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)
                cp += 0x20;
            else if (((cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177)) && cp % 2 == 0)
                cp += 1;
            else if (((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) && cp % 2 == 1)
                cp += 1;
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
            ++i;
            continue;
        }
        out += static_cast<char>(b);
    }
    return out;
}

enum class Role { Name, X, Y, Quantity, Price, Flexibility, Latitude, Longitude, Unknown };

Role roleOf(std::string_view header)
{
    const std::string h = foldCase(trimBlanks(header));
    struct Named {
        const char* text;
        Role role;
    };
    // Slovak and Czech headers beside the English ones: "názov"/"název", "(zemepisná) šírka",
    // "(zeměpisná) šířka", "(zemepisná) dĺžka", "(zeměpisná) délka".
    static const Named names[] = { { "name", Role::Name }, { "n\xC3\xA1zov", Role::Name },
        { "n\xC3\xA1zev", Role::Name }, { "x", Role::X }, { "y", Role::Y }, { "quantity", Role::Quantity },
        { "mno\xC5\xBEstvo", Role::Quantity }, { "price", Role::Price }, { "cena", Role::Price },
        { "flexibility", Role::Flexibility }, { "flexibilita", Role::Flexibility },
        { "latitude", Role::Latitude }, { "lat", Role::Latitude }, { "\xC5\xA1\xC3\xADrka", Role::Latitude },
        { "zemepisn\xC3\xA1 \xC5\xA1\xC3\xADrka", Role::Latitude },
        { "\xC5\xA1\xC3\xAD\xC5\x99ka", Role::Latitude },
        { "zem\xC4\x9Bpisn\xC3\xA1 \xC5\xA1\xC3\xAD\xC5\x99ka", Role::Latitude },
        { "longitude", Role::Longitude }, { "lon", Role::Longitude }, { "lng", Role::Longitude },
        { "d\xC4\xBA\xC5\xBEka", Role::Longitude },
        { "zemepisn\xC3\xA1 d\xC4\xBA\xC5\xBEka", Role::Longitude }, { "d\xC3\xA9lka", Role::Longitude },
        { "zem\xC4\x9Bpisn\xC3\xA1 d\xC3\xA9lka", Role::Longitude } };
    for (const Named& n : names)
        if (h == n.text)
            return n.role;
    return Role::Unknown;
}

} // namespace

namespace placecsv {

Columns positionalColumns(int count)
{
    Columns c;
    c.quantity = count >= 4 ? 3 : -1;
    c.price = count >= 5 ? 4 : -1;
    c.flexibility = count >= 6 ? 5 : -1;
    return c;
}

std::string quotedText(std::string_view s)
{
    std::string q = "\"";
    q += s;
    q += '"';
    return q;
}

bool namesCoordinates(const std::vector<std::string>& header)
{
    bool lat = false;
    bool lon = false;
    for (const std::string& f : header) {
        lat = lat || roleOf(f) == Role::Latitude;
        lon = lon || roleOf(f) == Role::Longitude;
    }
    return lat && lon;
}

// The columns a header with latitude and longitude names; problems go to problems.
Columns namedColumns(const std::vector<std::string>& header, int line, std::vector<CsvProblem>& problems,
    std::vector<std::string>& notices)
{
    Columns c;
    c.name = c.x = c.y = -1;
    bool xy = false;
    for (std::size_t k = 0; k < header.size(); ++k) {
        const int at = static_cast<int>(k);
        int* slot = nullptr;
        switch (roleOf(header[k])) {
        case Role::Name:
            slot = &c.name;
            break;
        case Role::Quantity:
            slot = &c.quantity;
            break;
        case Role::Price:
            slot = &c.price;
            break;
        case Role::Flexibility:
            slot = &c.flexibility;
            break;
        case Role::Latitude:
            slot = &c.latitude;
            break;
        case Role::Longitude:
            slot = &c.longitude;
            break;
        case Role::X:
        case Role::Y:
            xy = true;
            continue;
        case Role::Unknown:
            problems.push_back({ line,
                "column " + std::to_string(at + 1) + " " + quotedText(header[k])
                    + " is none of name, latitude, longitude, quantity, price, flexibility, x, y" });
            continue;
        }
        if (*slot >= 0)
            problems.push_back({ line,
                "column " + std::to_string(at + 1) + " " + quotedText(header[k])
                    + " names a value that an earlier column already gives" });
        else
            *slot = at;
    }
    if (c.name < 0)
        problems.push_back({ line, "no column is named \"name\", \"n\xC3\xA1zov\" or \"n\xC3\xA1zev\"" });
    if (xy)
        notices.push_back("the x and y columns are ignored: the places are given by latitude and longitude");
    return c;
}

} // namespace placecsv

std::string crsFromUserText(std::string_view text)
{
    text = trimBlanks(text);
    const auto digits = [](std::string_view s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (digits(text))
        return "EPSG:" + std::string(text);
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos && foldCase(trimBlanks(text.substr(0, colon))) == "epsg") {
        const std::string_view code = trimBlanks(text.substr(colon + 1));
        if (digits(code))
            return "EPSG:" + std::string(code);
    }
    return std::string(text);
}

} // namespace dorvan::cli
