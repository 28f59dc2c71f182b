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
enum class ProjectChange : unsigned;
} // namespace dorvan

namespace entry {

// The places page List1 of the data-entry window: the number of places, each place's name and
// coordinates typed in, and the list grid StringGrid6 of all places. Code in
// Vstupne_Udaje_Miesta.cpp.
class PlacesPage : public QWidget {
public:
    explicit PlacesPage(const EntryContext& context);

    // Commits the edits of StringGrid6 (validate, store, sort, distances, refill).
    void commitPlaceGrid();
    // Lays out StringGrid6 for places 1..PlaceCount, shows it and fills every row.
    void FillPlaceGrid();
    // The rows of the places entered show the record again.
    void refillPlaceRows();
    // After an undo or a redo: the rows of the places entered, and the entry boxes asking for
    // the place awaited (closed when none is).
    void showEntryAgain();
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
    // OKButton2 or Enter in Edit1: the place count.
    void acceptPlaceCount();
    // OKButton3 or Enter in Edit4: one typed place, then a run of an open allocation window.
    void onPlaceOk();
    void acceptTypedPlace();
    void closeEntryBoxes();
    void closeTypedEntry(const dorvan::ListCompletion& completion);
    void onNameEntered(); // Enter in Edit2
    void onXEntered(); // Enter in Edit3
    void setEntryCaptions(int place);
    void warnText(std::string_view utf8);
    void warnAndRetype(QLineEdit* edit, std::string_view message);
    void layOutPlaceGrid(int rowCount);
    // The stored name (column 1) or coordinate (2, 3) of place row as the grid shows it.
    QString storedCellText(int row, int col) const;
    void fillPlaceRow(int row);
    void showPositionToolTip(int row);
    // StringGrid6 entered or left, Enter, or an arrow key released: its edits committed.
    void onPlaceGridCommit();
    dorvan::ProjectChange rerunWhenOpen(bool onlyWithSettings) const;
    void onPlaceGridDelete(); // Delete released in StringGrid6
    int enteredPlaces() const;

    EntryContext context_;
    QLabel* countLabel = nullptr; // Label1
    QLineEdit* countEdit = nullptr; // Edit1
    QPushButton* countOkButton = nullptr; // OKButton2
    QGroupBox* placeEntryBox = nullptr; // VstupGroupBox1
    QLabel* nameLabel = nullptr; // Label2
    QLabel* xLabel = nullptr; // Label3
    QLabel* yLabel = nullptr; // Label4
    QLineEdit* nameEdit = nullptr; // Edit2
    QLineEdit* xEdit = nullptr; // Edit3
    QLineEdit* yEdit = nullptr; // Edit4
    QPushButton* placeOkButton = nullptr; // OKButton3
    QGroupBox* placeListBox = nullptr; // GroupBox53
    QTableWidget* placeGrid = nullptr; // StringGrid6
    bool gridEditorOpen_ = false; // a cell editor of StringGrid6 is open
};

} // namespace entry
