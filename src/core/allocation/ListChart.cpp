#include "core/allocation/ListChart.h"

#include "core/allocation/GroupColours.h"
#include "core/common/CodePage.h"

#include <algorithm>
#include <cmath>

namespace dorvan {

namespace {

constexpr float Margin = 24.0f;
constexpr float TitleHeight = 18.0f;

// HSV with full value to 0xRRGGBB.
std::uint32_t hueColour(double hue, double saturation, double value)
{
    const double h = std::fmod(hue, 360.0) / 60.0;
    const double c = value * saturation;
    const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
    case 0:
        r = c, g = x;
        break;
    case 1:
        r = x, g = c;
        break;
    case 2:
        g = c, b = x;
        break;
    case 3:
        g = x, b = c;
        break;
    case 4:
        r = x, b = c;
        break;
    default:
        r = c, b = x;
        break;
    }
    const double m = value - c;
    const auto byte = [&](double v) { return static_cast<std::uint32_t>(std::lround((v + m) * 255.0)); };
    return byte(r) << 16 | byte(g) << 8 | byte(b);
}

// A round length for the scale bar: 1, 2 or 5 times a power of ten, at most `most` km.
double roundKm(double most)
{
    if (!(most > 0.0))
        return 0.0;
    const double p = std::pow(10.0, std::floor(std::log10(most)));
    for (const double f : { 5.0, 2.0, 1.0 })
        if (f * p <= most)
            return f * p;
    return p;
}

} // namespace

std::uint32_t listGroupColour(int g)
{
    if (g >= 0 && g < 7) {
        const std::uint32_t bgr = VstupUdajFarby(g + 1);
        return (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
    }
    // Black (group 7's colour) is kept for the centres' outlines beyond the first seven.
    return hueColour(37.0 + 137.50776405 * g, g % 2 == 0 ? 0.85 : 0.65, g % 3 == 0 ? 0.75 : 0.92);
}

ListChart listChart(std::span<const double> x, std::span<const double> y,
    std::span<const std::int32_t> centreOf, std::span<const double> cx, std::span<const double> cy, int width,
    int height, const std::vector<std::string>& names)
{
    ListChart c;
    c.width = width;
    c.height = height;
    const std::size_t n = x.size();
    double minX = HUGE_VAL, maxX = -HUGE_VAL, minY = HUGE_VAL, maxY = -HUGE_VAL;
    const auto take = [&](double px, double py) {
        minX = std::min(minX, px), maxX = std::max(maxX, px);
        minY = std::min(minY, py), maxY = std::max(maxY, py);
    };
    for (std::size_t i = 0; i < n; ++i)
        take(x[i], y[i]);
    for (std::size_t k = 0; k < cx.size(); ++k)
        take(cx[k], cy[k]);
    if (!(minX <= maxX)) {
        minX = maxX = minY = maxY = 0.0;
    }
    // Names written to the right of their points take room on that side: 7 pixels a character.
    const bool named = n <= ListChartNamedPlaces && names.size() == n;
    double nameRoom = 0.0;
    if (named)
        for (const std::string& name : names)
            nameRoom = std::max(nameRoom, 7.0 * static_cast<double>(utf8Length(name)));
    nameRoom = std::min(nameRoom, width / 3.0);
    // Both axes at one scale, the drawing centred in the area left by the margins.
    const double areaW = std::max(1.0, width - 2.0 * Margin - nameRoom);
    const double areaH = std::max(1.0, height - 2.0 * Margin - TitleHeight);
    const double spanX = std::max(maxX - minX, 1e-9), spanY = std::max(maxY - minY, 1e-9);
    const double scale = std::min(areaW / spanX, areaH / spanY);
    const double left = Margin + (areaW - spanX * scale) / 2.0;
    const double top = Margin + TitleHeight + (areaH - spanY * scale) / 2.0;
    const auto toX = [&](double v) { return static_cast<float>(left + (v - minX) * scale); };
    const auto toY = [&](double v) { return static_cast<float>(top + (maxY - v) * scale); };
    c.px.resize(n);
    c.py.resize(n);
    c.group.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        c.px[i] = toX(x[i]);
        c.py[i] = toY(y[i]);
        c.group[i] = i < centreOf.size() ? centreOf[i] : 0;
    }
    for (std::size_t k = 0; k < std::max<std::size_t>(cx.size(), 1); ++k)
        c.colours.push_back(listGroupColour(static_cast<int>(k)));
    for (std::size_t k = 0; k < cx.size(); ++k)
        c.centres.push_back({ toX(cx[k]), toY(cy[k]), c.colours[k], std::to_string(k + 1) });
    // Points as large as the area a place has to itself allows: 3 pixels across for a few
    // hundred places, a single pixel for a hundred thousand.
    const double share = std::sqrt(areaW * areaH / std::max<double>(static_cast<double>(n), 1.0));
    c.dotRadius = static_cast<float>(std::clamp(share / 5.0, 0.5, 3.0));
    if (named)
        c.names = names;
    c.barKm = roundKm(areaW / 4.0 / scale);
    c.barPixels = static_cast<float>(c.barKm * scale);
    c.barX = Margin;
    c.barY = static_cast<float>(height) - Margin / 2.0f;
    c.title = std::to_string(n)
        + (n == 1       ? " miesto"
                : n < 5 ? " miesta"
                        : " miest")
        + ", " + std::to_string(cx.size())
        + (cx.size() == 1       ? " centrum"
                : cx.size() < 5 ? " centrá"
                                : " centier");
    return c;
}

} // namespace dorvan
