#pragma once

// What dorvan-cli writes for a place list: the result as text or JSON, the files of --out
// (GeoJSON or CSV, a row per place and a row per centre) and the progress line of a search.

#include "core/allocation/CooperCertificate.h"
#include "core/cli/PlaceTable.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace dorvan::cli {

struct ListCentre {
    double x = 0.0;
    double y = 0.0;
    long double objective = 0.0L; // sum of weight x distance of its members
    long members = 0;
    long fixedPlace = -1; // the existing centre's place (--fixed) that serves it, -1 for a free one
    long onPlace = -1; // the place it lies on, -1 for none
};

struct ListResult {
    long double total = 0.0L;
    std::vector<ListCentre> centres;
    std::vector<std::int32_t> centreOf; // per place, an index into centres
    bool oneCentre = false; // solve: the Weber point of all places, with its certificate
    CooperCertificate certificate; // of the one-centre result
    int starts = 0;
    bool timedOut = false;
    double seconds = 0.0;
};

// The numbers of the text output, the Slovak way ("12,5").
std::string listNumber(long double v);
// Seconds to a tenth: "0,0 s", "12,3 s".
std::string secondsText(double seconds);

// solve on a list: the places, the optimum (and its latitude/longitude), the objective and the
// certificate line.
void writeListSolveText(const PlaceTable& table, const ListResult& r, std::ostream& out);
// groups on a list: "centres P, total T (...)" and per group its header, its centre, its
// objective and its member count, the member names unless `members` is false.
void writeListGroupsText(const PlaceTable& table, const ListResult& r, bool members, std::ostream& out);
// Both as JSON: "total" and "groups" with "centre", "objective", "members" (names; left out when
// `members` is false), "member_count", the latitude/longitude of a centre where the list had
// them; the one-centre run also its certificate.
void writeListJson(const PlaceTable& table, const ListResult& r, bool members, std::ostream& out);

// The certificate line of a one-centre result, as the window shows it under its lists.
std::string listCertificateLine(const PlaceTable& table, const ListResult& r);

// --out: GeoJSON (RFC 7946; only for a list with latitude/longitude) or CSV by the file's name.
// A Point per place (kind "place", name, group, weight) and per centre (kind "centre", group,
// objective, members, existing, name of its place when it is an existing centre). The CSV has
// the columns kind,group,name,x,y,weight,objective,members,existing and latitude,longitude
// where the list had them, "," separated with a decimal point. Throws UsageError when the
// file cannot be written or GeoJSON has no coordinates to use.
void writeListFile(const std::string& path, const PlaceTable& table, const ListResult& r);

// One line of progress: a bar of the share done, the seconds spent and the best total so far
// ("[#######.............]  3,2 s  best total 1234,5"). The bar is `width` less the room the
// text after it may take (at least 10 characters), so that it keeps its length.
inline constexpr int ProgressTextRoom = 44;
std::string progressLine(double fraction, double seconds, std::optional<double> bestTotal, int width = 72);

} // namespace dorvan::cli
