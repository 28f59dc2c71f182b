#include "core/entry/PicturePlacement.h"

#include "core/common/Rounding.h"

#include <algorithm>
#include <cstdint>

namespace dorvan {

namespace {

// round(a * b / c) with the product in integers and the division in extended precision.
int scaled(std::int64_t a, std::int64_t b, std::int64_t c)
{
    return roundToInt(static_cast<long double>(a * b) / static_cast<long double>(c));
}

PixelSize atLeastMinimum(PixelSize s)
{
    return { std::max(s.width, MinPictureControlSide), std::max(s.height, MinPictureControlSide) };
}

// Places far outside the control are kept far outside, without any risk of overflow in the
// drawing code.
constexpr int FarAway = 1'000'000;

int clampFar(int v)
{
    return std::clamp(v, -FarAway, FarAway);
}

} // namespace

std::optional<PixelSize> fitPictureOnPage(PixelSize picture, PixelSize box, bool proportional)
{
    const int W = picture.width, H = picture.height, BW = box.width, BH = box.height;
    if (!proportional)
        return atLeastMinimum({ BW - 4, BH - 17 });
    if (W <= 0 || H <= 0)
        return std::nullopt;
    const auto fitToHeight = [&] { return atLeastMinimum({ scaled(W, BH, H) - 4, BH - 17 }); };
    const auto fitToWidth = [&] { return atLeastMinimum({ BW - 4, scaled(H, BW, W) - 17 }); };
    if (W < BW && H > BH)
        return fitToHeight();
    if (W > BW && H < BH)
        return fitToWidth();
    if (W < BW && H < BH)
        return atLeastMinimum({ W, H });
    if (W > BW && H > BH) {
        const std::int64_t f = std::int64_t { W } * BH / H;
        return BW < f - 4 ? fitToWidth() : fitToHeight();
    }
    return std::nullopt;
}

std::optional<PixelSize> fitPictureOnOpen(PixelSize picture, PixelSize box, bool proportional)
{
    const int bw = picture.width, bh = picture.height, gw = box.width, gh = box.height;
    if (!proportional)
        return atLeastMinimum({ gw, gh - 13 });
    if (bw <= 0 || bh <= 0)
        return std::nullopt;
    const auto fitToHeight = [&] { return atLeastMinimum({ scaled(bw, gh, bh), gh - 13 }); };
    const auto fitToWidth = [&] { return atLeastMinimum({ gw, scaled(bh, gw, bw) - 13 }); };
    if (bw < gw && bh > gh)
        return fitToHeight();
    if (bw > gw && bh < gh)
        return fitToWidth();
    if (bw < gw && bh < gh)
        return atLeastMinimum({ bw, bh });
    if (bw > gw && bh > gh) {
        const std::int64_t m = std::int64_t { bw } * gh / bh;
        return m - 4 > gw ? fitToWidth() : fitToHeight();
    }
    return std::nullopt;
}

PictureRange pictureRangeOf(PixelSize control)
{
    return { control.width, control.height - 1 };
}

std::optional<PixelPoint> referenceFromPixel(PixelPoint pixel, PixelSize control, PictureRange range)
{
    const int CW = control.width, CH = control.height;
    if (CW < 1 || CH < 2)
        return std::nullopt;
    return PixelPoint { scaled(pixel.x, range.x, CW), scaled(CH - pixel.y - 1, range.y, CH - 1) };
}

std::optional<PixelPoint> pixelFromReference(double x, double y, PixelSize control, PictureRange range)
{
    if (range.x <= 0 || range.y <= 0)
        return std::nullopt;
    const long double CW = control.width, CH = control.height;
    const int px = clampFar(roundToInt(CW * static_cast<long double>(x) / range.x));
    const int py = clampFar(
        control.height - clampFar(roundToInt((CH - 1) * static_cast<long double>(y) / range.y)) - 1);
    return PixelPoint { px, py };
}

std::vector<PixelPoint> labelPositions(PixelPoint mark, PixelSize control)
{
    const int x = mark.x, y = mark.y, W = control.width, H = control.height;
    if (x > 30 && x < W - 30)
        return { y > 30 ? PixelPoint { x - 20, y - 30 } : PixelPoint { x - 20, y + 10 } };
    std::vector<PixelPoint> at;
    const bool left = x <= 30, right = x >= W - 30;
    const bool top = y <= 30, middle = y > 30 && y < H - 30, bottom = y >= H - 30;
    if (top && left)
        at.push_back({ x + 10, y + 10 });
    if (top && right)
        at.push_back({ x - 45, y + 10 });
    if (middle && left)
        at.push_back({ x + 10, y - 10 });
    if (middle && right)
        at.push_back({ x - 45, y - 10 });
    if (bottom && left)
        at.push_back({ x + 10, y - 30 });
    if (bottom && right)
        at.push_back({ x - 45, y - 30 });
    return at;
}

std::string picturePlaceLabel(int n)
{
    std::string label = n <= 9 ? "A0" : "A";
    label += std::to_string(n);
    return label;
}

} // namespace dorvan
