#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dorvan {

// The geometry of the map picture on the picture page: how large the picture control is made,
// how a pixel of it turns into the coordinates of a place and back, and where the label of a
// place mark goes.

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// The smallest picture control the page makes: two rows and two columns, so that the
// coordinate range (width, height - 1) is never zero.
inline constexpr int MinPictureControlSide = 2;

// The size of the picture control when a picture is loaded or the page is refitted, for a
// picture of `picture` pixels in a box whose client area is `box`. Proportional: fit to the
// height (box height - 17, width scaled - 4), to the width (box width - 4, height scaled - 17),
// or the natural size, tested in that order; when a side of the picture equals the box's,
// no rule applies and nothing is returned (the control keeps its size). Not proportional: the
// box less 4 by 17. Sizes are never below MinPictureControlSide.
std::optional<PixelSize> fitPictureOnPage(PixelSize picture, PixelSize box, bool proportional);

// The same when a project with a picture is opened, whose rule differs: fit to the height is
// (width scaled, box height - 13), to the width (box width, height scaled - 13), stretched is
// (box width, box height - 13).
std::optional<PixelSize> fitPictureOnOpen(PixelSize picture, PixelSize box, bool proportional);

// The coordinate range the picture control stands for: its width and its height - 1.
struct PictureRange {
    int x = 0;
    int y = 0;
};
PictureRange pictureRangeOf(PixelSize control);

// The coordinates of a place clicked at pixel (x, y) of a control of `control` size (y from the
// top): X = round(x * rangeX / CW), Y = round((CH - y - 1) * rangeY / (CH - 1)), the products
// formed in integers. Nothing when the control is too small to map.
std::optional<PixelPoint> referenceFromPixel(PixelPoint pixel, PixelSize control, PictureRange range);

// The pixel of a place with coordinates (X, Y): x = round(CW * X / rangeX),
// y = CH - round((CH - 1) * Y / rangeY) - 1, in extended precision. Nothing when a range is not
// positive (a damaged file); far-away places come back clamped well outside the control.
std::optional<PixelPoint> pixelFromReference(double x, double y, PixelSize control, PictureRange range);

// The top-left corners of the label of a mark at `mark` on a control of `control` size. Near
// the top or bottom edge and the left or right edge the label moves inside; on a control
// narrower or lower than 60 pixels more than one corner rule can hold, and each gives a label.
std::vector<PixelPoint> labelPositions(PixelPoint mark, PixelSize control);

// The label and the name of picture place n: "A0" + n up to 9, "A" + n from 10 on.
std::string picturePlaceLabel(int n);

} // namespace dorvan
