// The criteria page (CriteriaPage): the check boxes of "Definovanie kritérií", the per-place
// quantity, price and supply-frequency grids, and the single values (route length, distribution
// time, loading times, capacities, vehicles, places per group). Every value goes into the
// project at once. The relation, settings and groups sheets have files of their own.
#include "ui/entry/EntryCriteriaPage.h"
#include "ui/entry/EntryHost.h"

#include "ui/common/UserDialogs.h"
#include "core/entry/CriterionValues.h"
#include "ui/entry/EntryGroupsSheet.h"
#include "ui/entry/EntryRelationSheets.h"
#include "ui/entry/EntrySettingsSheet.h"
#include "core/entry/PlaceList.h"
#include "core/project/Project.h"

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

using entry::formatNumber;
using entry::setFieldColour;
using entry::Silver;

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

QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Building

entry::CriteriaPage::CriteriaPage(const EntryContext& context)
    : context_(context)
{
    setObjectName("List2");
    auto* row = new QHBoxLayout(this);

    // Left: the criterion check boxes, with the two allocation boxes at the foot.
    auto* left = new QVBoxLayout;
    auto* l = new QGroupBox(u(" Výber kritérií ktoré treba zohľadňovať "));
    l->setObjectName("l");
    buildCriterionBoxes(new QVBoxLayout(l));
    left->addWidget(l, 1);
    settings_ = new SettingsSheet(context_);
    groups_ = new GroupsSheet(context_);
    left->addWidget(settings_->switchBox());
    left->addWidget(groups_->switchBox());
    row->addLayout(left);

    // Right: the sheets of the ticked criteria.
    GroupBox1 = new QGroupBox(u(" Naplnenie vstupných údajov pre zohľadňované kritériá "));
    GroupBox1->setObjectName("GroupBox1");
    auto* box = new QVBoxLayout(GroupBox1);
    auto* Label19 = new QLabel(u("Súčasná hodnota"));
    Label19->setObjectName("Label19");
    box->addWidget(Label19, 0, Qt::AlignRight);
    PageControl2 = new QTabWidget;
    PageControl2->setObjectName("PageControl2");
    box->addWidget(PageControl2, 1);
    row->addWidget(GroupBox1, 1);

    buildCriterionSheets();
    relations_ = new RelationSheets(
        context_, { criterionSheet_[3], criterionSheet_[6], criterionSheet_[7], criterionSheet_[10] }, this);
    PageControl2->addTab(settings_, u("DORVAN nastavenia"));
    PageControl2->addTab(groups_, u("Distribučné skupiny - Cooper"));
    for (int i = 0; i < PageControl2->count(); ++i)
        PageControl2->setTabVisible(i, false);
    GroupBox1->setVisible(false);
}

void entry::CriteriaPage::buildCriterionBoxes(QLayout* boxes)
{
    for (int n = 1; n <= 15; ++n) {
        auto* box = new QCheckBox(u(BoxCaptions[n]));
        box->setObjectName(QStringLiteral("CheckBox%1").arg(n));
        boxes->addWidget(box);
        criterionBox_[static_cast<std::size_t>(n)] = box;
        // A change of the box, by the user or by the program, goes to the project and runs its
        // click handler.
        connect(box, &QCheckBox::toggled, this, [this, n](bool on) {
            context_.project.Choices.Ticked[static_cast<std::size_t>(n - 1)] = on;
            criterionBoxClicked(n);
        });
    }
    if (auto* v = qobject_cast<QVBoxLayout*>(boxes))
        v->addStretch(1);
}

std::array<const QObject*, 4> entry::CriteriaPage::parts() const
{
    return { this, settings_, groups_, relations_ };
}

QWidget* entry::CriteriaPage::addSheet(int number, const char* name, const char* caption)
{
    auto* sheet = new QWidget;
    sheet->setObjectName(name);
    PageControl2->addTab(sheet, u(caption));
    criterionSheet_[static_cast<std::size_t>(number)] = sheet;
    return sheet;
}

// The tabs in the order the user sees them; the frequency grid's sheet is made with the other
// two grids but comes late.
void entry::CriteriaPage::buildCriterionSheets()
{
    std::array<QWidget*, 3> gridSheets {};
    for (int k = 0; k < 3; ++k)
        gridSheets[static_cast<std::size_t>(k)] = buildValueGridSheet(k);
    PageControl2->addTab(gridSheets[0], u(ValueGrids[0].sheetCaption));
    PageControl2->addTab(gridSheets[1], u(ValueGrids[1].sheetCaption));

    // The criteria that relate places to each other fill these pages with their own entries.
    addSheet(3, "TabSheet3", "Vzdialenosti");
    buildRouteSheet(4, "TabSheet4", "Dĺžka distribučnej trasy", true);
    buildRouteSheet(5, "TabSheet5", "Čas distribúcie", false);
    addSheet(6, "TabSheet6", "Distribučná centrála");
    addSheet(7, "TabSheet7", "Distribučné sklady");
    buildSinglesSheet(8, "TabSheet8", "Čas nakl/vykl ", FirstLoadTime, 3, "GroupBox16", " Súčasné hodnoty ");
    buildSinglesSheet(
        9, "TabSheet9", "Kapacita skladov", FirstCapacity, 3, "GroupBox38", " Súčasné hodnoty ");
    addSheet(10, "TabSheet10", "Priorita miest ");
    buildSinglesSheet(VehicleSheet, "TabSheet11", "Dopravné prostriedky", 6, 3, "GroupBox39",
        " Súčasný stav dopravných prostriedkov ");
    criterionSheet_[12] = criterionSheet_[13] = criterionSheet_[VehicleSheet];
    PageControl2->addTab(gridSheets[2], u(ValueGrids[2].sheetCaption));
    buildSinglesSheet(15, "TabSheet13", "Počet miest v skupine", 9, 1, "GroupBox45", " Súčasná početnosť ");
    bindValueControls();
}

namespace {

// A control of the page by the name its table gives it; the tables and the sheets built from
// them name the same controls.
template <typename T> T* named(const QObject* page, const char* name)
{
    T* control = page->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(control != nullptr);
    return control;
}

} // namespace

// The route and single-value sheets are built from tables; their controls are taken once here
// and used by type from then on.
void entry::CriteriaPage::bindValueControls()
{
    for (bool routeLength : { true, false }) {
        const RouteSpec& s = routeLength ? RouteLength : DistributionTime;
        route_[routeLength ? 0 : 1]
            = { named<QGroupBox>(this, s.entryBox), named<QLineEdit>(this, s.entryEdit),
                  named<QPushButton>(this, s.entryOk), named<QGroupBox>(this, s.changeBox),
                  named<QLineEdit>(this, s.newEdit), named<QPushButton>(this, s.changeOk),
                  named<QLineEdit>(this, s.currentEdit), named<QPushButton>(this, s.allowButton) };
    }
    for (std::size_t i = 0; i < single_.size(); ++i) {
        const SingleSpec& s = Singles[i];
        single_[i] = { named<QGroupBox>(this, s.entryBox), named<QLineEdit>(this, s.edit),
            named<QPushButton>(this, s.ok), named<QLineEdit>(this, s.current) };
    }
}

// Quantity, price and supply frequency: one grid of the places each.
QWidget* entry::CriteriaPage::buildValueGridSheet(int k)
{
    const ValueGridSpec& g = ValueGrids[k];
    auto* sheet = new QWidget;
    sheet->setObjectName(g.sheet);
    criterionSheet_[static_cast<std::size_t>(g.box)] = sheet;
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

    // While the window is being destroyed (at program end after the project) the grid still
    // loses its focus; then nothing is committed.
    auto* events = new ValueGridEvents(grid, [this, k] {
        if (!context_.windowClosing())
            valueGridEvent(k);
    });
    grid->setItemDelegate(new ValueGridDelegate(grid, events));
    // An edit ended with Enter or by leaving the cell is a commit, unless abandoned with Escape.
    connect(grid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
        [this, k, events](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
            events->editorOpen = false;
            if (!context_.windowClosing() && hint != QAbstractItemDelegate::RevertModelCache)
                valueGridEvent(k);
        });
    return sheet;
}

// Route length and distribution time: an entry, then a change mode.
void entry::CriteriaPage::buildRouteSheet(int n, const char* name, const char* caption, bool routeLength)
{
    const RouteSpec& r = routeLength ? RouteLength : DistributionTime;
    QWidget* sheet = addSheet(n, name, caption);
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
    connect(changeOk, &QPushButton::clicked, this, [this, routeLength] { routeEntryOk(routeLength, true); });
    connect(allow, &QPushButton::clicked, this, [this, routeLength] { routeAllowChange(routeLength); });
}

// One entry box per value.
QGroupBox* entry::CriteriaPage::buildSingleBox(int i)
{
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
}

// The entry boxes of the values first..first+count-1, and their current values in a box of
// their own.
void entry::CriteriaPage::buildSinglesSheet(int n, const char* name, const char* caption, int first,
    int count, const char* currentName, const char* currentCaption)
{
    QWidget* sheet = addSheet(n, name, caption);
    auto* layout = new QHBoxLayout(sheet);
    auto* entries = new QVBoxLayout;
    for (int i = first; i < first + count; ++i)
        entries->addWidget(buildSingleBox(i));
    entries->addStretch(1);
    layout->addLayout(entries);
    auto* current = newBox(currentName, currentCaption);
    auto* g = new QVBoxLayout(current);
    for (int i = first; i < first + count; ++i) {
        auto* e = newEdit(Singles[i].current, true);
        // The current values of the two site pages are shown whenever their page is set up, so
        // those edits stay enabled and are only read.
        e->setEnabled(Singles[i].box == 8 || Singles[i].box == 9);
        g->addWidget(e);
    }
    g->addStretch(1);
    layout->addWidget(current);
    layout->addStretch(1);
}

// ---------------------------------------------------------------------------------------------
// Showing the sheets

void entry::CriteriaPage::showCriterionPage(QWidget* sheet, bool show)
{
    int index = PageControl2->indexOf(sheet);
    if (index < 0)
        return;
    auto& open = context_.project.State.OpenCriterionPages;
    if (show) {
        GroupBox1->setVisible(true);
        if (!PageControl2->isTabVisible(index)) {
            PageControl2->setTabVisible(index, true);
            ++open;
        }
    } else {
        if (PageControl2->isTabVisible(index)) {
            PageControl2->setTabVisible(index, false);
            open = std::max(0, open - 1);
        }
        if (open == 0)
            GroupBox1->setVisible(false);
    }
}

void entry::CriteriaPage::setCurrentCriterionPage(QWidget* sheet)
{
    PageControl2->setCurrentWidget(sheet);
}

void entry::CriteriaPage::replayCriteria()
{
    for (int b = 0; b < dorvan::CriterionCount; ++b) {
        // Byte 15 belongs to CheckBox17; CheckBox16 has no byte.
        const int number = b == dorvan::CritGroups ? 17 : b + 1;
        QCheckBox* box
            = number == 17 ? groups_->switchBox() : criterionBox_[static_cast<std::size_t>(number)];
        const bool ticked = context_.project.Record.tickedWhenOpened(static_cast<dorvan::Criterion>(b));
        box->setChecked(ticked); // a change runs the click handler as a user's click does
        if (!ticked)
            continue;
        runCriterionUpdate(number);
        GroupBox1->setVisible(true);
    }
}

// The quantity, price and flexibility pages list the places too; those that are ticked are
// rebuilt whenever the list changes, and so are the distance, depot and priority sheets.
void entry::CriteriaPage::rebuildPlaceValuePages()
{
    for (int number : { 1, 2, 14 })
        if (criterionBox_[static_cast<std::size_t>(number)]->isChecked())
            runCriterionUpdate(number);
    relations_->placesChanged();
}

// ---------------------------------------------------------------------------------------------
// The check boxes

void entry::CriteriaPage::criterionBoxClicked(int number)
{
    runCriterionUpdate(number);
    context_.pages.valuesChanged();
    // The three criteria that weigh the places change the allocation.
    if ((number == 1 || number == 2 || number == 14) && context_.host.cooperWindowOpen()
        && context_.project.Choices.SettingsOn)
        context_.project.changed(dorvan::ProjectChange::RunInputs);
}

// Every box switches its sheet; then the sheet is set up by its kind: the place grids (1, 2,
// 14), the relation sheets (3, 6, 7, 10), the route values (4, 5), the site values (8, 9) and
// the single values (11..13, 15).
void entry::CriteriaPage::runCriterionUpdate(int number)
{
    switch (number) {
    case 1:
    case 2:
    case 14:
        valuePage(number, number == 1 ? 0 : number == 2 ? 1 : 2);
        break;
    case 3:
        criterionSwitch(3);
        relations_->setDistanceEntry();
        break;
    case 6:
        criterionSwitch(6);
        relations_->setCentrePage();
        break;
    case 7:
        criterionSwitch(7);
        relations_->setDepotPage();
        break;
    case 10:
        criterionSwitch(10);
        relations_->setPriorityPage();
        break;
    case 4:
    case 5:
        if (criterionSwitch(number))
            setRouteEntry(number == 4);
        else
            criterionPageOff(number);
        break;
    case 8:
    case 9:
        criterionSwitch(number);
        siteValuesPage(number == 8);
        break;
    case 11:
    case 12:
    case 13:
    case 15:
        criterionSwitch(number);
        singleValuePage(number);
        break;
    case 16:
        settings_->ClickCheckBox16();
        break;
    case 17:
        groups_->ClickCheckBox17();
        break;
    default:
        break;
    }
}

// The common part of every criterion box. Byte number-1 mirrors the box; the page shows while
// the box is ticked. The vehicle page goes only when none of its three boxes is ticked.
// Returns whether the box is ticked.
bool entry::CriteriaPage::criterionSwitch(int number)
{
    const auto n = static_cast<std::size_t>(number);
    const bool on = criterionBox_[n]->isChecked();
    context_.project.Record.setCriterion(static_cast<dorvan::Criterion>(number - 1), on);
    bool keep = on;
    if (!on && number >= VehicleSheet && number <= 13)
        keep = criterionBox_[11]->isChecked() || criterionBox_[12]->isChecked()
            || criterionBox_[13]->isChecked();
    showCriterionPage(criterionSheet_[n], keep);
    return on;
}

void entry::CriteriaPage::criterionPageOff(int number)
{
    if (number == 1 || number == 2 || number == 14) {
        const int k = number == 1 ? 0 : number == 2 ? 1 : 2;
        valueGrid_[static_cast<std::size_t>(k)]->setEnabled(false);
    } else if (number == 4 || number == 5) {
        const RouteControls& r = routeControls(number == 4);
        r.entryBox->setEnabled(false);
        r.changeBox->setEnabled(false);
        for (QLineEdit* edit : { r.entryEdit, r.newEdit, r.currentEdit })
            setFieldColour(edit, Silver);
    }
}

// Quantity, price and frequency: the page becomes the active one and lists the places.
void entry::CriteriaPage::valuePage(int number, int kind)
{
    if (criterionSwitch(number)) {
        PageControl2->setCurrentWidget(criterionSheet_[static_cast<std::size_t>(number)]);
        fillValueGrid(kind);
    } else {
        criterionPageOff(number);
    }
}

// ---------------------------------------------------------------------------------------------
// Quantity, price and supply frequency

void entry::CriteriaPage::fillValueGrid(int kind)
{
    const ValueGridSpec& spec = ValueGrids[kind];
    QTableWidget* g = valueGrid_[static_cast<std::size_t>(kind)];
    const auto& r = context_.project.Record;
    const int n = std::clamp(context_.project.State.NextPlace - 1, 0, dorvan::MaxPlaceCount);
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

void entry::CriteriaPage::commitValueGrid(int kind)
{
    const ValueGridSpec& spec = ValueGrids[kind];
    QTableWidget* g = valueGrid_[static_cast<std::size_t>(kind)];
    const int n = std::clamp(
        std::min(context_.project.State.NextPlace - 1, g->rowCount() - 1), 0, dorvan::MaxPlaceCount);
    std::vector<std::string> cells;
    cells.reserve(static_cast<std::size_t>(n));
    for (int row = 1; row <= n; ++row)
        cells.push_back(cellText(g, row, ValueColumn).toStdString());
    const std::string separator = QLocale().decimalPoint().toStdString();
    const dorvan::PlaceValueCommit c
        = dorvan::commitPlaceValues(context_.project.Record, spec.kind, cells, separator);
    // A refused cell shows the stored value again: the user is told once and may leave it.
    for (int row : c.refused)
        g->item(row, ValueColumn)
            ->setText(QString::fromStdString(dorvan::placeValueText(context_.project.Record, spec.kind, row, separator)));
    if (c.stored > 0) {
        context_.pages.valuesChanged();
        context_.pages.refillPlaceRows();
    }
    if (!c.refused.empty())
        context_.dialogs.warn(this, u(spec.message));
}

void entry::CriteriaPage::valueGridEvent(int kind)
{
    if (!valueGrid_[static_cast<std::size_t>(kind)]->isEnabled())
        return;
    commitValueGrid(kind);
    if (context_.host.cooperWindowOpen() && context_.project.Choices.SettingsOn)
        context_.project.changed(dorvan::ProjectChange::RunInputs);
}

// ---------------------------------------------------------------------------------------------
// Route length and distribution time

void entry::CriteriaPage::setRouteEntry(bool routeLength)
{
    const RouteControls& rc = routeControls(routeLength);
    const std::int32_t state = routeLength ? context_.project.Record.RouteLengthState
                                           : context_.project.Record.DistributionTimeState;
    QGroupBox* entry = rc.entryBox;
    QLineEdit* edit = rc.entryEdit;
    QPushButton* ok = rc.entryOk;
    if (state != 0) {
        entry->setEnabled(false);
        edit->setEnabled(false);
        setFieldColour(edit, Silver);
        ok->setEnabled(false);
        rc.changeBox->setEnabled(true);
        rc.allowButton->setEnabled(true);
    } else {
        entry->setEnabled(true);
        edit->setEnabled(true);
        setFieldColour(edit, Qt::white);
        ok->setEnabled(true);
    }
}

void entry::CriteriaPage::routeEntryOk(bool routeLength, bool change)
{
    const RouteSpec& spec = routeLength ? RouteLength : DistributionTime;
    const RouteControls& rc = routeControls(routeLength);
    auto& r = context_.project.Record;
    QLineEdit* edit = change ? rc.newEdit : rc.entryEdit;
    const std::optional<double> v = dorvan::parseNonNegative(edit->text().toStdString());
    if (!v) {
        context_.dialogs.warn(this, u(spec.message));
        edit->clear();
        return;
    }
    (routeLength ? r.MaxRouteLength : r.MaxDistributionTime) = *v;
    context_.pages.valuesChanged();
    setFieldColour(edit, Silver);
    edit->setEnabled(false);
    if (change) {
        rc.changeOk->setEnabled(false);
        return;
    }
    rc.entryOk->setEnabled(false);
    rc.entryBox->setEnabled(false);
    rc.changeBox->setEnabled(true);
    rc.allowButton->setEnabled(true);
    (routeLength ? r.RouteLengthState : r.DistributionTimeState) = 2;
}

void entry::CriteriaPage::routeAllowChange(bool routeLength)
{
    const RouteControls& rc = routeControls(routeLength);
    QLineEdit* newValue = rc.newEdit;
    QLineEdit* current = rc.currentEdit;
    newValue->clear();
    current->clear();
    setFieldColour(newValue, Qt::white);
    newValue->setEnabled(true);
    current->setText(formatNumber(
        routeLength ? context_.project.Record.MaxRouteLength : context_.project.Record.MaxDistributionTime));
    rc.changeOk->setEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Single values

void entry::CriteriaPage::siteValuesPage(bool loadTimes)
{
    const int first = loadTimes ? FirstLoadTime : FirstCapacity;
    const auto& r = context_.project.Record;
    for (int i = first; i < first + 3; ++i) {
        const SingleSpec& s = Singles[i];
        const SingleControls& sc = single_[static_cast<std::size_t>(i)];
        sc.edit->setEnabled(false);
        setFieldColour(sc.edit, Silver);
        sc.ok->setEnabled(false);
        sc.current->clear();
        if (r.*(s.real) >= 0.0)
            sc.current->setText(formatNumber(r.*(s.real)));
        sc.entryBox->setEnabled(true);
    }
    if (!criterionBox_[loadTimes ? 8 : 9]->isChecked())
        return;
    const dorvan::SiteEntries open = dorvan::siteEntries(r, context_.project.State.PlaceCount);
    const bool entries[3] = { open.dc, open.ds, open.dm };
    for (int k = 0; k < 3; ++k) {
        if (!entries[k])
            continue;
        const SingleControls& sc = single_[static_cast<std::size_t>(first + k)];
        sc.edit->setEnabled(true);
        setFieldColour(sc.edit, Qt::white);
        sc.ok->setEnabled(true);
    }
}

void entry::CriteriaPage::singleValuePage(int number)
{
    const int i = singleIndexOf(number);
    if (i < 0)
        return;
    const SingleSpec& s = Singles[i];
    const SingleControls& sc = single_[static_cast<std::size_t>(i)];
    QGroupBox* box = sc.entryBox;
    QLineEdit* edit = sc.edit;
    QLineEdit* current = sc.current;
    QPushButton* ok = sc.ok;
    const auto& r = context_.project.Record;
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

void entry::CriteriaPage::singleValueOk(int entry)
{
    const SingleSpec& s = Singles[entry];
    const SingleControls& sc = single_[static_cast<std::size_t>(entry)];
    auto& r = context_.project.Record;
    QLineEdit* edit = sc.edit;
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
        context_.dialogs.warn(this, u(s.message));
        edit->clear();
        return;
    }
    context_.pages.valuesChanged();
    sc.current->setText(edit->text());
    edit->clear();
}
