#include "core/allocation/CooperRunText.h"

#include "core/common/DecimalText.h"
#include "core/common/Rounding.h"
#include "core/entry/GroupList.h"

#include <algorithm>
#include <cmath>

namespace dorvan {

namespace {

constexpr int PanelCharWidth = 7;
constexpr int PanelPadding = 10;

// "[" + x + ";" + y + "]" with both values as iterates.
std::string iteratePair(long double x, long double y, std::string_view separator)
{
    std::string s = "[";
    s += formatIterate(x, separator);
    s += ';';
    s += formatIterate(y, separator);
    s += ']';
    return s;
}

std::string coordinatePair(double x, double y, std::string_view separator)
{
    std::string s = "[";
    s += formatCoordinate(x, separator);
    s += ';';
    s += formatCoordinate(y, separator);
    s += ']';
    return s;
}

// "[X" + a + sep + "Y" + b + "]=", the label of a path line.
std::string pathLabel(int xIndex, char between, int yIndex)
{
    std::string s = "[X";
    s += std::to_string(xIndex);
    s += between;
    s += 'Y';
    s += std::to_string(yIndex);
    s += "]=";
    return s;
}

std::size_t characters(std::string_view utf8)
{
    // A list line may hold a name that was cut inside a character; count lead bytes then.
    std::size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

} // namespace

std::string formatCoordinate(double value, std::string_view separator)
{
    return formatGeneral15(value, separator);
}

std::string formatIterate(long double value, std::string_view separator)
{
    // The count of ten-thousandths is formed from the extended value itself, so that the
    // rounding sees every digit the iteration computed.
    constexpr long double Limit = 9.0e18L;
    if (std::isfinite(value)) {
        const long double count = roundHalfEven(value * 10000.0L);
        if (std::fabs(count) < Limit)
            return formatDecimal4(Decimal4 { static_cast<std::int64_t>(count) }, separator);
    }
    return formatDecimal4(static_cast<double>(value), separator);
}

int textPanelWidth(std::string_view utf8)
{
    const std::size_t n = std::min<std::size_t>(characters(utf8), 100000);
    return PanelCharWidth * static_cast<int>(n) + PanelPadding;
}

int fitPanelWidth(int currentWidth, std::string_view utf8)
{
    return std::max(currentWidth, textPanelWidth(utf8));
}

std::vector<std::string> iterationLines(
    const CooperHistory& iterX, const CooperHistory& iterY, int finalIter, std::string_view separator)
{
    std::vector<std::string> lines;
    const int last = std::min(finalIter, CooperHistorySize);
    if (last < 1)
        return lines;
    lines.reserve(static_cast<std::size_t>(2 * last - 1));
    std::string start = "[X0;Y0]=";
    start += iteratePair(iterX[1], iterY[1], separator);
    lines.push_back(std::move(start));
    for (int j = 2; j <= last; ++j) {
        // After the X move the Y is still the one of the previous point.
        std::string half = pathLabel(j - 1, ';', j - 2);
        half += iteratePair(iterX[j], iterY[j - 1], separator);
        lines.push_back(std::move(half));
        std::string whole = pathLabel(j - 1, ',', j - 1);
        whole += iteratePair(iterX[j], iterY[j], separator);
        lines.push_back(std::move(whole));
    }
    return lines;
}

std::string optimumLine(
    const CooperHistory& iterX, const CooperHistory& iterY, int finalIter, std::string_view separator)
{
    const int f = std::min(finalIter, CooperHistorySize);
    if (f < 1)
        return {};
    std::string s = pathLabel(f - 1, ',', f - 1);
    s += iteratePair(iterX[f], iterY[f], separator);
    return s;
}

std::string placeLine(
    ChartDataMode mode, int number, std::string_view nameUtf8, double x, double y, std::string_view separator)
{
    std::string s;
    s.reserve(nameUtf8.size() + 48);
    if (mode == ChartDataMode::Manual) {
        s.push_back('M');
        s.append(std::to_string(number));
        s.append(": ");
    }
    s.append(nameUtf8);
    s += ", ";
    s += coordinatePair(x, y, separator);
    return s;
}

std::string memberLine(
    int number, std::string_view nameUtf8, bool found, double x, double y, std::string_view separator)
{
    std::string s = "M";
    s += std::to_string(number);
    s += ": ";
    s += nameUtf8;
    s += ", ";
    s += found ? coordinatePair(x, y, separator) : std::string("[?;?]");
    return s;
}

std::string groupOptimumLine(int groupNo, long double x, long double y, std::string_view separator)
{
    std::string s = "[Xopt";
    s += std::to_string(groupNo);
    s += ";Yopt";
    s += std::to_string(groupNo);
    s += "]=";
    s += iteratePair(x, y, separator);
    return s;
}

std::string existingCentreLine(
    int groupNo, std::string_view nameUtf8, long double x, long double y, std::string_view separator)
{
    const std::string g = std::to_string(groupNo);
    return "[X" + g + ";Y" + g + "]=" + iteratePair(x, y, separator)
        + " Existujúce centrum: " + std::string(nameUtf8);
}

} // namespace dorvan
