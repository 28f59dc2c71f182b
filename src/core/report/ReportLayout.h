#pragma once

// A report laid out on A4 pages, as data: what goes on which page and where, in points from
// the page's top left corner. The painters only draw what the layout places, so the PDF, the
// printer and any test read the same pages. Every page carries the project file's name and the
// date at its head and its number at its foot; the chart stands on a page of its own, as large
// as the page allows at its own proportions, on a landscape page where that makes it larger; a
// table that does not fit goes on over the next page with its header repeated, and so does a
// single row taller than a page, as many of its lines a page as fit.
//
// Nothing is cut: the core has no fonts, so the layout is given a measure of the painter's, sizes
// each table's columns to their content and wraps long texts (at spaces, a word longer than its
// column at letters) onto further lines. A table too wide for a portrait page even with its
// texts wrapped goes on landscape pages.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvan::report {

inline constexpr double PageWidth = 595.276; // A4 in points
inline constexpr double PageHeight = 841.890;
inline constexpr double MarginLeft = 50.0;
inline constexpr double MarginRight = 50.0;
inline constexpr double BodyTop = 72.0;
inline constexpr double BodyBottom = 790.0; // on a portrait page
inline constexpr double BodyWidth = PageWidth - MarginLeft - MarginRight; // on a portrait page
// The space between two columns of a table, on the right of each column's text.
inline constexpr double ColumnGap = 6.0;
// A column of wrapped text is not made narrower than this (unless its content is).
inline constexpr double WrappedColumnMinimum = 60.0;

enum class Orientation { Portrait, Landscape };
double pageWidth(Orientation o);
double pageHeight(Orientation o);
double bodyWidth(Orientation o);
double bodyBottom(Orientation o); // 52 points above the page's foot

enum class Align { Left, Right };

// Sizes are fixed by style: the layout counts with their line heights.
enum class TextStyle {
    Title, // 16 pt bold
    Heading, // 12 pt bold
    Body, // 9 pt
    TableHeader, // 8 pt bold
    TableCell, // 8 pt
    PageHead, // 8 pt, the head and foot of every page
};
double pointSize(TextStyle style);
bool isBold(TextStyle style);

// The width in points of a text written in a style, as the painter's font sets it.
using ReportMeasure = std::function<double(std::string_view text, TextStyle style)>;

// The lines a text takes in a box `width` points wide: broken at spaces, a word wider than the
// box at letters; continuation lines keep the text's leading spaces. An empty text is one line.
std::vector<std::string> wrapText(
    const std::string& text, double width, TextStyle style, const ReportMeasure& measure);

// A column: left-aligned text wraps, right-aligned figures never do. Its width is the widest of
// its texts and its title, and at least `width`; a left-aligned column gives up width to let the
// table fit the page, down to its longest word or WrappedColumnMinimum; a right-aligned one only
// lets its title wrap.
struct ReportColumn {
    std::string title;
    double width = 0.0; // points, the least the column takes
    Align align = Align::Left;
};

struct ReportTable {
    std::string title; // over the table; empty for none
    std::vector<ReportColumn> columns;
    std::vector<std::vector<std::string>> rows; // one text a column
};

// A titled part of the report: lines of text, then its tables.
// The chart's proportions: at s points a unit of its drawing it is width × s + fixedWidth points
// wide and height × s + fixedHeight high (the fixed parts are its frame and margins).
struct ChartShape {
    double width = 1.0;
    double height = 1.0;
    double fixedWidth = 0.0;
    double fixedHeight = 0.0;
};

struct ReportSection {
    std::string title;
    std::vector<std::string> lines;
    std::vector<ReportTable> tables;
    bool chart = false; // the result chart: a page of its own under the title
    // The chart's proportions; none: it fills the rest of its page.
    std::optional<ChartShape> chartShape;
};

struct ReportContent {
    std::string projectName; // the project file's name, on every page
    std::string date; // "9. 12. 2026", on every page
    std::string title; // on the first page
    std::vector<ReportSection> sections; // in order
};

struct ReportBox {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

struct PlacedText {
    ReportBox box; // the text's line: its top, its width, its line height
    std::string text; // UTF-8; the layout made the box wide enough for it
    TextStyle style = TextStyle::Body;
    Align align = Align::Left;
};

struct PlacedRule {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
};

struct LaidOutPage {
    Orientation orientation = Orientation::Portrait;
    std::vector<PlacedText> texts;
    std::vector<PlacedRule> rules;
    std::optional<ReportBox> chart; // where the chart is drawn on this page
};

struct ReportLayout {
    std::vector<LaidOutPage> pages;
};

ReportLayout layoutReport(const ReportContent& content, const ReportMeasure& measure);

// The width of each column of a table on a body `body` points wide: each column as wide as its
// content and gap; where they do not all fit, the widest columns give up width first (texts
// wrap), none below its least. Their sum is over `body` only when even that does not fit.
std::vector<double> columnWidths(const ReportTable& table, double body, const ReportMeasure& measure);

// "Strana 2 z 5".
std::string pageNumberText(int page, int pages);

} // namespace dorvan::report

namespace dorvan::report {

// A labelled tick along one edge of the zoomed chart's frame: `at` is how far along the edge it
// stands (0 at the low end, 1 at the high), `text` its coordinate.
struct AxisMark {
    double at = 0.0;
    std::string text;
};

// The ticks of a coordinate range low..high along an edge `length` points long: every multiple
// of the smallest step of 1, 2, 2,5 or 5 times a power of ten that sets them at least `spacing`
// points apart, written with the decimal separator. None for an empty or damaged range.
std::vector<AxisMark> axisMarks(
    double low, double high, double length, double spacing, std::string_view separator);

} // namespace dorvan::report
