// The picture page of the data-entry window (PicturePage): a map picture is loaded and places
// are clicked onto it.
#include "ui/entry/EntryPicturePage.h"

#include "core/common/CodePage.h"
#include "core/entry/MapPlacement.h"
#include "core/entry/PicturePlacement.h"
#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceHover.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectSession.h"
#include "core/project/Project.h"
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
    GroupBox54 = new QGroupBox(u(" "));
    GroupBox54->setObjectName("GroupBox54");
    Image1 = new PictureSurface(GroupBox54);
    Image1->setObjectName("Image1");
    Image1->move(PictureOrigin);
    Image1->resetSurface({ dorvan::MinPictureControlSide, dorvan::MinPictureControlSide });
    Image1->setEnabled(false);
    // The scroll bars stay hidden and have no effect.
    ScrollBar1 = new QScrollBar(Qt::Horizontal, GroupBox54);
    ScrollBar1->setObjectName("ScrollBar1");
    ScrollBar1->hide();
    ScrollBar2 = new QScrollBar(Qt::Vertical, GroupBox54);
    ScrollBar2->setObjectName("ScrollBar2");
    ScrollBar2->hide();
    return GroupBox54;
}

QGroupBox* entry::PicturePage::buildSideBox()
{
    auto* GroupBox55 = new QGroupBox(u(" Vlož obrázok "));
    GroupBox55->setObjectName("GroupBox55");
    auto* right = new QVBoxLayout(GroupBox55);
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
    return GroupBox55;
}

QGroupBox* entry::PicturePage::buildProportionBox()
{
    auto* GroupBox56 = new QGroupBox(u(" Proporcionalita "));
    GroupBox56->setObjectName("GroupBox56");
    auto* proportion = new QHBoxLayout(GroupBox56);
    RadioButton7 = new QRadioButton(u("ÁNO"));
    RadioButton7->setObjectName("RadioButton7");
    RadioButton7->setChecked(true);
    RadioButton8 = new QRadioButton(u("NIE"));
    RadioButton8->setObjectName("RadioButton8");
    proportion->addWidget(RadioButton7);
    proportion->addWidget(RadioButton8);
    return GroupBox56;
}

QGroupBox* entry::PicturePage::buildCoordinatesBox()
{
    auto* GroupBox57 = new QGroupBox(u(" Súradnice "));
    GroupBox57->setObjectName("GroupBox57");
    auto* coords = new QFormLayout(GroupBox57);
    const auto readOnly = [](const char* name) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        e->setReadOnly(true);
        return e;
    };
    Edit50 = readOnly("Edit50");
    Edit51 = readOnly("Edit51");
    Edit52 = readOnly("Edit52");
    Edit53 = readOnly("Edit53");
    coords->addRow(u(" X real"), Edit50);
    coords->addRow(u(" Y real"), Edit51);
    coords->addRow(u(" X "), Edit52);
    coords->addRow(u(" Y "), Edit53);
    return GroupBox57;
}

QGroupBox* entry::PicturePage::buildListBox()
{
    GroupBox58 = new QGroupBox(u(" Vstupné dáta "));
    GroupBox58->setObjectName("GroupBox58");
    auto* list = new QVBoxLayout(GroupBox58);
    StringGrid7 = new QTableWidget(0, 4);
    StringGrid7->setObjectName("StringGrid7");
    StringGrid7->horizontalHeader()->setVisible(false);
    StringGrid7->verticalHeader()->setVisible(false);
    StringGrid7->horizontalHeader()->setMinimumSectionSize(20);
    StringGrid7->horizontalHeader()->setDefaultSectionSize(42);
    StringGrid7->verticalHeader()->setMinimumSectionSize(15);
    StringGrid7->verticalHeader()->setDefaultSectionSize(15);
    StringGrid7->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid7->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid7->setWordWrap(false);
    StringGrid7->setTextElideMode(Qt::ElideNone);
    list->addWidget(StringGrid7);
    StringGrid7->setVisible(false);
    GroupBox58->setVisible(false);
    return GroupBox58;
}

void entry::PicturePage::hookEvents()
{
    connect(openPictureButton, &QPushButton::clicked, this, &entry::PicturePage::Button48Click);
    connect(CancelMapButton, &QPushButton::clicked, this, &entry::PicturePage::stopPictureLoad);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &entry::PicturePage::stopPictureLoad);
    connect(RadioButton7, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            proportionClicked(true);
    });
    connect(RadioButton8, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            proportionClicked(false);
    });
    Image1->mousePressed = [this](QPoint at) { ObrClick(at.x(), at.y()); };
    Image1->mouseMoved = [this](QPoint at) { Image1MouseMove(at); };
    Image1->mouseLeft = [this] { Image1MouseLeave(); };
    Image1->tipAt = [this](QPoint at) { return placeTipAt(at); };
    new EventHook(GroupBox54, [this](QEvent* e) {
        if (e->type() == QEvent::Resize && !context_.windowClosing())
            picturePageResized();
        return false;
    });
    // Delete acts on its release.
    new EventHook(StringGrid7, [this](QEvent* e) {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
            return false;
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_Delete)
            return false;
        if (e->type() == QEvent::KeyRelease && !key->isAutoRepeat())
            StringGrid7Delete();
        return true;
    });
}

void entry::PicturePage::Button48Click()
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

void entry::PicturePage::showTakenPicture(const QString& notice)
{
    const auto& s = context_.project.State;

    Image1->setEnabled(true);
    openPictureButton->setEnabled(false); // one picture per window
    context_.host.entryFirstCountAccepted(); // the input mode is fixed from now on

    Image1->resetSurface(window()->size());
    fitPictureControl(RadioButton7->isChecked());
    setPictureRange();
    redrawPicture(s.PictureRangeX, s.PictureRangeY);
    setPictureCaption();
    context_.pages.valuesChanged();
    if (!notice.isEmpty())
        context_.host.entryStatusNotice(notice);
}

// The coordinate range of the picture follows the size of Image1; a map's or a scaled
// picture's stays its kilometres.
void entry::PicturePage::setPictureRange()
{
    auto& s = context_.project.State;
    auto& r = context_.project.Record;
    if (dorvan::rangesFixed(r)) {
        s.PictureRangeX = r.MapRangeX;
        s.PictureRangeY = r.MapRangeY;
        return;
    }
    const dorvan::PictureRange range = dorvan::pictureRangeOf(sizeOf(Image1));
    s.PictureRangeX = r.MapRangeX = range.x;
    s.PictureRangeY = r.MapRangeY = range.y;
}

// Sizes Image1 by the proportion rule of the page; a size no rule gives keeps the control's.
void entry::PicturePage::fitPictureControl(bool proportional)
{
    const auto& pic = context_.project.MapPicture;
    std::optional<dorvan::PixelSize> fit
        = dorvan::fitPictureOnPage({ pic.width(), pic.height() }, sizeOf(GroupBox54), proportional);
    Image1->resetSurface(fit ? toQSize(*fit) : Image1->size());
}

// The map picture stretched over the whole of Image1, with the marks of places 1..PlaceCount
// for a coordinate range of rangeX by rangeY. The map picture itself stays clean.
void entry::PicturePage::redrawPicture(int rangeX, int rangeY)
{
    shownRange_ = { rangeX, rangeY };
    QImage& surface = Image1->surface();
    surface.fill(Qt::white);
    if (!context_.project.MapPicture.empty()) {
        QPainter p(&surface);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(surface.rect(), dorvan::pictureView(context_.project.MapPicture));
    }
    const auto& r = context_.project.Record;
    const int count = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    for (int k = 1; k <= count; ++k) {
        if (auto at
            = dorvan::pixelFromReference(r.PlaceX[k], r.PlaceY[k], sizeOf(Image1), { rangeX, rangeY }))
            drawPlaceMark(k, { at->x, at->y });
    }
    Image1->update();
}

void entry::PicturePage::drawPlaceMark(int n, QPoint at)
{
    QPainter p(&Image1->surface());
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
    for (dorvan::PixelPoint corner : dorvan::labelPositions({ at.x(), at.y() }, sizeOf(Image1)))
        p.drawText(QRect(corner.x, corner.y, 200, 40), Qt::AlignLeft | Qt::AlignTop, label);
    Image1->update();
}

void entry::PicturePage::setPictureCaption()
{
    GroupBox54->setTitle(QStringLiteral(" %1 x %2 ").arg(Image1->width() - 1).arg(Image1->height() - 1));
}

void entry::PicturePage::proportionClicked(bool proportional)
{
    if (!context_.project.State.MapPictureOwned || !Image1->isEnabled())
        return;
    ScrollBar1->hide();
    ScrollBar2->hide();
    fitPictureControl(proportional);
    if (proportional)
        setPictureCaption();
    redrawPicture(context_.project.State.PictureRangeX, context_.project.State.PictureRangeY);
}

void entry::PicturePage::picturePageResized()
{
    if (!context_.pages.pictureTabVisible() || !context_.project.State.MapPictureOwned
        || !Image1->isEnabled())
        return;
    fitPictureControl(RadioButton7->isChecked());
    setPictureCaption();
    redrawPicture(context_.project.State.PictureRangeX, context_.project.State.PictureRangeY);
}

void entry::PicturePage::layOutPictureGrid(int rowCount)
{
    QTableWidget* g = StringGrid7;
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
    const QMargins box = GroupBox58->contentsMargins();
    const QMargins lay = GroupBox58->layout()->contentsMargins();
    GroupBox58->setFixedWidth(g->width() + box.left() + box.right() + lay.left() + lay.right());
    g->setVisible(true);
    GroupBox58->setVisible(true);
}

// The coordinate columns of the list get the places' coordinates as the project holds them,
// rounded to four decimals (after the allocation window closed). A row that has no cell yet
// gets one.
void entry::PicturePage::showPictureCoordinates()
{
    const auto& r = context_.project.Record;
    const int rows = std::min(
        std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaces), StringGrid7->rowCount() - 1);
    for (int i = 1; i <= rows; ++i) {
        const double values[2] = { r.PlaceX[i], r.PlaceY[i] };
        for (int c = 0; c < 2; ++c) {
            const QString text = entry::formatNumber(values[c]);
            if (QTableWidgetItem* item = StringGrid7->item(i, 2 + c))
                item->setText(text);
            else
                StringGrid7->setItem(i, 2 + c, new QTableWidgetItem(text));
        }
    }
}

void entry::PicturePage::refillPictureRows(int count)
{
    const auto& r = context_.project.Record;
    count = std::min({ count, StringGrid7->rowCount() - 1, dorvan::MaxPlaceCount });
    for (int k = 1; k <= count; ++k) {
        setCellText(StringGrid7, k, 0, QString::number(k));
        setCellText(StringGrid7, k, 1, QString::fromStdString(dorvan::displayName(r.PlaceName[k])));
        setCellText(StringGrid7, k, 2, entry::formatNumber(r.PlaceX[k]));
        setCellText(StringGrid7, k, 3, entry::formatNumber(r.PlaceY[k]));
    }
}

void entry::PicturePage::ObrClick(int x, int y)
{
    auto& s = context_.project.State;
    if (!s.MapPictureOwned)
        return;
    const dorvan::ClickTarget target = context_.placeEntry.clickTarget();
    if (!target.message.empty()) {
        context_.dialogs.warn(this, entry::text(target.message));
        return;
    }
    if (target.setsRange) {
        setPictureRange();
    }
    const auto ref = clickedCoordinates(x, y);
    if (!ref)
        return;
    const int p = target.place;
    const dorvan::ClickedPlace clicked = context_.placeEntry.storeClickedPlace(p, ref->first, ref->second);
    if (clicked.raiseSettingsOn)
        context_.host.entrySettingsSwitched(true);
    context_.pages.valuesChanged();

    layOutPictureGrid(p + 1);
    refillPictureRows(p);
    drawPlaceMark(p, { x, y });
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

void entry::PicturePage::Image1MouseMove(QPoint at)
{
    const auto& s = context_.project.State;
    const int fromBottom = Image1->height() - at.y() - 1;
    Edit52->setText(QString::number(at.x()));
    Edit53->setText(QString::number(fromBottom));
    if (dorvan::rangesFixed(context_.project.Record)) {
        if (const auto km = clickedCoordinates(at.x(), at.y())) {
            Edit50->setText(entry::formatNumber(km->first));
            Edit51->setText(entry::formatNumber(km->second));
        }
    } else if (s.NextPlace <= 1) {
        Edit50->setText(QString::number(at.x()));
        Edit51->setText(QString::number(fromBottom));
    } else if (const auto ref = clickedCoordinates(at.x(), at.y())) {
        Edit50->setText(QString::number(ref->first));
        Edit51->setText(QString::number(ref->second));
    }
}

// The place under the mouse, among the marks as the page draws them.
QString entry::PicturePage::placeTipAt(QPoint at) const
{
    if (!context_.project.State.MapPictureOwned || !Image1->isEnabled())
        return {};
    const std::vector<dorvan::PlaceMark> marks = dorvan::picturePlaceMarks(
        context_.project.Record, context_.project.State, sizeOf(Image1), shownRange_);
    const std::optional<std::size_t> under = dorvan::markUnder(marks, at.x(), at.y());
    if (!under)
        return {};
    return QString::fromStdString(
        dorvan::placeTip(context_.project.Record, marks[*under], QLocale().decimalPoint().toStdString()));
}

void entry::PicturePage::Image1MouseLeave()
{
    for (QLineEdit* e : { Edit50, Edit51, Edit52, Edit53 })
        e->clear();
}

void entry::PicturePage::StringGrid7Delete()
{
    const auto& s = context_.project.State;
    const int row = StringGrid7->currentRow();
    const int entered = std::clamp(s.NextPlace - 1, 0, dorvan::MaxPlaceCount);
    if (row < 1 || row > entered || row >= StringGrid7->rowCount())
        return;
    const QString name = StringGrid7->item(row, 1) ? StringGrid7->item(row, 1)->text() : QString();
    if (!context_.dialogs.confirm(this,
            entry::text(dorvan::DeletePlaceQuestionText) + name
                + entry::text(dorvan::DeletePlaceQuestionEndText),
            false))
        return;

    if (context_.host.cooperWindowOpen() && s.EntryStarted)
        context_.host.closeCooperWindow();
    // The moved places take the names of their new numbers.
    const dorvan::PlaceDeletion deleted = context_.session.deletePicturePlace(row);
    if (deleted.settingsOff)
        context_.host.entrySettingsSwitched(false); // "Riešenie DORVAN" off
    if (s.PlaceCount > 0) {
        StringGrid7->setRowCount(s.PlaceCount + 1);
        refillPictureRows(s.PlaceCount);
        redrawPicture(s.PictureRangeX, s.PictureRangeY);
    } else {
        StringGrid7->setRowCount(0);
        StringGrid7->setVisible(false);
        GroupBox58->setVisible(false);
        redrawPicture(s.PictureRangeX, s.PictureRangeY);
        setPictureRange();
    }
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

    Image1->resetSurface(window()->size());
    const auto& pic = context_.project.MapPicture;
    std::optional<dorvan::PixelSize> fit = dorvan::fitPictureOnOpen(
        { pic.width(), pic.height() }, sizeOf(GroupBox54), RadioButton7->isChecked());
    Image1->resetSurface(fit ? toQSize(*fit) : Image1->size());
    redrawPicture(r.MapRangeX, r.MapRangeY);
    setPictureCaption();

    const int count = std::clamp(context_.project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    if (count > 0) {
        layOutPictureGrid(count + 1);
        refillPictureRows(count);
    }
    Image1->setEnabled(true);
    openPictureButton->setEnabled(false);
}
