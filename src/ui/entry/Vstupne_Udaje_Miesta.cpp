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

using entry::setFieldColour;
using entry::Silver;
const QColor Navy(0x00, 0x00, 0x80);
const QString FirstCountPrompt = QString::fromUtf8(" Zadajte počet miest, MINIMÁLNE 2 ");

QString fromView(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

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
