#pragma once

#include "ui/entry/EntryPages.h"
#include "core/entry/PlaceRelations.h"

#include <QObject>

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace entry {

// The criterion sheets that relate places to each other: real distances typed pair by pair
// (TabSheet3), the distribution centre (TabSheet6), the depots (TabSheet7) and the priority
// places (TabSheet10). The criteria page makes the four sheets; this fills them and answers their
// controls. Code in Vstupne_Udaje_Vzdialenosti.cpp.
class RelationSheets : public QObject {
public:
    struct Sheets {
        QWidget* distances;
        QWidget* centre;
        QWidget* depots;
        QWidget* priorities;
    };
    RelationSheets(const EntryContext& context, const Sheets& sheets, QObject* parent);

    // Bring a sheet in line with its criterion box (CheckBox3, 6, 7 and 10).
    void setDistanceEntry();
    void setCentrePage();
    void setDepotPage();
    void setPriorityPage();
    // The place list changed: the ticked sheets follow it.
    void placesChanged();

private:
    // The places on the left, the chosen ones on the right, the arrows between.
    struct ChoiceLists {
        QGroupBox* outer = nullptr;
        QGroupBox* leftBox = nullptr;
        QGroupBox* rightBox = nullptr;
        QListWidget* left = nullptr;
        QListWidget* right = nullptr;
        QPushButton* in = nullptr;
        QPushButton* out = nullptr;
    };

    void buildDistanceSheet(QWidget* sheet);
    void buildCentreSheet(QWidget* sheet);
    QHBoxLayout* buildChoiceSheet(QWidget* sheet, ChoiceLists& c, const char* const names[7],
        const char* outerCaption, const char* rightCaption);
    void connectControls();
    bool ticked(int box) const;
    bool showDistancePair();
    void finishDistanceEntry();
    void Button10Click();
    void Button11Click();
    void distanceChoiceChanged(bool first);
    void Button12Click();
    void fillWithPlaces(QComboBox* c);
    void chooseCentre(QComboBox* from, QPushButton* ok);
    void Button19Click();
    void Button20Click();
    void Button21Click();
    void centreOrDepotsChanged();
    void followCentre();
    void setChoiceLists(const ChoiceLists& c, bool on, bool depots);
    void moveChosenLines(QListWidget* from, void (RelationSheets::*move)());
    void Button22Click();
    void Button23Click();
    void Button30Click();
    void Button31Click();
    // One line each: the current line of its list, when it is chosen.
    void ClickButton22();
    void ClickButton23();
    void ClickButton30();
    void ClickButton31();
    void moveSelectedPriority(bool up);
    void warn(std::string_view message);

    EntryContext context_;
    QWidget* dialogParent_ = nullptr;

    // Distances
    QGroupBox* GroupBox13 = nullptr;
    QLineEdit* Edit11 = nullptr;
    QPushButton* Button10 = nullptr;
    QGroupBox* GroupBox14 = nullptr;
    QPushButton* Button11 = nullptr;
    QGroupBox* GroupBox15 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QGroupBox* GroupBox17 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QLineEdit* Edit13 = nullptr;
    QPushButton* Button12 = nullptr;
    QLineEdit* Edit16 = nullptr;

    // The distribution centre
    QGroupBox* GroupBox22 = nullptr;
    QComboBox* ComboBox5 = nullptr;
    QPushButton* Button19 = nullptr;
    QGroupBox* GroupBox23 = nullptr;
    QComboBox* ComboBox6 = nullptr;
    QPushButton* Button21 = nullptr;
    QLineEdit* Edit25 = nullptr;
    QPushButton* Button20 = nullptr;

    // Depots (GroupBox24..26, ListBox2, ListBox3, Button22, Button23) and priorities
    // (GroupBox33..35, ListBox6, ListBox7, Button30, Button31) with the moves Button34, Button35.
    ChoiceLists depots_;
    ChoiceLists priorities_;
    QPushButton* Button34 = nullptr;
    QPushButton* Button35 = nullptr;
};

} // namespace entry
