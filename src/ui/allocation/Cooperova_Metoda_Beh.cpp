// The run driver of the allocation window: one centre for all places, or one per distribution
// group. The result and the list texts are the core's: the project's allocation result, made
// once for the same inputs (AllocationResults); a run here shows it as the run told it, group
// by group with its warnings in between, fills the lists, sizes the panels and draws.
#include "ui/allocation/Cooperova_Metoda.h"

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/allocation/CooperRunText.h"
#include "core/entry/GroupList.h"
#include "core/entry/PlaceList.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>
#include <QStringList>

#include <algorithm>
#include <exception>

namespace {

// The smallest drawing area a run computes for; below it the window is enlarged instead.
constexpr int MinRunImageSide = 120;
// The window's client size for a too small drawing area: the two lists plus this much wide.
constexpr int RunFallbackExtraWidth = 200;
constexpr int RunFallbackHeight = 200;
// The results panel is 5 pixels wider than the two lists inside it.
constexpr int ListsGap = 5;
// Catch-up runs after a run that was asked for again while it went.
constexpr int MaxCatchUpRuns = 2;
// The path box in a group run, by whether group 1 was solved.
constexpr int GroupCentresWidth = 300;
constexpr int GroupWarningWidth = 200;

// The width of a panel for its longest line; a panel without lines keeps its width.
int widestLine(const std::vector<std::string>& lines, int current)
{
    if (lines.empty())
        return current;
    int width = 0;
    for (const std::string& line : lines)
        width = std::max(width, dorvan::textPanelWidth(line));
    return width;
}

QString q(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// Adds the lines a list does not show yet: a group run lists group by group.
void appendNew(QListWidget* list, const std::vector<std::string>& lines)
{
    for (std::size_t i = static_cast<std::size_t>(list->count()); i < lines.size(); ++i)
        list->addItem(q(lines[i]));
}

} // namespace

const dorvan::CooperState& TCooperAlokMetod::solverState() const
{
    static const dorvan::CooperState none;
    return shown_ ? shown_->state : none;
}

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

// The panels are as wide as their longest line (7 pixels a character and 10 more). In a group
// run the place panel is measured for the longest line a place could take, and the path panel
// starts at 300 pixels when group 1 has a centre, at 200 when it has too few members; with no
// group listed it stays as it was.
void TCooperAlokMetod::takeWidths(const dorvan::CooperRunResult& soFar)
{
    const std::string sep = separator().toStdString();
    if (!soFar.groupRun) {
        placesWidth_ = widestLine(soFar.placeLines, placesWidth_);
        pathWidth_ = widestLine(soFar.pathLines, pathWidth_);
        return;
    }
    const auto& r = project_.Record;
    std::vector<std::string> longest { dorvan::groupHeader(soFar.groupCount) };
    for (int i = 1; i <= dorvan::runPlaceCount(project_.State.PlaceCount); ++i)
        longest.push_back(dorvan::placeLine(dorvan::ChartDataMode::Manual, i,
            dorvan::displayName(r.PlaceName[i]), r.PlaceX[i], r.PlaceY[i], sep));
    placesWidth_ = widestLine(longest, placesWidth_);
    if (soFar.groups.empty())
        return;
    // Group 1's centre, when it has one, is the first path line and fits the 300 pixels; the
    // line of an existing centre, which names its place, is measured as well.
    const bool firstSolved = soFar.groups.front().solved;
    const bool firstIterated = firstSolved && soFar.groups.front().existingCentre.empty();
    pathWidth_ = firstSolved ? GroupCentresWidth : GroupWarningWidth;
    for (std::size_t i = firstIterated ? 1 : 0; i < soFar.pathLines.size(); ++i)
        pathWidth_ = std::max(pathWidth_, dorvan::textPanelWidth(soFar.pathLines[i]));
}

// What the run driver tells the window while it runs: its warnings, the settings it put back to
// their defaults, and each group as soon as it is listed.
dorvan::CooperRunCallbacks TCooperAlokMetod::runCallbacks(bool overPicture)
{
    dorvan::CooperRunCallbacks callbacks;
    callbacks.warn = [this](const std::string& text) {
        if (groupWarnings_.shows(text))
            dialogs_.warn(this, q(text));
    };
    // A text the run complained about goes back to its default in the project, and the
    // settings page shows it.
    callbacks.resetPrecision = [this] {
        project_.Choices.Settings.precisionText = dorvan::DefaultPrecisionText;
        project_.changed(dorvan::ProjectChange::Settings);
    };
    callbacks.resetCorrection = [this] {
        project_.Choices.Settings.correctionText = dorvan::DefaultCorrectionText;
        project_.changed(dorvan::ProjectChange::Settings);
    };
    // Each group is drawn as soon as it is listed: the state holds only the current group.
    callbacks.groupListed = [this, overPicture](const dorvan::CooperRunResult& soFar, int groupNo) {
        appendNew(pathList, soFar.pathLines);
        appendNew(placeList, soFar.placeLines);
        takeWidths(soFar);
        if (groupNo == 1) {
            panelWidth_ = placesWidth_ + pathWidth_ + ListsGap
                + (resultsPanel->width() - resultsPanel->contentsRect().width());
            layOutPanels();
            if (overPicture)
                KresliGrafMapaCooperSkupiny1();
            else
                KresliGrafCooperSkupiny1();
        }
        if (overPicture)
            KresliGrafMapaCooperSkupiny2(soFar.groups.back());
        else
            KresliGrafCooperSkupiny2(soFar.groups.back());
    };
    return callbacks;
}

void TCooperAlokMetod::runOnce()
{
    if (!settingsOn())
        return;
    // Over the picture the drawing area was last sized to the picture; the run is measured on
    // the frame it is sized in, as the result choice's handlers place it.
    if (inPictureMode() && withPictureButton->isChecked())
        placeImage(ImagePlacement::FrameLess);
    ImageWidth = drawingArea->width();
    ImageHeight = drawingArea->height();
    if (ImageWidth < MinRunImageSide || ImageHeight < MinRunImageSide) {
        resizeClient(placesWidth_ + pathWidth_ + RunFallbackExtraWidth, RunFallbackHeight);
        return;
    }

    const std::shared_ptr<const dorvan::AllocationResult> result
        = dorvan::allocationsOf(project_).of(project_, separator().toStdString());
    const dorvan::CooperRunInputs& in = result->inputs;
    groupWarnings_.startRun(in);
    pathList->clear();
    placeList->clear();
    historyFullGroups_.clear();
    const bool groups = dorvan::isGroupRun(in);
    if (groups)
        optimumEdit->hide();
    const bool overPicture = inPictureMode() && withPictureButton->isChecked();

    shown_ = result;
    if (!groups)
        oneCentre_ = result;
    dorvan::replayAllocation(*result, runCallbacks(overPicture));
    const dorvan::CooperRunResult& res = result->run;
    appendNew(pathList, res.pathLines);
    appendNew(placeList, res.placeLines);
    takeWidths(res);
    historyFullGroups_ = res.historyFullGroups;
    ungroupedPlaces_ = res.ungroupedPlaces;
    ++runsMade_;
    showCertificate(res);
    showPosition(res);
    showCandidates(*result);

    if (groups)
        rememberGroupDrawing(res, overPicture);
    else
        showOneCentreResult(res, overPicture);
    showRunNotice();
}

// What the zoom draws again after a group run: the background and every group.
void TCooperAlokMetod::rememberGroupDrawing(const dorvan::CooperRunResult& res, bool overPicture)
{
    rememberDrawing(overPicture ? dorvan::ResultDrawing::Kind::Map : dorvan::ResultDrawing::Kind::Chart);
    drawn_.groupRun = true;
    drawn_.groups = res.groups;
    if (const std::vector<double>* levels = groupContourLevels())
        drawn_.groupContourPercents = *levels;
}

void TCooperAlokMetod::showOneCentreResult(const dorvan::CooperRunResult& res, bool overPicture)
{
    optimumEdit->show();
    optimumEdit->setText(q(res.optimumText));
    panelWidth_ = placesWidth_ + pathWidth_ + ListsGap
        + (resultsPanel->width() - resultsPanel->contentsRect().width());
    layOutPanels();
    if (overPicture && project_.Record.PictureWidth > 0 && project_.Record.PictureHeight > 0)
        KresliGrafMapaCooper();
    else
        KresliGrafCooper();
}

// A run that used up the history says so in the status line under the lists, without a box
// to answer: runs repeat on every edit of the data, and the result is still shown and drawn.
// The line goes away with the next run that reaches its precision.
void TCooperAlokMetod::showRunNotice()
{
    QStringList lines;
    for (const std::string& line :
        { dorvan::runNoticeText(historyFullGroups_), dorvan::ungroupedText(ungroupedPlaces_) })
        if (!line.empty())
            lines << q(line);
    const QString text = lines.join('\n');
    RunNotice->setText(text);
    RunNotice->setVisible(!text.isEmpty());
    layOutPanels();
}
