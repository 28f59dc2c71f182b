#include "core/allocation/CostContours.h"

#include "core/allocation/ContourLabels.h"

#include "core/common/DecimalText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace dorvan {

namespace {

// Fine cells of 4 pixels keep a chord of the convex curves within a small part of a pixel; a
// coarse cell is 8 × 8 of them (32 pixels), which measured fastest on a full-screen area.
constexpr int FineStep = 4;
constexpr int Block = 8;
// Steps of the search for a crossing on a cell edge, and how close to the level it stops.
constexpr int RootSteps = 30;
constexpr double RootPixels = 1e-3;

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The places as the evaluation loops want them.
using Sites = std::vector<WeberTerm<double>>;

struct Value {
    double f = 0.0;
    double gx = 0.0; // dF/dX in coordinate units
    double gy = 0.0;
};

// F and its gradient (a subgradient on a place) at a coordinate point.
Value evaluate(const Sites& s, double X, double Y)
{
    constexpr WeberParts Slope { .objective = true,
        .pullX = true,
        .pullY = true,
        .order = TermOrder::RatioFirst,
        .direction = Direction::Gradient };
    const WeberSums<double> sums = weberSums<double, Slope>(s, X, Y, 0.0);
    return { sums.objective, sums.pullX, sums.pullY };
}

double costOnly(const Sites& s, double X, double Y)
{
    return weberObjective(s, X, Y);
}

// The grid of fine nodes over the area, the last column and row on its edge, with F kept as it
// is computed.
class Grid {
public:
    Grid(const Sites& sites, const ChartState& chart, const ChartRect& area)
        : sites_(sites)
        , chart_(chart)
        , area_(area)
        , nx_((area.right - 1 - area.left + FineStep - 1) / FineStep)
        , ny_((area.bottom - 1 - area.top + FineStep - 1) / FineStep)
        , f_(static_cast<std::size_t>(nx_ + 1) * static_cast<std::size_t>(ny_ + 1),
              std::numeric_limits<double>::quiet_NaN())
    {
    }

    int nx() const { return nx_; }
    int ny() const { return ny_; }
    double px(int i) const { return std::min(area_.left + i * FineStep, area_.right - 1); }
    double py(int j) const { return std::min(area_.top + j * FineStep, area_.bottom - 1); }
    double worldX(double px) const { return chart_.ChartMinX + (px - ChartInset) / chart_.ChartScaleX; }
    double worldY(double py) const { return chart_.ChartMaxY - (py - ChartInset) / chart_.ChartScaleY; }

    double at(int i, int j)
    {
        double& v = f_[index(i, j)];
        if (std::isnan(v))
            v = costOnly(sites_, worldX(px(i)), worldY(py(j)));
        return v;
    }
    Value withSlope(int i, int j)
    {
        const Value v = evaluate(sites_, worldX(px(i)), worldY(py(j)));
        f_[index(i, j)] = v.f;
        return v;
    }
    double atPixel(double x, double y) const { return costOnly(sites_, worldX(x), worldY(y)); }

    // Edges: the horizontal one from node (i, j) to (i + 1, j) and the vertical one to (i, j + 1).
    std::uint64_t horizontal(int i, int j) const { return 2 * index(i, j); }
    std::uint64_t vertical(int i, int j) const { return 2 * index(i, j) + 1; }

private:
    std::size_t index(int i, int j) const
    {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(nx_ + 1) + static_cast<std::size_t>(i);
    }

    const Sites& sites_;
    const ChartState& chart_;
    ChartRect area_;
    int nx_;
    int ny_;
    std::vector<double> f_;
};

// F and its slope at the coarse nodes, which decide where to look closer.
struct CoarseNode {
    double f = 0.0;
    double gx = 0.0; // dF per pixel along the columns
    double gy = 0.0; // dF per pixel along the rows
};

// The coarse nodes, every Block-th fine node (and the last), with F and its slope per pixel.
class CoarseGrid {
public:
    CoarseGrid(Grid& grid, const ChartState& chart)
        : grid_(grid)
        , cx_((grid.nx() + Block - 1) / Block)
        , cy_((grid.ny() + Block - 1) / Block)
        , nodes_(static_cast<std::size_t>(cx_ + 1) * static_cast<std::size_t>(cy_ + 1))
    {
        for (int J = 0; J <= cy_; ++J)
            for (int I = 0; I <= cx_; ++I) {
                const Value v = grid.withSlope(fineI(I), fineJ(J));
                // Per pixel: X grows with the columns, Y against the rows.
                node(I, J) = { v.f, v.gx / chart.ChartScaleX, -v.gy / chart.ChartScaleY };
            }
    }

    int cx() const { return cx_; }
    int cy() const { return cy_; }

    // Whether the level can cross coarse cell (I, J): by convexity F there lies between the
    // best of the corners' tangent planes and the largest corner value.
    bool mayCross(int I, int J, double c) const
    {
        const int ci[4] = { I, I + 1, I + 1, I };
        const int cj[4] = { J, J, J + 1, J + 1 };
        double upper = -std::numeric_limits<double>::infinity();
        double lower = -std::numeric_limits<double>::infinity();
        for (int k = 0; k < 4; ++k) {
            const CoarseNode& a = node(ci[k], cj[k]);
            const double ax = grid_.px(fineI(ci[k]));
            const double ay = grid_.py(fineJ(cj[k]));
            upper = std::max(upper, a.f);
            double least = 0.0;
            for (int m = 0; m < 4; ++m) {
                const double bx = grid_.px(fineI(ci[m]));
                const double by = grid_.py(fineJ(cj[m]));
                least = std::min(least, a.gx * (bx - ax) + a.gy * (by - ay));
            }
            lower = std::max(lower, a.f + least);
        }
        // Rounding of the sums must not hide a crossing.
        return lower <= c + 1e-12 * c && c <= upper;
    }

private:
    int fineI(int I) const { return std::min(I * Block, grid_.nx()); }
    int fineJ(int J) const { return std::min(J * Block, grid_.ny()); }
    CoarseNode& node(int I, int J) { return nodes_[static_cast<std::size_t>(J * (cx_ + 1) + I)]; }
    const CoarseNode& node(int I, int J) const { return nodes_[static_cast<std::size_t>(J * (cx_ + 1) + I)]; }

    Grid& grid_;
    int cx_;
    int cy_;
    std::vector<CoarseNode> nodes_;
};

class Tracer {
public:
    Tracer(Grid& grid, double level)
        : g_(grid)
        , level_(level)
    {
    }

    // Marching squares over the fine cells of one coarse cell.
    void traceBlock(int bi, int bj)
    {
        for (int j = bj * Block; j < std::min((bj + 1) * Block, g_.ny()); ++j)
            for (int i = bi * Block; i < std::min((bi + 1) * Block, g_.nx()); ++i)
                traceCell(i, j);
    }

    std::vector<std::vector<ContourPoint>> polylines();

private:
    struct Segment {
        std::uint64_t a;
        std::uint64_t b;
    };

    bool inside(double v) const { return v < level_; }

    void traceCell(int i, int j)
    {
        const double a = g_.at(i, j), b = g_.at(i + 1, j), c = g_.at(i + 1, j + 1), d = g_.at(i, j + 1);
        const int mask
            = (inside(a) ? 1 : 0) | (inside(b) ? 2 : 0) | (inside(c) ? 4 : 0) | (inside(d) ? 8 : 0);
        if (mask == 0 || mask == 15)
            return;
        const std::uint64_t top = g_.horizontal(i, j), bottom = g_.horizontal(i, j + 1);
        const std::uint64_t left = g_.vertical(i, j), right = g_.vertical(i + 1, j);
        std::vector<std::uint64_t> cut;
        if (inside(a) != inside(b))
            cut.push_back(crossing(top, g_.px(i), g_.py(j), a, g_.px(i + 1), g_.py(j), b));
        if (inside(b) != inside(c))
            cut.push_back(crossing(right, g_.px(i + 1), g_.py(j), b, g_.px(i + 1), g_.py(j + 1), c));
        if (inside(d) != inside(c))
            cut.push_back(crossing(bottom, g_.px(i), g_.py(j + 1), d, g_.px(i + 1), g_.py(j + 1), c));
        if (inside(a) != inside(d))
            cut.push_back(crossing(left, g_.px(i), g_.py(j), a, g_.px(i), g_.py(j + 1), d));
        if (cut.size() == 2) {
            segments_.push_back({ cut[0], cut[1] });
            return;
        }
        // Two opposite corners inside: the centre decides which way the curve bends. The order
        // of cut is top, right, bottom, left.
        const double centre = g_.atPixel((g_.px(i) + g_.px(i + 1)) / 2, (g_.py(j) + g_.py(j + 1)) / 2);
        if (inside(centre) == inside(a)) {
            segments_.push_back({ cut[0], cut[1] }); // around b
            segments_.push_back({ cut[2], cut[3] }); // around d
        } else {
            segments_.push_back({ cut[0], cut[3] }); // around a
            segments_.push_back({ cut[1], cut[2] }); // around c
        }
    }

    // The point of an edge where F takes the level, by regula falsi with the Illinois change;
    // each edge is worked out once.
    std::uint64_t crossing(
        std::uint64_t edge, double x0, double y0, double f0, double x1, double y1, double f1)
    {
        if (points_.count(edge) != 0)
            return edge;
        double t0 = 0.0, t1 = 1.0;
        double e0 = f0 - level_, e1 = f1 - level_;
        const double length = std::hypot(x1 - x0, y1 - y0);
        double t = e0 / (e0 - e1);
        int side = 0;
        for (int step = 0; step < RootSteps && (t1 - t0) * length > RootPixels; ++step) {
            t = (t0 * e1 - t1 * e0) / (e1 - e0);
            const double e = g_.atPixel(x0 + t * (x1 - x0), y0 + t * (y1 - y0)) - level_;
            if (e == 0.0)
                break;
            if ((e < 0.0) == (e0 < 0.0)) {
                t0 = t;
                e0 = e;
                if (side == -1)
                    e1 /= 2;
                side = -1;
            } else {
                t1 = t;
                e1 = e;
                if (side == 1)
                    e0 /= 2;
                side = 1;
            }
        }
        points_[edge] = { x0 + t * (x1 - x0), y0 + t * (y1 - y0) };
        return edge;
    }

    Grid& g_;
    double level_;
    std::vector<Segment> segments_;
    std::unordered_map<std::uint64_t, ContourPoint> points_;
};

// The pieces joined end to end: every crossing belongs to at most two pieces, so each
// polyline is walked from one end (or anywhere on a closed curve) to the other.
std::vector<std::vector<ContourPoint>> Tracer::polylines()
{
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> at;
    for (std::size_t s = 0; s < segments_.size(); ++s) {
        at[segments_[s].a].push_back(s);
        at[segments_[s].b].push_back(s);
    }
    std::vector<bool> used(segments_.size(), false);
    auto next = [&](std::uint64_t edge) -> std::optional<std::size_t> {
        for (std::size_t s : at[edge])
            if (!used[s])
                return s;
        return std::nullopt;
    };
    auto walk = [&](std::uint64_t from, std::vector<std::uint64_t>& chain) {
        while (auto s = next(from)) {
            used[*s] = true;
            from = segments_[*s].a == from ? segments_[*s].b : segments_[*s].a;
            chain.push_back(from);
        }
    };
    std::vector<std::vector<ContourPoint>> lines;
    for (std::size_t s = 0; s < segments_.size(); ++s) {
        if (used[s])
            continue;
        used[s] = true;
        std::vector<std::uint64_t> forward { segments_[s].a, segments_[s].b };
        walk(segments_[s].b, forward);
        std::vector<std::uint64_t> backward;
        walk(segments_[s].a, backward);
        std::vector<ContourPoint> line;
        line.reserve(forward.size() + backward.size());
        for (auto it = backward.rbegin(); it != backward.rend(); ++it)
            line.push_back(points_[*it]);
        for (std::uint64_t e : forward)
            line.push_back(points_[e]);
        lines.push_back(std::move(line));
    }
    return lines;
}

// The pixels of a polyline: sampled every quarter pixel, each sample gives the pixel it lies
// in when the level crosses that pixel's square, else the neighbour nearest to it that the
// level does cross. F at the pixel corners is kept, as neighbouring pixels share them.
class Rasteriser {
public:
    Rasteriser(const Grid& grid, const ChartRect& area, double level)
        : g_(grid)
        , area_(area)
        , level_(level)
    {
    }

    std::vector<ChartPixel> pixels(const std::vector<ContourPoint>& line)
    {
        std::vector<ChartPixel> out;
        for (std::size_t k = 0; k + 1 < line.size(); ++k) {
            const ContourPoint a = line[k], b = line[k + 1];
            const int samples = 1 + static_cast<int>(std::ceil(std::hypot(b.x - a.x, b.y - a.y) * 4.0));
            for (int s = 0; s <= samples; ++s) {
                const double t = static_cast<double>(s) / samples;
                take(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), out);
            }
        }
        return out;
    }

private:
    void take(double x, double y, std::vector<ChartPixel>& out)
    {
        const int i = static_cast<int>(std::lround(x));
        const int j = static_cast<int>(std::lround(y));
        // Samples follow each other a quarter pixel apart: most fall in the pixel just taken.
        if (i == lastI_ && j == lastJ_)
            return;
        lastI_ = i;
        lastJ_ = j;
        if (crosses(i, j)) {
            if (seen_.insert(key(i, j)).second)
                out.push_back({ i, j });
            return;
        }
        std::optional<ChartPixel> best;
        double bestDistance = std::numeric_limits<double>::infinity();
        for (int dj = -1; dj <= 1; ++dj)
            for (int di = -1; di <= 1; ++di) {
                const double d = std::hypot(i + di - x, j + dj - y);
                if (d < bestDistance && crosses(i + di, j + dj)) {
                    bestDistance = d;
                    best = ChartPixel { i + di, j + dj };
                }
            }
        if (best && seen_.insert(key(best->x, best->y)).second)
            out.push_back(*best);
    }

    bool crosses(int i, int j)
    {
        if (i < area_.left || i >= area_.right || j < area_.top || j >= area_.bottom)
            return false;
        bool below = false, above = false;
        for (int b = 0; b <= 1; ++b)
            for (int a = 0; a <= 1; ++a) {
                const double f = corner(i + a, j + b);
                below = below || f <= level_;
                above = above || f >= level_;
            }
        return below && above;
    }

    // Corner (i, j) is the top left corner of pixel (i, j), at (i - 0.5, j - 0.5).
    double corner(int i, int j)
    {
        const auto [it, fresh] = corners_.try_emplace(key(i, j), 0.0);
        if (fresh)
            it->second = g_.atPixel(i - 0.5, j - 0.5);
        return it->second;
    }

    static std::uint64_t key(int i, int j)
    {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(i)) << 32)
            | static_cast<std::uint32_t>(j);
    }

    const Grid& g_;
    ChartRect area_;
    double level_;
    int lastI_ = std::numeric_limits<int>::min();
    int lastJ_ = std::numeric_limits<int>::min();
    std::unordered_map<std::uint64_t, double> corners_;
    std::unordered_set<std::uint64_t> seen_;
};

} // namespace

std::optional<std::vector<double>> parseContourLevels(std::string_view text, char delimiter)
{
    std::vector<double> levels;
    if (trimmed(text).empty())
        return std::nullopt;
    for (;;) {
        const std::size_t end = text.find(delimiter);
        const std::string_view piece = trimmed(text.substr(0, end));
        const DecimalParse p = parseDecimal4(piece);
        if (!p.ok())
            return std::nullopt;
        const double v = static_cast<double>(p.number->tenThousandths) / 10000.0;
        if (!(v > 0.0) || v > MaxContourPercent || levels.size() == MaxContourLevels)
            return std::nullopt;
        levels.push_back(v);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return levels;
}

std::vector<CostSite> oneCentreCostSites(const CooperState& s)
{
    std::vector<CostSite> sites;
    const int n = std::clamp<int>(s.CooperPlaceCount, 0, MaxPlaces);
    for (int i = 1; i <= n; ++i)
        sites.push_back({ s.CooperPlaceX[i], s.CooperPlaceY[i],
            cooperWeight({ s.CooperPlaceX[i], s.CooperPlaceY[i], s.CooperQuantity[i], s.CooperPrice[i],
                s.CooperFlexibility[i] }) });
    return sites;
}

std::vector<CostSite> groupCostSites(const CooperState& s)
{
    std::vector<CostSite> sites;
    const int n = std::clamp<int>(s.GroupSize, 0, MaxPlaces);
    for (int k = 1; k <= n; ++k)
        if (s.GroupMemberFound[k])
            sites.push_back({ s.GroupMemberX[k], s.GroupMemberY[k], s.GroupMemberWeight[k] });
    return sites;
}

std::string contourLabelText(double percent, std::string_view separator)
{
    return "+" + formatGeneral15(percent, separator) + " %";
}

ChartRect contourArea(int width, int height)
{
    return { ChartInset, ChartInset, width - ChartInset + 1, height - ChartInset + 1 };
}

CostContours costContours(const ContourInput& input, const ChartState& chart, const ChartRect& area,
    std::span<const ContourLabelSize> labelSizes, std::span<const ChartRect> keepClear,
    std::string_view separator)
{
    CostContours out;
    Sites sites;
    for (const CostSite& s : input.sites) {
        if (!(s.w >= 0.0L) || !std::isfinite(static_cast<double>(s.w)))
            return out;
        sites.push_back(ReadXyw<double> {}(s));
    }
    const double base = static_cast<double>(weightedDistanceSum(input.sites, input.result.x, input.result.y));
    const bool usable = std::isfinite(base) && base > 0.0 && std::isfinite(chart.ChartScaleX)
        && std::isfinite(chart.ChartScaleY) && chart.ChartScaleX > 0.0 && chart.ChartScaleY > 0.0
        && area.right - area.left >= 2 && area.bottom - area.top >= 2;
    if (!usable)
        return out;
    for (double percent : input.percents)
        out.values.push_back((1.0 + percent / 100.0) * base);

    Grid grid(sites, chart, area);
    const CoarseGrid coarse(grid, chart);
    for (std::size_t level = 0; level < out.values.size(); ++level) {
        const double c = out.values[level];
        Tracer tracer(grid, c);
        for (int J = 0; J < coarse.cy(); ++J)
            for (int I = 0; I < coarse.cx(); ++I)
                if (coarse.mayCross(I, J, c))
                    tracer.traceBlock(I, J);
        Rasteriser raster(grid, area, c);
        for (std::vector<ContourPoint>& points : tracer.polylines()) {
            std::vector<ChartPixel> pixels = raster.pixels(points);
            out.lines.push_back({ level, std::move(points), std::move(pixels) });
        }
    }

    const ContourPoint optimum { ChartInset
            + (static_cast<double>(input.result.x) - chart.ChartMinX) * chart.ChartScaleX,
        ChartInset + (chart.ChartMaxY - static_cast<double>(input.result.y)) * chart.ChartScaleY };
    std::vector<ChartRect> taken(keepClear.begin(), keepClear.end());
    for (std::size_t level = 0; level < out.values.size() && level < labelSizes.size(); ++level) {
        if (auto box = contour::placeLabel(out.lines, level, optimum, labelSizes[level], area, taken)) {
            taken.push_back(*box);
            out.labels.push_back({ contourLabelText(input.percents[level], separator), box->left, box->top });
        }
    }
    return out;
}

} // namespace dorvan
