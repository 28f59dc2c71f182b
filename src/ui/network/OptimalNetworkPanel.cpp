// "Optimálna sieť": the exact star search on a thread of its own, its progress and its result.
#include "ui/network/OptimalNetworkPanel.h"

#include "core/common/DecimalText.h"
#include "ui/common/UserDialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

QString utf8(const std::string& s)
{
    return QString::fromStdString(s);
}

std::string separator()
{
    return QLocale().decimalPoint().toStdString();
}

// The same data: the places' names, the distances, the reach and the capacity.
bool sameData(const dorvan::StarWorkingCopy& a, const dorvan::StarWorkingCopy& b)
{
    return a.n == b.n && a.names == b.names && a.D0 == b.D0 && dorvan::starReach(a) == dorvan::starReach(b)
        && dorvan::starCapacity(a) == dorvan::starCapacity(b);
}

} // namespace

network::OptimalNetworkPanel::OptimalNetworkPanel(dorvan::UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , dialogs_(dialogs)
{
    setObjectName("OptimalNetworkPanel");
    OptimalButton = new QPushButton(QString::fromUtf8("Optimálna sieť"));
    OptimalButton->setObjectName("OptimalButton");
    auto* limitLabel = new QLabel(QString::fromUtf8("Časový limit (s):"));
    TimeLimitEdit = new QLineEdit(QString::number(static_cast<int>(dorvan::DefaultExactTimeLimit)));
    TimeLimitEdit->setObjectName("TimeLimitEdit");
    TimeLimitEdit->setMaximumWidth(60);
    StopButton = new QPushButton(QString::fromUtf8("Zastaviť"));
    StopButton->setObjectName("StopButton");
    StopButton->setEnabled(false);
    OptimalProgress = new QProgressBar;
    OptimalProgress->setObjectName("OptimalProgress");
    OptimalProgress->setRange(0, 1000);
    OptimalProgress->setValue(0);
    OptimalProgress->setTextVisible(false);
    OptimalProgress->setMaximumWidth(200);
    auto* graphLabel = new QLabel(QString::fromUtf8("Graf kreslí:"));
    GraphChoice = new QComboBox;
    GraphChoice->setObjectName("GraphChoice");
    GraphChoice->addItem(QString::fromUtf8("sieť heuristiky (Hviezda)"));
    GraphChoice->addItem(QString::fromUtf8("optimálnu sieť"));
    GraphChoice->setEnabled(false);
    OptimalStatus = new QLabel;
    OptimalStatus->setObjectName("OptimalStatus");
    OptimalLine = new QLabel;
    OptimalLine->setObjectName("OptimalLine");
    OptimalLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    OptimalList = new QListWidget;
    OptimalList->setObjectName("OptimalList");
    OptimalList->setMinimumWidth(300);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(OptimalButton);
    row->addWidget(limitLabel);
    row->addWidget(TimeLimitEdit);
    row->addWidget(StopButton);
    row->addWidget(OptimalProgress);
    row->addWidget(OptimalStatus, 1);
    row->addWidget(graphLabel);
    row->addWidget(GraphChoice);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row);
    column->addWidget(OptimalLine);

    clock_ = new QTimer(this);
    clock_->setInterval(250);
    connect(clock_, &QTimer::timeout, this, [this] { tick(); });
    connect(OptimalButton, &QPushButton::clicked, this, [this] { OptimalButtonClick(); });
    connect(TimeLimitEdit, &QLineEdit::returnPressed, this, [this] { OptimalButtonClick(); });
    connect(StopButton, &QPushButton::clicked, this, [this] { StopButtonClick(); });
    connect(GraphChoice, &QComboBox::currentIndexChanged, this, [this] {
        if (graphChanged_)
            graphChanged_();
    });
}

network::OptimalNetworkPanel::~OptimalNetworkPanel()
{
    stopSearch();
}

void network::OptimalNetworkPanel::stopSearch()
{
    ++job_; // what the thread has posted is dropped
    if (cancel_)
        cancel_->store(true);
    if (worker_.joinable())
        worker_.join();
    ended();
}

void network::OptimalNetworkPanel::setInputs(
    const dorvan::StarWorkingCopy& copy, const dorvan::StarSolution& heuristic)
{
    copy_ = copy;
    heuristic_ = heuristic;
    if (result_ && !sameData(solvedCopy_, copy_))
        clearResult();
    else if (result_)
        OptimalLine->setText(utf8(dorvan::comparisonLine(*result_, heuristic_, separator())));
}

std::optional<dorvan::StarSolution> network::OptimalNetworkPanel::graphSolution() const
{
    if (!result_ || GraphChoice->currentIndex() != 1)
        return std::nullopt;
    return dorvan::starSolutionOf(solvedCopy_, *result_);
}

void network::OptimalNetworkPanel::OptimalButtonClick()
{
    if (busy())
        return;
    const auto seconds = dorvan::parseWholeNumber(TimeLimitEdit->text().trimmed().toStdString());
    if (!seconds || *seconds < 1 || *seconds > 3600) {
        dialogs_.warn(this, QString::fromUtf8("Časový limit musí byť celé číslo od 1 do 3600 sekúnd !!!"));
        return;
    }
    if (worker_.joinable())
        worker_.join();
    limit_ = static_cast<double>(*seconds);
    searchedCopy_ = copy_;
    const std::uint64_t job = ++job_;
    finished_ = false;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    started_ = std::chrono::steady_clock::now();
    OptimalButton->setEnabled(false);
    TimeLimitEdit->setEnabled(false);
    StopButton->setEnabled(true);
    OptimalProgress->setValue(0);
    OptimalStatus->setText(QString::fromUtf8("Hľadá sa optimálna sieť ..."));
    clock_->start();
    // The thread works on its own copies and posts to this object's thread; a post to a panel
    // that has gone is never delivered, and the panel waits for its thread.
    worker_
        = std::thread([this, copy = copy_, heuristic = heuristic_, limit = limit_, job, cancel = cancel_] {
              try {
                  dorvan::ExactStarOptions options;
                  options.timeLimit = limit;
                  options.cancel = cancel.get();
                  options.progress = [this, job](const dorvan::ExactStarProgress& p) {
                      QMetaObject::invokeMethod(
                          this, [this, p, job] { progressed(p, job); }, Qt::QueuedConnection);
                  };
                  const dorvan::ExactStarResult r = dorvan::searchExactNetwork(copy, heuristic, options);
                  QMetaObject::invokeMethod(
                      this, [this, r, job] { searched(r, job); }, Qt::QueuedConnection);
              } catch (...) {
                  QMetaObject::invokeMethod(
                      this, [this, failure = std::current_exception(), job] { searchFailed(failure, job); },
                      Qt::QueuedConnection);
              }
          });
}

void network::OptimalNetworkPanel::StopButtonClick()
{
    if (cancel_)
        cancel_->store(true);
    StopButton->setEnabled(false);
    OptimalStatus->setText(QString::fromUtf8("Zastavuje sa ..."));
}

void network::OptimalNetworkPanel::tick()
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    OptimalProgress->setValue(std::clamp(static_cast<int>(seconds / limit_ * 1000.0), 0, 1000));
}

void network::OptimalNetworkPanel::progressed(const dorvan::ExactStarProgress& p, std::uint64_t job)
{
    if (job != job_ || finished_)
        return;
    const std::string sep = separator();
    const std::string time = " (" + std::to_string(static_cast<int>(p.seconds)) + " s)";
    if (p.phase == 1)
        OptimalStatus->setText(utf8("Najmenej hviezd: najlepšia sieť " + dorvan::starsText(p.bestStars)
            + ", dolná hranica " + std::to_string(p.boundStars) + time));
    else
        OptimalStatus->setText(utf8("Najmenšia dráha (" + dorvan::starsText(p.bestStars) + "): najlepšia "
            + dorvan::formatDecimal4(p.bestTotal, sep) + ", dolná hranica "
            + dorvan::formatDecimal4(p.boundTotal, sep) + time));
}

void network::OptimalNetworkPanel::searched(const dorvan::ExactStarResult& r, std::uint64_t job)
{
    if (job != job_)
        return;
    if (worker_.joinable())
        worker_.join();
    ended();
    if (!sameData(searchedCopy_, copy_)) {
        OptimalStatus->setText(
            QString::fromUtf8("Údaje siete sa počas hľadania zmenili: výsledok sa nepoužije."));
        return;
    }
    result_ = r;
    solvedCopy_ = searchedCopy_;
    OptimalStatus->setText(
        utf8("Hotovo za " + dorvan::formatDecimal4(std::round(r.seconds * 10.0) / 10.0, separator()) + " s"));
    showResult();
}

// The search ends as it would have ended, and its failure goes on to the application's guard.
void network::OptimalNetworkPanel::searchFailed(std::exception_ptr failure, std::uint64_t job)
{
    if (job != job_)
        return;
    if (worker_.joinable())
        worker_.join();
    ended();
    OptimalStatus->clear();
    std::rethrow_exception(failure);
}

void network::OptimalNetworkPanel::ended()
{
    finished_ = true;
    clock_->stop();
    OptimalButton->setEnabled(true);
    TimeLimitEdit->setEnabled(true);
    StopButton->setEnabled(false);
    OptimalProgress->setValue(OptimalProgress->maximum());
}

void network::OptimalNetworkPanel::showResult()
{
    OptimalList->clear();
    for (const std::string& l : dorvan::exactListLines(solvedCopy_, *result_, separator()))
        OptimalList->addItem(utf8(l));
    OptimalLine->setText(utf8(dorvan::comparisonLine(*result_, heuristic_, separator())));
    GraphChoice->setEnabled(true);
    if (graphChanged_)
        graphChanged_();
}

void network::OptimalNetworkPanel::clearResult()
{
    result_.reset();
    OptimalList->clear();
    OptimalLine->clear();
    const QSignalBlocker quiet(GraphChoice);
    GraphChoice->setCurrentIndex(0);
    GraphChoice->setEnabled(false);
}
