#pragma once

#include "ui/entry/EntryPages.h"

#include <QWidget>

class QTabWidget;
class QTableWidget;
namespace dorvan {
class TextTable;
}

namespace entry {

// The overview page List4 of the data-entry window: every input of the project on three tabs of
// PageControl3, read-only. It reads the project only and is filled anew on every page change of
// the window. Code in Vstupne_Udaje_Zoznam.cpp.
class OverviewPage : public QWidget {
public:
    explicit OverviewPage(const EntryContext& context);

    // Fills the five tables from the project as it stands.
    void refresh();

private:
    // How a grid is laid out: its fixed columns and rows, column widths and maximum height.
    struct GridShape {
        int fixedColumns;
        int fixedRows;
        int defaultWidth;
        int firstWidth;
        int maxHeight;
    };
    QTableWidget* buildGrid(const char* name);
    void showTable(QTableWidget* grid, const dorvan::TextTable& table, const GridShape& shape);

    EntryContext context_;
    QTabWidget* overviewTabs = nullptr; // PageControl3
    QTableWidget* amountsGrid = nullptr; // StringGrid1: "Množstvo, Cena"
    QTableWidget* distancesGrid = nullptr; // StringGrid2: "Vzdialenosti, čas"
    QTableWidget* settingsGrid = nullptr; // StringGrid3: "Ďalšie nastavenia": single values
    QTableWidget* prioritiesGrid = nullptr; // StringGrid5: priorities
    QTableWidget* depotsGrid = nullptr; // StringGrid4: depots
};

} // namespace entry
