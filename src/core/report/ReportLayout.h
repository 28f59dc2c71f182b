#pragma once

// A report laid out on A4 portrait pages, as data: what goes on which page and where, in
// points from the page's top left corner. The painters only draw what the layout places, so
// the PDF, the printer and any test read the same pages. Every page carries the project file's
// name and the date at its head and its number at its foot; the chart stands on a page of its
// own; a table that does not fit goes on over the next page with its header repeated.

#include <optional>
#include <string>
#include <vector>

namespace dorvan::report {

inline constexpr double PageWidth = 595.276; // A4 in points
inline constexpr double PageHeight = 841.890;
inline constexpr double MarginLeft = 50.0;
inline constexpr double MarginRight = 50.0;
inline constexpr double BodyTop = 72.0;
inline constexpr double BodyBottom = 790.0;
inline constexpr double BodyWidth = PageWidth - MarginLeft - MarginRight;

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

struct ReportColumn {
    std::string title;
    double width = 0.0; // points
    Align align = Align::Left;
};

struct ReportTable {
    std::string title; // over the table; empty for none
    std::vector<ReportColumn> columns;
    std::vector<std::vector<std::string>> rows; // one text a column
};

// A titled part of the report: lines of text, then its tables.
struct ReportSection {
    std::string title;
    std::vector<std::string> lines;
    std::vector<ReportTable> tables;
    bool chart = false; // the result chart: a page of its own under the title
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
    std::string text; // UTF-8; cut short with "…" by the painter when wider than the box
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
    std::vector<PlacedText> texts;
    std::vector<PlacedRule> rules;
    std::optional<ReportBox> chart; // where the chart is drawn on this page
};

struct ReportLayout {
    std::vector<LaidOutPage> pages;
};

ReportLayout layoutReport(const ReportContent& content);

// "Strana 2 z 5".
std::string pageNumberText(int page, int pages);

} // namespace dorvan::report
