#include "support/EntryWindowFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QToolTip>

namespace {


// The overview over three places: Alfa (0;0), Beta (4;0), Gama (0;3).
class Overview : public dorvan::test::ThreePlacesFixture {
protected:
    Overview()
        : ThreePlacesFixture({ 1200, 800 })
    {
    }
    QTableWidget* grid(const char* name) { return get<QTableWidget>(name); }
    // The overview shown, filled on the page change.
    void showOverview()
    {
        showPage(0);
        showPage(3);
    }
    QStringList column(const char* name, int col)
    {
        QStringList out;
        QTableWidget* g = grid(name);
        for (int row = 0; row < g->rowCount(); ++row)
            out << (g->item(row, col) ? g->item(row, col)->text() : QString("<none>"));
        return out;
    }
    QStringList row(const char* name, int r)
    {
        QStringList out;
        QTableWidget* g = grid(name);
        for (int col = 0; col < g->columnCount(); ++col)
            out << (g->item(r, col) ? g->item(r, col)->text() : QString("<none>"));
        return out;
    }
    void distance(const char* text)
    {
        typeInto("Edit11", u(text));
        click("Button10");
    }
};

struct Shape {
    const char* grid;
    int rows, columns, height, firstWidth, otherWidth;
};

TEST_F(Overview, ListsTheProjectInGridsOfTheirSizes)
{
    auto* pages = get<QTabWidget>("PageControl1");
    EXPECT_TRUE(pages->isTabEnabled(3));
    showOverview();
    EXPECT_EQ(pages->currentWidget()->objectName(), "List4");
    EXPECT_EQ(pages->tabText(3), u("Celkový zoznam vstupných údajov"));
    EXPECT_EQ(pages->tabToolTip(3), u("Zoznam vstupných hodnôt"));
    auto* tabs = get<QTabWidget>("PageControl3");
    ASSERT_EQ(tabs->count(), 3);
    const char* sheets[] = { "TabSheet16", "TabSheet17", "TabSheet18" };
    const char* captions[] = { "Množstvo, Cena", "Vzdialenosti, čas", "Ďalšie nastavenia" };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), sheets[i]);
        EXPECT_EQ(tabs->tabText(i), u(captions[i]));
    }

    // Rows x 17 pixels within each grid's maximum; rows 15 high.
    const Shape shapes[] = {
        { "StringGrid1", 4, 7, 68, 20, 100 },
        { "StringGrid2", 5, 5, 85, 20, 100 },
        { "StringGrid3", 12, 2, 100, 180, 250 },
        { "StringGrid5", 2, 1, 34, 180, 0 },
        { "StringGrid4", 2, 1, 34, 174, 0 },
    };
    for (const Shape& s : shapes) {
        QTableWidget* g = grid(s.grid);
        EXPECT_EQ(g->rowCount(), s.rows) << s.grid;
        EXPECT_EQ(g->columnCount(), s.columns) << s.grid;
        EXPECT_EQ(g->height(), s.height) << s.grid;
        EXPECT_EQ(g->columnWidth(0), s.firstWidth) << s.grid;
        for (int col = 1; col < g->columnCount(); ++col)
            EXPECT_EQ(g->columnWidth(col), s.otherWidth) << s.grid << " column " << col;
        for (int r = 0; r < g->rowCount(); ++r)
            EXPECT_EQ(g->rowHeight(r), 15) << s.grid << " row " << r;
    }

    EXPECT_EQ(row("StringGrid1", 0),
        (QStringList { "", "Miesta", "Sur X", "Sur Y", u("Množstvo"), "Cena", "Flexibilita" }));
    EXPECT_EQ(row("StringGrid1", 2), (QStringList { "2", "Beta", "4", "0", "1", "1", "1" }));
    EXPECT_EQ(row("StringGrid2", 0), (QStringList { "", "", "1", "2", "3" }));
    EXPECT_EQ(row("StringGrid2", 1), (QStringList { "", u("Vzdialenosť"), "Alfa", "Beta", "Gama" }));
    EXPECT_EQ(column("StringGrid2", 1), (QStringList { "", u("Vzdialenosť"), "Alfa", "Beta", "Gama" }));
    EXPECT_EQ(row("StringGrid2", 4), (QStringList { "3", "Gama", "3", "5", "0" }));
    // No route length entered: "Bez obmedzenia"; no centre: "Nedefinované".
    EXPECT_EQ(
        row("StringGrid3", 0), (QStringList { u("Maximálna dĺžka distribučnej trasy"), "Bez obmedzenia" }));
    EXPECT_EQ(row("StringGrid3", 2), (QStringList { u("Distribučná centrála"), u("Nedefinované") }));
    EXPECT_EQ(
        row("StringGrid3", 11), (QStringList { u("Priemerná rýchlosť dopravných prostriedkov"), "60" }));
    EXPECT_EQ(column("StringGrid5", 0),
        (QStringList { u("Poradie miest podľa priority"), u("Priorita neurčená") }));
    EXPECT_EQ(column("StringGrid4", 0),
        (QStringList { u("Zoznam definovaných skladov"), u("Sklady nedefinované") }));

    // "Ďalšie nastavenia" stacks its grids from the top: values, priorities, depots.
    tabs->setCurrentIndex(2);
    QApplication::processEvents();
    EXPECT_LT(grid("StringGrid3")->y(), grid("StringGrid5")->y());
    EXPECT_LT(grid("StringGrid5")->y(), grid("StringGrid4")->y());
}

TEST_F(Overview, NothingOnThePageCanBeEdited)
{
    showOverview();
    for (const char* name : { "StringGrid1", "StringGrid2", "StringGrid3", "StringGrid5", "StringGrid4" }) {
        QTableWidget* g = grid(name);
        EXPECT_EQ(g->editTriggers(), QAbstractItemView::NoEditTriggers) << name;
        for (int r = 0; r < g->rowCount(); ++r)
            for (int c = 0; c < g->columnCount(); ++c)
                ASSERT_FALSE(g->item(r, c)->flags() & Qt::ItemIsEditable) << name << " " << r << "," << c;
    }
    // A user's attempts open no editor and change nothing.
    get<QTabWidget>("PageControl3")->setCurrentIndex(0);
    QTableWidget* g = grid("StringGrid1");
    g->setCurrentCell(2, 1);
    const QPoint beta = g->visualItemRect(g->item(2, 1)).center();
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, beta);
    QTest::keyClick(g, Qt::Key_F2);
    QTest::keyClicks(g, "Zeta");
    g->editItem(g->item(2, 1));
    EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
    EXPECT_EQ(g->item(2, 1)->text(), "Beta");
    EXPECT_EQ(project.Record.PlaceName[2].toUtf8(), "Beta");
}

TEST_F(Overview, FollowsTheProjectOnEveryPageChange)
{
    auto& r = project.Record;
    // A distance typed for the pair (2, 3) shows in cells (3, 4) and (4, 3).
    tick("CheckBox3");
    distance("6,5");
    distance("3,25");
    distance("7");
    ASSERT_EQ(r.DistanceEntryState, 2);
    showOverview();
    EXPECT_EQ(cell("StringGrid2", 3, 4), "7");
    EXPECT_EQ(cell("StringGrid2", 4, 3), "7");
    EXPECT_EQ(cell("StringGrid2", 2, 3), "6,5");

    // Depots chosen and the box then unticked: the names stay stored, the table has none.
    showPage(1);
    tick("CheckBox7");
    get<QTabWidget>("PageControl2")->setCurrentWidget(get<QWidget>("TabSheet7"));
    auto* places = get<QListWidget>("ListBox2");
    places->setCurrentRow(2);
    click("Button22");
    showOverview();
    EXPECT_EQ(column("StringGrid4", 0), (QStringList { u("Zoznam definovaných skladov"), "Gama" }));
    showPage(1);
    tick("CheckBox7");
    showOverview();
    EXPECT_EQ(r.WarehouseCount, 1);
    EXPECT_EQ(column("StringGrid4", 0),
        (QStringList { u("Zoznam definovaných skladov"), u("Sklady nedefinované") }));

    // A value stored elsewhere shows after the next page change, whichever page it is.
    r.MaxRouteLength = 12.5;
    r.VehicleCount = 3;
    showPage(1);
    EXPECT_EQ(cell("StringGrid3", 0, 1), "12,5");
    EXPECT_EQ(cell("StringGrid3", 9, 1), "3");

    // After deleting a place every table has one row fewer.
    showPage(0);
    dialogs.confirmAnswers = { true };
    auto* list = get<QTableWidget>("StringGrid6");
    list->setCurrentCell(1, 1);
    QTest::keyClick(list, Qt::Key_Delete);
    ASSERT_EQ(project.State.PlaceCount, 2);
    showPage(3);
    EXPECT_EQ(grid("StringGrid1")->rowCount(), 3);
    EXPECT_EQ(grid("StringGrid1")->height(), 51);
    EXPECT_EQ(grid("StringGrid2")->rowCount(), 4);
    EXPECT_EQ(grid("StringGrid2")->columnCount(), 4);
    EXPECT_EQ(row("StringGrid2", 1), (QStringList { "", u("Vzdialenosť"), "Beta", "Gama" }));
    EXPECT_EQ(cell("StringGrid2", 2, 3), "7"); // Beta - Gama as typed
}

TEST_F(Overview, ACutNameShowsWholeInItsTooltip)
{
    const QString longName = "Velke Kapusany pri Michalovciach, sklad cislo 2";
    showPage(0);
    editCell("StringGrid6", 3, 1, longName); // Gama renamed; it stays the last place
    showOverview();
    QTableWidget* amounts = grid("StringGrid1");
    ASSERT_EQ(amounts->item(3, 1)->text(), longName);
    EXPECT_EQ(amounts->item(3, 1)->toolTip(), longName);
    EXPECT_TRUE(amounts->item(1, 1)->toolTip().isEmpty()); // "Alfa" fits
    EXPECT_EQ(grid("StringGrid2")->item(1, 4)->toolTip(), longName);
    EXPECT_EQ(grid("StringGrid2")->item(4, 1)->toolTip(), longName);
    // The place list does the same.
    QTableWidget* places = grid("StringGrid6");
    EXPECT_EQ(places->item(3, 1)->toolTip(), longName);
    EXPECT_TRUE(places->item(2, 1)->toolTip().isEmpty());

    // Names growing a character at a time across the edge of the 100-pixel column: the tooltip
    // appears exactly where the shaped text and the cell's margins no longer fit.
    const QFontMetrics metrics { QFont() };
    const int margin
        = 2 * (amounts->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, amounts) + 1);
    const QString pattern = QStringLiteral("Gama Wily-Ziar 12,5 AV To");
    int cut = 0;
    for (int length = 6; length <= pattern.size(); ++length) {
        const QString name = pattern.left(length).trimmed();
        SCOPED_TRACE(name.toStdString());
        showPage(0);
        editCell("StringGrid6", 3, 1, name);
        showOverview();
        const bool wider = metrics.horizontalAdvance(name) + margin > amounts->columnWidth(1);
        ASSERT_EQ(amounts->item(3, 1)->text(), name);
        EXPECT_EQ(amounts->item(3, 1)->toolTip(), wider ? name : QString());
        cut += wider ? 1 : 0;
    }
    EXPECT_GT(cut, 0);
    EXPECT_LT(cut, pattern.size() - 6);
}

} // namespace
