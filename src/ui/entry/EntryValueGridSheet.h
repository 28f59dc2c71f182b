#pragma once

#include "ui/entry/EntryCriterionBoxes.h"
#include "ui/entry/EntryPages.h"

#include <QWidget>

class QTableWidget;

namespace entry {

// A criterion sheet with one value per place in a grid: quantity (TabSheet1, StringGrid8), unit
// price (TabSheet2, StringGrid9) or supply frequency (TabSheet12, StringGrid10). The grid lists
// the places with their number and coordinates; only the value column can be edited. Entering or
// leaving the grid, Enter, and the release of Enter, Up or Down commit it: every good cell is
// stored, a refused one shows the stored value again and the user is told once. Code in
// Vstupne_Udaje_Kriteria_Mriezky.cpp.
class ValueGridSheet : public QWidget {
public:
    // `box` is Quantity, Price or Flexibility.
    ValueGridSheet(const EntryContext& context, CriterionBox box);

    CriterionBox box() const;
    // The caption of the sheet's tab.
    QString caption() const;
    // The grid lists the places as they now stand and can be edited.
    void fill();
    // The criterion is off: the grid cannot be used.
    void switchOff();
    // Validate, store, refill the refused cells.
    void commit();

    struct Spec;

private:
    void buildGrid();
    void connectCommits();
    void gridEvent();

    EntryContext context_;
    const Spec* spec_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

} // namespace entry
