// The list grid of the places page (PlacesPage): every place in a row, edited in its cells,
// committed as one step of the history, a place deleted from it.
#include "ui/entry/EntryPlacesPage.h"

#include "core/common/CodePage.h"
#include "core/common/DecimalText.h"
#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectSession.h"
#include "core/geo/GeoReference.h"
#include "core/project/Project.h"
#include "core/project/ProjectDocument.h"
#include "ui/common/UserDialogs.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/EntryControls.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryMessages.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

using entry::controls::cellText;
using entry::controls::setCellText;

using entry::formatNumber;
using entry::showCutTextAsToolTip;

constexpr int GridColumns = 7;

// The cell editor of the place grid: a name holds at most 100 characters. The window is told
// when an editor opens, so that focus passing between the grid and its editor is not taken for
// entering or leaving the grid.
class PlaceGridDelegate : public QStyledItemDelegate {
public:
    PlaceGridDelegate(QObject* parent, std::function<void()> opened)
        : QStyledItemDelegate(parent)
        , opened_(std::move(opened))
    {
    }
    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && index.column() == 1)
            edit->setMaxLength(dorvan::Text100::Capacity);
        opened_();
        return w;
    }

private:
    std::function<void()> opened_;
};

} // namespace

QGroupBox* entry::PlacesPage::buildListBox()
{
    placeListBox = new QGroupBox(u(" Vstupné dáta "));
    placeListBox->setObjectName("GroupBox53");
    auto* listLayout = new QVBoxLayout(placeListBox);
    placeGrid = new QTableWidget(0, GridColumns);
    placeGrid->setObjectName("StringGrid6");
    placeGrid->setItemDelegate(new PlaceGridDelegate(placeGrid, [this] { gridEditorOpen_ = true; }));
    placeGrid->horizontalHeader()->setVisible(false);
    placeGrid->verticalHeader()->setVisible(false);
    placeGrid->verticalHeader()->setMinimumSectionSize(15);
    placeGrid->horizontalHeader()->setMinimumSectionSize(20);
    placeGrid->verticalHeader()->setDefaultSectionSize(15);
    placeGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    placeGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    placeGrid->setWordWrap(false);
    // Cells clip their text like a classic string grid; an ellipsis would leave no room for the
    // place numbers in their narrow column.
    placeGrid->setTextElideMode(Qt::ElideNone);
    listLayout->addWidget(placeGrid);
    return placeListBox;
}

void entry::PlacesPage::layOutPlaceGrid(int rowCount)
{
    QTableWidget* g = placeGrid;
    int oldRows = g->rowCount();
    g->setRowCount(rowCount);
    const QBrush fixedBrush = g->palette().brush(QPalette::Button);
    for (int row = oldRows; row < rowCount; ++row) {
        for (int col = 0; col < GridColumns; ++col) {
            auto* item = new QTableWidgetItem;
            if (row == 0 || col == 0) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(fixedBrush);
            }
            if (col == 0)
                item->setTextAlignment(Qt::AlignCenter);
            g->setItem(row, col, item);
        }
    }
    if (rowCount > 0) {
        static const char* const headers[GridColumns]
            = { "", "Miesta", "Sur X", "Sur Y", "Množstvo", "Cena", "Flexibilita" };
        for (int col = 0; col < GridColumns; ++col)
            setCellText(g, 0, col, u(headers[col]));
    }
    // Columns other than the number and the quantity keep the toolkit's default width.
    const int defaultWidth = g->horizontalHeader()->defaultSectionSize();
    int width = 0;
    for (int col = 0; col < GridColumns; ++col) {
        int w = col == 0 ? 20 : col == 4 ? 100 : defaultWidth;
        g->setColumnWidth(col, w);
        width += w;
    }
    g->setFixedWidth(width + 10);
    placeListBox->setFixedWidth(width + 10 + placeListBox->contentsMargins().left()
        + placeListBox->contentsMargins().right() + placeListBox->layout()->contentsMargins().left()
        + placeListBox->layout()->contentsMargins().right());
    g->setVisible(true);
    placeListBox->setVisible(true);
}

QString entry::PlacesPage::storedCellText(int row, int col) const
{
    const auto& r = context_.project.Record;
    if (col == 1)
        return QString::fromStdString(dorvan::displayName(r.PlaceName[row]));
    return formatNumber(col == 2 ? r.PlaceX[row] : r.PlaceY[row]);
}

void entry::PlacesPage::fillPlaceRow(int row)
{
    if (row < 1 || row >= placeGrid->rowCount() || row > dorvan::MaxPlaceCount)
        return;
    const auto& r = context_.project.Record;
    QTableWidget* g = placeGrid;
    setCellText(g, row, 0, QString::number(row));
    setCellText(g, row, 1, QString::fromStdString(dorvan::displayName(r.PlaceName[row])));
    showCutTextAsToolTip(g, row, 1);
    setCellText(g, row, 2, formatNumber(r.PlaceX[row]));
    setCellText(g, row, 3, formatNumber(r.PlaceY[row]));
    setCellText(g, row, 4, formatNumber(r.PlaceQuantity[row]));
    setCellText(g, row, 5, formatNumber(r.PlacePrice[row]));
    setCellText(g, row, 6, QString::number(r.PlaceFlexibility[row]));
    showPositionToolTip(row);
}

// With a coordinate reference every cell of a place's row tells its latitude and longitude; a
// cut name stays in its cell's tooltip, above the position.
void entry::PlacesPage::showPositionToolTip(int row)
{
    const auto& r = context_.project.Record;
    const auto position = dorvan::geo::toLatLon(r, r.PlaceX[row], r.PlaceY[row]);
    const QString text = position ? QString::fromStdString(dorvan::geo::formatLatLon(*position)) : QString();
    for (int col = 1; col < GridColumns; ++col) {
        QTableWidgetItem* item = placeGrid->item(row, col);
        if (item == nullptr)
            continue;
        const QString cutName = col == 1 ? item->toolTip().section(u'\n', 0, 0) : QString();
        item->setToolTip(cutName.isEmpty() ? text : text.isEmpty() ? cutName : cutName + u'\n' + text);
    }
}

void entry::PlacesPage::refillPlaceRows()
{
    for (int row = 1; row <= enteredPlaces(); ++row)
        fillPlaceRow(row);
}

void entry::PlacesPage::FillPlaceGrid()
{
    int n = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    layOutPlaceGrid(n + 1);
    for (int row = 1; row <= n; ++row)
        fillPlaceRow(row);
}

void entry::PlacesPage::onPlaceGridCommit()
{
    if (placeGrid->isHidden())
        return;
    commitPlaceGrid();
}

// What a step of the place list tells besides the places: that an open allocation window is to
// run again (for a grid edit only while "Nastavenie premenných DORVAN" is ticked).
dorvan::ProjectChange entry::PlacesPage::rerunWhenOpen(bool onlyWithSettings) const
{
    const bool rerun
        = context_.host.cooperWindowOpen() && (!onlyWithSettings || context_.project.Choices.SettingsOn);
    return rerun ? dorvan::ProjectChange::RunInputs : dorvan::ProjectChange {};
}

void entry::PlacesPage::commitPlaceGrid()
{
    const int n = enteredPlaces();
    std::vector<std::array<std::string, 3>> texts(static_cast<std::size_t>(n));
    std::vector<dorvan::PlaceTexts> rows;
    bool edited = false; // a commit of cells that still show what is stored is no edit
    for (int row = 1; row <= n; ++row) {
        auto& t = texts[static_cast<std::size_t>(row - 1)];
        for (int col = 1; col <= 3; ++col) {
            const QString text = cellText(placeGrid, row, col);
            edited = edited || text != storedCellText(row, col);
            t[static_cast<std::size_t>(col - 1)] = text.toStdString();
        }
        rows.push_back({ t[0], t[1], t[2] });
    }
    // Cells that still show what is stored are no edit: nothing is stored again (which would
    // sort the list and compute the distances anew over typed ones), no step is made, nothing is
    // marked or run again, and the status bar stays as it was.
    if (!edited) {
        refillPlaceRows();
        return;
    }
    dorvan::ProjectDocument document(context_.project);
    const std::uint64_t revision = document.revision();
    const dorvan::EditCommand command { .name = "Úprava miest",
        .told = dorvan::ProjectChange::Places | rerunWhenOpen(true) };
    const auto refused = document.execute(command, [&] { return context_.session.editPlaces(rows); });
    if (refused) {
        // The stored value comes back into the cell, so the user is told once and may leave
        // the cell; nothing is lost.
        setCellText(placeGrid, refused->row, refused->column, storedCellText(refused->row, refused->column));
        warnText(refused->message);
        return;
    }
    if (document.revision() != revision)
        context_.pages.valuesChanged();
    refillPlaceRows();
    context_.pages.rebuildPlaceValuePages();
}

void entry::PlacesPage::onPlaceGridDelete()
{
    const auto& s = context_.project.State;
    const int row = placeGrid->currentRow();
    if (row < 1 || row > enteredPlaces())
        return;
    QString name = cellText(placeGrid, row, 1);
    if (!entry::confirmPlaceDeletion(context_, this, name))
        return;
    const dorvan::PlaceDeletion deleted = context_.session.deleteTypedPlace(row);
    // The host's "settings off" event is exactly "Riešenie DORVAN" off.
    if (deleted.settingsOff)
        context_.host.entrySettingsSwitched(false);
    if (s.PlaceCount == 0) {
        placeGrid->setVisible(false);
        placeListBox->setVisible(false);
    } else {
        placeGrid->setRowCount(s.PlaceCount + 1);
        refillPlaceRows();
    }
    context_.pages.valuesChanged();
    if (deleted.completion) {
        closeTypedEntry(*deleted.completion);
    } else if (deleted.entryEnded) {
        closeEntryBoxes();
        focusCountField();
    }
    context_.pages.rebuildPlaceValuePages();
    context_.pages.placeDeleted(deleted.change);
}
