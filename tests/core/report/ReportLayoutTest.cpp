#include "core/report/ReportLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace dorvan::report;

namespace {

ReportSection longTable(int rows)
{
    ReportSection s;
    s.title = "Miesta";
    s.lines = { "Úvodný riadok" };
    ReportTable t;
    t.title = "Tabuľka";
    t.columns = { { "Č.", 40, Align::Right }, { "Názov", 455, Align::Left } };
    for (int i = 1; i <= rows; ++i)
        t.rows.push_back({ std::to_string(i), "Miesto " + std::to_string(i) });
    s.tables.push_back(t);
    return s;
}

std::vector<const PlacedText*> bodyTexts(const LaidOutPage& page)
{
    std::vector<const PlacedText*> out;
    for (const PlacedText& t : page.texts)
        if (t.style != TextStyle::PageHead)
            out.push_back(&t);
    return out;
}

} // namespace

TEST(ReportLayout, LongTablesGoOnWithTheirHeaderAndTheChartStandsAlone)
{
    struct Case {
        const char* what;
        int rows;
        int pagesAtLeast;
    };
    const Case cases[] = { { "one page", 5, 2 }, { "over three pages", 150, 4 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReportContent content;
        content.projectName = "plán.mzd";
        content.date = "9. 12. 2026";
        content.title = "Zostava";
        ReportSection chart;
        chart.title = "Graf výsledku";
        chart.chart = true;
        content.sections = { ReportSection { "Projekt", { "Počet miest: 3" }, {}, false }, chart, longTable(c.rows) };
        const ReportLayout layout = layoutReport(content);
        const int pages = static_cast<int>(layout.pages.size());
        ASSERT_GE(pages, c.pagesAtLeast);

        int chartPages = 0;
        int next = 1; // the next table row expected
        for (int p = 0; p < pages; ++p) {
            const LaidOutPage& page = layout.pages[static_cast<std::size_t>(p)];
            // Head and foot on every page.
            std::vector<std::string> heads;
            for (const PlacedText& t : page.texts)
                if (t.style == TextStyle::PageHead)
                    heads.push_back(t.text);
            EXPECT_EQ(heads,
                (std::vector<std::string> { "plán.mzd", "9. 12. 2026",
                    "Strana " + std::to_string(p + 1) + " z " + std::to_string(pages) }));
            const auto body = bodyTexts(page);
            for (const PlacedText* t : body) {
                EXPECT_GE(t->box.y, BodyTop) << t->text;
                EXPECT_LE(t->box.y + t->box.height, BodyBottom) << t->text;
            }
            if (page.chart) {
                ++chartPages;
                ASSERT_EQ(body.size(), 1u);
                EXPECT_EQ(body[0]->text, "Graf výsledku");
                EXPECT_GT(page.chart->y, body[0]->box.y);
                EXPECT_LE(page.chart->y + page.chart->height, BodyBottom);
                EXPECT_GT(page.chart->height, 500.0);
                continue;
            }
            // A page that goes on with the table starts with its title and header again.
            if (p >= 3) {
                ASSERT_GE(body.size(), 4u);
                EXPECT_EQ(body[0]->text, "Tabuľka (pokračovanie)");
                EXPECT_EQ(body[1]->text, "Č.");
                EXPECT_EQ(body[2]->text, "Názov");
            }
            for (const PlacedText* t : body) {
                if (t->style == TextStyle::TableCell && t->box.x == MarginLeft) {
                    EXPECT_EQ(t->text, std::to_string(next));
                    ++next;
                }
            }
        }
        EXPECT_EQ(chartPages, 1);
        EXPECT_EQ(next, c.rows + 1); // every row once, in order
        // The chart's page is the second: the project summary fills the first only in part.
        EXPECT_TRUE(layout.pages[1].chart.has_value());
    }
}

TEST(ReportLayout, AHeadingNeverStandsAloneAtAPagesFoot)
{
    ReportContent content;
    content.title = "Zostava";
    ReportSection filler;
    filler.title = "Výplň";
    for (int i = 0; i < 50; ++i)
        filler.lines.push_back("riadok " + std::to_string(i));
    content.sections = { filler, longTable(3) };
    const ReportLayout layout = layoutReport(content);
    for (const LaidOutPage& page : layout.pages) {
        const auto body = bodyTexts(page);
        ASSERT_FALSE(body.empty());
        EXPECT_NE(body.back()->style, TextStyle::Heading) << body.back()->text;
        EXPECT_NE(body.back()->style, TextStyle::TableHeader) << body.back()->text;
    }
}
