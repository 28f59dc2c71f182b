// "Navrhnúť skupiny": the groups for a number of centres, found on a thread of its own, and the
// table of best totals by number of centres.
#include "ui/entry/EntryGroupProposal.h"

#include "core/common/DecimalText.h"
#include "ui/common/UserDialogs.h"
#include "core/project/Project.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The table lists 1 to this many centres.
constexpr int TableCentres = 8;

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
                  const std::atomic<bool>* cancel) { return dorvan::searchGroups(sites, options, cancel); })
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
    CentreTable->setMaximumHeight(190);
    column->addWidget(CentreTable);

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

void entry::GroupProposal::ProposeButtonClick()
{
    const auto centres = dorvan::parseWholeNumber(CentreCountEdit->text().trimmed().toStdString());
    std::vector<dorvan::GroupSite> sites = dorvan::groupingSites(context_.project);
    const int p = centres ? static_cast<int>(std::clamp<std::int64_t>(*centres, -1, 1000)) : -1;
    if (const auto problem = dorvan::groupSearchProblem(sites, p)) {
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

    const int tableTo = std::min(TableCentres, dorvan::maxCentres(static_cast<int>(sites_.size())));
    // The thread works on its own copy and posts each result to this object's thread; a result
    // posted to a window that has gone is never delivered, and the window waits for the thread.
    worker_ = std::thread([this, sites = sites_, p, tableTo, job, cancel = cancel_, search = search_] {
        try {
            const dorvan::GroupSearchOptions options { p, dorvan::DefaultGroupStarts, dorvan::DefaultGroupSeed };
            const dorvan::GroupSearchResult found = search(sites, options, cancel.get());
            QMetaObject::invokeMethod(
                this, [this, found, job] { searched(found, job); }, Qt::QueuedConnection);
            dorvan::CentreCountRow before;
            for (int k = 1; k <= tableTo && !cancel->load(); ++k) {
                long double total = 0.0L;
                if (k == 1)
                    total = dorvan::singleCentreTotal(sites);
                else if (k == p)
                    total = found.total;
                else
                    total = search(sites, { k, dorvan::DefaultGroupStarts, dorvan::DefaultGroupSeed },
                        cancel.get())
                                .total;
                const dorvan::CentreCountRow row
                    = dorvan::centreCountRow(k, total, k == 1 ? nullptr : &before);
                before = row;
                QMetaObject::invokeMethod(
                    this, [this, row, job] { tableRow(row, job); }, Qt::QueuedConnection);
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

void entry::GroupProposal::tableRow(const dorvan::CentreCountRow& row, std::uint64_t job)
{
    if (job != job_)
        return;
    const int r = CentreTable->rowCount();
    CentreTable->insertRow(r);
    CentreTable->setItem(r, 0, new QTableWidgetItem(QString::number(row.centres)));
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
