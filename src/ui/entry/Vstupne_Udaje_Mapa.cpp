// The picture page's maps: a georeferenced map warped into the project, a plain picture in
// display ranges or with "Mierka mapy" in kilometres, the coordinates a click gives, and the
// picture shown again after an undo or a redo.
#include "ui/entry/EntryPicturePage.h"

#include "core/entry/MapPlacement.h"
#include "core/entry/PicturePlacement.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectSession.h"
#include "core/geo/MapFit.h"
#include "core/project/Project.h"
#include "core/project/ProjectDocument.h"
#include "ui/common/UserDialogs.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryMapLoad.h"
#include "ui/entry/EntryMessages.h"
#include "ui/entry/PictureSurface.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <algorithm>

namespace {

inline constexpr const char* CoarserMapText
    = "Mapa je prevedená v hrubšom rozlíšení (najviac 8000 x 6000 bodov)";
inline constexpr const char* MapLoadingText = "Načítavam mapu ... (Esc alebo Zrušiť preruší)";
inline constexpr const char* ProjectChangedDuringLoadText
    = "Miesta projektu sa počas načítania mapy zmenili, mapa nebola vložená !!!";
// A map or picture taken, with everything that comes with it: one step of the history.
const dorvan::EditCommand MapLoadStep { .name = "Mapa", .picture = true };

} // namespace

QGroupBox* entry::PicturePage::buildScaleBox()
{
    auto* box = new QGroupBox(entry::text(dorvan::MapScaleTitleText));
    box->setObjectName("GroupBoxMapScale");
    auto* form = new QFormLayout(box);
    EditMapWidth = new QLineEdit;
    EditMapWidth->setObjectName("EditMapWidth");
    EditMapHeight = new QLineEdit;
    EditMapHeight->setObjectName("EditMapHeight");
    // Narrow fields: the page's width belongs to the picture.
    for (QLineEdit* e : { EditMapWidth, EditMapHeight })
        e->setMaximumWidth(60);
    form->addRow(entry::text(dorvan::MapWidthLabelText), EditMapWidth);
    form->addRow(entry::text(dorvan::MapHeightLabelText), EditMapHeight);
    return box;
}

void entry::PicturePage::startPictureLoad(const QString& file)
{
    // Only a plain file: a device or a pipe is no picture.
    if (!QFileInfo(file).isFile()) {
        context_.dialogs.warn(this, entry::text(dorvan::PictureNotOpenedText));
        return;
    }
    const dorvan::KilometresText width = dorvan::parseKilometres(EditMapWidth->text().toStdString());
    const dorvan::KilometresText height = dorvan::parseKilometres(EditMapHeight->text().toStdString());
    if (!width.ok || !height.ok) {
        context_.dialogs.warn(this, entry::text(dorvan::BadMapScaleText));
        return;
    }
    const int places = context_.session.placesToSave();
    pending_ = { file.toStdString(), width.km, height.km, places,
        dorvan::mapLoadInputs(context_.project, places) };
    runPictureLoad(std::nullopt);
}

void entry::PicturePage::runPictureLoad(std::optional<int> epsg)
{
    openPictureButton->setEnabled(false);
    CancelMapButton->show();
    CancelMapButton->setFocus();
    const QString text = entry::text(MapLoadingText);
    context_.host.entryProgress(text, 0);
    mapLoad_->start(
        pending_.file, pending_.inputs, epsg,
        [this, text](int percent) { context_.host.entryProgress(text, percent); },
        [this](dorvan::MapLoad load) {
            CancelMapButton->hide();
            openPictureButton->setEnabled(!context_.project.State.MapPictureOwned);
            context_.host.entryProgressEnded();
            if (load.kind == dorvan::MapLoad::NeedsSystem) {
                const auto answer
                    = context_.dialogs.askText(this, entry::text(dorvan::geo::MapSystemQuestion));
                if (answer)
                    runPictureLoad(dorvan::parseKilometres(answer->toStdString()).km.value_or(0));
                return;
            }
            pictureLoaded(std::move(load));
        });
}

void entry::PicturePage::pictureLoaded(dorvan::MapLoad load)
{
    if (load.kind == dorvan::MapLoad::Stopped) {
        context_.host.entryStatusNotice(entry::text(dorvan::RasterStoppedText));
        return;
    }
    if (load.kind == dorvan::MapLoad::Refused) {
        context_.dialogs.warn(this, QString::fromStdString(load.message));
        return;
    }
    if (context_.windowClosing())
        return;
    const std::optional<QString> notice = takeLoadedPicture(load);
    if (!notice)
        return;
    showTakenPicture(*notice);
}

std::optional<QString> entry::PicturePage::takeLoadedPicture(dorvan::MapLoad& load)
{
    auto& project = context_.project;
    // The places or the reference changed while the file was read: the map was fitted to
    // places that are no more.
    if (project.State.MapPictureOwned || context_.session.placesToSave() != pending_.places
        || !dorvan::sameInputs(dorvan::mapLoadInputs(project, pending_.places), pending_.inputs)) {
        context_.dialogs.warn(this, entry::text(ProjectChangedDuringLoadText));
        return std::nullopt;
    }
    QString notice;
    int outside = 0;
    if (load.kind == dorvan::MapLoad::Map) {
        const bool far = dorvan::farFromEveryPlace(*load.fit);
        if (far && !context_.dialogs.confirm(this, entry::text(dorvan::farMapQuestion(*load.fit)), false))
            return std::nullopt;
        outside = far ? 0 : load.fit->placesOutside;
        if (load.fit->coarser)
            notice = entry::text(CoarserMapText);
    }
    const std::optional<dorvan::ScaleKm> scale = load.kind == dorvan::MapLoad::Map
        ? std::nullopt
        : dorvan::scaleRanges(
            pending_.widthKm, pending_.heightKm, load.picture.width(), load.picture.height());
    if (load.kind != dorvan::MapLoad::Map && !scale && dorvan::plainPictureNeedsScale(project.Record)) {
        context_.dialogs.warn(this, entry::text(dorvan::PictureNeedsScaleText));
        return std::nullopt;
    }
    // The picture, its places moved onto a map, and the range Image1 gives it are one step.
    dorvan::ProjectDocument(project).execute(MapLoadStep, [&] {
        if (load.kind == dorvan::MapLoad::Map)
            context_.session.takeFittedMap(std::move(*load.fit));
        else if (scale)
            context_.session.takeScaledPicture(std::move(load.picture), *scale);
        else
            context_.session.takeMapPicture(std::move(load.picture));
        fitTakenPicture();
    });
    if (outside > 0)
        context_.dialogs.warn(this, entry::text(dorvan::placesOutsideText(outside)));
    return notice;
}

std::optional<std::pair<double, double>> entry::PicturePage::clickedCoordinates(int x, int y) const
{
    const auto& s = context_.project.State;
    if (dorvan::rangesFixed(context_.project.Record)) {
        const auto km = dorvan::kilometresFromPixel(
            x, y, pictureSurface->width(), pictureSurface->height(), s.PictureRangeX, s.PictureRangeY);
        if (!km)
            return std::nullopt;
        return std::pair { km->x, km->y };
    }
    const auto ref = dorvan::referenceFromPixel({ x, y },
        { pictureSurface->width(), pictureSurface->height() }, { s.PictureRangeX, s.PictureRangeY });
    if (!ref)
        return std::nullopt;
    return std::pair { double(ref->x), double(ref->y) };
}

void entry::PicturePage::showPlacesAgain()
{
    const auto& project = context_.project;
    if (!project.State.MapPictureOwned || project.MapPicture.empty()) {
        if (pictureSurface->isEnabled())
            showNoPicture();
        return;
    }
    // A picture that came back (a map load redone) is fitted as a load fits it; one that stayed
    // keeps its place on the page.
    const QSize picture(project.MapPicture.width(), project.MapPicture.height());
    if (!pictureSurface->isEnabled() || picture != shownPictureSize_) {
        pictureSurface->resetSurface(window()->size());
        fitPictureControl(proportionalButton->isChecked());
        showFittedPicture();
    } else {
        redrawPicture(project.State.PictureRangeX, project.State.PictureRangeY);
    }
    const int count = std::clamp(project.State.PlaceCount, 0, dorvan::MaxPlaceCount);
    if (count > 0) {
        layOutPictureGrid(count + 1);
        refillPictureRows(count);
    } else {
        hidePictureGrid();
    }
}

// The page as before any picture (a map load undone): Image1 blank and deaf, "Otvor" on again.
void entry::PicturePage::showNoPicture()
{
    pictureSurface->resetSurface({ dorvan::MinPictureControlSide, dorvan::MinPictureControlSide });
    pictureSurface->setEnabled(false);
    shownPictureSize_ = {};
    openPictureButton->setEnabled(!mapLoad_->busy());
    pictureBox->setTitle(u(" "));
    hidePictureGrid();
    onPictureMouseLeave();
}

void entry::PicturePage::hidePictureGrid()
{
    pictureGrid->setRowCount(0);
    pictureGrid->setVisible(false);
    pictureListBox->setVisible(false);
}
