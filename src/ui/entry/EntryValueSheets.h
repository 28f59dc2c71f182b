#pragma once

#include "ui/entry/EntryCriterionBoxes.h"
#include "ui/entry/EntryPages.h"

#include <QWidget>

#include <vector>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace entry {

// The single-value sheets of the criteria page. Every value goes into the project at once.
// Code in Vstupne_Udaje_Kriteria_Hodnoty.cpp.

// The route length (TabSheet4) or the distribution time (TabSheet5): the first entry, then a
// change mode opened by "Povoliť zmenu".
class RouteSheet : public QWidget {
public:
    // `box` is MaxRouteLength or MaxDistributionTime.
    RouteSheet(const EntryContext& context, CriterionBox box);

    CriterionBox box() const;
    QString caption() const;
    // The criterion is on: the entry opens, or the change mode once a value was entered.
    void setRouteEntry();
    // After an undo or a redo: as setRouteEntry, with the stored value as the current one once
    // a value was entered.
    void showStored();
    // The criterion is off: both boxes close.
    void switchOff();

    struct Spec;

private:
    void build();
    // Stores the value typed into `edit`; false (and the user told) when it is refused.
    bool storeValue(QLineEdit* edit);
    void entryOk();
    void changeOk();
    void allowChange();

    EntryContext context_;
    const Spec* spec_ = nullptr;
    QGroupBox* entryBox_ = nullptr;
    QLineEdit* entryEdit_ = nullptr;
    QPushButton* entryOk_ = nullptr;
    QGroupBox* changeBox_ = nullptr;
    QLineEdit* newEdit_ = nullptr;
    QPushButton* changeOk_ = nullptr;
    QLineEdit* currentEdit_ = nullptr;
    QPushButton* allowButton_ = nullptr;
};

// A sheet of values with one OK each and their current values beside them: the loading times
// (TabSheet8) and the depot capacities (TabSheet9) at the DC, DS and DM, opened by the centre
// and the depots; the vehicles (TabSheet11: count, capacity and speed, one box each); the places
// per group (TabSheet13).
class SingleValuesSheet : public QWidget {
public:
    // `box` is LoadTimes, DepotCapacity, VehicleCount (the vehicle sheet) or EvenGroups.
    SingleValuesSheet(const EntryContext& context, CriterionBox box);

    // Whether the sheet is the one of a criterion box.
    bool covers(CriterionBox box) const;
    QString caption() const;
    // The loading-time and capacity sheets: the current values shown, every entry closed.
    void showSiteValues();
    // Then, while the criterion is ticked, the DC, DS and DM entries that the centre and the
    // depots call for open.
    void openSiteEntries();
    // The entry of a criterion box of this sheet opens with its current value.
    void openEntry(CriterionBox box);
    // The entry of a criterion box of this sheet closes, emptied.
    void closeEntry(CriterionBox box);

    struct Spec;

private:
    // The entry box, field, OK button and current value of one value.
    struct Controls {
        int entry = 0; // row of the value table
        QGroupBox* entryBox = nullptr;
        QLineEdit* edit = nullptr;
        QPushButton* ok = nullptr;
        QLineEdit* current = nullptr;
    };
    QGroupBox* buildEntryBox(Controls& c);
    const Controls* controlsOf(CriterionBox box) const;
    void valueOk(const Controls& c);

    EntryContext context_;
    const Spec* spec_ = nullptr;
    std::vector<Controls> values_;
};

} // namespace entry
