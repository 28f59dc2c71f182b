#pragma once

// Where a place list's result is drawn (dorvan-cli render PLACES): every place a point in its
// group's colour, every centre a marked point, both axes at one scale inside a margin, a scale
// bar in kilometres. The points shrink as the list grows so that 100,000 places stay readable;
// names are written only for small lists. The painter (render/ListChartPainter.h) only paints
// what this gives.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace dorvan {

// Lists up to this many places have their names written beside their points.
inline constexpr std::size_t ListChartNamedPlaces = 40;

struct ListChartCentre {
    float x = 0.0f; // pixels
    float y = 0.0f;
    std::uint32_t colour = 0; // 0xRRGGBB of its group
    std::string label; // "1", "2", ...
};

struct ListChart {
    int width = 0;
    int height = 0;
    std::vector<float> px, py; // per place, pixels
    std::vector<std::uint32_t> colours; // per group, 0xRRGGBB
    std::vector<std::int32_t> group; // per place, an index into colours
    float dotRadius = 1.0f; // pixels: below 1 a single pixel
    std::vector<ListChartCentre> centres;
    std::vector<std::string> names; // the places' names when they are written, else empty
    // The scale bar: from (barX, barY) `barPixels` long, standing for `barKm` kilometres.
    float barX = 0.0f, barY = 0.0f, barPixels = 0.0f;
    double barKm = 0.0;
    std::string title; // "N miest, P centier"
};

// The colour of group g (0-based) of `groups`: the program's group colours first, then hues
// spread by the golden angle so that neighbouring numbers differ.
std::uint32_t listGroupColour(int g);

// The drawing of places (x, y in kilometres) assigned by centreOf to the centres (cx, cy) on a
// surface of width x height pixels; names, when given, are written for small lists.
ListChart listChart(std::span<const double> x, std::span<const double> y,
    std::span<const std::int32_t> centreOf, std::span<const double> cx, std::span<const double> cy, int width,
    int height, const std::vector<std::string>& names = {});

} // namespace dorvan
