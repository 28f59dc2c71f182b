// The places page of the data-entry window (PlacesPage): the number of places, each place's
// name and coordinates, and the list grid of all places.
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
using entry::setFieldColour;
using entry::showCutTextAsToolTip;
using entry::Silver;
const QColor Navy(0x00, 0x00, 0x80);
const QString FirstCountPrompt = QString::fromUtf8(" Zadajte počet miest, MINIMÁLNE 2 ");

constexpr int GridColumns = 7;

QString fromView(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

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

entry::PlacesPage::PlacesPage(const EntryContext& context)
    : context_(context)
{
    setObjectName("List1");
    auto* pageLayout = new QVBoxLayout(this);

    auto* basicsBox = new QGroupBox(u("  Základné dáta  "));
    basicsBox->setObjectName("GroupBox7");
    auto* basics = new QHBoxLayout(basicsBox);
    basics->addWidget(buildCountBox());
    basics->addWidget(buildEntryBox());
    basics->addStretch(1);
    // The basic data keep their natural height; the list below takes the rest of the page.
    basicsBox->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    pageLayout->addWidget(basicsBox);
    pageLayout->addWidget(buildListBox(), 1, Qt::AlignLeft);
    placeGrid->setVisible(false);
    placeListBox->setVisible(false);
    pageLayout->addStretch(0);

    connect(countOkButton, &QPushButton::clicked, this, &PlacesPage::acceptPlaceCount);
    connect(countEdit, &QLineEdit::returnPressed, this, &PlacesPage::acceptPlaceCount);
    connect(nameEdit, &QLineEdit::returnPressed, this, &PlacesPage::onNameEntered);
    connect(xEdit, &QLineEdit::returnPressed, this, &PlacesPage::onXEntered);
    connect(yEdit, &QLineEdit::returnPressed, this, &PlacesPage::onPlaceOk);
    connect(placeOkButton, &QPushButton::clicked, this, &PlacesPage::onPlaceOk);

    // A cell edit ends with Enter or by leaving the cell: that is a commit of the grid, unless
    // the edit was abandoned with Escape. The view's own handler (connected first, when the
    // delegate was set) has closed the editor and given the focus back by then.
    connect(placeGrid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
        [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
            gridEditorOpen_ = false;
            if (hint != QAbstractItemDelegate::RevertModelCache)
                onPlaceGridCommit();
        });
    placeGrid->installEventFilter(this);
    placeGrid->viewport()->installEventFilter(this);
}

QGroupBox* entry::PlacesPage::buildCountBox()
{
    auto* countBox = new QGroupBox(u(" Počet miest vstupujúcich do analýzy "));
    countBox->setObjectName("PocetGroupBox1");
    auto* count = new QGridLayout(countBox);
    countLabel = new QLabel(FirstCountPrompt);
    countLabel->setObjectName("Label1");
    countEdit = new QLineEdit;
    countEdit->setObjectName("Edit1");
    countOkButton = new QPushButton("OK");
    countOkButton->setObjectName("OKButton2");
    count->addWidget(countLabel, 0, 0, 1, 2);
    count->addWidget(countEdit, 1, 0);
    count->addWidget(countOkButton, 1, 1);
    count->setRowStretch(2, 1);
    return countBox;
}

QGroupBox* entry::PlacesPage::buildEntryBox()
{
    placeEntryBox = new QGroupBox(u(" Vstupné hodnoty "));
    placeEntryBox->setObjectName("VstupGroupBox1");
    auto* values = new QGridLayout(placeEntryBox);
    nameLabel = new QLabel(u("Meno MIESTA"));
    nameLabel->setObjectName("Label2");
    xLabel = new QLabel(u("Súradnica X"));
    xLabel->setObjectName("Label3");
    yLabel = new QLabel(u("Súradnica Y"));
    yLabel->setObjectName("Label4");
    nameEdit = new QLineEdit;
    nameEdit->setObjectName("Edit2");
    nameEdit->setMaxLength(dorvan::Text100::Capacity);
    nameEdit->setMinimumWidth(220);
    xEdit = new QLineEdit;
    xEdit->setObjectName("Edit3");
    yEdit = new QLineEdit;
    yEdit->setObjectName("Edit4");
    placeOkButton = new QPushButton("OK");
    placeOkButton->setObjectName("OKButton3");
    values->addWidget(nameLabel, 0, 0);
    values->addWidget(xLabel, 0, 1);
    values->addWidget(yLabel, 0, 2);
    values->addWidget(nameEdit, 1, 0);
    values->addWidget(xEdit, 1, 1);
    values->addWidget(yEdit, 1, 2);
    values->addWidget(placeOkButton, 1, 3);
    for (QLineEdit* e : { nameEdit, xEdit, yEdit })
        setFieldColour(e, Silver);
    placeEntryBox->setEnabled(false);
    placeOkButton->setEnabled(false);
    return placeEntryBox;
}

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

void entry::PlacesPage::focusCountField()
{
    if (countEdit->isEnabled())
        countEdit->setFocus();
}

bool entry::PlacesPage::eventFilter(QObject* watched, QEvent* event)
{
    // While the window goes the grid still loses its focus; then nothing is committed.
    if (context_.windowClosing())
        return QWidget::eventFilter(watched, event);
    if (placeGrid && watched == placeGrid) {
        // While a cell editor is open, focus passes between the grid and its own editor and the
        // editor's unused keys bubble up to the grid; the edit is committed when it closes.
        if (gridEditorOpen_)
            return QWidget::eventFilter(watched, event);
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            auto reason = static_cast<QFocusEvent*>(event)->reason();
            // A message box coming and going is no entry into or exit from the grid.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                onPlaceGridCommit();
            break;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                onPlaceGridCommit();
            // Delete acts on its release; it must not open a cell editor first.
            if (key->key() == Qt::Key_Delete)
                return true;
            break;
        }
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat())
                break;
            switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_Left:
            case Qt::Key_Right:
                onPlaceGridCommit();
                break;
            case Qt::Key_Delete:
                onPlaceGridDelete();
                break;
            default:
                break;
            }
            break;
        }
        default:
            break;
        }
    } else if (placeGrid && watched == placeGrid->viewport() && event->type() == QEvent::MouseButtonPress
        && !gridEditorOpen_) {
        onPlaceGridCommit();
    }
    return QWidget::eventFilter(watched, event);
}

int entry::PlacesPage::enteredPlaces() const
{
    int n = std::min(context_.project.State.NextPlace - 1, placeGrid->rowCount() - 1);
    return std::clamp(n, 0, dorvan::MaxPlaceCount);
}

void entry::PlacesPage::setEntryCaptions(int place)
{
    const dorvan::PlaceCaptions c = dorvan::placeCaptions(place);
    placeEntryBox->setTitle(QString::fromStdString(c.group));
    nameLabel->setText(QString::fromStdString(c.name));
    xLabel->setText(QString::fromStdString(c.x));
    yLabel->setText(QString::fromStdString(c.y));
}

void entry::PlacesPage::warnText(std::string_view utf8)
{
    context_.dialogs.warn(this, fromView(utf8));
}

void entry::PlacesPage::warnAndRetype(QLineEdit* edit, std::string_view message)
{
    warnText(message);
    edit->clear();
    edit->setFocus();
}

void entry::PlacesPage::acceptPlaceCount()
{
    const dorvan::CountOutcome out = context_.session.acceptCount(countEdit->text().toStdString());
    if (!out.handled)
        return;
    if (out.showAddPrompt)
        showAddPlacesPrompt();
    if (out.raiseFirstCountAccepted)
        context_.host.entryFirstCountAccepted();
    if (!out.message.empty()) {
        warnAndRetype(countEdit, out.message);
        return;
    }
    placeEntryBox->setEnabled(true);
    for (QLineEdit* e : { nameEdit, xEdit, yEdit })
        setFieldColour(e, Qt::white);
    setEntryCaptions(out.askPlace);
    placeOkButton->setEnabled(true);
    context_.pages.valuesChanged();
    nameEdit->setFocus();
}

void entry::PlacesPage::onNameEntered()
{
    const std::string message = context_.placeEntry.nameOnEnter(nameEdit->text().toStdString());
    if (!message.empty()) {
        warnText(message); // the name stays as typed
        nameEdit->setFocus();
        return;
    }
    xEdit->setFocus();
}

void entry::PlacesPage::onXEntered()
{
    const std::string_view message = dorvan::xOnEnterMessage(xEdit->text().toStdString());
    if (!message.empty()) {
        warnAndRetype(xEdit, message);
        return;
    }
    yEdit->setFocus();
}

void entry::PlacesPage::onPlaceOk()
{
    // The place, its list settled and what the windows switch on with it are one step, after
    // which an open allocation window runs again.
    const dorvan::EditCommand typed { .name = "Pridanie miesta", .told = rerunWhenOpen(false) };
    dorvan::ProjectDocument(context_.project).execute(typed, [this] { acceptTypedPlace(); });
}

void entry::PlacesPage::acceptTypedPlace()
{
    const std::string name = nameEdit->text().toStdString();
    const std::string x = xEdit->text().toStdString();
    const std::string y = yEdit->text().toStdString();
    const dorvan::PlaceOutcome out = context_.placeEntry.acceptPlace({ name, x, y });
    if (!out.handled)
        return;
    if (out.refused != dorvan::PlaceField::None) {
        QLineEdit* edit = out.refused == dorvan::PlaceField::Name ? nameEdit
            : out.refused == dorvan::PlaceField::X                ? xEdit
                                                                  : yEdit;
        warnAndRetype(edit, out.message);
    } else {
        context_.pages.valuesChanged();
        layOutPlaceGrid(out.stored + 1);
        fillPlaceRow(out.stored);
        if (out.askPlace > 0) {
            setEntryCaptions(out.askPlace);
            for (QLineEdit* e : { nameEdit, xEdit, yEdit })
                e->clear();
            nameEdit->setFocus();
        }
    }

    const dorvan::ListSettling list = context_.placeEntry.settleTypedList();
    if (!list.settled)
        return;
    context_.pages.valuesChanged();
    if (list.completed)
        closeTypedEntry(list.completion);
    context_.pages.rebuildPlaceValuePages();
    refillPlaceRows();
}

void entry::PlacesPage::closeTypedEntry(const dorvan::ListCompletion& completion)
{
    // The count field takes the focus before the entry boxes go off; otherwise the focus would
    // pass through the place grid, and entering and leaving it commits the grid.
    countEdit->setFocus();
    context_.pages.enableProjectPages();
    closeEntryBoxes();
    countLabel->setText(fromView(dorvan::AddPlacesPromptText));
    countEdit->clear();
    context_.pages.placeListCompleted(completion);
}

// The name and coordinate boxes go off, empty and silver, until the next count.
void entry::PlacesPage::closeEntryBoxes()
{
    setEntryCaptions(0);
    for (QLineEdit* e : { nameEdit, xEdit, yEdit }) {
        e->clear();
        setFieldColour(e, Silver);
    }
    placeOkButton->setEnabled(false);
    placeEntryBox->setEnabled(false);
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

void entry::PlacesPage::showEntryAgain()
{
    const auto& s = context_.project.State;
    const int entered = std::clamp(std::min(s.NextPlace - 1, s.PlaceCount), 0, dorvan::MaxPlaceCount);
    if (s.AddPlacesMode) {
        showAddPlacesPrompt();
    } else {
        // Back before the first list was complete: the first count is asked again.
        countLabel->setText(FirstCountPrompt);
        countLabel->setPalette(QPalette());
    }
    layOutPlaceGrid(entered + 1);
    for (int row = 1; row <= entered; ++row)
        fillPlaceRow(row);
    placeGrid->setVisible(entered > 0);
    placeListBox->setVisible(entered > 0);
    if (s.NextPlace < 1 || s.NextPlace > s.PlaceCount) {
        closeEntryBoxes();
        return;
    }
    placeEntryBox->setEnabled(true);
    for (QLineEdit* e : { nameEdit, xEdit, yEdit })
        setFieldColour(e, Qt::white);
    setEntryCaptions(s.NextPlace);
    placeOkButton->setEnabled(true);
}

void entry::PlacesPage::showAddPlacesPrompt()
{
    countLabel->setText(fromView(dorvan::AddPlacesPromptText));
    QPalette p = countLabel->palette();
    p.setColor(QPalette::WindowText, Navy);
    countLabel->setPalette(p);
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
    if (!context_.dialogs.confirm(this,
            entry::text(dorvan::DeletePlaceQuestionText) + name
                + entry::text(dorvan::DeletePlaceQuestionEndText),
            false))
        return;

    if (context_.host.cooperWindowOpen() && s.EntryStarted)
        context_.host.closeCooperWindow();
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
