// The run driver of the allocation window: one centre for all places, or one per distribution
// group; the result lists, the panel widths and the drawing calls.
#include "allocation/Cooperova_Metoda.h"

#include "allocation/CooperRunText.h"
#include "common/UserDialogs.h"
#include "entry/GroupList.h"
#include "entry/PlaceList.h"
#include "project/Project.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>

#include <algorithm>
#include <exception>

namespace {

// The smallest drawing area a run computes for; below it the window is enlarged instead.
constexpr int MinRunImageSide = 120;
// The window's client size for a too small drawing area: the two lists plus this much wide.
constexpr int RunFallbackExtraWidth = 200;
constexpr int RunFallbackHeight = 200;
// GroupBox2 in a group run, by whether group 1 was solved.
constexpr int GroupCentresWidth = 300;
constexpr int GroupWarningWidth = 200;
// GroupBox5 is 5 pixels wider than the two lists inside it.
constexpr int ListsGap = 5;
// Catch-up runs after a run that was asked for again while it went.
constexpr int MaxCatchUpRuns = 2;

QString q(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// A member line back into a stored name for the lookup. Lines come from place names, so they
// convert; one that does not matches no place.
dorvan::Text100 memberName(const std::string& line)
{
    try {
        return dorvan::Text100::fromUtf8(line);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

QString TCooperAlokMetod::separator() const
{
    return QLocale().decimalPoint();
}

void TCooperAlokMetod::SpustiCooper()
{
    if (running_) {
        rerunPending_ = true;
        return;
    }
    running_ = true;
    for (int pass = 0; pass <= MaxCatchUpRuns; ++pass) {
        rerunPending_ = false;
        try {
            runOnce();
        } catch (const std::exception& e) {
            dialogs_.error(this, QString::fromUtf8(e.what()));
        }
        if (!rerunPending_)
            break;
    }
    rerunPending_ = false;
    running_ = false;
}

void TCooperAlokMetod::runOnce()
{
    if (!inputs_->settingsOn())
        return;
    ImageWidth = Image1Area->width();
    ImageHeight = Image1Area->height();
    if (ImageWidth < MinRunImageSide || ImageHeight < MinRunImageSide) {
        resizeClient(width1_ + width2_ + RunFallbackExtraWidth, RunFallbackHeight);
        return;
    }

    const int n = std::clamp(project_.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    dorvan::VstupUdajCMStavCreate(
        state_, project_.Record, n, inputs_->quantityOn(), inputs_->priceOn(), inputs_->flexibilityOn());
    ListBox1->clear();
    ListBox2->clear();
    warnedThisRun_.clear();
    historyFullGroups_.clear();

    if (inputs_->groupsOn() && !inputs_->groupLines().empty())
        groupRun();
    else
        oneCentreRun();
    showRunNotice();
}

void TCooperAlokMetod::oneCentreRun()
{
    takeReport(dorvan::PocitajCooper(state_, inputs_->settings()), 0);
    oneCentreFinal_ = state_.FinalIter;
    Edit1->show();

    const std::string sep = separator().toStdString();
    const std::vector<std::string> path
        = dorvan::iterationLines(state_.IterX, state_.IterY, state_.FinalIter, sep);
    for (std::size_t i = 0; i < path.size(); ++i) {
        ListBox1->addItem(q(path[i]));
        width2_ = i == 0 ? dorvan::textPanelWidth(path[i]) : dorvan::fitPanelWidth(width2_, path[i]);
    }
    Edit1->setText(q(dorvan::optimumLine(state_.IterX, state_.IterY, state_.FinalIter, sep)));

    ListBox2->clear();
    const auto& r = project_.Record;
    const int n = std::clamp(project_.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    for (int i = 1; i <= n; ++i) {
        const std::string line = dorvan::placeLine(
            dataMode(), i, dorvan::displayName(r.PlaceName[i]), r.PlaceX[i], r.PlaceY[i], sep);
        ListBox2->addItem(q(line));
        width1_ = i == 1 ? dorvan::textPanelWidth(line) : dorvan::fitPanelWidth(width1_, line);
    }

    width5_ = width1_ + width2_ + ListsGap + (GroupBox5->width() - GroupBox5->contentsRect().width());
    layOutPanels();

    if (inPictureMode() && RadioButton1->isChecked() && r.PictureWidth > 0 && r.PictureHeight > 0)
        KresliGrafMapaCooper();
    else
        KresliGrafCooper();
}

void TCooperAlokMetod::groupRun()
{
    Edit1->hide();
    const int groups = dorvan::groupCountFromText(inputs_->groupCountText().toStdString());
    state_.GroupMemberTotal = 0;

    // The place panel is measured for the longest line a place could take.
    const std::string sep = separator().toStdString();
    const auto& r = project_.Record;
    const int n = std::clamp(project_.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    width1_ = dorvan::textPanelWidth(dorvan::groupHeader(groups));
    for (int i = 1; i <= n; ++i)
        width1_ = dorvan::fitPanelWidth(width1_,
            dorvan::placeLine(dorvan::ChartDataMode::Manual, i, dorvan::displayName(r.PlaceName[i]),
                r.PlaceX[i], r.PlaceY[i], sep));
    if (groups <= 0)
        return;

    const std::vector<std::string> lines = inputs_->groupLines();
    const bool overPicture = inPictureMode() && RadioButton1->isChecked();
    for (int g = 1; g <= groups; ++g) {
        state_.GroupNo = g;
        const std::vector<std::string> members = dorvan::groupMembers(lines, g);
        const int size = static_cast<int>(members.size());
        state_.GroupSize = size;
        state_.GroupMemberTotal += size;
        for (int k = 1; k <= size; ++k)
            state_.GroupMemberName[k] = memberName(members[static_cast<std::size_t>(k - 1)]);

        if (size >= dorvan::MinGroupMembers) {
            takeReport(dorvan::PocitajCooperSkupiny(state_, inputs_->settings()), g);
            const int f = state_.FinalIter;
            const std::string line
                = dorvan::groupOptimumLine(g, state_.GroupIterX[f], state_.GroupIterY[f], sep);
            ListBox1->addItem(q(line));
            width2_ = g == 1 ? GroupCentresWidth : dorvan::fitPanelWidth(width2_, line);
        } else {
            warnOnce(q(dorvan::tooFewMembersMessage(g)));
            if (g == 1)
                width2_ = GroupWarningWidth;
            // The members are still looked up, to be listed and drawn.
            if (size >= 1)
                takeReport(dorvan::PocitajCooperSkupiny(state_, inputs_->settings()), g);
        }

        ListBox2->addItem(q(dorvan::groupHeader(g)));
        if (size < 1)
            continue;
        const int first = state_.GroupMemberTotal - size;
        for (int k = 1; k <= size; ++k)
            ListBox2->addItem(q(dorvan::memberLine(first + k, members[static_cast<std::size_t>(k - 1)],
                state_.GroupMemberFound[k], state_.GroupMemberX[k], state_.GroupMemberY[k], sep)));
        if (g == 1) {
            width5_ = width1_ + width2_ + ListsGap + (GroupBox5->width() - GroupBox5->contentsRect().width());
            layOutPanels();
            if (overPicture)
                KresliGrafMapaCooperSkupiny1();
            else
                KresliGrafCooperSkupiny1();
        }
        if (overPicture)
            KresliGrafMapaCooperSkupiny2();
        else
            KresliGrafCooperSkupiny2();
    }
}

// The solver's messages are shown once a run, and the fields it complained about are put back
// to their defaults before the next group reads them.
void TCooperAlokMetod::takeReport(const dorvan::CooperReport& report, int groupNo)
{
    for (const std::string& message : report.messages)
        warnOnce(q(message));
    if (report.precisionReset)
        inputs_->resetPrecision();
    if (report.correctionReset)
        inputs_->resetCorrection();
    if (report.historyFull)
        historyFullGroups_.push_back(groupNo);
}

void TCooperAlokMetod::warnOnce(const QString& text)
{
    if (warnedThisRun_.insert(text).second)
        dialogs_.warn(this, text);
}

// A run that used up the history says so in the status line under the lists, without a box
// to answer: runs repeat on every edit of the data, and the result is still shown and drawn.
// The line goes away with the next run that reaches its precision.
void TCooperAlokMetod::showRunNotice()
{
    if (historyFullGroups_.empty()) {
        RunNotice->clear();
        RunNotice->hide();
    } else {
        QString text = q(std::string(dorvan::HistoryFullNotice));
        QStringList groups;
        for (int g : historyFullGroups_)
            if (g > 0)
                groups << QString::number(g);
        if (!groups.isEmpty())
            text += QStringLiteral(" (SKUPINA ") + groups.join(QStringLiteral(", ")) + QLatin1Char(')');
        RunNotice->setText(text);
        RunNotice->show();
    }
    layOutPanels();
}
