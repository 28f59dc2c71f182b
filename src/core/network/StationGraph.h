#pragma once

// Every number of the station network graph: the coordinate window around the places, the
// axes, ticks, grid lines and labels, and each star of the best network in its colour. The
// painter only draws what stationGraph returns.

#include "core/allocation/ChartGeometry.h"
#include "core/project/StarSolution.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// A project place as the graph sees it.
struct GraphPlace {
    Text100 name;
    double x = 0.0;
    double y = 0.0;
};

// The coordinate window: the places' extremes, the origin taken in, 5 units around.
struct GraphWindow {
    double minX = 0.0;
    double maxX = 0.0;
    double minY = 0.0;
    double maxY = 0.0;
    double sx = 0.0;
    double sy = 0.0;
    int px(double x) const;
    int py(double y) const;
};
// Places 1..n of the record.
std::vector<GraphPlace> graphPlaces(const TProjectRecord& record, int n);

// With no places the window is the 5 units around the origin.
GraphWindow graphWindow(std::span<const GraphPlace> places, int width, int height);

// One star: its pen, brush and text colour, the centre's circle (when the centre's name is a
// place's), and for each of its places the line from the centre, the circle and the label.
struct GraphStar {
    std::uint32_t colour = 0; // 0x00BBGGRR
    bool hasCentre = false;
    ChartRect centreCircle; // 7 × 7 with its top left corner at the centre's pixel
    std::vector<ChartLine> lines;
    std::vector<ChartRect> circles;
    std::vector<ChartText> labels; // "M" + j, 5 points
};

// One delivery round: the closed line from the depot through its places and back, 2 pixels.
struct GraphRound {
    std::uint32_t colour = 0; // 0x00BBGGRR
    std::vector<ChartLine> lines;
};

struct StationGraph {
    int width = 0;
    int height = 0;
    GraphWindow window;
    ChartRect outer; // silver
    ChartRect inner; // white
    ChartLine axisY; // red, 2 pixels
    ChartLine axisX;
    std::vector<ChartStroke> strokes; // X > 0, X < 0, Y > 0, Y < 0
    std::vector<ChartText> labels; // whole numbers at every tenth tick
    std::vector<GraphStar> stars;
    std::vector<GraphRound> rounds; // over the stars
    bool hasDepot = false;
    ChartRect depotMark; // a black 9 × 9 square around the depot's pixel
    ChartText depotLabel; // "DC" above it
};

// The graph on a W × H drawing area (the client area less the list).
StationGraph stationGraph(std::span<const GraphPlace> places, const StarSolution& best, int width, int height,
    const RoundsTrace& rounds = {});

// Colour of delivery round r (1-based): eight strong colours in turn, none a star's first.
std::uint32_t roundColour(int r);

// Colour of star s: s × 15000 as 0x00BBGGRR.
inline std::uint32_t starColour(int s)
{
    return static_cast<std::uint32_t>(s) * 15000u;
}

// The lines of the graph's place list, "M" + i + ": " + name + ", [" + x + ";" + y + "]".
std::vector<std::string> graphListLines(std::span<const GraphPlace> places, std::string_view separator);
// The width the list needs: 6 pixels a character less 25, for its longest line; 0 for none.
int graphListWidth(const std::vector<std::string>& lines);

} // namespace dorvan
