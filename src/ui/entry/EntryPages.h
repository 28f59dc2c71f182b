#pragma once

#include "core/entry/PlaceRelations.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <array>
#include <memory>
#include <string_view>

class EntryHost;
class QTableWidget;
class QTableWidgetItem;
class QWidget;
namespace dorvan {
struct Project;
struct ListCompletion;
class PlaceEntry;
class ProjectSession;
class UserDialogs;
} // namespace dorvan
namespace entry {
enum class CriterionBox : int;
}

// What a page of the data-entry window may ask of the window and of the other pages. The window
// implements it; a page never sees the window itself, nor another page's controls.
class EntryPages {
public:
    virtual ~EntryPages() = default;

    // An input value changed: a change made beside the commands becomes a step of the history,
    // and the main window shows "ZMENENÉ HODNOTY !!!" while the project is unsaved.
    virtual void valuesChanged() = 0;
    // An open allocation window runs again on the project as it now stands.
    virtual void rerunIfCooperOpen() = 0;
    // A place was deleted: the group lists follow the change (a moved place keeps its group under
    // its new name, the deleted one leaves it), and an open allocation window runs again on the
    // places left, or closes when fewer than two are left to allocate.
    virtual void placeDeleted(const dorvan::PlaceListChange& change) = 0;
    // Shows or hides a criterion sheet's tab (see TVstupUdajov::showCriterionPage).
    virtual void showCriterionPage(QWidget* sheet, bool show) = 0;
    // Makes a criterion sheet the current tab of the criterion pages.
    virtual void setCurrentCriterionPage(QWidget* sheet) = 0;
    // Runs the update routine of a criterion box as its click does.
    virtual void refreshCriterion(entry::CriterionBox box) = 0;
    // The project's choices tick a criterion now (an import did): its box shows ticked, as if
    // clicked when it was not, and the criteria page shows its sheet.
    virtual void showCriterionTicked(entry::CriterionBox box) = 0;
    // A list of places is complete: the main window hears of it, and the settings box is ticked
    // or the user told that all places share one spot.
    virtual void placeListCompleted(const dorvan::ListCompletion& completion) = 0;
    // The places changed: the ticked criterion sheets that list places (quantity, price,
    // frequency, distances, depots, priorities) show them again.
    virtual void rebuildPlaceValuePages() = 0;
    // The rows of the place grid show the record again.
    virtual void refillPlaceRows() = 0;
    // The criteria, route and overview pages can be used (a list of places is complete).
    virtual void enableProjectPages() = 0;
    // Whether the picture page's tab is shown.
    virtual bool pictureTabVisible() const = 0;
    // The pages show the project again after an undo or a redo: they show what it holds and
    // write nothing back (a write would be a new edit, dropping what could be redone).
    virtual bool showingProjectAgain() const = 0;
};

// What every page works with. A page keeps a copy; the references outlive it, except while the
// window goes, which `closing` tells: then no handler may touch the project.
struct EntryContext {
    dorvan::Project& project;
    dorvan::UserDialogs& dialogs;
    EntryHost& host;
    dorvan::PlaceEntry& placeEntry;
    // The project's transitions that the pages start (place deleted, grid edited, count).
    dorvan::ProjectSession& session;
    EntryPages& pages;
    std::shared_ptr<const bool> closing;

    bool windowClosing() const { return closing && *closing; }
};

namespace entry {

// The colour of a field that cannot be used yet.
inline const QColor Silver(0xC0, 0xC0, 0xC0);

inline QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The base colour of an entry field, a list or a grid.
void setFieldColour(QWidget* w, const QColor& c);
// A number to four decimals with the locale's separator.
QString formatNumber(double v);
// Asks whether the place of that name goes; on yes an allocation window showing a run closes
// first. False when the user keeps the place.
bool confirmPlaceDeletion(const EntryContext& context, QWidget* parent, const QString& name);
// A cell whose column is too narrow for its text shows the whole text as its tooltip; a cell
// whose text fits has none.
void showCutTextAsToolTip(QTableWidget* grid, int row, int column);

// The same rule for many cells of one grid: the margins the grid's style leaves around a
// cell's text and the metrics of the cells' font are taken once, not for every cell. Shaping a
// text to measure it is what a cell costs; a text of Latin-1 characters is first measured as
// the sum of its characters' advances (kerning moves a short text by a pixel or so), and only
// a text that comes that close to the column's edge is shaped and measured exactly.
class CutTextTips {
public:
    explicit CutTextTips(const QTableWidget* grid);
    // Sets the tooltip of an item that goes into a column of this width (before or after the
    // item is placed in the grid).
    void show(QTableWidgetItem* item, int columnWidth) const;

private:
    // The text's width in the cells' font: exact, or -1 when only an exact measure can tell
    // whether the text fits in `room` pixels.
    int quickWidth(const QString& text, int room) const;

    QFont font_; // the font of an item that sets none of its own
    QFontMetrics metrics_;
    int margin_;
    mutable std::array<int, 256> advances_; // of the Latin-1 characters, -1 until measured
};

} // namespace entry
