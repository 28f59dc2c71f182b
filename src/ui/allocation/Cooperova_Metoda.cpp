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
constexpr int ResultChoiceHeight = 68; // GroupBox4
constexpr int CandidatesHeight = 150; // GroupBox7, "Kandidátske miesta", at most
constexpr int ProportionHeight = 33; // GroupBox6

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

// The drawing area: shows the window's drawing surface Image1 as it was last painted, and hands
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
        window_.Image1MouseDown(e->button(), e->modifiers(), at.x(), at.y());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const QPoint at = e->position().toPoint();
        window_.Image1MouseMove(e->modifiers(), at.x(), at.y());
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        const QPoint at = e->position().toPoint();
        // The handlers may run, and a run may resize the window: the area stays, being its child.
        if (e->button() == Qt::LeftButton && rect().contains(at))
            window_.Image1Click();
        window_.Image1MouseUp(e->button(), e->modifiers(), at.x(), at.y());
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
    GroupBox3 = new QGroupBox(u(" Grafické zobrazenie dorvan "), this);
    GroupBox3->setObjectName("GroupBox3");
    Image1Area = new CooperImageArea(*this, Image1, GroupBox3);
    Image1Area->setObjectName("Image1");
    Image1Area->setGeometry(3, 15, 542, 386);
    Image1Area->setEnabled(false);

    GroupBox5 = new QGroupBox(u(" Dáta a výsledky "), this);
    GroupBox5->setObjectName("GroupBox5");
    fillWith(GroupBox5, LightGreen);

    GroupBox4 = new QGroupBox(u(" Zobrazenie výsledkov "), GroupBox5);
    GroupBox4->setObjectName("GroupBox4");
    auto* choice = new QVBoxLayout(GroupBox4);
    choice->setContentsMargins(4, 0, 4, 2);
    choice->setSpacing(0);
    auto* pictureRow = new QHBoxLayout;
    RadioButton1 = new QRadioButton(u("S obrázkom"), GroupBox4);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setChecked(true);
    RadioButton1->setEnabled(false);
    RadioButton2 = new QRadioButton(u("Bez obrázku"), GroupBox4);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton2->setEnabled(false);
    pictureRow->addWidget(RadioButton1);
    pictureRow->addWidget(RadioButton2);
    choice->addLayout(pictureRow);

    GroupBox6 = new QGroupBox(u(" Proporcionalita "), GroupBox4);
    GroupBox6->setObjectName("GroupBox6");
    GroupBox6->setMinimumHeight(std::max(ProportionHeight, GroupBox6->minimumSizeHint().height()));
    auto* proportion = new QHBoxLayout(GroupBox6);
    proportion->setContentsMargins(4, 0, 4, 0);
    RadioButton3 = new QRadioButton(u("ÁNO"), GroupBox6);
    RadioButton3->setObjectName("RadioButton3");
    RadioButton3->setChecked(true);
    Button1 = new QPushButton(QStringLiteral("Default"), GroupBox6);
    Button1->setObjectName("Button1");
    Button1->setFixedSize(60, 20);
    RadioButton4 = new QRadioButton(u("NIE"), GroupBox6);
    RadioButton4->setObjectName("RadioButton4");
    proportion->addWidget(RadioButton3);
    proportion->addStretch(1);
    proportion->addWidget(Button1);
    proportion->addStretch(1);
    proportion->addWidget(RadioButton4);
    choice->addWidget(GroupBox6);
    buildContourControls(choice);
    buildScaleControl(choice);

    GroupBox2 = new QGroupBox(u(" Výpočet dorvan "), GroupBox5);
    GroupBox2->setObjectName("GroupBox2");
    auto* path = new QVBoxLayout(GroupBox2);
    path->setContentsMargins(2, 2, 2, 2);
    path->setSpacing(2);
    Edit1 = new QLineEdit(GroupBox2);
    Edit1->setObjectName("Edit1");
    Edit1->setReadOnly(true);
    ListBox1 = resultList("ListBox1");
    path->addWidget(Edit1);
    path->addWidget(ListBox1, 1);

    GroupBox1 = new QGroupBox(u(" Miesta "), GroupBox5);
    GroupBox1->setObjectName("GroupBox1");
    auto* places = new QVBoxLayout(GroupBox1);
    places->setContentsMargins(2, 2, 2, 2);
    ListBox2 = resultList("ListBox2");
    places->addWidget(ListBox2);

    // Under both lists: the places as the centre instead of the optimum, cheapest first.
    GroupBox7 = new QGroupBox(u(" Kandidátske miesta "), GroupBox5);
    GroupBox7->setObjectName("GroupBox7");
    auto* candidates = new QVBoxLayout(GroupBox7);
    candidates->setContentsMargins(2, 2, 2, 2);
    CandidateList = resultList("CandidateList");
    candidates->addWidget(CandidateList);

    // The status line under the lists: a notice that needs no answer.
    RunNotice = new QLabel(GroupBox5);
    RunNotice->setObjectName("RunNotice");
    RunNotice->setWordWrap(true);
    QPalette notice = RunNotice->palette();
    notice.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    RunNotice->setPalette(notice);
    RunNotice->hide();

    connect(RadioButton1, &QRadioButton::clicked, this, &TCooperAlokMetod::RadioButton1Click);
    connect(RadioButton2, &QRadioButton::clicked, this, &TCooperAlokMetod::RadioButton2Click);
    connect(RadioButton3, &QRadioButton::clicked, this, &TCooperAlokMetod::RadioButton3Click);
    connect(RadioButton4, &QRadioButton::clicked, this, &TCooperAlokMetod::RadioButton4Click);
    connect(Button1, &QPushButton::clicked, this, &TCooperAlokMetod::Button1Click);
}

// The frames are docked by hand, so that their sizes hold at once, before the window is shown:
// GroupBox5 at the right edge, GroupBox3 filling the rest; inside GroupBox5 the result choice at
// the top, GroupBox2 rightmost and GroupBox1 left of it, the status line at the foot.
void TCooperAlokMetod::layOutPanels()
{
    const int w = width();
    const int h = height();
    const int right = std::clamp(width5_, 0, std::max(0, w));
    GroupBox5->setGeometry(w - right, 0, right, h);
    GroupBox3->setGeometry(0, 0, std::max(0, w - right), h);

    const QRect inner = GroupBox5->contentsRect();
    const int choiceHeight = std::max(ResultChoiceHeight, GroupBox4->sizeHint().height());
    GroupBox4->setGeometry(inner.left(), inner.top(), inner.width(), choiceHeight);
    const int top = inner.top() + choiceHeight;
    // The status lines at the foot, the run's notice lowest; in a window too low for them they
    // start under the result choice and are cut off at the foot rather than cover it.
    int linesHeight = 0;
    for (QLabel* line : { RunNotice, PositionLine, CertificateLine })
        if (line->isVisibleTo(GroupBox5))
            linesHeight += std::max(0, line->heightForWidth(inner.width()));
    const int bottom = std::max(top, inner.bottom() + 1 - linesHeight);
    int lineTop = bottom + linesHeight;
    for (QLabel* line : { RunNotice, PositionLine, CertificateLine }) {
        if (!line->isVisibleTo(GroupBox5))
            continue;
        const int lineHeight = std::max(0, line->heightForWidth(inner.width()));
        lineTop -= lineHeight;
        line->setGeometry(inner.left(), lineTop, inner.width(), lineHeight);
    }
    // The candidates take the lower third of the lists' height, at most CandidatesHeight.
    const int height = std::max(0, bottom - top);
    const int candidatesHeight = std::min(height / 3, CandidatesHeight);
    const int listHeight = height - candidatesHeight;
    GroupBox2->setGeometry(inner.right() + 1 - width2_, top, width2_, listHeight);
    GroupBox1->setGeometry(inner.right() + 1 - width2_ - width1_, top, width1_, listHeight);
    GroupBox7->setGeometry(
        inner.right() + 1 - width2_ - width1_, top + listHeight, width1_ + width2_, candidatesHeight);

    if (placement_ == ImagePlacement::FillFrame)
        Image1Area->setGeometry(GroupBox3->contentsRect());
}

void TCooperAlokMetod::placeImage(ImagePlacement placement)
{
    placement_ = placement;
    if (placement == ImagePlacement::FillFrame) {
        Image1Area->setGeometry(GroupBox3->contentsRect());
    } else {
        const int top = GroupBox3->contentsRect().top();
        Image1Area->setGeometry(
            2, top, std::max(0, GroupBox3->width() - 4), std::max(0, GroupBox3->height() - 17));
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
    return inPictureMode() && RadioButton1->isChecked();
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
    Image1Area->setEnabled(true);
    placeImage(ImagePlacement::FillFrame);
    DragIdle = true;
    created_ = true;
    laidOutSize_ = size();

    if (!settingsOn())
        return;
    if (!inPictureMode()) {
        placeImage(ImagePlacement::FillFrame);
        RadioButton2->setChecked(true);
        enableResultChoice(false, false);
    } else if (RadioButton1->isChecked()) {
        enableResultChoice(true, true);
    } else {
        placeImage(ImagePlacement::FrameLess);
        enableResultChoice(true, false);
    }
    SpustiCooper();
}

void TCooperAlokMetod::setResultChoiceByPicture(bool hasPicture)
{
    (hasPicture ? RadioButton1 : RadioButton2)->setChecked(true);
    RadioButton3->setChecked(true);
    enableResultChoice(hasPicture, hasPicture);
}

// "S obrázkom" / "Bez obrázku" and "ÁNO" / "NIE", each pair usable or not.
void TCooperAlokMetod::enableResultChoice(bool pictureChoice, bool proportionChoice)
{
    RadioButton1->setEnabled(pictureChoice);
    RadioButton2->setEnabled(pictureChoice);
    RadioButton3->setEnabled(proportionChoice);
    RadioButton4->setEnabled(proportionChoice);
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
    } else if (inPictureMode() && RadioButton1->isChecked()) {
        placeImage(ImagePlacement::FrameLess);
        KresliGrafMapaCooper();
    } else {
        KresliGrafCooper();
    }
}

void TCooperAlokMetod::RadioButton1Click()
{
    if (!settingsOn() || !inPictureMode() || !RadioButton1->isChecked())
        return;
    placeImage(ImagePlacement::FrameLess);
    Image1Area->setEnabled(true);
    Image1Area->show();
    enableResultChoice(true, true);
    if (groupsOn())
        SpustiCooper();
    else
        KresliGrafMapaCooper();
}

void TCooperAlokMetod::RadioButton2Click()
{
    if (!settingsOn() || !inPictureMode() || !RadioButton2->isChecked())
        return;
    placeImage(ImagePlacement::FillFrame);
    enableResultChoice(true, false);
    if (groupsOn())
        SpustiCooper();
    else
        KresliGrafCooper();
}

// "ÁNO" and "NIE" differ only in how the picture is sized by the drawing over it.
void TCooperAlokMetod::RadioButton3Click()
{
    if (child_.isClosing() || !inPictureMode())
        return;
    placeImage(ImagePlacement::FrameLess);
    if (!Image1Area->isEnabled())
        return;
    if (groupsOn())
        SpustiCooper();
    else
        KresliGrafMapaCooper();
}

void TCooperAlokMetod::RadioButton4Click()
{
    RadioButton3Click();
}

void TCooperAlokMetod::Button1Click()
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
