// The allocation window: its layout, the result choice, resizing and closing. The run driver
// is in Cooperova_Metoda_Beh.cpp, the drawings in Cooperova_Metoda_Kreslenie.cpp, its parts
// in Cooperova_Metoda_Zoznamy.cpp and Cooperova_Metoda_Mys.cpp.
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

// Design heights; a style whose frame titles need more room gets what its controls need.
constexpr int ResultChoiceHeight = 68; // resultChoiceBox
constexpr int ProportionHeight = 33; // proportionBox

void fillWith(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
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
        window_.drag_->press(at.x(), at.y());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const QPoint at = e->position().toPoint();
        window_.drag_->move(at.x(), at.y());
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        const QPoint at = e->position().toPoint();
        // The handlers may run, and a run may resize the window: the area stays, being its child.
        if (e->button() == Qt::LeftButton && rect().contains(at))
            window_.drag_->click();
        window_.drag_->release(at.x(), at.y());
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
    drag_ = std::make_unique<dorvan::allocation::ChartDrag>(project_,
        dorvan::allocation::DrawingView { drawingArea, &surface_, &resultShown_, &drawn_, &chart_ },
        [this] { SpustiCooper(); });
    resize(DesignClientWidth, DesignClientHeight);
    layOutPanels();
    observation_ = project_.Observers.observe([this](dorvan::ProjectChange what) {
        if (dorvan::has(what, dorvan::ProjectChange::RunInputs))
            SpustiCooper();
    });
    FormCreate();
}

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
    options_ = std::make_unique<dorvan::allocation::ChartOptions>(choice, dialogs_, this, [this] { redrawResult(); });
    lists_ = std::make_unique<dorvan::allocation::ResultLists>(resultsPanel);

    connect(withPictureButton, &QRadioButton::clicked, this, &TCooperAlokMetod::onWithPictureClicked);
    connect(withoutPictureButton, &QRadioButton::clicked, this, &TCooperAlokMetod::onWithoutPictureClicked);
    connect(proportionalButton, &QRadioButton::clicked, this, &TCooperAlokMetod::onProportionalClicked);
    connect(notProportionalButton, &QRadioButton::clicked, this, &TCooperAlokMetod::onProportionalClicked);
    connect(defaultButton, &QPushButton::clicked, this, [this] {
        if (!child_.isClosing())
            SpustiCooper();
    });
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
    lists_->layOut(inner, inner.top() + choiceHeight);

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

bool TCooperAlokMetod::drawsOverPicture() const
{
    return project_.State.PictureMode && withPictureButton->isChecked();
}

QSize TCooperAlokMetod::sizeHint() const
{
    return QSize(DesignClientWidth, DesignClientHeight);
}

// ----------------------------------------------------------------------------------------------
// Creation, resizing and the result choice

void TCooperAlokMetod::FormCreate()
{
    // The surface follows the drawing area's size at every drawing, so it is not made large
    // in advance.
    drawingArea->setEnabled(true);
    placeImage(ImagePlacement::FillFrame);
    // No selection is in progress: the drag part was made idle just before.
    created_ = true;
    laidOutSize_ = size();

    if (!dorvan::allocation::settingsOn(project_))
        return;
    if (!project_.State.PictureMode) {
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
    if (!entryWindowOpen_() || !dorvan::allocation::settingsOn(project_))
        return;
    if (dorvan::allocation::groupsOn(project_)) {
        SpustiCooper();
    } else if (project_.State.PictureMode && withPictureButton->isChecked()) {
        placeImage(ImagePlacement::FrameLess);
        KresliGrafMapaCooper();
    } else {
        KresliGrafCooper();
    }
}

void TCooperAlokMetod::onWithPictureClicked()
{
    if (!dorvan::allocation::settingsOn(project_) || !project_.State.PictureMode || !withPictureButton->isChecked())
        return;
    placeImage(ImagePlacement::FrameLess);
    drawingArea->setEnabled(true);
    drawingArea->show();
    enableResultChoice(true, true);
    if (dorvan::allocation::groupsOn(project_))
        SpustiCooper();
    else
        KresliGrafMapaCooper();
}

void TCooperAlokMetod::onWithoutPictureClicked()
{
    if (!dorvan::allocation::settingsOn(project_) || !project_.State.PictureMode || !withoutPictureButton->isChecked())
        return;
    placeImage(ImagePlacement::FillFrame);
    enableResultChoice(true, false);
    if (dorvan::allocation::groupsOn(project_))
        SpustiCooper();
    else
        KresliGrafCooper();
}

// "ÁNO" and "NIE" differ only in how the picture is sized by the drawing over it.
void TCooperAlokMetod::onProportionalClicked()
{
    if (child_.isClosing() || !project_.State.PictureMode)
        return;
    placeImage(ImagePlacement::FrameLess);
    if (!drawingArea->isEnabled())
        return;
    if (dorvan::allocation::groupsOn(project_))
        SpustiCooper();
    else
        KresliGrafMapaCooper();
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
    project_.tell(dorvan::ProjectChange::Coordinates);
    s.EntryWindowClosed = true;
    s.EntryStarted = false;
    return true;
}
