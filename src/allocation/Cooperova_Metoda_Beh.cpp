// The run driver of the allocation window: one centre for all places, or one per distribution
// group. The computing and the list texts are the core's (CooperRunDriver); here the lists are
// filled, the panels sized and the drawings called.
#include "allocation/Cooperova_Metoda.h"

#include "allocation/CooperRunDriver.h"
#include "common/UserDialogs.h"
#include "project/Project.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>

#include <exception>

namespace {

// The smallest drawing area a run computes for; below it the window is enlarged instead.
constexpr int MinRunImageSide = 120;
// The window's client size for a too small drawing area: the two lists plus this much wide.
constexpr int RunFallbackExtraWidth = 200;
constexpr int RunFallbackHeight = 200;
// GroupBox5 is 5 pixels wider than the two lists inside it.
constexpr int ListsGap = 5;
// Catch-up runs after a run that was asked for again while it went.
constexpr int MaxCatchUpRuns = 2;

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

dorvan::CooperRunInputs TCooperAlokMetod::runInputs() const
{
    dorvan::CooperRunInputs in;
    in.quantityOn = inputs_->quantityOn();
    in.priceOn = inputs_->priceOn();
    in.flexibilityOn = inputs_->flexibilityOn();
    in.groupsOn = inputs_->groupsOn();
    if (in.groupsOn) {
        in.groupLines = inputs_->groupLines();
        in.groupCountText = inputs_->groupCountText().toStdString();
    }
    in.settings = inputs_->settings();
    in.mode = dataMode();
    in.separator = separator().toStdString();
    return in;
}

void TCooperAlokMetod::runOnce()
{
    if (!inputs_->settingsOn())
        return;
    // Over the picture the drawing area was last sized to the picture; the run is measured on
    // the frame it is sized in, as the result choice's handlers place it.
    if (inPictureMode() && RadioButton1->isChecked())
        placeImage(ImagePlacement::FrameLess);
    ImageWidth = Image1Area->width();
    ImageHeight = Image1Area->height();
    if (ImageWidth < MinRunImageSide || ImageHeight < MinRunImageSide) {
        resizeClient(width1_ + width2_ + RunFallbackExtraWidth, RunFallbackHeight);
        return;
    }

    const dorvan::CooperRunInputs in = runInputs();
    ListBox1->clear();
    ListBox2->clear();
    historyFullGroups_.clear();
    const bool groups = dorvan::isGroupRun(in);
    if (groups)
        Edit1->hide();
    const bool overPicture = inPictureMode() && RadioButton1->isChecked();

    dorvan::CooperRunCallbacks callbacks;
    // The settings are read again for every group, as the data-entry window shows them.
    callbacks.settings = [this] { return inputs_->settings(); };
    callbacks.warn = [this](const std::string& text) { dialogs_.warn(this, q(text)); };
    callbacks.resetPrecision = [this] { inputs_->resetPrecision(); };
    callbacks.resetCorrection = [this] { inputs_->resetCorrection(); };
    // Each group is drawn as soon as it is listed: the state holds only the current group.
    callbacks.groupListed = [this, overPicture](const dorvan::CooperRunResult& soFar, int groupNo) {
        appendNew(ListBox1, soFar.pathLines);
        appendNew(ListBox2, soFar.placeLines);
        width1_ = soFar.groupBox1Width;
        width2_ = soFar.groupBox2Width;
        if (groupNo == 1) {
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
    };

    const dorvan::CooperRunResult res = dorvan::runCooperDriver(
        state_, project_.Record, project_.State.PlaceCount, in, width1_, width2_, callbacks);
    appendNew(ListBox1, res.pathLines);
    appendNew(ListBox2, res.placeLines);
    width1_ = res.groupBox1Width;
    width2_ = res.groupBox2Width;
    historyFullGroups_ = res.historyFullGroups;

    if (!groups) {
        oneCentreFinal_ = res.finalIter;
        Edit1->show();
        Edit1->setText(q(res.optimumText));
        width5_ = width1_ + width2_ + ListsGap + (GroupBox5->width() - GroupBox5->contentsRect().width());
        layOutPanels();
        if (overPicture && project_.Record.PictureWidth > 0 && project_.Record.PictureHeight > 0)
            KresliGrafMapaCooper();
        else
            KresliGrafCooper();
    }
    showRunNotice();
}

// A run that used up the history says so in the status line under the lists, without a box
// to answer: runs repeat on every edit of the data, and the result is still shown and drawn.
// The line goes away with the next run that reaches its precision.
void TCooperAlokMetod::showRunNotice()
{
    const QString text = q(dorvan::runNoticeText(historyFullGroups_));
    RunNotice->setText(text);
    RunNotice->setVisible(!text.isEmpty());
    layOutPanels();
}
