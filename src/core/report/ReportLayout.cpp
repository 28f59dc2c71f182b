#include "core/report/ReportLayout.h"

#include "core/allocation/ChartGeometry.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace dorvan::report {

namespace {

constexpr double TitleHeight = 26.0;
constexpr double HeadingHeight = 20.0;
constexpr double HeadingSpace = 8.0; // above a heading that does not open a page
constexpr double BodyLine = 13.0;
constexpr double RowHeight = 12.0;
constexpr double TableSpace = 6.0; // above a table
constexpr double HeadY = 40.0;
constexpr double FootFromBottom = 36.0;
constexpr double ChartSpace = 4.0; // between the chart page's text and the chart

// The bytes of the UTF-8 letter that starts at i.
std::size_t letterLength(const std::string& s, std::size_t i)
{
    std::size_t n = 1;
    while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

std::vector<std::string> words(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = std::min(text.find(' ', i), text.size());
        if (end > i)
            out.push_back(text.substr(i, end - i));
        i = end + 1;
    }
    return out;
}

double longestWord(const std::string& text, TextStyle style, const ReportMeasure& measure)
{
    double most = 0.0;
    for (const std::string& w : words(text))
        most = std::max(most, measure(w, style));
    return most;
}

// Fills pages top down and opens a new one where the next line does not fit.
class PageFiller {
public:
    explicit PageFiller(ReportLayout& out)
        : out_(out)
    {
    }

    void newPage(Orientation o = Orientation::Portrait)
    {
        out_.pages.emplace_back();
        out_.pages.back().orientation = o;
        y_ = BodyTop;
    }
    Orientation orientation() const { return out_.pages.back().orientation; }
    double body() const { return bodyWidth(orientation()); }
    double bottom() const { return bodyBottom(orientation()); }
    bool fits(double height) const { return !out_.pages.empty() && y_ + height <= bottom(); }
    bool atTop() const { return y_ == BodyTop; }
    void ensure(double height)
    {
        if (!fits(height))
            newPage(orientation());
    }
    void space(double height)
    {
        if (!atTop())
            y_ += height;
    }
    void text(const std::string& s, TextStyle style, double height, double x, double width,
        Align align = Align::Left)
    {
        page().texts.push_back({ { x, y_, width, height }, s, style, align });
    }
    void advance(double height) { y_ += height; }
    void rule(double x1, double x2) { page().rules.push_back({ x1, y_, x2, y_ }); }
    LaidOutPage& page() { return out_.pages.back(); }
    double y() const { return y_; }

private:
    ReportLayout& out_;
    double y_ = BodyTop;
};

// Text lines over the body's width, wrapped, each kept on one page.
void layLines(
    PageFiller& f, const std::string& text, TextStyle style, double lineHeight, const ReportMeasure& measure)
{
    for (const std::string& line : wrapText(text, f.body(), style, measure)) {
        f.ensure(lineHeight);
        f.text(line, style, lineHeight, MarginLeft, f.body());
        f.advance(lineHeight);
    }
}

// A row of cells, each wrapped in its column: the lines of each cell, and the row's height.
struct LaidRow {
    std::vector<std::vector<std::string>> cells;
    double height = RowHeight;
};

LaidRow layRow(const std::vector<std::string>& texts, const std::vector<double>& widths, TextStyle style,
    const ReportMeasure& measure)
{
    LaidRow row;
    std::size_t most = 1;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        const std::string text = c < texts.size() ? texts[c] : std::string();
        row.cells.push_back(wrapText(text, std::max(1.0, widths[c] - ColumnGap), style, measure));
        most = std::max(most, row.cells.back().size());
    }
    row.height = RowHeight * static_cast<double>(most);
    return row;
}

// The row's lines from..to (every cell's lines in that range, each at its place) at the filler's
// line; advances by that many lines.
void placeRowLines(PageFiller& f, const LaidRow& row, const ReportTable& t, const std::vector<double>& widths,
    TextStyle style, std::size_t from, std::size_t to)
{
    double x = MarginLeft;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        const double box = std::max(0.0, widths[c] - ColumnGap);
        for (std::size_t l = from; l < std::min(to, row.cells[c].size()); ++l) {
            f.page().texts.push_back(
                { { x, f.y() + RowHeight * static_cast<double>(l - from), box, RowHeight }, row.cells[c][l],
                    style, t.columns[c].align });
        }
        x += widths[c];
    }
    f.advance(RowHeight * static_cast<double>(to - from));
}

std::size_t lineCount(const LaidRow& row)
{
    return static_cast<std::size_t>(std::lround(row.height / RowHeight));
}

void placeRow(PageFiller& f, const LaidRow& row, const ReportTable& t, const std::vector<double>& widths,
    TextStyle style)
{
    placeRowLines(f, row, t, widths, style, 0, lineCount(row));
}

struct TableFit {
    std::vector<double> widths;
    LaidRow header;
    double right = MarginLeft; // where the header's rule ends
};

void tableHeader(
    PageFiller& f, const ReportTable& t, const TableFit& fit, bool continued, const ReportMeasure& measure)
{
    if (!t.title.empty())
        layLines(f, continued ? t.title + " (pokračovanie)" : t.title, TextStyle::Body, BodyLine, measure);
    placeRow(f, fit.header, t, fit.widths, TextStyle::TableHeader);
    f.rule(MarginLeft, fit.right);
    f.advance(2.0);
}

// A row taller than a page's room: its lines from where it stands, as many a page as fit (at
// least one, so a header as tall as the page cannot hold it back), the rest on the next pages
// under the header repeated.
void layTallRow(PageFiller& f, const LaidRow& row, const ReportTable& t, const TableFit& fit,
    const ReportMeasure& measure)
{
    const std::size_t lines = lineCount(row);
    std::size_t from = 0;
    bool fresh = false; // just after the header of a new page
    while (from < lines) {
        const auto fitting
            = static_cast<std::size_t>(std::max(0.0, std::floor((f.bottom() - f.y()) / RowHeight + 1e-9)));
        const std::size_t take = std::min(lines - from, std::max(fitting, fresh ? std::size_t { 1 } : 0));
        if (take == 0) {
            f.newPage(f.orientation());
            tableHeader(f, t, fit, true, measure);
            fresh = true;
            continue;
        }
        placeRowLines(f, row, t, fit.widths, TextStyle::TableCell, from, from + take);
        from += take;
        fresh = false;
    }
}

double sum(const std::vector<double>& v)
{
    return std::accumulate(v.begin(), v.end(), 0.0);
}

// A table too wide for a portrait page even with its texts wrapped goes on landscape pages.
bool needsLandscape(const ReportTable& t, const ReportMeasure& measure)
{
    const double body = bodyWidth(Orientation::Portrait);
    return sum(columnWidths(t, body, measure)) > body + 1e-9;
}

void layTable(PageFiller& f, const ReportTable& t, const ReportMeasure& measure)
{
    const Orientation o = needsLandscape(t, measure) ? Orientation::Landscape : f.orientation();
    TableFit fit;
    fit.widths = columnWidths(t, bodyWidth(o), measure);
    fit.header = layRow(
        [&] {
            std::vector<std::string> titles;
            for (const ReportColumn& c : t.columns)
                titles.push_back(c.title);
            return titles;
        }(),
        fit.widths, TextStyle::TableHeader, measure);
    fit.right = MarginLeft + sum(fit.widths);
    std::vector<LaidRow> rows;
    for (const std::vector<std::string>& r : t.rows)
        rows.push_back(layRow(r, fit.widths, TextStyle::TableCell, measure));

    if (o != f.orientation())
        f.newPage(o);
    f.space(TableSpace);
    // The room a page that goes on with the table has for its rows; a row taller than that goes
    // on over pages, as many of its lines a page as fit.
    const double continuedTitle = t.title.empty() ? 0.0
                                                  : BodyLine
            * static_cast<double>(
                wrapText(t.title + " (pokračovanie)", bodyWidth(o), TextStyle::Body, measure).size());
    const double room = bodyBottom(o) - BodyTop - continuedTitle - fit.header.height - 2.0;
    // The header never stands alone at a page's foot: the first row, or a first line of one that
    // goes on over pages, goes with it.
    const double titleHeight = t.title.empty() ? 0.0 : BodyLine;
    const double first = rows.empty() ? 0.0 : rows.front().height;
    f.ensure(titleHeight + fit.header.height + 2.0 + (first > room ? RowHeight : first));
    tableHeader(f, t, fit, false, measure);
    for (const LaidRow& row : rows) {
        if (f.fits(row.height)) {
            placeRow(f, row, t, fit.widths, TextStyle::TableCell);
            continue;
        }
        if (row.height <= room) {
            f.newPage(o);
            tableHeader(f, t, fit, true, measure);
            placeRow(f, row, t, fit.widths, TextStyle::TableCell);
            continue;
        }
        layTallRow(f, row, t, fit, measure);
    }
}

// The height the chart page's title and lines take on a page of this orientation.
double chartTextHeight(const ReportSection& s, Orientation o, const ReportMeasure& measure)
{
    double h = HeadingHeight;
    for (const std::string& line : s.lines)
        h += BodyLine * static_cast<double>(wrapText(line, bodyWidth(o), TextStyle::Body, measure).size());
    return h;
}

// The chart's box on a page of this orientation below its text: the shape at the largest scale
// that fits, centred across the body; the whole room without a shape.
ReportBox chartBox(const ReportSection& s, Orientation o, const ReportMeasure& measure)
{
    const double top = BodyTop + chartTextHeight(s, o, measure) + ChartSpace;
    const double roomW = bodyWidth(o);
    const double roomH = std::max(0.0, bodyBottom(o) - top);
    if (!s.chartShape || s.chartShape->width <= 0.0 || s.chartShape->height <= 0.0)
        return { MarginLeft, top, roomW, roomH };
    const ChartShape& c = *s.chartShape;
    const double scale
        = std::max(0.0, std::min((roomW - c.fixedWidth) / c.width, (roomH - c.fixedHeight) / c.height));
    const double w = std::min(roomW, c.width * scale + c.fixedWidth);
    const double h = std::min(roomH, c.height * scale + c.fixedHeight);
    return { MarginLeft + (roomW - w) / 2.0, top, w, h };
}

void layChart(PageFiller& f, const ReportSection& s, const ReportMeasure& measure)
{
    // A page of its own: the title, then the chart over the rest of the body, on the page that
    // shows it larger.
    const ReportBox portrait = chartBox(s, Orientation::Portrait, measure);
    const ReportBox landscape = chartBox(s, Orientation::Landscape, measure);
    const bool wide
        = s.chartShape && landscape.width * landscape.height > portrait.width * portrait.height * 1.001;
    const Orientation o = wide ? Orientation::Landscape : Orientation::Portrait;
    if (!f.atTop() || f.orientation() != o)
        f.newPage(o);
    f.text(s.title, TextStyle::Heading, HeadingHeight, MarginLeft, f.body());
    f.advance(HeadingHeight);
    for (const std::string& line : s.lines)
        layLines(f, line, TextStyle::Body, BodyLine, measure);
    f.page().chart = wide ? landscape : portrait;
    f.newPage();
}

void laySection(PageFiller& f, const ReportSection& s, const ReportMeasure& measure)
{
    if (s.chart) {
        layChart(f, s, measure);
        return;
    }
    // A section whose table needs a landscape page starts on one, its heading with it.
    if (f.orientation() == Orientation::Portrait
        && std::any_of(s.tables.begin(), s.tables.end(),
            [&](const ReportTable& t) { return needsLandscape(t, measure); }))
        f.newPage(Orientation::Landscape);
    f.space(HeadingSpace);
    // A heading goes with its first line.
    f.ensure(HeadingHeight + BodyLine);
    f.text(s.title, TextStyle::Heading, HeadingHeight, MarginLeft, f.body());
    f.advance(HeadingHeight);
    for (const std::string& line : s.lines)
        layLines(f, line, TextStyle::Body, BodyLine, measure);
    for (const ReportTable& t : s.tables)
        layTable(f, t, measure);
}

} // namespace

double pageWidth(Orientation o)
{
    return o == Orientation::Portrait ? PageWidth : PageHeight;
}

double pageHeight(Orientation o)
{
    return o == Orientation::Portrait ? PageHeight : PageWidth;
}

double bodyWidth(Orientation o)
{
    return pageWidth(o) - MarginLeft - MarginRight;
}

double bodyBottom(Orientation o)
{
    return pageHeight(o) - (PageHeight - BodyBottom);
}

std::vector<std::string> wrapText(
    const std::string& text, double width, TextStyle style, const ReportMeasure& measure)
{
    if (measure(text, style) <= width)
        return { text };
    const std::string indent
        = text.substr(0, text.find_first_not_of(' ') == std::string::npos ? 0 : text.find_first_not_of(' '));
    std::vector<std::string> lines;
    std::string line = indent;
    auto flush = [&] {
        if (line.size() > indent.size())
            lines.push_back(line);
        line = indent;
    };
    for (const std::string& w : words(text)) {
        const std::string joined = line.size() > indent.size() ? line + " " + w : line + w;
        if (measure(joined, style) <= width) {
            line = joined;
            continue;
        }
        flush();
        if (measure(line + w, style) <= width) {
            line += w;
            continue;
        }
        // A word wider than the box: as many letters a line as fit, at least one.
        for (std::size_t i = 0; i < w.size();) {
            const std::size_t n = letterLength(w, i);
            const std::string more = line + w.substr(i, n);
            if (line.size() > indent.size() && measure(more, style) > width)
                flush();
            line += w.substr(i, n);
            i += n;
        }
    }
    flush();
    if (lines.empty())
        lines.push_back(text);
    return lines;
}

std::vector<double> columnWidths(const ReportTable& t, double body, const ReportMeasure& measure)
{
    const std::size_t n = t.columns.size();
    std::vector<double> natural(n), least(n);
    for (std::size_t c = 0; c < n; ++c) {
        const ReportColumn& col = t.columns[c];
        double cells = 0.0;
        double cellWord = 0.0;
        for (const std::vector<std::string>& row : t.rows) {
            if (c >= row.size() || row[c].empty())
                continue;
            cells = std::max(cells, measure(row[c], TextStyle::TableCell));
            cellWord = std::max(cellWord, longestWord(row[c], TextStyle::TableCell, measure));
        }
        const double title = measure(col.title, TextStyle::TableHeader);
        const double titleWord = longestWord(col.title, TextStyle::TableHeader, measure);
        const bool empty = cells == 0.0 && col.title.empty();
        const double gap = empty ? 0.0 : ColumnGap;
        natural[c] = std::max(col.width, std::max(cells, title) + gap);
        if (col.align == Align::Right)
            least[c] = std::max(col.width, std::max(cells, titleWord) + gap);
        else
            least[c] = std::max(col.width,
                std::max(
                    titleWord, std::min(std::max(cells, title), std::max(cellWord, WrappedColumnMinimum)))
                    + gap);
        least[c] = std::min(least[c], natural[c]);
    }
    if (sum(natural) <= body || sum(least) >= body)
        return sum(natural) <= body ? natural : least;
    // The widest columns give up width first: every column is cut to a common cap, but none
    // below its least width; the cap is the largest that lets the table fit.
    auto capped = [&](double cap) {
        std::vector<double> widths(n);
        for (std::size_t c = 0; c < n; ++c)
            widths[c] = std::max(least[c], std::min(natural[c], cap));
        return widths;
    };
    double low = 0.0, high = *std::max_element(natural.begin(), natural.end());
    for (int i = 0; i < 60; ++i) {
        const double mid = (low + high) / 2.0;
        (sum(capped(mid)) <= body ? low : high) = mid;
    }
    return capped(low);
}

double pointSize(TextStyle style)
{
    switch (style) {
    case TextStyle::Title:
        return 16.0;
    case TextStyle::Heading:
        return 12.0;
    case TextStyle::Body:
        return 9.0;
    case TextStyle::TableHeader:
    case TextStyle::TableCell:
    case TextStyle::PageHead:
        return 8.0;
    }
    return 9.0;
}

bool isBold(TextStyle style)
{
    return style == TextStyle::Title || style == TextStyle::Heading || style == TextStyle::TableHeader;
}

std::string pageNumberText(int page, int pages)
{
    return "Strana " + std::to_string(page) + " z " + std::to_string(pages);
}

ReportLayout layoutReport(const ReportContent& content, const ReportMeasure& measure)
{
    ReportLayout out;
    PageFiller f(out);
    f.newPage();
    for (const std::string& line : wrapText(content.title, BodyWidth, TextStyle::Title, measure)) {
        f.text(line, TextStyle::Title, TitleHeight, MarginLeft, BodyWidth);
        f.advance(TitleHeight);
    }
    for (const ReportSection& s : content.sections)
        laySection(f, s, measure);
    // A chart closes its page: a page left empty after it goes.
    if (out.pages.size() > 1 && out.pages.back().texts.empty() && !out.pages.back().chart)
        out.pages.pop_back();
    const int pages = static_cast<int>(out.pages.size());
    for (int i = 0; i < pages; ++i) {
        LaidOutPage& p = out.pages[static_cast<std::size_t>(i)];
        const double body = bodyWidth(p.orientation);
        const double foot = pageHeight(p.orientation) - FootFromBottom;
        // The date on the right, the file's name in the rest, a long name wrapped upwards.
        const double date = measure(content.date, TextStyle::PageHead);
        const double nameWidth = std::max(1.0, body - date - ColumnGap);
        const std::vector<std::string> name
            = wrapText(content.projectName, nameWidth, TextStyle::PageHead, measure);
        for (std::size_t l = 0; l < name.size(); ++l)
            p.texts.push_back({ { MarginLeft, HeadY - RowHeight * static_cast<double>(name.size() - 1 - l),
                                    nameWidth, RowHeight },
                name[l], TextStyle::PageHead, Align::Left });
        p.texts.push_back({ { MarginLeft + body - date, HeadY, date, RowHeight }, content.date,
            TextStyle::PageHead, Align::Right });
        p.rules.push_back(
            { MarginLeft, HeadY + RowHeight + 2.0, MarginLeft + body, HeadY + RowHeight + 2.0 });
        p.texts.push_back({ { MarginLeft, foot, body, RowHeight }, pageNumberText(i + 1, pages),
            TextStyle::PageHead, Align::Right });
    }
    return out;
}

} // namespace dorvan::report

namespace dorvan::report {

std::vector<AxisMark> axisMarks(
    double low, double high, double length, double spacing, std::string_view separator)
{
    std::vector<AxisMark> out;
    const double range = high - low;
    if (!std::isfinite(range) || range <= 0.0 || !(length > 0.0) || !(spacing > 0.0))
        return out;
    // The step that puts `spacing` points between ticks, rounded up to 1, 2, 2,5 or 5 × 10^k.
    const double least = spacing * range / length;
    double power = std::pow(10.0, std::floor(std::log10(least)));
    double step = 0.0;
    for (double m : { 1.0, 2.0, 2.5, 5.0, 10.0 })
        if (m * power >= least * (1.0 - 1e-12)) {
            step = m * power;
            break;
        }
    if (!(step > 0.0))
        return out;
    const double first = std::ceil(low / step - 1e-9);
    for (double k = first; k * step <= high + step * 1e-9 && out.size() < 1000; k += 1.0) {
        const double value = k * step;
        out.push_back({ (value - low) / range,
            formatGeneral15(std::abs(value) < step * 1e-9 ? 0.0 : value, separator) });
    }
    return out;
}

} // namespace dorvan::report
