// The criterion pages: the check boxes of "Definovanie kritérií", the per-place quantity, price
// and supply-frequency grids, and the single values (route length, distribution time, loading
// times, capacities, vehicles, places per group). Every value goes into the project at once.
#include "entry/Vstupne_Udaje.h"

#include "common/DecimalText.h"
#include "common/UserDialogs.h"
#include "entry/CriterionValues.h"
#include "entry/EntryHost.h"
#include "entry/EntryRelationSheets.h"
#include "entry/PlaceList.h"
#include "project/Project.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

const QColor Silver(0xC0, 0xC0, 0xC0);

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

constexpr int VehicleSheet = 11; // CheckBox11..CheckBox13 share one page
constexpr int ValueColumn = 4;
constexpr int ValueGridColumns = 5;

const char* const BoxCaptions[16] = {
    nullptr,
    "Množstvo",
    "Cena",
    "Reálne vzdialenosti medzi miestami",
    "Maximálna dĺžka distribučnej trasy",
    "Maximálny čas distribúcie",
    "Distribučná centrála (rozvoz z centrály)",
    "Distribučné sklady (rozvoz zo skladov)",
    "Čas potrebný na nakladanie a vykladanie (DC, DS, DM)",
    "Kapacita distribučných skladov",
    "Priorita miest v štruktúre",
    "Počet dopravných prostriedkov",
    "Kapacita dopravných prostriedkov",
    "Priemerná rýchlosť DP",
    "Flexibilita zásobovania miest za mesiac (počet návštev)",
    "Rovnomernosť počtu miest v skupinách",
};

// The grids of the per-place values, by kind (quantity, price, frequency).
struct ValueGridSpec {
    int box; // check box number
    const char* sheet;
    const char* sheetCaption;
    const char* groupBox;
    const char* groupCaption;
    const char* grid;
    const char* header;
    const char* message;
    dorvan::PlaceValueKind kind;
};
const ValueGridSpec ValueGrids[3] = {
    { 1, "TabSheet1", "Množstvo", "GroupBox2", " Definovanie množstva (materiálu, eregie, ...) ",
        "StringGrid8", "Množstvo", "Chybné zadanie MNOŽSTVA !!!", dorvan::PlaceValueKind::Quantity },
    { 2, "TabSheet2", "Cena", "GroupBox10", " Definovanie jednotkovej ceny (materiálu, eregie, ...) ",
        "StringGrid9", "Cena", "Chybné zadanie CENY !!!", dorvan::PlaceValueKind::Price },
    { 14, "TabSheet12", "Flexibilita", "GroupBox41", " Definovanie početnosti zásobovania ", "StringGrid10",
        "Flexibilita", "Chybné zadanie FLEXIBILITY !!!", dorvan::PlaceValueKind::Flexibility },
};

// The two values with an entry and a change mode.
struct RouteSpec {
    const char* entryBox;
    const char* entryCaption;
    const char* entryLabel;
    const char* entryLabelText;
    const char* entryEdit;
    const char* entryOk;
    const char* changeBox;
    const char* changeCaption;
    const char* changeLabel;
    const char* changeLabelText;
    const char* newEdit;
    const char* changeOk;
    const char* currentLabel;
    const char* currentEdit;
    const char* allowButton;
    const char* message;
};
const RouteSpec RouteLength
    = { "GroupBox18", " Maximálna dĺžka distribučnej trasy ", "Label22", "Zadajte dĺžku ", "Edit17",
          "Button13", "GroupBox19", " Zmena hodnoty - dĺžka distribučnej trasy ", "Label23", "Zadajte dĺžku",
          "Edit18", "Button15", "Label24", "Edit19", "Button14", "Chybné zadanie DĹŽKY !!!" };
const RouteSpec DistributionTime = { "GroupBox20", " Maximálny čas na distribúciu ", "Label25", "Zadajte čas",
    "Edit20", "Button16", "GroupBox21", " Zmena hodnoty - čas distribúcie ", "Label26", "Zadajte čas",
    "Edit21", "Button18", "Label27", "Edit22", "Button17", "Chybné zadanie ČASU !!!" };

// The values with one OK each.
enum class SingleKind { Decimal, VehicleCount, GroupSize };
struct SingleSpec {
    int box; // check box number
    const char* entryBox;
    const char* entryCaption;
    const char* label; // the DC / DS / DM line of the loading-time and capacity pages
    const char* edit;
    const char* ok;
    const char* current;
    const char* message;
    SingleKind kind;
    double dorvan::TProjectRecord::*real;
    std::int32_t dorvan::TProjectRecord::*whole;
};
using R = dorvan::TProjectRecord;
const SingleSpec Singles[10] = {
    { 8, "GroupBox27", " Čas nakladania - vykladania v DC ", "DC - Distribučná centrála", "Edit23",
        "Button24", "Edit32", "Chybné zadanie ČASU DC !!!", SingleKind::Decimal, &R::LoadTimeDC, nullptr },
    { 8, "GroupBox28", " Čas nakladania - vykladania v DS ", "DS - Distribučný sklad", "Edit24", "Button25",
        "Edit33", "Chybné zadanie ČASU DS !!!", SingleKind::Decimal, &R::LoadTimeDS, nullptr },
    { 8, "GroupBox29", " Čas nakladania - vykladania v DM ", "DM - Distribučné miesto", "Edit26", "Button26",
        "Edit34", "Chybné zadanie ČASU DM !!!", SingleKind::Decimal, &R::LoadTimeDM, nullptr },
    { 9, "GroupBox30", " Kapacita skladu v DC ", "DC - Distribučná centrála", "Edit27", "Button27", "Edit35",
        "Chybné zadanie KAPACITY SKLADU DC !!!", SingleKind::Decimal, &R::CapacityDC, nullptr },
    { 9, "GroupBox31", " Kapacita skladov v DS ", "DS - Distribučný sklad", "Edit28", "Button28", "Edit36",
        "Chybné zadanie KAPACITY SKLADOV DS !!!", SingleKind::Decimal, &R::CapacityDS, nullptr },
    { 9, "GroupBox32", " Kapacita skladov v DM ", "DM - Distribučné miesto", "Edit29", "Button29", "Edit37",
        "Chybné zadanie KAPACITY SKLADOV DM !!!", SingleKind::Decimal, &R::CapacityDM, nullptr },
    { 11, "GroupBox36", " Počet dopravných prostriedkov ", nullptr, "Edit30", "Button32", "Edit38",
        "Chybne zadaný POČET DOPRAVNÝCH PROSTRIEDKOV !!!", SingleKind::VehicleCount, nullptr,
        &R::VehicleCount },
    { 12, "GroupBox37", " Kapacita dopravných prostriedkov ", nullptr, "Edit31", "Button33", "Edit39",
        "Chybne zadaná KAPACITA DOPRAVNÝCH PROSTRIEDKOV !!!", SingleKind::Decimal, &R::VehicleCapacity,
        nullptr },
    { 13, "GroupBox40", " Priemerná rýchlosť DP ", nullptr, "Edit41", "Button36", "Edit40",
        "Chybne zadaná PRIEMERNÁ RÝCHLOSŤ DP !!!", SingleKind::Decimal, &R::VehicleSpeed, nullptr },
    { 15, "GroupBox44", " Zadajte počet miest v skupine ", nullptr, "Edit45", "Button40", "Edit46",
        "Chybne zadaný POČET MIEST V SKUPINE !!!", SingleKind::GroupSize, nullptr, &R::PlacesPerGroup },
};
constexpr int FirstLoadTime = 0;
constexpr int FirstCapacity = 3;

int singleIndexOf(int box)
{
    for (int i = 0; i < 10; ++i)
        if (Singles[i].box == box && Singles[i].box >= VehicleSheet)
            return i;
    return -1;
}

QLineEdit* newEdit(const char* name, bool readOnly = false)
{
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    e->setMaximumWidth(160);
    return e;
}

QPushButton* newButton(const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    return b;
}

QLabel* newLabel(const char* name, const char* caption)
{
    auto* l = new QLabel(u(caption));
    if (name != nullptr)
        l->setObjectName(name);
    return l;
}

QGroupBox* newBox(const char* name, const char* caption)
{
    auto* b = new QGroupBox(u(caption));
    b->setObjectName(name);
    return b;
}

// The commit events of a value grid: entering and leaving it, Enter, and the release of Enter,
// Up or Down. While a cell editor is open, focus passing between the grid and its editor is no
// entry or exit; the edit is committed when the editor closes.
class ValueGridEvents : public QObject {
public:
    ValueGridEvents(QTableWidget* grid, QObject* window, std::function<void()> commit)
        : QObject(grid)
        , window_(window)
        , commit_(std::move(commit))
    {
        grid->installEventFilter(this);
    }
    bool editorOpen = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // While the window is being destroyed (at program end after the project) the grid still
        // loses its focus; then it is no longer the data-entry window and nothing is committed.
        if (editorOpen || qobject_cast<TVstupUdajov*>(window_) == nullptr)
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
    QObject* window_;
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

QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Building

void TVstupUdajov::buildCriterionBoxes(QLayout* boxes)
{
    for (int n = 1; n <= 15; ++n) {
        auto* box = new QCheckBox(u(BoxCaptions[n]));
        box->setObjectName(QStringLiteral("CheckBox%1").arg(n));
        boxes->addWidget(box);
        criterionBox_[static_cast<std::size_t>(n)] = box;
        // A change of the box, by the user or by the program, goes to the project and runs its
        // click handler.
        connect(box, &QCheckBox::toggled, this, [this, n](bool on) {
            project_.Choices.Ticked[static_cast<std::size_t>(n - 1)] = on;
            criterionBoxClicked(n);
        });
    }
    if (auto* v = qobject_cast<QVBoxLayout*>(boxes))
        v->addStretch(1);
}

void TVstupUdajov::buildCriterionSheets()
{
    auto sheetFor = [this](int n, const char* name, const char* caption) {
        auto* sheet = new QWidget;
        sheet->setObjectName(name);
        PageControl2->addTab(sheet, u(caption));
        criterionSheet_[static_cast<std::size_t>(n)] = sheet;
        return sheet;
    };

    // Quantity, price and supply frequency: one grid of the places each.
    std::array<QWidget*, 3> gridSheets {};
    for (int k = 0; k < 3; ++k) {
        const ValueGridSpec& g = ValueGrids[k];
        auto* sheet = new QWidget;
        sheet->setObjectName(g.sheet);
        criterionSheet_[static_cast<std::size_t>(g.box)] = sheet;
        gridSheets[static_cast<std::size_t>(k)] = sheet;
        auto* layout = new QVBoxLayout(sheet);
        auto* box = newBox(g.groupBox, g.groupCaption);
        auto* grid = new QTableWidget(0, ValueGridColumns);
        grid->setObjectName(g.grid);
        grid->horizontalHeader()->setVisible(false);
        grid->verticalHeader()->setVisible(false);
        grid->verticalHeader()->setMinimumSectionSize(15);
        grid->verticalHeader()->setDefaultSectionSize(15);
        grid->horizontalHeader()->setMinimumSectionSize(20);
        grid->setSelectionMode(QAbstractItemView::SingleSelection);
        grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
            | QAbstractItemView::AnyKeyPressed);
        grid->setWordWrap(false);
        grid->setTextElideMode(Qt::ElideNone);
        grid->setEnabled(false);
        (new QVBoxLayout(box))->addWidget(grid);
        layout->addWidget(box, 1, Qt::AlignLeft);
        valueGrid_[static_cast<std::size_t>(k)] = grid;

        auto* events = new ValueGridEvents(grid, this, [this, k] { valueGridEvent(k); });
        grid->setItemDelegate(new ValueGridDelegate(grid, events));
        // An edit ended with Enter or by leaving the cell is a commit, unless abandoned with
        // Escape.
        connect(grid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this, k, events](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                events->editorOpen = false;
                if (qobject_cast<TVstupUdajov*>(this) != nullptr
                    && hint != QAbstractItemDelegate::RevertModelCache)
                    valueGridEvent(k);
            });
    }

    PageControl2->addTab(gridSheets[0], u(ValueGrids[0].sheetCaption));
    PageControl2->addTab(gridSheets[1], u(ValueGrids[1].sheetCaption));

    // The criteria that relate places to each other fill these pages with their own entries.
    sheetFor(3, "TabSheet3", "Vzdialenosti");

    // Route length and distribution time: an entry, then a change mode.
    auto routeSheet = [&](int n, const char* name, const char* caption, const RouteSpec& r,
                          bool routeLength) {
        QWidget* sheet = sheetFor(n, name, caption);
        auto* layout = new QVBoxLayout(sheet);
        auto* entry = newBox(r.entryBox, r.entryCaption);
        auto* e = new QGridLayout(entry);
        e->addWidget(newLabel(r.entryLabel, r.entryLabelText), 0, 0);
        e->addWidget(newEdit(r.entryEdit), 1, 0);
        auto* ok = newButton(r.entryOk, QStringLiteral("OK"));
        e->addWidget(ok, 1, 1);
        auto* change = newBox(r.changeBox, r.changeCaption);
        auto* c = new QGridLayout(change);
        c->addWidget(newLabel(r.changeLabel, r.changeLabelText), 0, 0);
        c->addWidget(newEdit(r.newEdit), 1, 0);
        auto* changeOk = newButton(r.changeOk, QStringLiteral("OK"));
        c->addWidget(changeOk, 1, 1);
        c->addWidget(newLabel(r.currentLabel, "Súčasná hodnota"), 2, 0);
        c->addWidget(newEdit(r.currentEdit, true), 3, 0);
        auto* allow = newButton(r.allowButton, u("Povoliť zmenu"));
        c->addWidget(allow, 3, 1);
        e->setColumnStretch(2, 1);
        c->setColumnStretch(2, 1);
        layout->addWidget(entry);
        layout->addWidget(change);
        layout->addStretch(1);
        for (QWidget* w : { static_cast<QWidget*>(entry), static_cast<QWidget*>(change) })
            w->setEnabled(false);
        for (const char* edit : { r.entryEdit, r.newEdit, r.currentEdit })
            setFieldColour(sheet->findChild<QLineEdit*>(edit), Silver);
        changeOk->setEnabled(false);
        connect(ok, &QPushButton::clicked, this, [this, routeLength] { routeEntryOk(routeLength, false); });
        connect(
            changeOk, &QPushButton::clicked, this, [this, routeLength] { routeEntryOk(routeLength, true); });
        connect(allow, &QPushButton::clicked, this, [this, routeLength] { routeAllowChange(routeLength); });
    };
    routeSheet(4, "TabSheet4", "Dĺžka distribučnej trasy", RouteLength, true);
    routeSheet(5, "TabSheet5", "Čas distribúcie", DistributionTime, false);

    sheetFor(6, "TabSheet6", "Distribučná centrála");
    sheetFor(7, "TabSheet7", "Distribučné sklady");

    // One entry box per value, and the current values in a box of their own.
    auto singleBox = [this](int i) {
        const SingleSpec& s = Singles[i];
        auto* box = newBox(s.entryBox, s.entryCaption);
        auto* g = new QGridLayout(box);
        int row = 0;
        if (s.label != nullptr)
            g->addWidget(newLabel(nullptr, s.label), row++, 0, 1, 2);
        auto* edit = newEdit(s.edit);
        setFieldColour(edit, Silver);
        edit->setEnabled(false);
        g->addWidget(edit, row, 0);
        auto* ok = newButton(s.ok, QStringLiteral("OK"));
        ok->setEnabled(false);
        g->addWidget(ok, row, 1);
        connect(ok, &QPushButton::clicked, this, [this, i] { singleValueOk(i); });
        return box;
    };
    auto currentBox = [](const char* name, const char* caption, int first, int count) {
        auto* box = newBox(name, caption);
        auto* g = new QVBoxLayout(box);
        for (int i = first; i < first + count; ++i) {
            auto* e = newEdit(Singles[i].current, true);
            // The current values of the two site pages are shown whenever their page is set
            // up, so those edits stay enabled and are only read.
            e->setEnabled(Singles[i].box == 8 || Singles[i].box == 9);
            g->addWidget(e);
        }
        g->addStretch(1);
        return box;
    };
    auto singlesSheet = [&](int n, const char* name, const char* caption, int first, int count,
                            const char* currentName, const char* currentCaption) {
        QWidget* sheet = sheetFor(n, name, caption);
        auto* layout = new QHBoxLayout(sheet);
        auto* entries = new QVBoxLayout;
        for (int i = first; i < first + count; ++i)
            entries->addWidget(singleBox(i));
        entries->addStretch(1);
        layout->addLayout(entries);
        layout->addWidget(currentBox(currentName, currentCaption, first, count));
        layout->addStretch(1);
    };
    singlesSheet(8, "TabSheet8", "Čas nakl/vykl ", FirstLoadTime, 3, "GroupBox16", " Súčasné hodnoty ");
    singlesSheet(9, "TabSheet9", "Kapacita skladov", FirstCapacity, 3, "GroupBox38", " Súčasné hodnoty ");

    sheetFor(10, "TabSheet10", "Priorita miest ");

    singlesSheet(VehicleSheet, "TabSheet11", "Dopravné prostriedky", 6, 3, "GroupBox39",
        " Súčasný stav dopravných prostriedkov ");
    criterionSheet_[12] = criterionSheet_[13] = criterionSheet_[VehicleSheet];

    PageControl2->addTab(gridSheets[2], u(ValueGrids[2].sheetCaption));
    singlesSheet(15, "TabSheet13", "Počet miest v skupine", 9, 1, "GroupBox45", " Súčasná početnosť ");
}

// ---------------------------------------------------------------------------------------------
// The check boxes

void TVstupUdajov::criterionBoxClicked(int number)
{
    runCriterionUpdate(number);
    valuesChanged();
    // The three criteria that weigh the places change the allocation.
    if ((number == 1 || number == 2 || number == 14) && project_.State.CooperWindowOpen
        && project_.Choices.SettingsOn)
        project_.changed(dorvan::ProjectChange::RunInputs);
}

void TVstupUdajov::runCriterionUpdate(int number)
{
    switch (number) {
    case 1:
        ClickCheckBox1();
        break;
    case 2:
        ClickCheckBox2();
        break;
    case 3:
        ClickCheckBox3();
        break;
    case 4:
        ClickCheckBox4();
        break;
    case 5:
        ClickCheckBox5();
        break;
    case 6:
        ClickCheckBox6();
        break;
    case 7:
        ClickCheckBox7();
        break;
    case 8:
        ClickCheckBox8();
        break;
    case 9:
        ClickCheckBox9();
        break;
    case 10:
        ClickCheckBox10();
        break;
    case 11:
        ClickCheckBox11();
        break;
    case 12:
        ClickCheckBox12();
        break;
    case 13:
        ClickCheckBox13();
        break;
    case 14:
        ClickCheckBox14();
        break;
    case 15:
        ClickCheckBox15();
        break;
    case 16:
        ClickCheckBox16();
        break;
    case 17:
        ClickCheckBox17();
        break;
    default:
        break;
    }
}

namespace {
// The common part of every criterion box. Byte number-1 mirrors the box; the page shows while
// the box is ticked. The vehicle page goes only when none of its three boxes is ticked.
// Returns whether the box is ticked.
bool criterionSwitch(TVstupUdajov* w, dorvan::TProjectRecord& r, const std::array<QCheckBox*, 16>& boxes,
    const std::array<QWidget*, 16>& sheets, int number)
{
    const auto n = static_cast<std::size_t>(number);
    const bool on = boxes[n]->isChecked();
    r.setCriterion(static_cast<dorvan::Criterion>(number - 1), on);
    bool keep = on;
    if (!on && number >= VehicleSheet && number <= 13)
        keep = boxes[11]->isChecked() || boxes[12]->isChecked() || boxes[13]->isChecked();
    w->showCriterionPage(sheets[n], keep);
    return on;
}
} // namespace

void TVstupUdajov::criterionPageOff(int number)
{
    if (number == 1 || number == 2 || number == 14) {
        const int k = number == 1 ? 0 : number == 2 ? 1 : 2;
        valueGrid_[static_cast<std::size_t>(k)]->setEnabled(false);
    } else if (number == 4 || number == 5) {
        const RouteSpec& r = number == 4 ? RouteLength : DistributionTime;
        findChild<QGroupBox*>(r.entryBox)->setEnabled(false);
        findChild<QGroupBox*>(r.changeBox)->setEnabled(false);
        for (const char* edit : { r.entryEdit, r.newEdit, r.currentEdit })
            setFieldColour(findChild<QLineEdit*>(edit), Silver);
    }
}

// Quantity, price and frequency: the page becomes the active one and lists the places.
void TVstupUdajov::ClickCheckBox1()
{
    if (criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 1)) {
        PageControl2->setCurrentWidget(criterionSheet_[1]);
        fillValueGrid(0);
    } else {
        criterionPageOff(1);
    }
}

void TVstupUdajov::ClickCheckBox2()
{
    if (criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 2)) {
        PageControl2->setCurrentWidget(criterionSheet_[2]);
        fillValueGrid(1);
    } else {
        criterionPageOff(2);
    }
}

void TVstupUdajov::ClickCheckBox14()
{
    if (criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 14)) {
        PageControl2->setCurrentWidget(criterionSheet_[14]);
        fillValueGrid(2);
    } else {
        criterionPageOff(14);
    }
}

// Real distances, the distribution centre, the depots and the priorities: their pages are set
// up in Vstupne_Udaje_Vzdialenosti.cpp.
void TVstupUdajov::ClickCheckBox3()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 3);
    relations_->setDistanceEntry();
}

void TVstupUdajov::ClickCheckBox6()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 6);
    relations_->setCentrePage();
}

void TVstupUdajov::ClickCheckBox7()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 7);
    relations_->setDepotPage();
}

void TVstupUdajov::ClickCheckBox10()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 10);
    relations_->setPriorityPage();
}

void TVstupUdajov::ClickCheckBox4()
{
    if (criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 4))
        setRouteEntry(true);
    else
        criterionPageOff(4);
}

void TVstupUdajov::ClickCheckBox5()
{
    if (criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 5))
        setRouteEntry(false);
    else
        criterionPageOff(5);
}

void TVstupUdajov::ClickCheckBox8()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 8);
    siteValuesPage(true);
}

void TVstupUdajov::ClickCheckBox9()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 9);
    siteValuesPage(false);
}

void TVstupUdajov::ClickCheckBox11()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 11);
    singleValuePage(11);
}

void TVstupUdajov::ClickCheckBox12()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 12);
    singleValuePage(12);
}

void TVstupUdajov::ClickCheckBox13()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 13);
    singleValuePage(13);
}

void TVstupUdajov::ClickCheckBox15()
{
    criterionSwitch(this, project_.Record, criterionBox_, criterionSheet_, 15);
    singleValuePage(15);
}

// ---------------------------------------------------------------------------------------------
// Quantity, price and supply frequency

void TVstupUdajov::fillValueGrid(int kind)
{
    const ValueGridSpec& spec = ValueGrids[kind];
    QTableWidget* g = valueGrid_[static_cast<std::size_t>(kind)];
    const auto& r = project_.Record;
    const int n = std::clamp(project_.State.NextPlace - 1, 0, dorvan::MaxPlaceCount);
    const int oldRows = g->rowCount();
    g->setRowCount(n + 1);
    const QBrush fixedBrush = g->palette().brush(QPalette::Button);
    for (int row = oldRows; row <= n; ++row) {
        for (int col = 0; col < ValueGridColumns; ++col) {
            auto* item = new QTableWidgetItem;
            // Four fixed columns and the header row: only the value can be edited.
            if (row == 0 || col < ValueColumn) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(fixedBrush);
            }
            if (col == 0)
                item->setTextAlignment(Qt::AlignCenter);
            g->setItem(row, col, item);
        }
    }
    const QString headers[ValueGridColumns]
        = { QString(), u("Miesta"), u("Sur X"), u("Sur Y"), u(spec.header) };
    for (int col = 0; col < ValueGridColumns; ++col)
        g->item(0, col)->setText(headers[col]);
    const std::string separator = QLocale().decimalPoint().toStdString();
    for (int row = 1; row <= n; ++row) {
        g->item(row, 0)->setText(QString::number(row));
        g->item(row, 1)->setText(QString::fromStdString(dorvan::displayName(r.PlaceName[row])));
        g->item(row, 2)->setText(formatNumber(r.PlaceX[row]));
        g->item(row, 3)->setText(formatNumber(r.PlaceY[row]));
        g->item(row, ValueColumn)
            ->setText(QString::fromStdString(dorvan::placeValueText(r, spec.kind, row, separator)));
    }
    const int defaultWidth = g->horizontalHeader()->defaultSectionSize();
    int width = 0;
    for (int col = 0; col < ValueGridColumns; ++col) {
        const int w = col == 0 ? 20 : col == ValueColumn ? 100 : defaultWidth;
        g->setColumnWidth(col, w);
        width += w;
    }
    g->setFixedWidth(width + 10);
    g->setEnabled(true);
}

void TVstupUdajov::commitValueGrid(int kind)
{
    const ValueGridSpec& spec = ValueGrids[kind];
    QTableWidget* g = valueGrid_[static_cast<std::size_t>(kind)];
    const int n
        = std::clamp(std::min(project_.State.NextPlace - 1, g->rowCount() - 1), 0, dorvan::MaxPlaceCount);
    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(n));
    for (int row = 1; row <= n; ++row)
        cells.push_back(cellText(g, row, ValueColumn).toStdString());
    const dorvan::PlaceValueCommit c = dorvan::commitPlaceValues(project_.Record, spec.kind, cells);
    for (int row : c.refused)
        g->item(row, ValueColumn)->setText(QString());
    if (c.stored > 0) {
        valuesChanged();
        refillPlaceRows();
    }
    if (!c.refused.empty())
        dialogs_.warn(this, u(spec.message));
}

void TVstupUdajov::SelectCellStringGrid8()
{
    commitValueGrid(0);
}

void TVstupUdajov::SelectCellStringGrid9()
{
    commitValueGrid(1);
}

void TVstupUdajov::SelectCellStringGrid10()
{
    commitValueGrid(2);
}

void TVstupUdajov::valueGridEvent(int kind)
{
    if (!valueGrid_[static_cast<std::size_t>(kind)]->isEnabled())
        return;
    commitValueGrid(kind);
    if (project_.State.CooperWindowOpen && project_.Choices.SettingsOn)
        project_.changed(dorvan::ProjectChange::RunInputs);
}

// ---------------------------------------------------------------------------------------------
// Route length and distribution time

void TVstupUdajov::setRouteEntry(bool routeLength)
{
    const RouteSpec& spec = routeLength ? RouteLength : DistributionTime;
    const std::int32_t state
        = routeLength ? project_.Record.RouteLengthState : project_.Record.DistributionTimeState;
    auto* entry = findChild<QGroupBox*>(spec.entryBox);
    auto* edit = findChild<QLineEdit*>(spec.entryEdit);
    auto* ok = findChild<QPushButton*>(spec.entryOk);
    if (state != 0) {
        entry->setEnabled(false);
        edit->setEnabled(false);
        setFieldColour(edit, Silver);
        ok->setEnabled(false);
        findChild<QGroupBox*>(spec.changeBox)->setEnabled(true);
        findChild<QPushButton*>(spec.allowButton)->setEnabled(true);
    } else {
        entry->setEnabled(true);
        edit->setEnabled(true);
        setFieldColour(edit, Qt::white);
        ok->setEnabled(true);
    }
}

void TVstupUdajov::routeEntryOk(bool routeLength, bool change)
{
    const RouteSpec& spec = routeLength ? RouteLength : DistributionTime;
    auto& r = project_.Record;
    auto* edit = findChild<QLineEdit*>(change ? spec.newEdit : spec.entryEdit);
    const std::optional<double> v = dorvan::parseNonNegative(edit->text().toStdString());
    if (!v) {
        dialogs_.warn(this, u(spec.message));
        edit->clear();
        return;
    }
    (routeLength ? r.MaxRouteLength : r.MaxDistributionTime) = *v;
    valuesChanged();
    setFieldColour(edit, Silver);
    edit->setEnabled(false);
    if (change) {
        findChild<QPushButton*>(spec.changeOk)->setEnabled(false);
        return;
    }
    findChild<QPushButton*>(spec.entryOk)->setEnabled(false);
    findChild<QGroupBox*>(spec.entryBox)->setEnabled(false);
    findChild<QGroupBox*>(spec.changeBox)->setEnabled(true);
    findChild<QPushButton*>(spec.allowButton)->setEnabled(true);
    (routeLength ? r.RouteLengthState : r.DistributionTimeState) = 2;
}

void TVstupUdajov::routeAllowChange(bool routeLength)
{
    const RouteSpec& spec = routeLength ? RouteLength : DistributionTime;
    auto* newValue = findChild<QLineEdit*>(spec.newEdit);
    auto* current = findChild<QLineEdit*>(spec.currentEdit);
    newValue->clear();
    current->clear();
    setFieldColour(newValue, Qt::white);
    newValue->setEnabled(true);
    current->setText(
        formatNumber(routeLength ? project_.Record.MaxRouteLength : project_.Record.MaxDistributionTime));
    findChild<QPushButton*>(spec.changeOk)->setEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Single values

void TVstupUdajov::siteValuesPage(bool loadTimes)
{
    const int first = loadTimes ? FirstLoadTime : FirstCapacity;
    const auto& r = project_.Record;
    for (int i = first; i < first + 3; ++i) {
        const SingleSpec& s = Singles[i];
        auto* edit = findChild<QLineEdit*>(s.edit);
        edit->setEnabled(false);
        setFieldColour(edit, Silver);
        findChild<QPushButton*>(s.ok)->setEnabled(false);
        auto* current = findChild<QLineEdit*>(s.current);
        current->clear();
        if (r.*(s.real) >= 0.0)
            current->setText(formatNumber(r.*(s.real)));
        findChild<QGroupBox*>(s.entryBox)->setEnabled(true);
    }
    if (!criterionBox_[loadTimes ? 8 : 9]->isChecked())
        return;
    const dorvan::SiteEntries open = dorvan::siteEntries(r, project_.State.PlaceCount);
    const bool entries[3] = { open.dc, open.ds, open.dm };
    for (int k = 0; k < 3; ++k) {
        if (!entries[k])
            continue;
        const SingleSpec& s = Singles[first + k];
        auto* edit = findChild<QLineEdit*>(s.edit);
        edit->setEnabled(true);
        setFieldColour(edit, Qt::white);
        findChild<QPushButton*>(s.ok)->setEnabled(true);
    }
}

void TVstupUdajov::singleValuePage(int number)
{
    const int i = singleIndexOf(number);
    if (i < 0)
        return;
    const SingleSpec& s = Singles[i];
    auto* box = findChild<QGroupBox*>(s.entryBox);
    auto* edit = findChild<QLineEdit*>(s.edit);
    auto* current = findChild<QLineEdit*>(s.current);
    auto* ok = findChild<QPushButton*>(s.ok);
    const auto& r = project_.Record;
    if (criterionBox_[static_cast<std::size_t>(number)]->isChecked()) {
        current->setText(s.whole != nullptr ? QString::number(r.*(s.whole)) : formatNumber(r.*(s.real)));
        current->setEnabled(true);
        box->setEnabled(true);
        edit->setEnabled(true);
        setFieldColour(edit, Qt::white);
        ok->setEnabled(true);
    } else {
        edit->clear();
        current->clear();
        edit->setEnabled(false);
        setFieldColour(edit, Silver);
        current->setEnabled(false);
        ok->setEnabled(false);
    }
}

void TVstupUdajov::singleValueOk(int entry)
{
    const SingleSpec& s = Singles[entry];
    auto& r = project_.Record;
    auto* edit = findChild<QLineEdit*>(s.edit);
    const std::string text = edit->text().toStdString();
    bool good = false;
    switch (s.kind) {
    case SingleKind::Decimal:
        if (auto v = dorvan::parseNonNegative(text)) {
            r.*(s.real) = *v;
            good = true;
        }
        break;
    case SingleKind::VehicleCount:
        if (auto v = dorvan::parseVehicleCount(text)) {
            r.*(s.whole) = *v;
            good = true;
        }
        break;
    case SingleKind::GroupSize:
        if (auto v = dorvan::parsePlacesPerGroup(text)) {
            r.*(s.whole) = *v;
            good = true;
        }
        break;
    }
    if (!good) {
        dialogs_.warn(this, u(s.message));
        edit->clear();
        return;
    }
    valuesChanged();
    findChild<QLineEdit*>(s.current)->setText(edit->text());
    edit->clear();
}
