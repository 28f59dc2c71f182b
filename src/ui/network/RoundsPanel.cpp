// " Okruhy ": the delivery rounds found on a thread of their own, listed beside the stars.
#include "ui/network/RoundsPanel.h"

#include "core/network/NetworkResults.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

RoundsPanel::RoundsPanel(dorvan::Project& project, std::function<void()> drawn, QWidget* parent)
    : QGroupBox(QString::fromUtf8(" Okruhy "), parent)
    , project_(project)
    , drawn_(std::move(drawn))
{
    setObjectName("RoundsBox");
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    RoundsCompute = new QPushButton(QString::fromUtf8("Vypočítať okruhy"));
    RoundsCompute->setObjectName("RoundsCompute");
    RoundsStop = new QPushButton(QString::fromUtf8("Zastaviť"));
    RoundsStop->setObjectName("RoundsStop");
    RoundsStop->setEnabled(false);
    RoundsProgress = new QProgressBar;
    RoundsProgress->setObjectName("RoundsProgress");
    RoundsProgress->setRange(0, 100);
    RoundsProgress->setValue(0);
    row->addWidget(RoundsCompute);
    row->addWidget(RoundsStop);
    row->addWidget(RoundsProgress, 1);
    column->addLayout(row);
    RoundsStatus = new QLabel;
    RoundsStatus->setObjectName("RoundsStatus");
    RoundsStatus->setWordWrap(true);
    RoundsStatus->setText(QString::fromUtf8("Okruhy vozidiel z centrály: „Vypočítať okruhy“."));
    column->addWidget(RoundsStatus);
    RoundsList = new QListWidget;
    RoundsList->setObjectName("RoundsList");
    RoundsList->setWordWrap(true);
    RoundsList->setMinimumWidth(360);
    column->addWidget(RoundsList, 1);
    connect(RoundsCompute, &QPushButton::clicked, this, [this] { compute(); });
    connect(RoundsStop, &QPushButton::clicked, this, [this] { stop(); });
}

RoundsPanel::~RoundsPanel()
{
    if (cancel_)
        cancel_->store(true);
    join();
}

void RoundsPanel::join()
{
    if (worker_.joinable())
        worker_.join();
}

void RoundsPanel::computeIfChanged()
{
    if (!searchedOnce_)
        return; // the search takes seconds: it waits for "Vypočítať okruhy" the first time
    dorvan::RoundsInput in = dorvan::roundsProblem(project_);
    if (in.refusal == searchedRefusal_ && (in.problem.has_value() == searchedProblem_.has_value())
        && (!in.problem || *in.problem == *searchedProblem_))
        return;
    if (!in.problem) {
        showRefusal(in.refusal);
        return;
    }
    start(std::move(*in.problem));
}

void RoundsPanel::compute()
{
    dorvan::RoundsInput in = dorvan::roundsProblem(project_);
    if (!in.problem) {
        showRefusal(in.refusal);
        return;
    }
    start(std::move(*in.problem));
}

void RoundsPanel::showRefusal(const std::string& refusal)
{
    stop();
    join();
    ++job_;
    searchedOnce_ = true;
    searchedProblem_.reset();
    searchedRefusal_ = refusal;
    finished_ = true;
    RoundsList->clear();
    RoundsStatus->setText(QString::fromStdString("Okruhy sa nedajú vypočítať: " + refusal));
    RoundsProgress->setValue(0);
    RoundsStop->setEnabled(false);
    project_.BestRounds = dorvan::RoundsTrace {};
    drawn_();
}

void RoundsPanel::stop()
{
    if (cancel_)
        cancel_->store(true);
}

void RoundsPanel::start(dorvan::RoundsProblem problem)
{
    stop();
    join();
    searchedOnce_ = true;
    searchedProblem_ = problem;
    searchedRefusal_.clear();
    const std::uint64_t job = ++job_;
    const std::string separator = QLocale().decimalPoint().toStdString();
    // Rounds the project's results keep for the same problem and options are shown as found.
    if (const auto kept = dorvan::networkResultsOf(project_).rounds(problem, options_, separator)) {
        searched(*kept, job);
        return;
    }
    finished_ = false;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    RoundsProgress->setValue(0);
    RoundsStop->setEnabled(true);
    RoundsStatus->setText(QString::fromUtf8("Hľadám okruhy ..."));
    // The rounds of other inputs are not drawn while the new ones are sought.
    project_.BestRounds = dorvan::RoundsTrace {};
    drawn_();
    // The search is the project's results' (which keep what it finds); the thread holds them
    // for as long as it searches.
    dorvan::networkResultsOf(project_);
    std::shared_ptr<dorvan::NetworkResults> results = project_.Networks;
    // The thread works on its own copy of the problem and posts to this object's thread; what
    // it posts to a panel that has gone is never delivered, and the panel waits for it.
    worker_ = std::thread(
        [this, problem = std::move(problem), job, cancel = cancel_, options = options_, separator, results] {
            try {
                dorvan::RoundsOptions o = options;
                o.cancel = cancel.get();
                int shown = -1;
                o.progress = [this, job, &shown](double done) {
                    const int percent = static_cast<int>(done * 100.0);
                    if (percent == shown)
                        return;
                    shown = percent;
                    QMetaObject::invokeMethod(
                        this, [this, percent, job] { progressed(percent, job); }, Qt::QueuedConnection);
                };
                const dorvan::RoundsPlan plan = *results->searchedRounds(problem, o, separator);
                QMetaObject::invokeMethod(
                    this, [this, plan, job] { searched(plan, job); }, Qt::QueuedConnection);
            } catch (...) {
                QMetaObject::invokeMethod(
                    this, [this, failure = std::current_exception(), job] { searchFailed(failure, job); },
                    Qt::QueuedConnection);
            }
        });
}

void RoundsPanel::progressed(int percent, std::uint64_t job)
{
    if (job == job_ && !finished_)
        RoundsProgress->setValue(percent);
}

void RoundsPanel::searched(const dorvan::RoundsPlan& plan, std::uint64_t job)
{
    if (job != job_ || !searchedProblem_)
        return;
    ended();
    RoundsProgress->setValue(plan.cancelled ? RoundsProgress->value() : 100);
    const std::string separator = QLocale().decimalPoint().toStdString();
    RoundsList->clear();
    for (const std::string& line : dorvan::roundsLines(*searchedProblem_, plan, separator))
        RoundsList->addItem(QString::fromStdString(line));
    RoundsStatus->setText(plan.missed.empty()
            ? QString::fromUtf8(
                plan.cancelled ? "Zastavené: najlepšie okruhy nájdené dovtedy." : "Okruhy vypočítané.")
            : QString::fromUtf8("Žiadne nájdené okruhy nedodržia všetky obmedzenia."));
    project_.BestRounds = dorvan::roundsTrace(*searchedProblem_, plan);
    drawn_();
}

void RoundsPanel::searchFailed(std::exception_ptr failure, std::uint64_t job)
{
    if (job != job_)
        return;
    ended();
    RoundsStatus->clear();
    std::rethrow_exception(failure);
}

void RoundsPanel::ended()
{
    finished_ = true;
    RoundsStop->setEnabled(false);
    join();
}
