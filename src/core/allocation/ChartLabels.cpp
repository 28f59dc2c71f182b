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

// The smallest stride that fits both halves of an axis.
std::size_t axisStride(std::span<const ChartRect> first, std::span<const ChartRect> second)
{
    const std::size_t most = std::max<std::size_t>({ first.size(), second.size(), 1 });
    for (std::size_t k = 1; k < most; ++k)
        if (strideFits(first, k) && strideFits(second, k))
            return k;
    return most;
}

} // namespace

void thinTickLabels(ChartBackground& b, const ChartTextMeasure& measure)
{
    const std::vector<ChartRect> boxes = tickLabelBoxes(b, measure);
    std::array<std::size_t, 5> start {};
    for (std::size_t h = 0; h < 4; ++h)
        start[h + 1] = std::min(start[h] + b.labelCounts[h], boxes.size());
    auto half = [&](std::size_t h) {
        return std::span<const ChartRect>(boxes).subspan(start[h], start[h + 1] - start[h]);
    };
    const std::array<std::size_t, 2> stride { axisStride(half(0), half(1)), axisStride(half(2), half(3)) };

    std::vector<ChartText> kept;
    std::vector<ChartRect> keptBoxes;
    std::array<std::size_t, 4> counts {};
    for (std::size_t h = 0; h < 4; ++h)
        for (std::size_t i = start[h]; i < start[h + 1]; ++i) {
            const ChartRect& box = boxes[i];
            if ((i - start[h] + 1) % stride[h / 2] != 0)
                continue;
            if (std::any_of(keptBoxes.begin(), keptBoxes.end(),
                    [&](const ChartRect& k) { return boxesMeet(grown(k, TickLabelGap), box); }))
                continue;
            kept.push_back(b.labels[i]);
            keptBoxes.push_back(box);
            ++counts[h];
        }
    b.labels = std::move(kept);
    b.labelCounts = counts;
}

std::vector<ChartRect> tickLabelBoxes(const ChartBackground& b, const ChartTextMeasure& measure)
{
    std::vector<ChartRect> boxes;
    boxes.reserve(b.labels.size());
    for (const ChartText& t : b.labels)
        boxes.push_back(textBox(t, measure(t.text, TickLabelPoints)));
    return boxes;
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
        return std::none_of(taken.begin(), taken.end(), [&](const ChartRect& t) { return boxesMeet(t, box); });
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

void placePointLabels(std::vector<ChartMarker>& markers, ChartOptimum* optimum, const ChartTextMeasure& measure,
    std::vector<ChartRect>& taken, int width, int height)
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
