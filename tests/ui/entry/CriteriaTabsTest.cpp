// The criteria sheets' tab bar in a large window: every ticked sheet can be reached with the
// scroll arrows alone, whichever sheets are ticked and which tab was chosen last.
#include "support/EntryWindowFixture.h"

#include <QCheckBox>
#include <QSet>
#include <QTabBar>
#include <QToolButton>

#include <vector>

namespace {

using dorvan::test::Here;

class CriteriaTabs : public dorvan::test::ThreePlacesFixture {
protected:
    CriteriaTabs()
        : ThreePlacesFixture(QSize(1600, 1000))
    {
    }
    QTabWidget* pages() { return get<QTabWidget>("PageControl2"); }
    QToolButton* arrow(Qt::ArrowType type)
    {
        for (auto* b : pages()->tabBar()->findChildren<QToolButton*>())
            if (b->arrowType() == type)
                return b;
        return nullptr;
    }
    bool arrowWorks(Qt::ArrowType type)
    {
        QToolButton* b = arrow(type);
        return b != nullptr && b->isVisible() && b->isEnabled();
    }
    // The tabs shown whole between the bar's left edge and its arrows.
    QSet<QString> wholeTabs()
    {
        QTabBar* bar = pages()->tabBar();
        const int right = arrow(Qt::LeftArrow)->isVisible() ? arrow(Qt::LeftArrow)->x() : bar->width();
        QSet<QString> whole;
        for (int i = 0; i < bar->count(); ++i)
            if (bar->tabRect(i).left() >= 0 && bar->tabRect(i).right() < right)
                whole.insert(bar->tabText(i));
        return whole;
    }
    // The tab texts seen whole while the arrows walk the bar to its start and then to its end.
    QSet<QString> tabsReachedByArrows()
    {
        QSet<QString> seen = wholeTabs();
        for (Qt::ArrowType type : { Qt::LeftArrow, Qt::RightArrow })
            for (int clicks = 0; clicks < 40 && arrowWorks(type); ++clicks) {
                QTest::mouseClick(arrow(type), Qt::LeftButton);
                seen.unite(wholeTabs());
            }
        return seen;
    }
    void setBox(int number, bool on, Here at = Here::current())
    {
        const QByteArray name = "CheckBox" + QByteArray::number(number);
        if (get<QCheckBox>(name.constData(), at)->isChecked() != on)
            tick(name.constData(), at);
    }
};

struct TabCase {
    const char* what;
    std::vector<int> ticked; // CheckBox numbers; 16 settings and 17 groups among them
    int chosenLast; // the tab clicked before the arrows are tried, counted from the left
};

// The tab texts in the order the sheets come, each with the box that shows it.
struct SheetTab {
    int box;
    const char* text;
};
const SheetTab SheetTabs[] = { { 1, "Množstvo" }, { 2, "Cena" }, { 3, "Vzdialenosti" },
    { 4, "Dĺžka distribučnej trasy" }, { 5, "Čas distribúcie" }, { 6, "Distribučná centrála" },
    { 7, "Distribučné sklady" }, { 8, "Čas nakl/vykl " }, { 9, "Kapacita skladov" },
    { 10, "Priorita miest " }, { 11, "Dopravné prostriedky" }, { 14, "Flexibilita" },
    { 15, "Počet miest v skupine" }, { 16, "DORVAN nastavenia" }, { 17, "Distribučné skupiny - Cooper" } };

TEST_F(CriteriaTabs, EveryTickedSheetIsReachedWithTheArrowsAlone)
{
    const TabCase cases[] = {
        // The last sheet (groups) not ticked: the right arrow used to stay dead.
        { "all criteria without groups", { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 16 }, 0 },
        // The first sheet not ticked and a tab at the right end chosen: both arrows died.
        { "about ten with groups", { 2, 5, 6, 7, 9, 10, 11, 15, 16, 17 }, 9 },
        { "gaps at both ends", { 3, 4, 6, 8, 9, 10, 11, 14, 15 }, 4 },
        { "everything", { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 16, 17 }, 14 },
        { "three sheets, no arrows", { 2, 16 }, 1 },
    };
    for (const TabCase& c : cases) {
        SCOPED_TRACE(c.what);
        for (const SheetTab& sheet : SheetTabs) {
            const bool on = std::find(c.ticked.begin(), c.ticked.end(), sheet.box) != c.ticked.end();
            setBox(sheet.box, on);
        }
        dialogs.shown.clear();
        QStringList expected;
        for (const SheetTab& sheet : SheetTabs)
            if (std::find(c.ticked.begin(), c.ticked.end(), sheet.box) != c.ticked.end())
                expected << u(sheet.text);
        QTabBar* bar = pages()->tabBar();
        QStringList shown;
        for (int i = 0; i < bar->count(); ++i)
            if (bar->isTabVisible(i))
                shown << bar->tabText(i);
        EXPECT_EQ(shown, expected);

        // The chosen tab is brought into sight by the bar; then only the arrows are used.
        pages()->setCurrentIndex(pages()->indexOf(pages()->widget(c.chosenLast)));
        QApplication::processEvents();
        const QSet<QString> reached = tabsReachedByArrows();
        for (const QString& text : expected)
            EXPECT_TRUE(reached.contains(text)) << text.toStdString();
        EXPECT_EQ(arrow(Qt::RightArrow)->isVisible(), expected.size() > 3);

        // A tab reached is chosen with a click.
        const int last = bar->count() - 1;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(last).center());
        EXPECT_EQ(bar->currentIndex(), last);
    }
}

} // namespace
