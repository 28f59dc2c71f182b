#include "ui/network/Metoda_Sieti.h"

#include "core/network/NetworkResults.h"
#include "ui/common/ListWidth.h"

#include "core/allocation/CooperRunDriver.h"
#include "core/network/NetworkResults.h"
#include "ui/common/UserDialogs.h"
#include "ui/network/NetworkHost.h"
#include "ui/network/OptimalNetworkPanel.h"
#include "ui/network/RoundsPanel.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QLocale>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

QListWidget* makeList(QWidget* parent, const char* name, int width)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFixedWidth(width);
    list->setProperty("designWidth", width);
    return list;
}

void fill(QListWidget* list, const std::vector<std::string>& lines)
{
    list->clear();
    for (const std::string& l : lines)
        list->addItem(QString::fromStdString(l));
    // The design's width, wider where a line would be cut.
    list->setFixedWidth(
        std::max(list->property("designWidth").toInt(), dorvan::listWidthForLines(list, lines)));
}

} // namespace

TMetodaDistribSieti::TMetodaDistribSieti(
    dorvan::Project& project, dorvan::UserDialogs& dialogs, NetworkHost& host, QWidget* parent)
    : QWidget(parent)
    , project_(project)
    , dialogs_(dialogs)
    , host_(host)
    , child_(*new dorvan::ChildWindow(*this, dialogs, CloseQuestion))
{
    setObjectName("MetodaDistribSieti");
    // Every activation computes again.
    child_.setActivationHook([this] { FormCreate(); });
    setWindowTitle(QString::fromUtf8("Metódy návrhu distribučných sietí"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    FormCreate();
}

// Nothing here may touch the project or the host: at program end the main window's members go
// before its child windows.
TMetodaDistribSieti::~TMetodaDistribSieti() = default;

QSize TMetodaDistribSieti::sizeHint() const
{
    return QSize(DesignClientWidth, DesignClientHeight);
}

void TMetodaDistribSieti::buildControls()
{
    networkGrid = new QTableWidget(this);
    networkGrid->setObjectName("StringGrid1");
    networkGrid->setColumnCount(5);
    networkGrid->horizontalHeader()->hide();
    networkGrid->verticalHeader()->hide();
    networkGrid->horizontalHeader()->setDefaultSectionSize(120);
    // Rows of 15 pixels whatever the font asks for: the grid's height is 17 pixels a row.
    networkGrid->verticalHeader()->setMinimumSectionSize(15);
    networkGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    networkGrid->verticalHeader()->setDefaultSectionSize(15);
    networkGrid->setColumnWidth(0, 20);
    networkGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    networkGrid->setFixedHeight(97);
    networkGrid->setMinimumWidth(633);

    starCountList = makeList(this, "ListBox1", 145);
    centresList = makeList(this, "ListBox3", 145);
    starSizesList = makeList(this, "ListBox4", 153);
    roundLengthList = makeList(this, "ListBox5", 161);
    starPlacesList = makeList(this, "ListBox2", 257);
    starPlacesList->setMinimumHeight(537);

    // "Optimálna sieť" between the grid and the lists, its result in a list of its own.
    optimal_ = new network::OptimalNetworkPanel(dialogs_, this);
    optimal_->setGraphChanged([this] { graphNetworkChanged(); });

    auto* lists = new QHBoxLayout;
    for (QListWidget* l : { starCountList, centresList, starSizesList, roundLengthList })
        lists->addWidget(l);
    // The exact result's lines name the places: its list takes the room the others leave.
    lists->addWidget(optimal_->list(), 1);
    lists->addWidget(starPlacesList);
    // The grid grows 17 pixels a place and the lists keep their design widths: in a main window
    // smaller than all that, the window scrolls instead of cutting off the lists below the grid.
    auto* content = new QWidget;
    content->setObjectName("Obsah");
    auto* column = new QVBoxLayout(content);
    // The delivery rounds beside the result grid.
    rounds_ = new RoundsPanel(project_, [this] { host_.redrawGraphWindow(); });
    auto* top = new QHBoxLayout;
    top->addWidget(networkGrid, 0, Qt::AlignLeft | Qt::AlignTop);
    top->addWidget(rounds_, 1);
    column->addLayout(top);
    column->addWidget(optimal_);
    column->addLayout(lists, 1);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("Posuv");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
}

void TMetodaDistribSieti::FormCreate()
{
    // Opening the graph window activates windows; the activation that comes back here while
    // the search is shown changes nothing, and so does one that reaches the window while it
    // closes (closing the graph window along activates this one).
    if (computing_ || child_.isClosing())
        return;
    computing_ = true;
    try {
        compute();
    } catch (const std::exception& e) {
        dialogs_.error(this, QString::fromUtf8(e.what()));
    }
    computing_ = false;
}

void TMetodaDistribSieti::compute()
{
    const dorvan::StarWorkingCopy copy = dorvan::VstupUdajRealStavCreate(project_);
    // The project's star search, made again only when its inputs changed since.
    search_ = *dorvan::networkResultsOf(project_).stars(project_, QLocale().decimalPoint().toStdString());
    // An exact result of other data goes; the graph draws the network chosen.
    optimal_->setInputs(copy, search_.best);
    project_.BestStars = optimal_->graphSolution().value_or(search_.best);
    fillLists();
    // An open graph window stays as it is.
    host_.openGraphWindow();
    fillGrid();
    // The rounds, once asked for, are searched again when their inputs changed (the search
    // takes seconds, so not at every activation).
    rounds_->computeIfChanged();
}

void TMetodaDistribSieti::fillLists()
{
    QListWidget* lists[] = { starCountList, starPlacesList, centresList, starSizesList, roundLengthList };
    for (std::size_t k = 0; k < 5; ++k)
        fill(lists[k], search_.lists[k]);
}

void TMetodaDistribSieti::fillGrid()
{
    const int n = dorvan::runPlaceCount(project_.State.PlaceCount);
    // The grid shows the star search's network, whichever network the graph draws.
    const auto rows = dorvan::starResultGrid(search_.best, n, QLocale().decimalPoint().toStdString());
    networkGrid->clearContents();
    networkGrid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < 5; ++c)
            networkGrid->setItem(r, c,
                new QTableWidgetItem(
                    QString::fromStdString(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])));
    networkGrid->setFixedHeight(17 * static_cast<int>(rows.size()));
    fitGridColumns();
}

// Columns 1 to 4 are 120 pixels wide, wider where a name or "Celková dráha - čas" needs it, and
// the grid as wide as its columns: its rows are all shown, so a horizontal scroll bar would
// cover the last one.
void TMetodaDistribSieti::fitGridColumns()
{
    const QFontMetrics metrics(networkGrid->font());
    int total = networkGrid->columnWidth(0);
    for (int c = 1; c < networkGrid->columnCount(); ++c) {
        int need = 120;
        for (int r = 0; r < networkGrid->rowCount(); ++r)
            if (const QTableWidgetItem* item = networkGrid->item(r, c))
                need = std::max(need, metrics.horizontalAdvance(item->text()) + 12);
        networkGrid->setColumnWidth(c, need);
        total += need;
    }
    networkGrid->setMinimumWidth(std::max(633, total + 2 * networkGrid->frameWidth()));
}

void TMetodaDistribSieti::graphNetworkChanged()
{
    project_.BestStars = optimal_->graphSolution().value_or(search_.best);
    host_.redrawGraphWindow();
}

void TMetodaDistribSieti::closeEvent(QCloseEvent* event)
{
    child_.handleClose(event, [this] { return ZatvorDistribSiete(); });
}

// Closed by the user, the window takes the station graph along; closed by program, the
// program closes what else goes.
bool TMetodaDistribSieti::ZatvorDistribSiete()
{
    const bool byProgram = child_.closedByProgram();
    if (!child_.mayClose())
        return false;
    optimal_->stopSearch();
    rounds_->stop();
    if (!byProgram)
        host_.closeGraphWindow();
    return true;
}
