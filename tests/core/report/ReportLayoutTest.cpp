#include "core/report/ReportLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace dorvan::report;

namespace {

// Half the point size a letter (UTF-8 letters counted once): 4 points a letter in the tables'
// 8 points, 4,5 in the body's 9.
double letters(std::string_view text)
{
    double n = 0;
    for (unsigned char c : text)
        n += (c & 0xC0) != 0x80 ? 1 : 0;
    return n;
}
double pitch(std::string_view text, TextStyle style)
{
    return letters(text) * pointSize(style) / 2.0;
}

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
        content.sections
            = { ReportSection { "Projekt", { "Počet miest: 3" }, {}, false, {} }, chart, longTable(c.rows) };
        const ReportLayout layout = layoutReport(content, pitch);
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
    const ReportLayout layout = layoutReport(content, pitch);
    for (const LaidOutPage& page : layout.pages) {
        const auto body = bodyTexts(page);
        ASSERT_FALSE(body.empty());
        EXPECT_NE(body.back()->style, TextStyle::Heading) << body.back()->text;
        EXPECT_NE(body.back()->style, TextStyle::TableHeader) << body.back()->text;
    }
}

TEST(ReportLayout, TextsWrapAtSpacesLongWordsAtLettersAndIndentsStay)
{
    struct Case {
        const char* text;
        double width;
        std::vector<std::string> lines;
    };
    // Table cells: 4 points a letter.
    const Case cases[] = {
        { "abc def ghi", 44, { "abc def ghi" } },
        { "abc def ghi", 40, { "abc def", "ghi" } }, // 11 letters are 44 points
        { "  ab cd ef", 24, { "  ab", "  cd", "  ef" } }, // "  ab cd" is 7 letters, 28 points
        { "abcdefghijkl", 20, { "abcde", "fghij", "kl" } },
        { "ľščťž", 8, { "ľš", "čť", "ž" } }, // two-byte letters are never split
        { "xy abcdefghijkl z", 20, { "xy", "abcde", "fghij", "kl z" } },
        { "", 10, { "" } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(wrapText(c.text, c.width, TextStyle::TableCell, pitch), c.lines)
            << c.text << " in " << c.width;
}

TEST(ReportLayout, ColumnsTakeTheirContentAndTheWidestGivesWayFirst)
{
    // "35" and "Č." are 8 points: 14 with the gap. The name of 42 letters is 168: 174. The
    // quantity "123456789" is 36, "Množstvo" 32: 42. A name column wraps down to its longest
    // word or 60 points ("distribučná", 44): 66; the figures never.
    ReportTable t;
    t.columns = { { "Č.", 0, Align::Right }, { "Názov", 0, Align::Left }, { "Množstvo", 0, Align::Right } };
    t.rows = { { "35", "Mestská distribučná oblasť Severovýchod AB", "123456789" }, { "1", "Brno", "5" } };
    struct Case {
        double body;
        std::vector<double> widths;
    };
    for (const Case& c :
        { Case { 300, { 14, 174, 42 } }, Case { 150, { 14, 94, 42 } }, Case { 100, { 14, 66, 42 } } }) {
        const std::vector<double> w = columnWidths(t, c.body, pitch);
        ASSERT_EQ(w.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(w[i], c.widths[i], 1e-6) << c.body << " column " << i;
    }
}

namespace {

// Every text of the layout fits its box by the measure and lies inside its page, and no two
// texts of a page (its head and foot too) share any space.
void expectNothingCut(const ReportLayout& layout)
{
    for (std::size_t p = 0; p < layout.pages.size(); ++p) {
        const LaidOutPage& page = layout.pages[p];
        const double right = pageWidth(page.orientation) - MarginRight;
        for (const PlacedText& t : page.texts) {
            EXPECT_LE(pitch(t.text, t.style), t.box.width + 1e-9) << p << ": " << t.text;
            EXPECT_LE(t.box.x + t.box.width, right + 1e-9) << p << ": " << t.text;
            EXPECT_LE(t.box.y + t.box.height, pageHeight(page.orientation)) << p << ": " << t.text;
        }
        std::vector<const PlacedText*> body;
        for (const PlacedText& t : page.texts)
            body.push_back(&t);
        for (std::size_t i = 0; i < body.size(); ++i)
            for (std::size_t j = i + 1; j < body.size(); ++j) {
                const ReportBox& a = body[i]->box;
                const ReportBox& b = body[j]->box;
                const bool meet = a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height
                    && b.y < a.y + a.height;
                EXPECT_FALSE(meet) << p << ": " << body[i]->text << " / " << body[j]->text;
            }
    }
}

} // namespace

TEST(ReportLayout, NumbersAndNamesStandWholeAndAWideTableTurnsThePage)
{
    // A place table of eleven columns with a quantity of 123456789 and a name of 40 letters;
    // and a group table whose certificate column must wrap.
    const std::string name = "Liberec Mestská distribučná oblasť Sever"; // 40 letters
    ASSERT_EQ(letters(name), 40);
    ReportTable places;
    for (const char* title : { "Č.", "Názov", "X [km]", "Y [km]", "Šírka", "Dĺžka", "Množstvo", "Cena",
             "Flexibilita", "Skupina", "Poznámka" })
        places.columns.push_back(
            { title, 0, std::string_view(title) == "Názov" ? Align::Left : Align::Right });
    for (int i = 1; i <= 60; ++i)
        places.rows.push_back({ std::to_string(i), i == 7 ? name : "Miesto " + std::to_string(i),
            "-12345678,9123", "-10430001,1234", "50,8790503", "12,8707401", i == 7 ? "123456789" : "1", "1",
            "1", "2", "poznámka-dlhá-15" });
    ReportTable groups;
    groups.columns = { { "Skupina", 0, Align::Left }, { "Optimum", 0, Align::Left },
        { "Výsledok je ...", 0, Align::Left } };
    const std::string certificate
        = "nanajvýš o 0,00004009 % horší ako optimum, dokázané dolnou hranicou nákladov a ešte ďalšie slová";
    groups.rows = { { "1", "[Xopt1;Yopt1]=[43,3753;56,2841]", certificate } };
    ReportContent content;
    content.title = "Zostava";
    // A file name of 130 letters beside the date: wrapped over the head's lines.
    content.projectName = "plán rozvozu " + std::string(100, 'p') + " s dlhým menom.mzd";
    content.date = "9. 12. 2026";
    content.sections
        = { ReportSection { "Výsledok", { std::string(150, 'a') + " koniec" }, { groups }, false, {} },
              ReportSection { "Miesta", {}, { places }, false, {} } };
    const ReportLayout layout = layoutReport(content, pitch);
    expectNothingCut(layout);

    int landscape = 0;
    bool quantity = false;
    std::string names;
    for (const LaidOutPage& page : layout.pages) {
        landscape += page.orientation == Orientation::Landscape ? 1 : 0;
        for (const PlacedText& t : page.texts) {
            quantity = quantity || t.text == "123456789";
            if (t.text.find("Liberec") != std::string::npos || t.text.find("Sever") != std::string::npos
                || t.text.find("distribučná") != std::string::npos)
                names += (names.empty() ? "" : " ") + t.text;
        }
    }
    EXPECT_TRUE(quantity);
    EXPECT_EQ(names, name); // on one line or wrapped, every word of it
    // The place table's least width: 14 + 66 for number and name, 62 twice, 46 twice, 42, 22,
    // 50, 34 and 66 for the rest, 510 in all: more than a portrait page's 495 points.
    EXPECT_GT(landscape, 0);
    EXPECT_EQ(layout.pages.front().orientation, Orientation::Portrait);
    // The group table (34 + 130 + 398 points wide by its content) has its certificate wrapped
    // onto further lines of the same row, every word of it.
    std::vector<std::string> certificateLines;
    for (const PlacedText& t : layout.pages.front().texts)
        if (t.style == TextStyle::TableCell && t.text != "1" && !t.text.starts_with("[Xopt"))
            certificateLines.push_back(t.text);
    EXPECT_GE(certificateLines.size(), 2u);
    std::string joined;
    for (const std::string& l : certificateLines)
        joined += (joined.empty() ? "" : " ") + l;
    EXPECT_EQ(joined, certificate);
}

TEST(ReportLayout, TheChartTakesThePageThatShowsItLargestAtItsOwnProportions)
{
    struct Case {
        const char* what;
        ChartShape shape;
        Orientation orientation;
    };
    const Case cases[] = {
        { "wide", { 400, 100, 30, 30 }, Orientation::Landscape },
        { "tall", { 100, 300, 30, 30 }, Orientation::Portrait },
        { "square", { 100, 100, 30, 30 }, Orientation::Portrait },
    };
    for (const Case& c : cases) {
        ReportSection chart;
        chart.title = "Graf výsledku";
        chart.lines = { "Obe osi v rovnakej mierke." };
        chart.chart = true;
        chart.chartShape = c.shape;
        ReportContent content;
        content.title = "Zostava";
        content.sections = { ReportSection { "Projekt", { "riadok" }, {}, false, {} }, chart };
        const ReportLayout layout = layoutReport(content, pitch);
        const LaidOutPage* page = nullptr;
        for (const LaidOutPage& p : layout.pages)
            if (p.chart)
                page = &p;
        ASSERT_NE(page, nullptr) << c.what;
        EXPECT_EQ(page->orientation, c.orientation) << c.what;
        const ReportBox& box = *page->chart;
        // The same scale both ways: (width - 30) / 400 = (height - 30) / 100 for the wide shape.
        EXPECT_NEAR((box.width - c.shape.fixedWidth) / c.shape.width,
            (box.height - c.shape.fixedHeight) / c.shape.height, 1e-9)
            << c.what;
        // As large as the body allows: one side reaches it.
        const double body = bodyWidth(c.orientation);
        const double room = bodyBottom(c.orientation) - box.y;
        EXPECT_TRUE(std::abs(box.width - body) < 1e-6 || std::abs(box.height - room) < 1e-6) << c.what;
        EXPECT_GE(box.x, MarginLeft) << c.what;
        EXPECT_LE(box.x + box.width, MarginLeft + body + 1e-9) << c.what;
        // Centred across the body.
        EXPECT_NEAR(box.x - MarginLeft, MarginLeft + body - box.x - box.width, 1e-9) << c.what;
    }
    // Worked by hand for the wide shape: a landscape body of 741,89 points, (741,89 - 30) / 400
    // = 1,7797 points a unit against (room - 30) / 100 for a room of over 420 points.
}

TEST(ReportLayout, AxisMarksAreRoundStepsSpacedApart)
{
    struct Case {
        double low, high, length, spacing;
        std::vector<std::string> texts;
        double firstAt;
    };
    // 0..100 over 200 points with 30 between: at least 15 units, so a step of 20.
    // -3..7 over 100 with 20: 2 units, a step of 2. 1010..1040 over 300 with 40: 4 units: 5.
    const Case cases[] = {
        { 0, 100, 200, 30, { "0", "20", "40", "60", "80", "100" }, 0.0 },
        { -3, 7, 100, 20, { "-2", "0", "2", "4", "6" }, 0.1 },
        { 1010, 1040, 300, 40, { "1010", "1015", "1020", "1025", "1030", "1035", "1040" }, 0.0 },
        { 0.1, 0.35, 100, 40, { "0,1", "0,2", "0,3" }, 0.0 },
    };
    for (const Case& c : cases) {
        const std::vector<AxisMark> marks = axisMarks(c.low, c.high, c.length, c.spacing, ",");
        std::vector<std::string> texts;
        for (const AxisMark& m : marks)
            texts.push_back(m.text);
        EXPECT_EQ(texts, c.texts) << c.low;
        ASSERT_FALSE(marks.empty());
        EXPECT_NEAR(marks.front().at, c.firstAt, 1e-9) << c.low;
    }
    EXPECT_TRUE(axisMarks(5, 5, 100, 10, ",").empty());
}

namespace {

// A cell of `count` words of 60 letters each (240 points: two never share a line of the
// members' column): "M001xxx…", "M002xxx…", one a line.
std::string tallCell(int count)
{
    std::string out;
    for (int i = 1; i <= count; ++i) {
        char no[16];
        std::snprintf(no, sizeof no, "M%03d", i);
        out += (i > 1 ? " " : "") + std::string(no) + std::string(56, 'x');
    }
    return out;
}

} // namespace

// A row taller than a page goes on over the next pages, its lines in order, none lost, the
// header repeated above each part.
TEST(ReportLayout, ARowTallerThanAPageGoesOnOverPages)
{
    // A part of the tall row: from its line `first`, `count` lines on page `page` from `top`.
    struct Part {
        int page;
        int first;
        int count;
        double top;
    };
    struct Case {
        const char* what;
        std::string tableTitle;
        std::vector<std::vector<std::string>> rows;
        std::vector<Part> parts; // worked by hand below
        int pages;
        double after; // where the row after it stands on the last page; 0: none
    };
    // Page 1: title 72..98, space 8, heading 106..126, space 6 to 132; a table title 13; the
    // header 12, its rule and 2 points. Body to 790, rows 12 points a line.
    //  A: header 132..144, rows from 146: "Jedno" 146..158, then floor((790-158)/12) = 52 lines;
    //     page 2: header 72..84, lines from 86: the other 48, then "Koniec" at 86 + 48 × 12.
    //  B: the tall first row starts under its header on page 1 (one line would do): title
    //     132..145, header 145..157, lines from 159, floor(631/12) = 52; pages 2 and 3: title
    //     72..85, header 85..97, lines from 99, floor(691/12) = 57 a page: 57, then 41.
    const Case cases[] = {
        { "after a short row, then one more", "",
            { { "1", "Jedno" }, { "2", tallCell(100) }, { "3", "Koniec" } },
            { { 0, 0, 52, 158.0 }, { 1, 52, 48, 86.0 } }, 2, 86.0 + 48 * 12.0 },
        { "first of its table, over three pages", "Členovia skupín", { { "1", tallCell(150) } },
            { { 0, 0, 52, 159.0 }, { 1, 52, 57, 99.0 }, { 2, 109, 41, 99.0 } }, 3, 0.0 },
    };
    const double members = MarginLeft + 40.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReportContent content;
        content.title = "Zostava";
        ReportSection s;
        s.title = "Skupiny";
        ReportTable t;
        t.title = c.tableTitle;
        t.columns = { { "Č.", 40, Align::Right }, { "Členovia", 455, Align::Left } };
        t.rows = c.rows;
        s.tables = { t };
        content.sections = { s };
        const ReportLayout layout = layoutReport(content, pitch);
        ASSERT_EQ(layout.pages.size(), static_cast<std::size_t>(c.pages));
        expectNothingCut(layout);

        for (const Part& part : c.parts) {
            const auto body = bodyTexts(layout.pages[static_cast<std::size_t>(part.page)]);
            std::vector<std::pair<std::string, double>> got, want;
            for (const PlacedText* x : body)
                if (x->style == TextStyle::TableCell && x->box.x == members && x->text.size() == 60)
                    got.emplace_back(x->text.substr(0, 4), x->box.y);
            for (int l = 0; l < part.count; ++l) {
                char no[16];
                std::snprintf(no, sizeof no, "M%03d", part.first + l + 1);
                want.emplace_back(no, part.top + 12.0 * l);
            }
            EXPECT_EQ(got, want) << "page " << part.page + 1;
            for (const PlacedText* x : body)
                EXPECT_LE(x->box.y + x->box.height, BodyBottom + 1e-9) << x->text;
            // A page the row goes on over opens with the table's title and header again.
            if (part.page > 0) {
                std::vector<std::string> head;
                for (std::size_t i = 0; i < body.size() && head.size() < (t.title.empty() ? 2u : 3u); ++i)
                    head.push_back(body[i]->text);
                std::vector<std::string> expected { "Č.", "Členovia" };
                if (!t.title.empty())
                    expected.insert(expected.begin(), t.title + " (pokračovanie)");
                EXPECT_EQ(head, expected) << "page " << part.page + 1;
            }
        }
        // The row's number stands once, on its first line; the next row right after its last.
        int numbers = 0;
        for (const LaidOutPage& page : layout.pages)
            for (const PlacedText* x : bodyTexts(page))
                numbers += x->style == TextStyle::TableCell
                    && x->text == std::to_string(c.rows.size() > 1 ? 2 : 1);
        EXPECT_EQ(numbers, 1);
        if (c.after > 0.0) {
            const auto last = bodyTexts(layout.pages.back());
            ASSERT_FALSE(last.empty());
            EXPECT_EQ(last.back()->text, "Koniec");
            EXPECT_DOUBLE_EQ(last.back()->box.y, c.after);
        }
    }
}
