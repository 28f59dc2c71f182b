#include "ui/network/Graficka_Siet_Stanic.h"
#include "ui/common/ListWidth.h"

#include "core/allocation/CooperRunDriver.h"
#include "render/StationGraphPainter.h"
#include "ui/common/UserDialogs.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QListWidget>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace {

// Shows the graph's image; a click on it is a click on the window.
class GraphArea : public QWidget {
public:
    GraphArea(const QImage& image, QWidget* parent)
        : QWidget(parent)
        , image_(image)
    {
        setObjectName("Image1");
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0, image_);
    }
    void mousePressEvent(QMouseEvent* e) override { e->ignore(); }

private:
    const QImage& image_;
};

} // namespace

TGrafickaSietStanic::TGrafickaSietStanic(
    dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , project_(project)
    , dialogs_(dialogs)
    , child_(*new dorvan::ChildWindow(*this, dialogs, CloseQuestion))
{
    setObjectName("GrafickaSietStanic");
    child_.setActivationHook([this] { FormCreate(); });
    setWindowTitle(QString::fromUtf8("Grafická sieť staníc"));
    setAttribute(Qt::WA_DeleteOnClose);

    graphArea = new GraphArea(graph_, this);
    placeList = new QListWidget(this);
    placeList->setObjectName("ListBox1");
    placeList->setFixedWidth(DesignListWidth);
    QPalette grey = placeList->palette();
    grey.setColor(QPalette::Base, QColor(128, 128, 128));
    placeList->setPalette(grey);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(graphArea, 1);
    row->addWidget(placeList);
    resize(DesignClientWidth, DesignClientHeight);
}

// Nothing here may touch the project: at program end the main window's members go before its
// child windows.
TGrafickaSietStanic::~TGrafickaSietStanic() = default;

QSize TGrafickaSietStanic::sizeHint() const
{
    return QSize(DesignClientWidth, DesignClientHeight);
}

void TGrafickaSietStanic::FormCreate()
{
    // An activation that reaches a window already on its way out draws nothing.
    if (child_.isClosing())
        return;
    KresliGraf();
}

void TGrafickaSietStanic::FormResize()
{
    KresliGraf();
}

void TGrafickaSietStanic::KresliGraf()
{
    const int n = dorvan::runPlaceCount(project_.State.PlaceCount);
    const std::vector<dorvan::GraphPlace> places = dorvan::graphPlaces(project_.Record, n);
    const std::vector<std::string> lines
        = dorvan::graphListLines(places, QLocale().decimalPoint().toStdString());
    const int need = listWidthFor(lines);
    if (need > placeList->width())
        placeList->setFixedWidth(need);
    const QSize area(std::max(width() - placeList->width(), 0), height());
    graph_ = dorvan::drawStationGraph(places, project_.BestStars, area, project_.BestRounds);
    graphArea->update();
    placeList->clear();
    for (const std::string& l : lines)
        placeList->addItem(QString::fromStdString(l));
}

// The list as wide as its longest line in its own font: the core's estimate of 6 pixels a
// character cut the lines of wider letters.
int TGrafickaSietStanic::listWidthFor(const std::vector<std::string>& lines) const
{
    return std::max(dorvan::graphListWidth(lines), dorvan::listWidthForLines(placeList, lines));
}

void TGrafickaSietStanic::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TGrafickaSietStanic::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    FormResize();
}

void TGrafickaSietStanic::closeEvent(QCloseEvent* event)
{
    child_.handleClose(event, [this] { return GSSZatvor(); });
}

bool TGrafickaSietStanic::GSSZatvor()
{
    return child_.mayClose();
}
