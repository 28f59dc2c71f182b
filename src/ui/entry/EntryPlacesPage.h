#pragma once

#include "ui/entry/EntryPages.h"

#include <QWidget>

#include <string_view>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
namespace dorvan {
struct ListCompletion;
}

namespace entry {

// The places page List1 of the data-entry window: the number of places, each place's name and
// coordinates typed in, and the list grid StringGrid6 of all places. Code in
// Vstupne_Udaje_Miesta.cpp.
class PlacesPage : public QWidget {
public:
    explicit PlacesPage(const EntryContext& context);

    // Commits the edits of StringGrid6 (validate, store, sort, distances, refill).
    void SelectCellStringGrid6();
    // Lays out StringGrid6 for places 1..PlaceCount, shows it and fills every row.
    void FillPlaceGrid();
    // The rows of the places entered show the record again.
    void refillPlaceRows();
    // " Koľko miest doplniť ? " in navy over the place-count field.
    void showAddPlacesPrompt();
    // The count field takes the focus when it can be used.
    void focusCountField();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QGroupBox* buildCountBox();
    QGroupBox* buildEntryBox();
    QGroupBox* buildListBox();
    void ClickOKButton2();
    void OKButton3Click();
    void ClickOKButton3();
    void closeEntryBoxes();
    void closeTypedEntry(const dorvan::ListCompletion& completion);
    void Edit2Enter();
    void Edit3Enter();
    void setEntryCaptions(int place);
    void warnText(std::string_view utf8);
    void warnAndRetype(QLineEdit* edit, std::string_view message);
    void layOutPlaceGrid(int rowCount);
    // The stored name (column 1) or coordinate (2, 3) of place row as the grid shows it.
    QString storedCellText(int row, int col) const;
    void fillPlaceRow(int row);
    void showPositionToolTip(int row);
    void StringGrid6Event();
    void StringGrid6Delete();
    int enteredPlaces() const;

    EntryContext context_;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* OKButton2 = nullptr;
    QGroupBox* VstupGroupBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QPushButton* OKButton3 = nullptr;
    QGroupBox* GroupBox53 = nullptr;
    QTableWidget* StringGrid6 = nullptr;
    bool gridEditorOpen_ = false; // a cell editor of StringGrid6 is open
};

} // namespace entry
