#pragma once

// Which place mark lies under the mouse, and what its tooltip says: over the map picture the
// places are labelled A01, A02 ... while the lists name them, so hovering a mark tells its name,
// its coordinates and, where the project has a coordinate reference, its latitude/longitude.
// The drawings make the marks (the picture page here, the allocation window's chart in
// core/allocation/ChartHover.h); the windows only show the text.

#include "core/entry/PicturePlacement.h"
#include "core/project/Project.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan {

// A place mark as a drawing shows it: the pixel of its centre, its label, and the place.
struct PlaceMark {
    int x = 0;
    int y = 0;
    std::string label; // "A07", "M3"; may be empty
    std::string name; // UTF-8
    double placeX = 0.0;
    double placeY = 0.0;
};

// How far from a mark's centre, in pixels along either axis, the mouse still points at it: the
// marks are 7 pixels across, and a pixel more makes them easy to hit.
inline constexpr int PlaceMarkReach = 4;

// The index of the mark under pixel (x, y): of the marks within reach along both axes, the one
// whose centre is nearest (Euclidean), the first of equally near ones. None when no mark is
// within reach.
std::optional<std::size_t> markUnder(
    std::span<const PlaceMark> marks, int x, int y, int reach = PlaceMarkReach);

// The marks of the picture page's places on a control of `control` size for a coordinate range:
// the places entered so far (a list still being clicked has its planned rest without
// coordinates), each at pixelFromReference, labelled A01, A02 ...
std::vector<PlaceMark> picturePlaceMarks(
    const TProjectRecord& record, const WorkingState& state, PixelSize control, PictureRange range);

// The tooltip of a mark, lines joined by '\n': "A07: Brno" (the name alone without a label or
// when the label is the name),
// "X = 152,9751; Y = 109,2785" (four decimals at most, the given decimal separator), and with a
// coordinate reference "49,1950000° s. š., 16,6080000° v. d.".
std::string placeTip(const TProjectRecord& record, const PlaceMark& mark, std::string_view separator);

} // namespace dorvan
