// The run driver of the allocation window: one centre for all places, or one per distribution
// group. The result and the list texts are the core's: the project's allocation result, made
// once for the same inputs (AllocationResults); a run here shows it as the run told it, group
// by group with its warnings in between, fills the lists, sizes the panels and draws.
#include "ui/allocation/Cooperova_Metoda.h"

#include "core/allocation/AllocationResult.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/entry/ProjectEdits.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"

#include <QGroupBox>
#include <QRadioButton>

#include <exception>

namespace {

// The smallest drawing area a run computes for; below it the window is enlarged instead.
constexpr int MinRunImageSide = 120;
// The window's client size for a too small drawing area: the two lists plus this much wide.
constexpr int RunFallbackExtraWidth = 200;
constexpr int RunFallbackHeight = 200;
// Catch-up runs after a run that was asked for again while it went.
constexpr int MaxCatchUpRuns = 2;

} // namespace

const dorvan::CooperState& TCooperAlokMetod::solverState() const
{
    static const dorvan::CooperState none;
    return shown_ ? shown_->state : none;
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

// What the run told as it went, told the window again: its warnings, the settings it put back
// to their defaults, and each group as soon as it is listed.
dorvan::CooperRunCallbacks TCooperAlokMetod::runCallbacks(bool overPicture)
{
    dorvan::CooperRunCallbacks callbacks;
    callbacks.warn = [this](const std::string& text) {
        if (groupWarnings_.shows(text))
            dialogs_.warn(this, QString::fromStdString(text));
    };
    // A text the run complained about goes back to its default in the project, with the edit
    // that led to the run, and the settings page shows it.
    callbacks.resetPrecision = [this] { dorvan::ProjectEdits(project_).resetPrecision(); };
    callbacks.resetCorrection = [this] { dorvan::ProjectEdits(project_).resetCorrection(); };
    // Each group is drawn as soon as it is listed, over what the groups before it left.
    callbacks.groupListed = [this, overPicture](const dorvan::CooperRunResult& soFar, int groupNo) {
        lists_->append(soFar);
        lists_->takeWidths(soFar, project_, dorvan::allocation::decimalSeparator());
        if (groupNo == 1) {
            panelWidth_ = lists_->placesWidth() + lists_->pathWidth()
                + dorvan::allocation::ResultLists::ListsGap
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
    if (!dorvan::allocation::settingsOn(project_))
        return;
    // Over the picture the drawing area was last sized to the picture; the run is measured on
    // the frame it is sized in, as the result choice's handlers place it.
    const bool overPicture = drawsOverPicture();
    if (overPicture)
        placeImage(ImagePlacement::FrameLess);
    ImageWidth = drawingArea->width();
    ImageHeight = drawingArea->height();
    if (ImageWidth < MinRunImageSide || ImageHeight < MinRunImageSide) {
        resizeClient(lists_->placesWidth() + lists_->pathWidth() + RunFallbackExtraWidth, RunFallbackHeight);
        return;
    }

    const std::string sep = dorvan::allocation::decimalSeparator();
    const std::shared_ptr<const dorvan::AllocationResult> result
        = dorvan::allocationsOf(project_).of(project_, sep);
    const bool groups = dorvan::isGroupRun(result->inputs);
    groupWarnings_.startRun(result->inputs);
    lists_->startRun(groups);
    shown_ = result;
    if (!groups)
        oneCentre_ = result;
    dorvan::replayAllocation(*result, runCallbacks(overPicture));
    const dorvan::CooperRunResult& res = result->run;
    lists_->append(res);
    lists_->takeWidths(res, project_, sep);
    ++runsMade_;
    lists_->showResult(*result, project_.Record, sep);

    if (groups) {
        // What the zoom draws again after a group run: the background and every group.
        rememberDrawing(overPicture ? dorvan::ResultDrawing::Kind::Map : dorvan::ResultDrawing::Kind::Chart);
        drawn_.groupRun = true;
        drawn_.groups = res.groups;
        if (const std::vector<double>* levels = options_->contourLevels())
            drawn_.groupContourPercents = *levels;
    } else {
        lists_->showOptimum(QString::fromStdString(res.optimumText));
        panelWidth_ = lists_->placesWidth() + lists_->pathWidth() + dorvan::allocation::ResultLists::ListsGap
            + (resultsPanel->width() - resultsPanel->contentsRect().width());
        layOutPanels();
        if (overPicture && project_.Record.PictureWidth > 0 && project_.Record.PictureHeight > 0)
            KresliGrafMapaCooper();
        else
            KresliGrafCooper();
    }
    layOutPanels();
}
