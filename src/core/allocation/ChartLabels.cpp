#include "core/allocation/ChartLabels.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace dorvan {

ChartRect textBox(const ChartText& text, ChartTextSize size)
{
    return { text.x, text.y, text.x + size.width, text.y + size.height };
}

bool boxesMeet(const ChartRect& a, const ChartRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

namespace {

ChartRect grown(const ChartRect& r, int by)
{
    return { r.left - by, r.top - by, r.right + by, r.bottom + by };
}

// Whether every k-th label of a half-axis stands clear of the next kept one.
bool strideFits(std::span<const ChartRect> half, std::size_t k)
{
    for (std::size_t i = k - 1; i + k < half.size(); i += k)
        if (boxesMeet(grown(half[i], TickLabelGap), half[i + k]))
            return false;
    return true;
}

// The smallest stride that fits every run (half-axis) of an axis.
std::size_t axisStride(const std::vector<std::span<const ChartRect>>& runs)
{
    std::size_t most = 1;
    for (const auto& r : runs)
        most = std::max(most, r.size());
    for (std::size_t k = 1; k < most; ++k)
        if (std::all_of(runs.begin(), runs.end(), [&](const auto& r) { return strideFits(r, k); }))
            return k;
    return most;
}

} // namespace

namespace {

// How far a run of pixels from..from+length-1 lies from pixel at (0 when it holds it).
int gapTo(int from, int length, int at)
{
    return at < from ? from - at : (at >= from + length ? at - (from + length - 1) : 0);
}

// Brings a tick label's box inside the W × H drawing by the smallest move that keeps it beside
// its tick: a label along X may move up or down freely, and sideways only so far as it comes no
// further from its tick's column (10 pixels right of its left edge, where the labels are
// written); a label along Y may move sideways freely, and up or down only so far as it comes no
// further from its tick's row (its top). False, leaving the label as it was, when no such move
// brings it inside.
bool fitTickLabel(ChartText& label, ChartTextSize size, bool alongX, int width, int height)
{
    if (size.width > width || size.height > height)
        return false;
    const int x = std::clamp(label.x, 0, width - size.width);
    const int y = std::clamp(label.y, 0, height - size.height);
    if (alongX) {
        const int column = label.x + 10;
        if (gapTo(x, size.width, column) > gapTo(label.x, size.width, column))
            return false;
    } else if (gapTo(y, size.height, label.y) > 0) {
        return false;
    }
    label.x = x;
    label.y = y;
    return true;
}

std::vector<ChartRect> labelBoxes(const std::vector<ChartText>& labels, const ChartTextMeasure& measure)
{
    std::vector<ChartRect> boxes;
    boxes.reserve(labels.size());
    for (const ChartText& t : labels)
        boxes.push_back(textBox(t, measure(t.text, TickLabelPoints)));
    return boxes;
}

// Thins labels written in runs (the half-axes, in order): the runs of one axis share a stride,
// axisOf[h] naming the axis of run h.
// A label that cannot be brought wholly inside the drawing is left out: a number drawn in part
// would be a wrong number.
template <std::size_t Runs>
void thinRuns(std::vector<ChartText>& labels, std::array<std::size_t, Runs>& counts,
    const std::array<std::size_t, Runs>& axisOf, const ChartTextMeasure& measure, int width, int height)
{
    std::array<std::size_t, Runs + 1> start {};
    for (std::size_t h = 0; h < Runs; ++h)
        start[h + 1] = std::min(start[h] + counts[h], labels.size());
    std::vector<bool> fits(labels.size(), false);
    for (std::size_t h = 0; h < Runs; ++h)
        for (std::size_t i = start[h]; i < start[h + 1]; ++i)
            fits[i] = fitTickLabel(
                labels[i], measure(labels[i].text, TickLabelPoints), axisOf[h] == 0, width, height);
    const std::vector<ChartRect> boxes = labelBoxes(labels, measure);
    auto run = [&](std::size_t h) {
        return std::span<const ChartRect>(boxes).subspan(start[h], start[h + 1] - start[h]);
    };
    std::array<std::size_t, 2> stride { 1, 1 };
    for (std::size_t axis = 0; axis < 2; ++axis) {
        std::vector<std::span<const ChartRect>> runs;
        for (std::size_t h = 0; h < Runs; ++h)
            if (axisOf[h] == axis)
                runs.push_back(run(h));
        stride[axis] = axisStride(runs);
    }

    std::vector<ChartText> kept;
    std::vector<ChartRect> keptBoxes;
    std::array<std::size_t, Runs> keptCounts {};
    for (std::size_t h = 0; h < Runs; ++h)
        for (std::size_t i = start[h]; i < start[h + 1]; ++i) {
            const ChartRect& box = boxes[i];
            if ((i - start[h] + 1) % stride[axisOf[h]] != 0 || !fits[i])
                continue;
            if (std::any_of(keptBoxes.begin(), keptBoxes.end(),
                    [&](const ChartRect& k) { return boxesMeet(grown(k, TickLabelGap), box); }))
                continue;
            kept.push_back(labels[i]);
            keptBoxes.push_back(box);
            ++keptCounts[h];
        }
    labels = std::move(kept);
    counts = keptCounts;
}

} // namespace

void thinTickLabels(ChartBackground& b, const ChartTextMeasure& measure)
{
    thinRuns<4>(b.labels, b.labelCounts, { 0, 0, 1, 1 }, measure, b.width, b.height);
}

void thinTickLabels(MapChartBackground& b, const ChartTextMeasure& measure)
{
    thinRuns<2>(b.labels, b.labelCounts, { 0, 1 }, measure, b.width, b.height);
}

std::vector<ChartRect> tickLabelBoxes(const MapChartBackground& b, const ChartTextMeasure& measure)
{
    return labelBoxes(b.labels, measure);
}

std::vector<ChartRect> tickLabelBoxes(const ChartBackground& b, const ChartTextMeasure& measure)
{
    return labelBoxes(b.labels, measure);
}

std::vector<ChartText> markerLabelPlaces(const ChartMarker& m, ChartTextSize size)
{
    const ChartPixel c = m.centre;
    const ChartText& usual = m.label;
    const int middle = c.y - size.height / 2;
    const int right = c.x + 5, left = c.x - 5 - size.width, below = c.y + 6;
    return { usual, { usual.text, usual.x, below }, { usual.text, c.x + 7, middle },
        { usual.text, c.x - 6 - size.width, middle }, { usual.text, right, usual.y },
        { usual.text, left, usual.y }, { usual.text, right, below }, { usual.text, left, below } };
}

std::vector<ChartText> optimumLabelPlaces(const ChartOptimum& o, ChartTextSize size)
{
    const ChartPixel c = o.centre;
    const ChartText& usual = o.label;
    const int middle = c.y + 1 - size.height / 2;
    const int right = c.x + 6, left = c.x - 4 - size.width, below = c.y + 8;
    return { usual, { usual.text, usual.x, below }, { usual.text, c.x + 8, middle },
        { usual.text, c.x - 6 - size.width, middle }, { usual.text, right, usual.y },
        { usual.text, left, usual.y }, { usual.text, right, below }, { usual.text, left, below } };
}

namespace {

bool inside(const ChartRect& r, int width, int height)
{
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
}

void placeLabel(ChartText& label, const std::vector<ChartText>& places, ChartTextSize size,
    std::vector<ChartRect>& taken, int width, int height)
{
    auto free = [&](const ChartRect& box) {
        return std::none_of(
            taken.begin(), taken.end(), [&](const ChartRect& t) { return boxesMeet(t, box); });
    };
    const ChartRect usual = textBox(label, size);
    if (!free(usual)) {
        for (std::size_t i = 1; i < places.size(); ++i) {
            const ChartRect box = textBox(places[i], size);
            if (inside(box, width, height) && free(box)) {
                label = places[i];
                break;
            }
        }
    }
    taken.push_back(textBox(label, size));
}

} // namespace

void placePointLabels(std::vector<ChartMarker>& markers, ChartOptimum* optimum,
    const ChartTextMeasure& measure, std::vector<ChartRect>& taken, int width, int height)
{
    if (optimum != nullptr) {
        const ChartTextSize size = measure(optimum->label.text, OptimumLabelPoints);
        placeLabel(optimum->label, optimumLabelPlaces(*optimum, size), size, taken, width, height);
    }
    for (ChartMarker& m : markers) {
        const ChartTextSize size = measure(m.label.text, PlaceLabelPoints);
        placeLabel(m.label, markerLabelPlaces(m, size), size, taken, width, height);
    }
}

} // namespace dorvan
