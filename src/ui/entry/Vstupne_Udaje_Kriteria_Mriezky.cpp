// The per-place value grids of the criteria page (ValueGridSheet): quantity, unit price and
// supply frequency. The values go into the project when the grid is committed, as one command.
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryValueGridSheet.h"

#include "core/entry/CriterionValues.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectEdits.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryControls.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <stdexcept>

struct entry::ValueGridSheet::Spec {
    CriterionBox box;
    const char* sheet;
    const char* sheetCaption;
    const char* groupBox;
    const char* groupCaption;
    const char* grid;
    const char* header;
    const char* message;
    dorvan::PlaceValueKind kind;
};

namespace {

using entry::CriterionBox;
using entry::formatNumber;
using entry::controls::cellText;

constexpr int ValueColumn = 4;
constexpr int ValueGridColumns = 5;

const entry::ValueGridSheet::Spec ValueGrids[3] = {
    { CriterionBox::Quantity, "TabSheet1", "Množstvo", "GroupBox2",
        " Definovanie množstva (materiálu, eregie, ...) ", "StringGrid8", "Množstvo",
        "Chybné zadanie MNOŽSTVA !!!", dorvan::PlaceValueKind::Quantity },
    { CriterionBox::Price, "TabSheet2", "Cena", "GroupBox10",
        " Definovanie jednotkovej ceny (materiálu, eregie, ...) ", "StringGrid9", "Cena",
        "Chybné zadanie CENY !!!", dorvan::PlaceValueKind::Price },
    { CriterionBox::Flexibility, "TabSheet12", "Flexibilita", "GroupBox41", " Definovanie početnosti zásobovania ",
        "StringGrid10", "Flexibilita", "Chybné zadanie FLEXIBILITY !!!", dorvan::PlaceValueKind::Flexibility },
};

const entry::ValueGridSheet::Spec& specOf(CriterionBox box)
{
    for (const auto& spec : ValueGrids)
        if (spec.box == box)
            return spec;
    throw std::logic_error("no value grid for this criterion box");
}

// The commit events of a value grid: entering and leaving it, Enter, and the release of Enter,
// Up or Down. While a cell editor is open, focus passing between the grid and its editor is no
// entry or exit; the edit is committed when the editor closes.
class ValueGridEvents : public QObject {
public:
    ValueGridEvents(QTableWidget* grid, std::function<void()> commit)
        : QObject(grid)
        , commit_(std::move(commit))
    {
        grid->installEventFilter(this);
    }
    bool editorOpen = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (editorOpen)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            auto reason = static_cast<QFocusEvent*>(event)->reason();
            // A message box coming and going is no entry into or exit from the grid.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                commit_();
            break;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                commit_();
            break;
        }
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()
                && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Up
                    || key->key() == Qt::Key_Down))
                commit_();
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    std::function<void()> commit_;
};

class ValueGridDelegate : public QStyledItemDelegate {
public:
    ValueGridDelegate(QObject* parent, ValueGridEvents* events)
        : QStyledItemDelegate(parent)
        , events_(events)
    {
    }
    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        events_->editorOpen = true;
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

private:
    ValueGridEvents* events_;
};

// Rows from `from` on get their cells: four fixed columns and the header row; only the value
// can be edited.
void addCells(QTableWidget* g, int from)
{
    const QBrush fixedBrush = g->palette().brush(QPalette::Button);
    for (int row = from; row < g->rowCount(); ++row) {
        for (int col = 0; col < ValueGridColumns; ++col) {
            auto* item = new QTableWidgetItem;
            if (row == 0 || col < ValueColumn) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(fixedBrush);
            }
            if (col == 0)
                item->setTextAlignment(Qt::AlignCenter);
            g->setItem(row, col, item);
        }
    }
}

void setColumnWidths(QTableWidget* g)
{
    const int defaultWidth = g->horizontalHeader()->defaultSectionSize();
    int width = 0;
    for (int col = 0; col < ValueGridColumns; ++col) {
        const int w = col == 0 ? 20 : col == ValueColumn ? 100 : defaultWidth;
        g->setColumnWidth(col, w);
        width += w;
    }
    g->setFixedWidth(width + 10);
}

} // namespace

entry::ValueGridSheet::ValueGridSheet(const EntryContext& context, CriterionBox box)
    : context_(context)
    , spec_(&specOf(box))
{
    setObjectName(spec_->sheet);
    buildGrid();
    connectCommits();
}

entry::CriterionBox entry::ValueGridSheet::box() const
{
    return spec_->box;
}

QString entry::ValueGridSheet::caption() const
{
    return u(spec_->sheetCaption);
}

void entry::ValueGridSheet::buildGrid()
{
    auto* layout = new QVBoxLayout(this);
    auto* box = controls::groupBox(spec_->groupBox, spec_->groupCaption);
    grid_ = new QTableWidget(0, ValueGridColumns);
    grid_->setObjectName(spec_->grid);
    grid_->horizontalHeader()->setVisible(false);
    grid_->verticalHeader()->setVisible(false);
    grid_->verticalHeader()->setMinimumSectionSize(15);
    grid_->verticalHeader()->setDefaultSectionSize(15);
    grid_->horizontalHeader()->setMinimumSectionSize(20);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    grid_->setWordWrap(false);
    grid_->setTextElideMode(Qt::ElideNone);
    grid_->setEnabled(false);
    (new QVBoxLayout(box))->addWidget(grid_);
    layout->addWidget(box, 1, Qt::AlignLeft);
}

void entry::ValueGridSheet::connectCommits()
{
    // While the window is being destroyed (at program end after the project) the grid still
    // loses its focus; then nothing is committed.
    auto* events = new ValueGridEvents(grid_, [this] {
        if (!context_.windowClosing())
            gridEvent();
    });
    grid_->setItemDelegate(new ValueGridDelegate(grid_, events));
    // An edit ended with Enter or by leaving the cell is a commit, unless abandoned with Escape.
    connect(grid_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
        [this, events](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
            events->editorOpen = false;
            if (!context_.windowClosing() && hint != QAbstractItemDelegate::RevertModelCache)
                gridEvent();
        });
}

void entry::ValueGridSheet::fill()
{
    const auto& r = context_.project.Record;
    const int n = std::clamp(context_.project.State.NextPlace - 1, 0, dorvan::MaxPlaceCount);
    const int oldRows = grid_->rowCount();
    grid_->setRowCount(n + 1);
    addCells(grid_, oldRows);
    const QString headers[ValueGridColumns]
        = { QString(), u("Miesta"), u("Sur X"), u("Sur Y"), u(spec_->header) };
    for (int col = 0; col < ValueGridColumns; ++col)
        grid_->item(0, col)->setText(headers[col]);
    const std::string separator = QLocale().decimalPoint().toStdString();
    for (int row = 1; row <= n; ++row) {
        grid_->item(row, 0)->setText(QString::number(row));
        grid_->item(row, 1)->setText(QString::fromStdString(dorvan::displayName(r.PlaceName[row])));
        grid_->item(row, 2)->setText(formatNumber(r.PlaceX[row]));
        grid_->item(row, 3)->setText(formatNumber(r.PlaceY[row]));
        grid_->item(row, ValueColumn)
            ->setText(QString::fromStdString(dorvan::placeValueText(r, spec_->kind, row, separator)));
    }
    setColumnWidths(grid_);
    grid_->setEnabled(true);
}

void entry::ValueGridSheet::switchOff()
{
    grid_->setEnabled(false);
}

void entry::ValueGridSheet::commit()
{
    const int n = std::clamp(
        std::min(context_.project.State.NextPlace - 1, grid_->rowCount() - 1), 0, dorvan::MaxPlaceCount);
    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(n));
    for (int row = 1; row <= n; ++row)
        cells.push_back(cellText(grid_, row, ValueColumn).toStdString());
    const std::string separator = QLocale().decimalPoint().toStdString();
    const dorvan::PlaceValueCommit c
        = dorvan::ProjectEdits(context_.project)
              .placeValues(spec_->kind, cells, separator, context_.host.cooperWindowOpen());
    const auto& r = context_.project.Record;
    // A refused cell shows the stored value again: the user is told once and may leave it.
    for (int row : c.refused)
        grid_->item(row, ValueColumn)
            ->setText(QString::fromStdString(dorvan::placeValueText(r, spec_->kind, row, separator)));
    if (c.stored > 0) {
        context_.pages.valuesChanged();
        context_.pages.refillPlaceRows();
    }
    if (!c.refused.empty())
        context_.dialogs.warn(this, u(spec_->message));
}

void entry::ValueGridSheet::gridEvent()
{
    // A commit that stores a value asks an open allocation window for a new run (its command
    // tells it). While the window shows the project again after an undo or a redo, the focus
    // passing through the grid commits nothing: its cells may still show the state before.
    if (grid_->isEnabled() && !context_.pages.showingProjectAgain())
        commit();
}
