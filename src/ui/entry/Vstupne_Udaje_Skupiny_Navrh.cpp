// "Navrhnúť skupiny": the groups for a number of centres, found on a thread of its own, and the
// table of best totals by number of centres.
#include "ui/entry/EntryGroupProposal.h"

#include "core/common/DecimalText.h"
#include "core/entry/GroupEdits.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryCriterionBoxes.h"
#include "ui/entry/TwoListPicker.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The table lists 1 to this many centres, or to the number asked for when that is larger.
constexpr int TableCentres = 8;
// The height of the table and of the lists of existing centres beside it.
constexpr int TableHeight = 190;

using Side = entry::TwoListPicker::Side;

QString number(long double v)
{
    return entry::text(
        dorvan::formatDecimal4(static_cast<double>(v), QLocale().decimalPoint().toStdString()));
}

} // namespace

entry::GroupProposal::GroupProposal(const EntryContext& context, Apply apply)
    : QGroupBox(QString::fromUtf8(" Návrh skupín "))
    , context_(context)
    , apply_(std::move(apply))
    , search_([](std::span<const dorvan::GroupSite> sites, const dorvan::GroupSearchOptions& options,
                  const dorvan::GroupRules& rules, const std::atomic<bool>* cancel) {
        return dorvan::proposeGroups(sites, options, rules, cancel);
    })
{
    setObjectName("GroupProposalBox");
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QString::fromUtf8("Počet centier"));
    label->setObjectName("CentreCountLabel");
    CentreCountEdit = new QLineEdit("3");
    CentreCountEdit->setObjectName("CentreCountEdit");
    CentreCountEdit->setMaximumWidth(60);
    ProposeButton = new QPushButton(QString::fromUtf8("Navrhnúť skupiny"));
    ProposeButton->setObjectName("ProposeButton");
    row->addWidget(label);
    row->addWidget(CentreCountEdit);
    row->addWidget(ProposeButton);
    row->addStretch(1);
    column->addLayout(row);

    CentreTable = new QTableWidget(0, 3);
    CentreTable->setObjectName("CentreTable");
    CentreTable->setHorizontalHeaderLabels(
        { QString::fromUtf8("Počet centier"), QString::fromUtf8("Náklady"), QString::fromUtf8("Úspora") });
    CentreTable->verticalHeader()->setVisible(false);
    CentreTable->verticalHeader()->setDefaultSectionSize(CentreTable->fontMetrics().height() + 4);
    CentreTable->setWordWrap(false);
    CentreTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CentreTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    CentreTable->horizontalHeader()->setStretchLastSection(true);
    CentreTable->setMaximumHeight(TableHeight);

    fixedPicker_
        = new TwoListPicker({ "FixedCentresBox", "FixedPlacesBox", "FixedPlacesList", "FixedChosenBox",
                                "FixedCentresList", "FixedAddButton", "FixedRemoveButton" },
            { "", " Zoznam miest ", " Existujúce centrá " }, this);
    fixedPicker_->box()->setMaximumHeight(TableHeight + 30);
    fixedPicker_->setMove([this](Side from, int row, const dorvan::Text100& name) {
        moveFixedCentre(from == Side::Offered, row, name);
    });
    auto* lower = new QHBoxLayout;
    lower->addWidget(fixedPicker_->box(), 3);
    lower->addWidget(CentreTable, 2);
    column->addLayout(lower);

    connect(ProposeButton, &QPushButton::clicked, this, &GroupProposal::ProposeButtonClick);
    connect(CentreCountEdit, &QLineEdit::returnPressed, this, &GroupProposal::ProposeButtonClick);
}

entry::GroupProposal::~GroupProposal()
{
    stopSearch();
}

// Ends a running search; what it has posted and not yet delivered is dropped by its job number.
void entry::GroupProposal::stopSearch()
{
    if (cancel_)
        cancel_->store(true);
    if (worker_.joinable())
        worker_.join();
    if (cursorSet_) {
        QApplication::restoreOverrideCursor();
        cursorSet_ = false;
    }
    finished_ = true;
}

void entry::GroupProposal::showEvent(QShowEvent* event)
{
    QGroupBox::showEvent(event);
    // The places, the centre or its criterion may have changed on another page.
    showFixedCentres();
}

namespace {

// The existing centres as the picker shows them: the names' code-page bytes.
std::vector<dorvan::Text100> storedNames(const std::vector<std::string>& names)
{
    std::vector<dorvan::Text100> out;
    for (const std::string& name : names) {
        try {
            out.push_back(dorvan::Text100::fromUtf8(name));
        } catch (const std::exception&) {
            // A name of a place is always in the code page; any other matches no place.
        }
    }
    return out;
}

} // namespace

void entry::GroupProposal::showFixedCentres()
{
    const dorvan::TProjectRecord& r = context_.project.Record;
    const int n = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaces - 1);
    std::vector<dorvan::Text100> places;
    for (int i = 1; i <= n; ++i)
        if (std::find(places.begin(), places.end(), r.PlaceName[i]) == places.end())
            places.push_back(r.PlaceName[i]);
    std::vector<dorvan::Text100> fixed = storedNames(context_.project.Choices.ExistingCentres);
    std::erase_if(fixed, [&](const dorvan::Text100& name) {
        return std::find(places.begin(), places.end(), name) == places.end();
    });
    std::erase_if(places, [&](const dorvan::Text100& name) {
        return std::find(fixed.begin(), fixed.end(), name) != fixed.end();
    });
    // The central place is the first candidate for an existing centre.
    const auto central = std::find(places.begin(), places.end(), r.CentralName);
    if (ticked(context_.project, CriterionBox::Centre) && !r.CentralName.empty() && central != places.end())
        std::rotate(places.begin(), central, central + 1);
    fixedPicker_->show(places, fixed, !fixed.empty());
}

// A place chosen becomes the last existing centre; one sent back leaves its place in the list.
// The existing centres are the project's: saved with it, and a run serves a group that holds
// one from its place, so an open allocation window runs again.
void entry::GroupProposal::moveFixedCentre(bool in, int /*row*/, const dorvan::Text100& name)
{
    if (!dorvan::GroupEdits(context_.project).moveExistingCentre(name.toUtf8(), in))
        return;
    showFixedCentres();
    context_.pages.rerunIfCooperOpen();
}

dorvan::GroupRules entry::GroupProposal::rules(std::span<const dorvan::GroupSite> sites) const
{
    const dorvan::TProjectRecord& r = context_.project.Record;
    dorvan::GroupRules rules;
    for (const dorvan::Text100& name : storedNames(context_.project.Choices.ExistingCentres))
        for (int i = 1; i <= static_cast<int>(sites.size()); ++i)
            if (r.PlaceName[i] == name) {
                rules.fixed.push_back(i - 1);
                break;
            }
    rules.maxPlaces = dorvan::projectGroupSizeLimit(context_.project);
    return rules;
}

void entry::GroupProposal::ProposeButtonClick()
{
    const auto centres = dorvan::parseWholeNumber(CentreCountEdit->text().trimmed().toStdString());
    std::vector<dorvan::GroupSite> sites = dorvan::groupingSites(context_.project);
    const int p = centres ? static_cast<int>(std::clamp<std::int64_t>(*centres, -1, 1000)) : -1;
    showFixedCentres();
    const dorvan::GroupRules rules = this->rules(sites);
    if (const auto problem = dorvan::proposalProblem(sites, p, rules)) {
        context_.dialogs.warn(this, text(*problem));
        return;
    }
    stopSearch();
    sites_ = std::move(sites);
    CentreTable->setRowCount(0);
    const std::uint64_t job = ++job_;
    finished_ = false;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    cursorSet_ = true;

    const int tableTo
        = std::min(std::max(TableCentres, p), dorvan::maxCentres(static_cast<int>(sites_.size())));
    // The thread works on its own copy and posts each result to this object's thread; a result
    // posted to a window that has gone is never delivered, and the window waits for the thread.
    worker_ = std::thread([this, sites = sites_, p, rules, tableTo, job, cancel = cancel_, search = search_] {
        try {
            const auto options = [](int k) {
                return dorvan::GroupSearchOptions { k, dorvan::DefaultGroupStarts, dorvan::DefaultGroupSeed };
            };
            const dorvan::GroupSearchResult found = search(sites, options(p), rules, cancel.get());
            QMetaObject::invokeMethod(
                this, [this, found, job] { searched(found, job); }, Qt::QueuedConnection);
            const auto total = [&](int k) {
                return k == p ? found.total : search(sites, options(k), rules, cancel.get()).total;
            };
            std::optional<dorvan::CentreCountRow> before;
            for (int k = 1; k <= tableTo && !cancel->load(); ++k) {
                const dorvan::CentreCountEntry entry
                    = dorvan::centreCountEntry(sites, k, rules, before ? &*before : nullptr, total);
                if (entry.refusal)
                    before.reset();
                else
                    before = entry.row;
                QMetaObject::invokeMethod(
                    this,
                    [this, row = entry.row, refusal = entry.refusal.value_or(""), job] {
                        tableRow(row, refusal, job);
                    },
                    Qt::QueuedConnection);
            }
        } catch (...) {
            // Nothing may leave the thread: the failure goes to the window's thread, whose
            // event delivery shows it.
            QMetaObject::invokeMethod(
                this, [this, failure = std::current_exception(), job] { searchFailed(failure, job); },
                Qt::QueuedConnection);
            return;
        }
        QMetaObject::invokeMethod(
            this, [this, job] { searchEnded(job); }, Qt::QueuedConnection);
    });
}

void entry::GroupProposal::searched(const dorvan::GroupSearchResult& result, std::uint64_t job)
{
    if (job != job_ || result.cancelled || result.groups.empty())
        return;
    // Places edited while the search ran: its groups belong to places that are no more.
    const std::vector<dorvan::GroupSite> now = dorvan::groupingSites(context_.project);
    const bool same = std::equal(now.begin(), now.end(), sites_.begin(), sites_.end(),
        [](const dorvan::GroupSite& a, const dorvan::GroupSite& b) {
            return a.name == b.name && a.x == b.x && a.y == b.y && a.weight == b.weight;
        });
    if (!same || context_.windowClosing())
        return;
    apply_(dorvan::groupListLines(result, sites_), result.centres);
}

void entry::GroupProposal::tableRow(
    const dorvan::CentreCountRow& row, const std::string& refusal, std::uint64_t job)
{
    if (job != job_)
        return;
    const int r = CentreTable->rowCount();
    CentreTable->insertRow(r);
    auto* centresItem = new QTableWidgetItem(QString::number(row.centres));
    CentreTable->setItem(r, 0, centresItem);
    if (!refusal.empty()) {
        // No grouping keeps the rules with this many centres: the row says why in its tooltip.
        centresItem->setToolTip(text(refusal));
        CentreTable->setItem(r, 1, new QTableWidgetItem(QString()));
        CentreTable->setItem(r, 2, new QTableWidgetItem(QString()));
        return;
    }
    CentreTable->setItem(r, 1, new QTableWidgetItem(number(row.total)));
    QString saving;
    if (row.saving) {
        const long double previous = row.total + *row.saving;
        saving = number(*row.saving);
        if (previous > 0.0L)
            saving += QString(" (%1 %)").arg(
                QLocale().toString(static_cast<double>(*row.saving / previous * 100.0L), 'f', 1));
    }
    auto* savingItem = new QTableWidgetItem(saving);
    savingItem->setToolTip(saving); // a narrow sheet may cut the column
    CentreTable->setItem(r, 2, savingItem);
}

void entry::GroupProposal::searchEnded(std::uint64_t job)
{
    if (job != job_)
        return;
    if (worker_.joinable())
        worker_.join();
    finished_ = true;
    if (cursorSet_) {
        QApplication::restoreOverrideCursor();
        cursorSet_ = false;
    }
}

// The search ends as it would have ended, and its failure is thrown on to the application's
// guard, which shows it once; a failure of a search already replaced is dropped with it.
void entry::GroupProposal::searchFailed(std::exception_ptr failure, std::uint64_t job)
{
    if (job != job_)
        return;
    searchEnded(job);
    std::rethrow_exception(failure);
}

std::vector<std::vector<std::string>> entry::GroupProposal::costTable() const
{
    std::vector<std::vector<std::string>> table;
    if (CentreTable->rowCount() == 0)
        return table;
    table.emplace_back();
    for (int c = 0; c < CentreTable->columnCount(); ++c) {
        const QTableWidgetItem* h = CentreTable->horizontalHeaderItem(c);
        table.back().push_back(h != nullptr ? h->text().toStdString() : std::string());
    }
    for (int r = 0; r < CentreTable->rowCount(); ++r) {
        table.emplace_back();
        for (int c = 0; c < CentreTable->columnCount(); ++c) {
            const QTableWidgetItem* item = CentreTable->item(r, c);
            table.back().push_back(item != nullptr ? item->text().toStdString() : std::string());
        }
    }
    return table;
}
