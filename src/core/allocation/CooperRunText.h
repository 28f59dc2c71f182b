#pragma once

// The texts of an allocation run: the lines of the iteration path, the place and member lines,
// the group centres, and how wide the panels showing them must be. The allocation window only
// puts these lines into its lists.
//
// Two number formats are used. Place coordinates are doubles written in the general format
// with up to 15 significant digits. Iterates are extended values rounded to four decimals.
// Both are written in the shortest form with the locale's decimal separator.

#include "core/allocation/ChartGeometry.h"
#include "core/allocation/CooperSolver.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// A place coordinate: general format, up to 15 significant digits ("12,5", "-3", "0,1").
std::string formatCoordinate(double value, std::string_view separator);

// An iterate: the value × 10000 rounded to a whole number (halves to even), written as that
// count of ten-thousandths in the shortest form ("12,5", "3", "-0,0001"). A value too large
// for the count, or not finite, is written by the rule of the stored values instead.
std::string formatIterate(long double value, std::string_view separator);

// The panel width for a text: 7 pixels a character and 10 pixels more. Characters, not bytes,
// are counted.
int textPanelWidth(std::string_view utf8);
// A panel fitted to a text: widened to textPanelWidth when narrower, else kept.
int fitPanelWidth(int currentWidth, std::string_view utf8);

// The iteration path of a one-centre run with result entry finalIter: "[X0;Y0]=[x;y]", then
// for every step j (2..finalIter) the point after its X move "[Xj-1;Yj-2]=[..]" and after the
// whole step "[Xj-1,Yj-1]=[..]". A finalIter outside 1..1000 is bounded to the history.
std::vector<std::string> iterationLines(
    const CooperHistory& iterX, const CooperHistory& iterY, int finalIter, std::string_view separator);

// The optimum as the result field shows it: the same text as the last line of the path. Empty
// when there is no result (finalIter below 1).
std::string optimumLine(
    const CooperHistory& iterX, const CooperHistory& iterY, int finalIter, std::string_view separator);

// A place of the place list: "M" + n + ": " + name + ", [x;y]" when typed in, name + ", [x;y]"
// when clicked onto a picture.
std::string placeLine(ChartDataMode mode, int number, std::string_view nameUtf8, double x, double y,
    std::string_view separator);

// A group member: "M" + m + ": " + name + ", [x;y]", m counting on through the groups. A member
// whose name matches no place has no coordinates: "[?;?]".
std::string memberLine(
    int number, std::string_view nameUtf8, bool found, double x, double y, std::string_view separator);

// The centre of group g: "[Xopt" + g + ";Yopt" + g + "]=[x;y]".
std::string groupOptimumLine(int groupNo, long double x, long double y, std::string_view separator);

// The centre of group g served from an existing centre, which no iteration moves:
// "[X" + g + ";Y" + g + "]=[x;y] Existujúce centrum: " + name.
std::string existingCentreLine(
    int groupNo, std::string_view nameUtf8, long double x, long double y, std::string_view separator);

} // namespace dorvan
