// The overview page of the data-entry window (OverviewPage): every input of the project listed
// read-only. The texts come from the core's overview tables; this file lays them out.
#include "ui/entry/EntryOverviewPage.h"

#include "core/entry/OverviewTables.h"
#include "core/project/Project.h"
#include "ui/common/Utf8Text.h"

#include <QHeaderView>
#include <QLocale>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Every row is 15 pixels high; a grid is 17 pixels high per row, up to its maximum.
constexpr int RowHeight = 15;
constexpr int GridHeightPerRow = 17;

} // namespace

entry::OverviewPage::OverviewPage(const EntryContext& context)
    : context_(context)
{
    setObjectName("List4");
    auto* layout = new QVBoxLayout(this);
    overviewTabs = new QTabWidget;
    overviewTabs->setObjectName("PageControl3");
    layout->addWidget(overviewTabs);

    const auto addSheet = [this](const char* name, const char* caption) {
        auto* sheet = new QWidget;
        sheet->setObjectName(name);
        auto* column = new QVBoxLayout(sheet);
        column->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        overviewTabs->addTab(sheet, u(caption));
        return column;
    };
    addSheet("TabSheet16", "Množstvo, Cena")->addWidget(amountsGrid = buildGrid("StringGrid1"));
    addSheet("TabSheet17", "Vzdialenosti, čas")->addWidget(distancesGrid = buildGrid("StringGrid2"));
    QVBoxLayout* more = addSheet("TabSheet18", "Ďalšie nastavenia");
    more->addWidget(settingsGrid = buildGrid("StringGrid3"));
    more->addWidget(prioritiesGrid = buildGrid("StringGrid5"));
    more->addWidget(depotsGrid = buildGrid("StringGrid4"));
    refresh();
}

QTableWidget* entry::OverviewPage::buildGrid(const char* name)
{
    auto* g = new QTableWidget;
    g->setObjectName(name);
    g->horizontalHeader()->setVisible(false);
    g->verticalHeader()->setVisible(false);
    g->horizontalHeader()->setMinimumSectionSize(20);
    g->verticalHeader()->setMinimumSectionSize(RowHeight);
    g->verticalHeader()->setDefaultSectionSize(RowHeight);
    g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Nothing here can be edited: the page only shows what the other pages stored.
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setWordWrap(false);
    // Two-digit place numbers fill their 20-pixel column: a text is cut, not shortened with dots
    // (a cut text shows whole in its tooltip).
    g->setTextElideMode(Qt::ElideNone);
    g->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return g;
}

void entry::OverviewPage::refresh()
{
    const dorvan::Project& p = context_.project;
    const dorvan::OverviewTicks ticks { p.ticked(dorvan::CritWarehouses), p.ticked(dorvan::CritPriority) };
    const dorvan::OverviewTables t = dorvan::overviewTables(
        p.Record, p.State.NextPlace - 1, ticks, QLocale().decimalPoint().toStdString());
    showTable(amountsGrid, t.amounts, { 2, 1, 100, 20, 463 });
    showTable(distancesGrid, t.distances, { 2, 2, 100, 20, 463 });
    showTable(settingsGrid, t.settings, { 1, 0, 250, 180, 100 });
    showTable(prioritiesGrid, t.priorities, { 0, 1, 250, 180, 100 });
    showTable(depotsGrid, t.depots, { 0, 1, 250, 174, 100 });
}

void entry::OverviewPage::showTable(QTableWidget* g, const dorvan::TextTable& table, const GridShape& shape)
{
    g->clearContents();
    g->setColumnCount(table.columns());
    g->setRowCount(table.rows());
    const QBrush fixedBrush = g->palette().brush(QPalette::Button);
    int width = 0;
    for (int col = 0; col < table.columns(); ++col) {
        g->setColumnWidth(col, col == 0 ? shape.firstWidth : shape.defaultWidth);
        width += g->columnWidth(col);
    }
    // Each item is made whole before it goes into the grid, so that the grid hears of it once.
    const entry::CutTextTips tips(g);
    for (int row = 0; row < table.rows(); ++row) {
        g->setRowHeight(row, RowHeight);
        for (int col = 0; col < table.columns(); ++col) {
            auto* item = new QTableWidgetItem(QString::fromStdString(table.at(col, row)));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (col < shape.fixedColumns || row < shape.fixedRows)
                item->setBackground(fixedBrush);
            tips.show(item, g->columnWidth(col));
            g->setItem(row, col, item);
        }
    }
    const int height = std::min(table.rows() * GridHeightPerRow, shape.maxHeight);
    g->setFixedHeight(height);
    // As wide as its columns (and the vertical scroll bar of a grid cut by its maximum height),
    // or as the page allows; a wider table scrolls.
    const int frames = 2 * g->frameWidth();
    const bool cutOff = table.rows() * RowHeight + frames > height;
    const int scrollBar = cutOff ? g->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, g) : 0;
    g->setMaximumWidth(width + frames + scrollBar);
}
