// The allocation window: its layout, the result choice, resizing and closing. The run driver
// is in Cooperova_Metoda_Beh.cpp, the drawings in Cooperova_Metoda_Kreslenie.cpp.
#include "ui/allocation/Cooperova_Metoda.h"

#include "render/ChartPainter.h"
#include "core/allocation/CooperRunDriver.h"
#include "render/CooperRunPainter.h"
#include "core/allocation/MapChartGeometry.h"
#include "render/MapChartPainter.h"
#include "core/common/DecimalText.h"
#include "ui/common/UserDialogs.h"
#include "core/project/Project.h"
#include "ui/common/Utf8Text.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString CloseQuestion = u("Zavrieť \"Cooperovu alokačnú metódu\" ?!!");

// Colours of the window, given as red, green, blue.
const QColor WindowColour = dorvan::cooperWindowColour();
const QColor LightGreen(0xC0, 0xDC, 0xC0);
const QColor Cream(0xFF, 0xFB, 0xF0);

// Design heights; a style whose frame titles need more room gets what its controls need.
constexpr int ResultChoiceHeight = 68; // resultChoiceBox
constexpr int CandidatesHeight = 150; // candidatesBox, "Kandidátske miesta", at most
constexpr int ProportionHeight = 33; // proportionBox

void fillWith(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// List lines 15 pixels high, as the panel widths (7 pixels a character) are reckoned with.
class LineHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), 15 };
    }
};

QListWidget* resultList(const char* name)
{
    auto* list = new QListWidget;
    list->setItemDelegate(new LineHeightDelegate(list));
    list->setObjectName(name);
    QPalette p = list->palette();
    p.setColor(QPalette::Base, Cream);
    list->setPalette(p);
    QFont f(QStringLiteral("Arial"), 8);
    f.setBold(true);
    list->setFont(f);
    list->setUniformItemSizes(true);
    return list;
}

} // namespace

// The drawing area Image1: shows the window's drawing surface as it was last painted, and hands
// the mouse to the window's handlers. The click of the left button released over the area comes
// before its release, as the handlers expect.
class CooperImageArea : public QWidget {
public:
    CooperImageArea(TCooperAlokMetod& window, const QImage& image, QWidget* parent)
        : QWidget(parent)
        , window_(window)
        , image_(image)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        // A selection left in progress (the settings were unticked before the release) follows
        // the mouse without a button held.
        setMouseTracking(true);
    }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::ToolTip)
            return QWidget::event(e);
        auto* help = static_cast<QHelpEvent*>(e);
        const QString tip = window_.placeTipAt(help->pos());
        if (tip.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, this);
        }
        return true;
    }
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        const QRect r = event->rect();
        // Whatever the surface does not cover shows the window's colour.
        p.fillRect(r, WindowColour);
        if (!image_.isNull())
            p.drawImage(r.topLeft(), image_, r);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        const QPoint at = e->position().toPoint();
        window_.onDrawingMouseDown(e->button(), e->modifiers(), at.x(), at.y());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const QPoint at = e->position().toPoint();
        window_.onDrawingMouseMove(e->modifiers(), at.x(), at.y());
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        const QPoint at = e->position().toPoint();
        // The handlers may run, and a run may resize the window: the area stays, being its child.
        if (e->button() == Qt::LeftButton && rect().contains(at))
            window_.onDrawingClicked();
        window_.onDrawingMouseUp(e->button(), e->modifiers(), at.x(), at.y());
    }

private:
    TCooperAlokMetod& window_;
    const QImage& image_;
};

TCooperAlokMetod::TCooperAlokMetod(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , project_(project)
    , dialogs_(dialogs)
    , child_(*new dorvan::ChildWindow(*this, dialogs, CloseQuestion))
{
    setObjectName("CooperAlokMetod");
    setWindowTitle(QStringLiteral("DORVAN"));
    setAttribute(Qt::WA_DeleteOnClose);
    fillWith(this, WindowColour);
    buildControls();
    resize(DesignClientWidth, DesignClientHeight);
    layOutPanels();
    observation_ = project_.Observers.observe([this](dorvan::ProjectChange what) { projectChanged(what); });
    FormCreate();
}

void TCooperAlokMetod::projectChanged(dorvan::ProjectChange what)
{
    if (dorvan::has(what, dorvan::ProjectChange::RunInputs))
        SpustiCooper();
}

// Nothing here may touch the project: at program end the main window's members go before
// its child windows.
TCooperAlokMetod::~TCooperAlokMetod() = default;

void TCooperAlokMetod::buildControls()
{
    drawingFrame = new QGroupBox(u(" Grafické zobrazenie dorvan "), this);
    drawingFrame->setObjectName("GroupBox3");
    drawingArea = new CooperImageArea(*this, surface_, drawingFrame);
    drawingArea->setObjectName("Image1");
    drawingArea->setGeometry(3, 15, 542, 386);
    drawingArea->setEnabled(false);

    resultsPanel = new QGroupBox(u(" Dáta a výsledky "), this);
    resultsPanel->setObjectName("GroupBox5");
    fillWith(resultsPanel, LightGreen);

    resultChoiceBox = new QGroupBox(u(" Zobrazenie výsledkov "), resultsPanel);
    resultChoiceBox->setObjectName("GroupBox4");
    auto* choice = new QVBoxLayout(resultChoiceBox);
    choice->setContentsMargins(4, 0, 4, 2);
    choice->setSpacing(0);
    auto* pictureRow = new QHBoxLayout;
    withPictureButton = new QRadioButton(u("S obrázkom"), resultChoiceBox);
    withPictureButton->setObjectName("RadioButton1");
    withPictureButton->setChecked(true);
    withPictureButton->setEnabled(false);
    withoutPictureButton = new QRadioButton(u("Bez obrázku"), resultChoiceBox);
    withoutPictureButton->setObjectName("RadioButton2");
    withoutPictureButton->setEnabled(false);
    pictureRow->addWidget(withPictureButton);
    pictureRow->addWidget(withoutPictureButton);
    choice->addLayout(pictureRow);

    proportionBox = new QGroupBox(u(" Proporcionalita "), resultChoiceBox);
    proportionBox->setObjectName("GroupBox6");
    proportionBox->setMinimumHeight(std::max(ProportionHeight, proportionBox->minimumSizeHint().height()));
    auto* proportion = new QHBoxLayout(proportionBox);
    proportion->setContentsMargins(4, 0, 4, 0);
    proportionalButton = new QRadioButton(u("ÁNO"), proportionBox);
    proportionalButton->setObjectName("RadioButton3");
    proportionalButton->setChecked(true);
    defaultButton = new QPushButton(QStringLiteral("Default"), proportionBox);
    defaultButton->setObjectName("Button1");
    defaultButton->setFixedSize(60, 20);
    notProportionalButton = new QRadioButton(u("NIE"), proportionBox);
    notProportionalButton->setObjectName("RadioButton4");
    proportion->addWidget(proportionalButton);
    proportion->addStretch(1);
    proportion->addWidget(defaultButton);
    proportion->addStretch(1);
    proportion->addWidget(notProportionalButton);
    choice->addWidget(proportionBox);
    buildContourControls(choice);
    buildScaleControl(choice);

    pathBox = new QGroupBox(u(" Výpočet dorvan "), resultsPanel);
    pathBox->setObjectName("GroupBox2");
    auto* path = new QVBoxLayout(pathBox);
    path->setContentsMargins(2, 2, 2, 2);
    path->setSpacing(2);
    optimumEdit = new QLineEdit(pathBox);
    optimumEdit->setObjectName("Edit1");
    optimumEdit->setReadOnly(true);
    pathList = resultList("ListBox1");
    path->addWidget(optimumEdit);
    path->addWidget(pathList, 1);

    placesBox = new QGroupBox(u(" Miesta "), resultsPanel);
    placesBox->setObjectName("GroupBox1");
    auto* places = new QVBoxLayout(placesBox);
    places->setContentsMargins(2, 2, 2, 2);
    placeList = resultList("ListBox2");
    places->addWidget(placeList);

    // Under both lists: the places as the centre instead of the optimum, cheapest first.
    candidatesBox = new QGroupBox(u(" Kandidátske miesta "), resultsPanel);
    candidatesBox->setObjectName("GroupBox7");
    auto* candidates = new QVBoxLayout(candidatesBox);
    candidates->setContentsMargins(2, 2, 2, 2);
    CandidateList = resultList("CandidateList");
    candidates->addWidget(CandidateList);

    // The status line under the lists: a notice that needs no answer.
    RunNotice = new QLabel(resultsPanel);
    RunNotice->setObjectName("RunNotice");
    RunNotice->setWordWrap(true);
    QPalette notice = RunNotice->palette();
    notice.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    RunNotice->setPalette(notice);
    RunNotice->hide();

    connect(withPictureButton, &QRadioButton::clicked, this, &TCooperAlokMetod::onWithPictureClicked);
    connect(withoutPictureButton, &QRadioButton::clicked, this, &TCooperAlokMetod::onWithoutPictureClicked);
    connect(proportionalButton, &QRadioButton::clicked, this, &TCooperAlokMetod::onProportionalClicked);
    connect(notProportionalButton, &QRadioButton::clicked, this, &TCooperAlokMetod::onNotProportionalClicked);
    connect(defaultButton, &QPushButton::clicked, this, &TCooperAlokMetod::onDefaultClicked);
}

// The frames are docked by hand, so that their sizes hold at once, before the window is shown:
// the results panel at the right edge, the drawing frame filling the rest; inside the panel the
// result choice at the top, the path rightmost and the places left of it, the status line at the foot.
void TCooperAlokMetod::layOutPanels()
{
    const int w = width();
    const int h = height();
    const int right = std::clamp(panelWidth_, 0, std::max(0, w));
    resultsPanel->setGeometry(w - right, 0, right, h);
    drawingFrame->setGeometry(0, 0, std::max(0, w - right), h);

    const QRect inner = resultsPanel->contentsRect();
    const int choiceHeight = std::max(ResultChoiceHeight, resultChoiceBox->sizeHint().height());
    resultChoiceBox->setGeometry(inner.left(), inner.top(), inner.width(), choiceHeight);
    const int top = inner.top() + choiceHeight;
    // The status lines at the foot, the run's notice lowest; in a window too low for them they
    // start under the result choice and are cut off at the foot rather than cover it.
    int linesHeight = 0;
    for (QLabel* line : { RunNotice, PositionLine, CertificateLine })
        if (line->isVisibleTo(resultsPanel))
            linesHeight += std::max(0, line->heightForWidth(inner.width()));
    const int bottom = std::max(top, inner.bottom() + 1 - linesHeight);
    int lineTop = bottom + linesHeight;
    for (QLabel* line : { RunNotice, PositionLine, CertificateLine }) {
        if (!line->isVisibleTo(resultsPanel))
            continue;
        const int lineHeight = std::max(0, line->heightForWidth(inner.width()));
        lineTop -= lineHeight;
        line->setGeometry(inner.left(), lineTop, inner.width(), lineHeight);
    }
    // The candidates take the lower third of the lists' height, at most CandidatesHeight.
    const int height = std::max(0, bottom - top);
    const int candidatesHeight = std::min(height / 3, CandidatesHeight);
    const int listHeight = height - candidatesHeight;
    pathBox->setGeometry(inner.right() + 1 - pathWidth_, top, pathWidth_, listHeight);
    placesBox->setGeometry(inner.right() + 1 - pathWidth_ - placesWidth_, top, placesWidth_, listHeight);
    candidatesBox->setGeometry(inner.right() + 1 - pathWidth_ - placesWidth_, top + listHeight,
        placesWidth_ + pathWidth_, candidatesHeight);

    if (placement_ == ImagePlacement::FillFrame)
        drawingArea->setGeometry(drawingFrame->contentsRect());
}

void TCooperAlokMetod::placeImage(ImagePlacement placement)
{
    placement_ = placement;
    if (placement == ImagePlacement::FillFrame) {
        drawingArea->setGeometry(drawingFrame->contentsRect());
    } else {
        const int top = drawingFrame->contentsRect().top();
        drawingArea->setGeometry(
            2, top, std::max(0, drawingFrame->width() - 4), std::max(0, drawingFrame->height() - 17));
    }
}

// The window's client area takes the given size; inside the main window its frame grows or
// shrinks with it. A maximised or minimised window keeps the size its state gives it: resized,
// it would leave its frame and hide its lists.
void TCooperAlokMetod::resizeClient(int clientWidth, int clientHeight)
{
    const QSize wanted(clientWidth, clientHeight);
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    QWidget* sized = frame != nullptr ? static_cast<QWidget*>(frame) : this;
    if (sized->isMaximized() || sized->isMinimized())
        return;
    if (frame != nullptr)
        frame->resize(frame->size() - size() + wanted);
    else
        resize(wanted);
}

bool TCooperAlokMetod::settingsOn() const
{
    return project_.Choices.SettingsOn;
}

bool TCooperAlokMetod::groupsOn() const
{
    return project_.Choices.ticked(dorvan::CritGroups);
}

bool TCooperAlokMetod::inPictureMode() const
{
    return project_.State.PictureMode;
}

bool TCooperAlokMetod::drawsOverPicture() const
{
    return inPictureMode() && withPictureButton->isChecked();
}

dorvan::ChartDataMode TCooperAlokMetod::dataMode() const
{
    return inPictureMode() ? dorvan::ChartDataMode::Picture : dorvan::ChartDataMode::Manual;
}

QSize TCooperAlokMetod::sizeHint() const
{
    return QSize(DesignClientWidth, DesignClientHeight);
}

QString TCooperAlokMetod::runNotice() const
{
    return RunNotice->isHidden() ? QString() : RunNotice->text();
}

// ----------------------------------------------------------------------------------------------
// Creation, resizing and the result choice

void TCooperAlokMetod::FormCreate()
{
    // The surface follows the drawing area's size at every drawing, so it is not made large
    // in advance.
    drawingArea->setEnabled(true);
    placeImage(ImagePlacement::FillFrame);
    DragIdle = true;
    created_ = true;
    laidOutSize_ = size();

    if (!settingsOn())
        return;
    if (!inPictureMode()) {
        placeImage(ImagePlacement::FillFrame);
        withoutPictureButton->setChecked(true);
        enableResultChoice(false, false);
    } else if (withPictureButton->isChecked()) {
        enableResultChoice(true, true);
    } else {
        placeImage(ImagePlacement::FrameLess);
        enableResultChoice(true, false);
    }
    SpustiCooper();
}

void TCooperAlokMetod::setResultChoiceByPicture(bool hasPicture)
{
    (hasPicture ? withPictureButton : withoutPictureButton)->setChecked(true);
    proportionalButton->setChecked(true);
    enableResultChoice(hasPicture, hasPicture);
}

// "S obrázkom" / "Bez obrázku" and "ÁNO" / "NIE", each pair usable or not.
void TCooperAlokMetod::enableResultChoice(bool pictureChoice, bool proportionChoice)
{
    withPictureButton->setEnabled(pictureChoice);
    withoutPictureButton->setEnabled(pictureChoice);
    proportionalButton->setEnabled(proportionChoice);
    notProportionalButton->setEnabled(proportionChoice);
}

void TCooperAlokMetod::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TCooperAlokMetod::FormResize()
{
    layOutPanels();
    // A resize event that only catches up with a size already laid out (the first showing of
    // the window) changes nothing and makes no run.
    if (!created_ || size() == laidOutSize_)
        return;
    laidOutSize_ = size();
    if (!entryWindowOpen_() || !settingsOn())
        return;
    if (groupsOn()) {
        SpustiCooper();
    } else if (inPictureMode() && withPictureButton->isChecked()) {
        placeImage(ImagePlacement::FrameLess);
        KresliGrafMapaCooper();
    } else {
        KresliGrafCooper();
    }
}

void TCooperAlokMetod::onWithPictureClicked()
{
    if (!settingsOn() || !inPictureMode() || !withPictureButton->isChecked())
        return;
    placeImage(ImagePlacement::FrameLess);
    drawingArea->setEnabled(true);
    drawingArea->show();
    enableResultChoice(true, true);
    if (groupsOn())
        SpustiCooper();
    else
        KresliGrafMapaCooper();
}

void TCooperAlokMetod::onWithoutPictureClicked()
{
    if (!settingsOn() || !inPictureMode() || !withoutPictureButton->isChecked())
        return;
    placeImage(ImagePlacement::FillFrame);
    enableResultChoice(true, false);
    if (groupsOn())
        SpustiCooper();
    else
        KresliGrafCooper();
}

// "ÁNO" and "NIE" differ only in how the picture is sized by the drawing over it.
void TCooperAlokMetod::onProportionalClicked()
{
    if (child_.isClosing() || !inPictureMode())
        return;
    placeImage(ImagePlacement::FrameLess);
    if (!drawingArea->isEnabled())
        return;
    if (groupsOn())
        SpustiCooper();
    else
        KresliGrafMapaCooper();
}

void TCooperAlokMetod::onNotProportionalClicked()
{
    onProportionalClicked();
}

void TCooperAlokMetod::onDefaultClicked()
{
    if (!child_.isClosing())
        SpustiCooper();
}

// ----------------------------------------------------------------------------------------------
// Closing

void TCooperAlokMetod::closeEvent(QCloseEvent* event)
{
    child_.handleClose(event, [this] { return FormZatvor(); });
}

bool TCooperAlokMetod::FormZatvor()
{
    auto& s = project_.State;
    if (!child_.mayClose()) {
        s.EntryWindowClosed = false;
        return false;
    }
    // Where the places' coordinates are listed, they are shown again as the project holds them.
    project_.changed(dorvan::ProjectChange::Coordinates);
    s.EntryWindowClosed = true;
    s.EntryStarted = false;
    return true;
}
