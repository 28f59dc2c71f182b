#include "core/report/ReportLayout.h"

namespace dorvan::report {

namespace {

constexpr double TitleHeight = 26.0;
constexpr double HeadingHeight = 20.0;
constexpr double HeadingSpace = 8.0; // above a heading that does not open a page
constexpr double BodyLine = 13.0;
constexpr double RowHeight = 12.0;
constexpr double TableSpace = 6.0; // above a table
constexpr double HeadY = 40.0;
constexpr double FootY = 806.0;

// Fills pages top down and opens a new one where the next line does not fit.
class PageFiller {
public:
    explicit PageFiller(ReportLayout& out)
        : out_(out)
    {
    }

    void newPage()
    {
        out_.pages.emplace_back();
        y_ = BodyTop;
    }
    bool fits(double height) const { return !out_.pages.empty() && y_ + height <= BodyBottom; }
    bool atTop() const { return y_ == BodyTop; }
    void ensure(double height)
    {
        if (!fits(height))
            newPage();
    }
    void space(double height)
    {
        if (!atTop())
            y_ += height;
    }
    void text(const std::string& s, TextStyle style, double height, double x = MarginLeft, double width = BodyWidth,
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

void tableHeader(PageFiller& f, const ReportTable& t, bool continued)
{
    if (!t.title.empty()) {
        f.text(continued ? t.title + " (pokračovanie)" : t.title, TextStyle::Body, BodyLine);
        f.advance(BodyLine);
    }
    double x = MarginLeft;
    for (const ReportColumn& c : t.columns) {
        f.text(c.title, TextStyle::TableHeader, RowHeight, x, c.width, c.align);
        x += c.width;
    }
    f.advance(RowHeight);
    f.rule(MarginLeft, x);
    f.advance(2.0);
}

double headerHeight(const ReportTable& t)
{
    return (t.title.empty() ? 0.0 : BodyLine) + RowHeight + 2.0;
}

void layTable(PageFiller& f, const ReportTable& t)
{
    f.space(TableSpace);
    // The header never stands alone at a page's foot.
    f.ensure(headerHeight(t) + RowHeight);
    tableHeader(f, t, false);
    for (const std::vector<std::string>& row : t.rows) {
        if (!f.fits(RowHeight)) {
            f.newPage();
            tableHeader(f, t, true);
        }
        double x = MarginLeft;
        for (std::size_t c = 0; c < t.columns.size(); ++c) {
            const ReportColumn& col = t.columns[c];
            f.text(c < row.size() ? row[c] : std::string(), TextStyle::TableCell, RowHeight, x, col.width, col.align);
            x += col.width;
        }
        f.advance(RowHeight);
    }
}

void laySection(PageFiller& f, const ReportSection& s)
{
    if (s.chart) {
        // A page of its own: the title, then the chart over the rest of the body.
        if (!f.atTop())
            f.newPage();
        f.text(s.title, TextStyle::Heading, HeadingHeight);
        f.advance(HeadingHeight);
        for (const std::string& line : s.lines) {
            f.text(line, TextStyle::Body, BodyLine);
            f.advance(BodyLine);
        }
        f.page().chart = ReportBox { MarginLeft, f.y() + 4.0, BodyWidth, BodyBottom - f.y() - 4.0 };
        f.newPage();
        return;
    }
    f.space(HeadingSpace);
    // A heading goes with its first line.
    f.ensure(HeadingHeight + BodyLine);
    f.text(s.title, TextStyle::Heading, HeadingHeight);
    f.advance(HeadingHeight);
    for (const std::string& line : s.lines) {
        f.ensure(BodyLine);
        f.text(line, TextStyle::Body, BodyLine);
        f.advance(BodyLine);
    }
    for (const ReportTable& t : s.tables)
        layTable(f, t);
}

} // namespace

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

ReportLayout layoutReport(const ReportContent& content)
{
    ReportLayout out;
    PageFiller f(out);
    f.newPage();
    f.text(content.title, TextStyle::Title, TitleHeight);
    f.advance(TitleHeight);
    for (const ReportSection& s : content.sections)
        laySection(f, s);
    // A chart closes its page: a page left empty after it goes.
    if (out.pages.size() > 1 && out.pages.back().texts.empty() && !out.pages.back().chart)
        out.pages.pop_back();
    const int pages = static_cast<int>(out.pages.size());
    for (int i = 0; i < pages; ++i) {
        LaidOutPage& p = out.pages[static_cast<std::size_t>(i)];
        const double half = BodyWidth / 2.0;
        p.texts.push_back({ { MarginLeft, HeadY, half, RowHeight }, content.projectName, TextStyle::PageHead, Align::Left });
        p.texts.push_back(
            { { MarginLeft + half, HeadY, half, RowHeight }, content.date, TextStyle::PageHead, Align::Right });
        p.rules.push_back({ MarginLeft, HeadY + RowHeight + 2.0, MarginLeft + BodyWidth, HeadY + RowHeight + 2.0 });
        p.texts.push_back({ { MarginLeft, FootY, BodyWidth, RowHeight }, pageNumberText(i + 1, pages),
            TextStyle::PageHead, Align::Right });
    }
    return out;
}

} // namespace dorvan::report
