// The picture page of the data-entry window (PicturePage): a map picture is loaded and places
// are clicked onto it.
#include "ui/entry/EntryPicturePage.h"

#include "core/common/CodePage.h"
#include "core/entry/MapPlacement.h"
#include "core/entry/PicturePlacement.h"
#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceHover.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectEdits.h"
#include "core/entry/ProjectSession.h"
#include "core/project/Project.h"
#include "core/project/ProjectDocument.h"
#include "render/PictureImage.h"
#include "ui/common/UserDialogs.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/EntryControls.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryMapLoad.h"
#include "ui/entry/EntryMessages.h"
#include "ui/entry/PictureSurface.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using entry::controls::setCellText;

// Top-left corner of Image1 inside GroupBox54: the box's border and its caption line.
constexpr QPoint PictureOrigin(2, 15);

// Hands the events of one object to a function; the function's true swallows the event.
class EventHook : public QObject {
public:
    EventHook(QObject* watched, std::function<bool(QEvent*)> handler)
        : QObject(watched)
        , handler_(std::move(handler))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

private:
    std::function<bool(QEvent*)> handler_;
};

dorvan::PixelSize sizeOf(const QWidget* w)
{
    return { w->width(), w->height() };
}

QSize toQSize(dorvan::PixelSize s)
{
    return { s.width, s.height };
}

} // namespace

entry::PicturePage::PicturePage(const EntryContext& context)
    : context_(context)
{
    setObjectName("TabSheet19");
    auto* row = new QHBoxLayout(this);
    row->addWidget(buildPictureBox(), 1);
    row->addWidget(buildSideBox(), 0);
    mapLoad_ = new MapLoadTask(this);
    hookEvents();
}

entry::PicturePage::~PicturePage()
{
    if (mapLoad_->busy()) {
        delete mapLoad_; // stops the thread and waits for it
        mapLoad_ = nullptr;
        context_.host.entryProgressEnded();
    }
}

QGroupBox* entry::PicturePage::buildPictureBox()
{
    pictureBox = new QGroupBox(u(" "));
    pictureBox->setObjectName("GroupBox54");
    pictureSurface = new PictureSurface(pictureBox);
    pictureSurface->setObjectName("Image1");
    pictureSurface->move(PictureOrigin);
    pictureSurface->resetSurface({ dorvan::MinPictureControlSide, dorvan::MinPictureControlSide });
    pictureSurface->setEnabled(false);
    // The scroll bars stay hidden and have no effect.
    horizontalBar = new QScrollBar(Qt::Horizontal, pictureBox);
    horizontalBar->setObjectName("ScrollBar1");
    horizontalBar->hide();
    verticalBar = new QScrollBar(Qt::Vertical, pictureBox);
    verticalBar->setObjectName("ScrollBar2");
    verticalBar->hide();
    return pictureBox;
}

QGroupBox* entry::PicturePage::buildSideBox()
{
    auto* sideBox = new QGroupBox(u(" Vlož obrázok "));
    sideBox->setObjectName("GroupBox55");
    auto* right = new QVBoxLayout(sideBox);
    openPictureButton = new QPushButton(u("Otvor"));
    openPictureButton->setObjectName("Button48");
    right->addWidget(openPictureButton);
    CancelMapButton = new QPushButton(u("Zrušiť"));
    CancelMapButton->setObjectName("CancelMapButton");
    CancelMapButton->setToolTip(u("Zruší načítanie mapy (Esc)"));
    CancelMapButton->hide();
    right->addWidget(CancelMapButton);
    right->addWidget(buildProportionBox());
    right->addWidget(buildScaleBox());
    right->addWidget(buildCoordinatesBox());
    right->addWidget(buildListBox(), 1, Qt::AlignLeft);
    right->addStretch(0);
    return sideBox;
}

QGroupBox* entry::PicturePage::buildProportionBox()
{
    auto* proportionBox = new QGroupBox(u(" Proporcionalita "));
    proportionBox->setObjectName("GroupBox56");
    auto* proportion = new QHBoxLayout(proportionBox);
    proportionalButton = new QRadioButton(u("ÁNO"));
    proportionalButton->setObjectName("RadioButton7");
    proportionalButton->setChecked(true);
    stretchButton = new QRadioButton(u("NIE"));
    stretchButton->setObjectName("RadioButton8");
    proportion->addWidget(proportionalButton);
    proportion->addWidget(stretchButton);
    return proportionBox;
}

QGroupBox* entry::PicturePage::buildCoordinatesBox()
{
    auto* coordinatesBox = new QGroupBox(u(" Súradnice "));
    coordinatesBox->setObjectName("GroupBox57");
    auto* coords = new QFormLayout(coordinatesBox);
    const auto readOnly = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        e->setReadOnly(true);
        return e;
    };
    realXEdit = readOnly("Edit50");
    realYEdit = readOnly("Edit51");
    pixelXEdit = readOnly("Edit52");
    pixelYEdit = readOnly("Edit53");
    coords->addRow(u(" X real"), realXEdit);
    coords->addRow(u(" Y real"), realYEdit);
    coords->addRow(u(" X "), pixelXEdit);
    coords->addRow(u(" Y "), pixelYEdit);
    return coordinatesBox;
}

QGroupBox* entry::PicturePage::buildListBox()
{
    pictureListBox = new QGroupBox(u(" Vstupné dáta "));
    pictureListBox->setObjectName("GroupBox58");
    auto* list = new QVBoxLayout(pictureListBox);
    pictureGrid = new QTableWidget(0, 4);
    pictureGrid->setObjectName("StringGrid7");
    pictureGrid->horizontalHeader()->setVisible(false);
    pictureGrid->verticalHeader()->setVisible(false);
    pictureGrid->horizontalHeader()->setMinimumSectionSize(20);
    pictureGrid->horizontalHeader()->setDefaultSectionSize(42);
    pictureGrid->verticalHeader()->setMinimumSectionSize(15);
    pictureGrid->verticalHeader()->setDefaultSectionSize(15);
    pictureGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pictureGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    pictureGrid->setWordWrap(false);
    pictureGrid->setTextElideMode(Qt::ElideNone);
    list->addWidget(pictureGrid);
    pictureGrid->setVisible(false);
    pictureListBox->setVisible(false);
    return pictureListBox;
}

void entry::PicturePage::hookEvents()
{
    connect(openPictureButton, &QPushButton::clicked, this, &entry::PicturePage::onOpenPicture);
    connect(CancelMapButton, &QPushButton::clicked, this, &entry::PicturePage::stopPictureLoad);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &entry::PicturePage::stopPictureLoad);
    connect(proportionalButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            proportionClicked(true);
    });
    connect(stretchButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            proportionClicked(false);
    });
    pictureSurface->mousePressed = [this](QPoint at) { ObrClick(at.x(), at.y()); };
    pictureSurface->mouseMoved = [this](QPoint at) { onPictureMouseMove(at); };
    pictureSurface->mouseLeft = [this] { onPictureMouseLeave(); };
    pictureSurface->tipAt = [this](QPoint at) { return placeTipAt(at); };
    new EventHook(pictureBox, [this](QEvent* e) {
        if (e->type() == QEvent::Resize && !context_.windowClosing())
            picturePageResized();
        return false;
    });
    // Delete acts on its release.
    new EventHook(pictureGrid, [this](QEvent* e) {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
            return false;
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_Delete)
            return false;
        if (e->type() == QEvent::KeyRelease && !key->isAutoRepeat())
            onPictureGridDelete();
        return true;
    });
}

void entry::PicturePage::onOpenPicture()
{
    if (mapLoad_->busy())
        return;
    const QString file = context_.dialogs.openPictureName(
        this, entry::text(dorvan::OpenPictureTitleText), entry::text(dorvan::PictureFilterText));
    if (file.isEmpty())
        return;
    // The file is read and decoded (a map also warped) in full before anything of the project
    // changes; showTakenPicture follows once it is taken.
    startPictureLoad(file);
}

void entry::PicturePage::stopPictureLoad()
{
    mapLoad_->stop();
}

// Image1 sized for the picture just taken (within its command: the range follows the size).
void entry::PicturePage::fitTakenPicture()
{
    pictureSurface->resetSurface(window()->size());
    fitPictureControl(proportionalButton->isChecked());
    setPictureRange();
}

void entry::PicturePage::showTakenPicture(const QString& notice)
{
    context_.host.entryFirstCountAccepted(); // the input mode is fixed from now on
    showFittedPicture();
    context_.pages.valuesChanged();
    if (!notice.isEmpty())
        context_.host.entryStatusNotice(notice);
}

// The picture as fitted into Image1, with its marks and the page's caption; the page takes no
// other picture.
void entry::PicturePage::showFittedPicture()
{
    const auto& s = context_.project.State;
    pictureSurface->setEnabled(true);
    openPictureButton->setEnabled(false); // one picture per window
    redrawPicture(s.PictureRangeX, s.PictureRangeY);
    setPictureCaption();
}

// The coordinate range of the picture follows the size of Image1; a map's or a scaled
// picture's stays its kilometres.
void entry::PicturePage::setPictureRange()
{
    dorvan::ProjectEdits(context_.project).takePictureRange(sizeOf(pictureSurface));
}

// Sizes Image1 by the proportion rule of the page; a size no rule gives keeps the control's.
void entry::PicturePage::fitPictureControl(bool proportional)
{
    const auto& pic = context_.project.MapPicture;
    std::optional<dorvan::PixelSize> fit
        = dorvan::fitPictureOnPage({ pic.width(), pic.height() }, sizeOf(pictureBox), proportional);
    pictureSurface->resetSurface(fit ? toQSize(*fit) : pictureSurface->size());
}

// The map picture stretched over the whole of Image1, with the marks of places 1..PlaceCount
// for a coordinate range of rangeX by rangeY. The map picture itself stays clean.
void entry::PicturePage::redrawPicture(int rangeX, int rangeY)
{
    shownRange_ = { rangeX, rangeY };
    shownPictureSize_ = { context_.project.MapPicture.width(), context_.project.MapPicture.height() };
    QImage& surface = pictureSurface->surface();
    surface.fill(Qt::white);
    if (!context_.project.MapPicture.empty()) {
        QPainter p(&surface);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(surface.rect(), dorvan::pictureView(context_.project.MapPicture));
    }
    const auto& r = context_.project.Record;
    const int count = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    for (int k = 1; k <= count; ++k) {
        if (auto at = dorvan::pixelFromReference(
                r.PlaceX[k], r.PlaceY[k], sizeOf(pictureSurface), { rangeX, rangeY }))
            drawPlaceMark(k, { at->x, at->y });
    }
    pictureSurface->update();
}

void entry::PicturePage::drawPlaceMark(int n, QPoint at)
{
    QPainter p(&pictureSurface->surface());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setPen(QPen(Qt::red, 1));
    p.setBrush(Qt::white);
    // The mark covers (x - 3, y - 3) to (x + 3, y + 3), its corners rounded.
    p.drawRoundedRect(QRect(at.x() - 3, at.y() - 3, 6, 6), 5, 5, Qt::AbsoluteSize);

    QFont font = p.font();
    font.setPointSize(8);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(QPen(Qt::black, 2));
    const QString label = QString::fromStdString(dorvan::picturePlaceLabel(n));
    for (dorvan::PixelPoint corner : dorvan::labelPositions({ at.x(), at.y() }, sizeOf(pictureSurface)))
        p.drawText(QRect(corner.x, corner.y, 200, 40), Qt::AlignLeft | Qt::AlignTop, label);
    pictureSurface->update();
}

void entry::PicturePage::setPictureCaption()
{
    pictureBox->setTitle(
        QStringLiteral(" %1 x %2 ").arg(pictureSurface->width() - 1).arg(pictureSurface->height() - 1));
}

void entry::PicturePage::proportionClicked(bool proportional)
{
    if (!context_.project.State.MapPictureOwned || !pictureSurface->isEnabled())
        return;
    horizontalBar->hide();
    verticalBar->hide();
    fitPictureControl(proportional);
    if (proportional)
        setPictureCaption();
    redrawPicture(context_.project.State.PictureRangeX, context_.project.State.PictureRangeY);
}

void entry::PicturePage::picturePageResized()
{
    if (!context_.pages.pictureTabVisible() || !context_.project.State.MapPictureOwned
        || !pictureSurface->isEnabled())
        return;
    fitPictureControl(proportionalButton->isChecked());
    setPictureCaption();
    redrawPicture(context_.project.State.PictureRangeX, context_.project.State.PictureRangeY);
}

void entry::PicturePage::layOutPictureGrid(int rowCount)
{
    QTableWidget* g = pictureGrid;
    const int oldRows = g->rowCount();
    g->setRowCount(rowCount);
    const QBrush fixedBrush = g->palette().brush(QPalette::Button);
    for (int row = oldRows; row < rowCount; ++row) {
        for (int col = 0; col < 4; ++col) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (row == 0 || col == 0)
                item->setBackground(fixedBrush);
            if (col == 0)
                item->setTextAlignment(Qt::AlignCenter);
            g->setItem(row, col, item);
        }
    }
    if (rowCount > 0) {
        setCellText(g, 0, 1, u("Miesta"));
        setCellText(g, 0, 2, u("Sur X"));
        setCellText(g, 0, 3, u("Sur Y"));
    }
    g->setColumnWidth(0, 20);
    int width = 20;
    for (int col = 1; col < 4; ++col)
        width += g->columnWidth(col);
    g->setFixedWidth(width + 2 * g->frameWidth() + 4);
    const QMargins box = pictureListBox->contentsMargins();
    const QMargins lay = pictureListBox->layout()->contentsMargins();
    pictureListBox->setFixedWidth(g->width() + box.left() + box.right() + lay.left() + lay.right());
    g->setVisible(true);
    pictureListBox->setVisible(true);
}

// The coordinate columns of the list get the places' coordinates as the project holds them,
// rounded to four decimals (after the allocation window closed). A row that has no cell yet
// gets one.
void entry::PicturePage::showPictureCoordinates()
{
    const auto& r = context_.project.Record;
    const int rows = std::min(
        std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaces), pictureGrid->rowCount() - 1);
    for (int i = 1; i <= rows; ++i) {
        const double values[2] = { r.PlaceX[i], r.PlaceY[i] };
        for (int c = 0; c < 2; ++c) {
            const QString text = entry::formatNumber(values[c]);
            if (QTableWidgetItem* item = pictureGrid->item(i, 2 + c))
                item->setText(text);
            else
                pictureGrid->setItem(i, 2 + c, new QTableWidgetItem(text));
        }
    }
}

void entry::PicturePage::refillPictureRows(int count)
{
    const auto& r = context_.project.Record;
    count = std::min({ count, pictureGrid->rowCount() - 1, dorvan::MaxPlaceCount });
    for (int k = 1; k <= count; ++k) {
        setCellText(pictureGrid, k, 0, QString::number(k));
        setCellText(pictureGrid, k, 1, QString::fromStdString(dorvan::displayName(r.PlaceName[k])));
        setCellText(pictureGrid, k, 2, entry::formatNumber(r.PlaceX[k]));
        setCellText(pictureGrid, k, 3, entry::formatNumber(r.PlaceY[k]));
    }
}

void entry::PicturePage::ObrClick(int x, int y)
{
    if (!context_.project.State.MapPictureOwned)
        return;
    const dorvan::ClickTarget target = context_.placeEntry.clickTarget();
    if (!target.message.empty()) {
        context_.dialogs.warn(this, entry::text(target.message));
        return;
    }
    // The click is one step of the project: the range the first place fixes, the place, the
    // list it completes and what the windows switch on with it.
    dorvan::ProjectDocument(context_.project).execute({ .name = "Pridanie miesta na mape" }, [&] {
        if (target.setsRange)
            setPictureRange();
        if (const auto ref = clickedCoordinates(x, y))
            storeClickedPlace(target.place, *ref, { x, y });
    });
}

void entry::PicturePage::storeClickedPlace(int p, std::pair<double, double> at, QPoint pixel)
{
    const auto& s = context_.project.State;
    const dorvan::ClickedPlace clicked = context_.placeEntry.storeClickedPlace(p, at.first, at.second);
    if (clicked.raiseSettingsOn)
        context_.host.entrySettingsSwitched(true);
    context_.pages.valuesChanged();

    layOutPictureGrid(p + 1);
    refillPictureRows(p);
    drawPlaceMark(p, pixel);
    if (!clicked.completesList)
        return;

    const dorvan::ListCompletion completion = context_.placeEntry.completeClickedList();
    refillPictureRows(s.PlaceCount);
    context_.pages.rerunIfCooperOpen();
    context_.pages.enableProjectPages();
    context_.pages.valuesChanged();
    context_.pages.placeListCompleted(completion);
    context_.pages.rebuildPlaceValuePages();
}

void entry::PicturePage::onPictureMouseMove(QPoint at)
{
    const auto& s = context_.project.State;
    const int fromBottom = pictureSurface->height() - at.y() - 1;
    pixelXEdit->setText(QString::number(at.x()));
    pixelYEdit->setText(QString::number(fromBottom));
    if (dorvan::rangesFixed(context_.project.Record)) {
        if (const auto km = clickedCoordinates(at.x(), at.y())) {
            realXEdit->setText(entry::formatNumber(km->first));
            realYEdit->setText(entry::formatNumber(km->second));
        }
    } else if (s.NextPlace <= 1) {
        realXEdit->setText(QString::number(at.x()));
        realYEdit->setText(QString::number(fromBottom));
    } else if (const auto ref = clickedCoordinates(at.x(), at.y())) {
        realXEdit->setText(QString::number(ref->first));
        realYEdit->setText(QString::number(ref->second));
    }
}

// The place under the mouse, among the marks as the page draws them.
QString entry::PicturePage::placeTipAt(QPoint at) const
{
    if (!context_.project.State.MapPictureOwned || !pictureSurface->isEnabled())
        return {};
    const std::vector<dorvan::PlaceMark> marks = dorvan::picturePlaceMarks(
        context_.project.Record, context_.project.State, sizeOf(pictureSurface), shownRange_);
    const std::optional<std::size_t> under = dorvan::markUnder(marks, at.x(), at.y());
    if (!under)
        return {};
    return QString::fromStdString(
        dorvan::placeTip(context_.project.Record, marks[*under], QLocale().decimalPoint().toStdString()));
}

void entry::PicturePage::onPictureMouseLeave()
{
    for (QLineEdit* e : { realXEdit, realYEdit, pixelXEdit, pixelYEdit })
        e->clear();
}

void entry::PicturePage::onPictureGridDelete()
{
    const auto& s = context_.project.State;
    const int row = pictureGrid->currentRow();
    const int entered = std::clamp(s.NextPlace - 1, 0, dorvan::MaxPlaceCount);
    if (row < 1 || row > entered || row >= pictureGrid->rowCount())
        return;
    const QString name = pictureGrid->item(row, 1) ? pictureGrid->item(row, 1)->text() : QString();
    if (!entry::confirmPlaceDeletion(context_, this, name))
        return;
    // The moved places take the names of their new numbers. With the last place the range
    // follows the picture's size again, in the same step.
    const dorvan::PlaceDeletion deleted
        = dorvan::ProjectDocument(context_.project).execute({ .name = "Vymazanie miesta" }, [&] {
              dorvan::PlaceDeletion d = context_.session.deletePicturePlace(row);
              if (s.PlaceCount == 0)
                  setPictureRange();
              return d;
          });
    if (deleted.settingsOff)
        context_.host.entrySettingsSwitched(false); // "Riešenie DORVAN" off
    if (s.PlaceCount > 0) {
        pictureGrid->setRowCount(s.PlaceCount + 1);
        refillPictureRows(s.PlaceCount);
    } else {
        hidePictureGrid();
    }
    redrawPicture(s.PictureRangeX, s.PictureRangeY);
    context_.pages.valuesChanged();
    context_.pages.rebuildPlaceValuePages();
    context_.pages.placeDeleted(deleted.change);
}

void entry::PicturePage::showProjectPicture()
{
    const auto& r = context_.project.Record;
    if (context_.project.MapPicture.empty())
        return;
    // The page's boxes take their sizes before the picture is fitted into them (the window's
    // own layout has been brought up to date by then).
    if (layout() != nullptr)
        layout()->activate();

    pictureSurface->resetSurface(window()->size());
    const auto& pic = context_.project.MapPicture;
    std::optional<dorvan::PixelSize> fit = dorvan::fitPictureOnOpen(
        { pic.width(), pic.height() }, sizeOf(pictureBox), proportionalButton->isChecked());
    pictureSurface->resetSurface(fit ? toQSize(*fit) : pictureSurface->size());
    redrawPicture(r.MapRangeX, r.MapRangeY);
    setPictureCaption();

    const int count = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    if (count > 0) {
        layOutPictureGrid(count + 1);
        refillPictureRows(count);
    }
    pictureSurface->setEnabled(true);
    openPictureButton->setEnabled(false);
}
