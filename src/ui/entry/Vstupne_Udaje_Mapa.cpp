// The picture page's maps: a georeferenced map warped into the project, a plain picture in
// display ranges or with "Mierka mapy" in kilometres, and the coordinates a click gives.
#include "ui/entry/EntryPicturePage.h"

#include "core/entry/MapPlacement.h"
#include "core/entry/PicturePlacement.h"
#include "core/entry/ProjectSession.h"
#include "core/geo/MapFit.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/EntryHost.h"
#include "ui/entry/EntryMessages.h"
#include "ui/entry/PictureSurface.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>

namespace {

inline constexpr const char* CoarserMapText
    = "Mapa je prevedená v hrubšom rozlíšení (najviac 8000 x 6000 bodov)";

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

std::optional<QString> entry::PicturePage::loadPictureFile(const QString& file)
{
    // Only a plain file: a device or a pipe is no picture.
    if (!QFileInfo(file).isFile()) {
        context_.dialogs.warn(this, entry::text(dorvan::PictureNotOpenedText));
        return std::nullopt;
    }
    const dorvan::KilometresText width = dorvan::parseKilometres(EditMapWidth->text().toStdString());
    const dorvan::KilometresText height = dorvan::parseKilometres(EditMapHeight->text().toStdString());
    if (!width.ok || !height.ok) {
        context_.dialogs.warn(this, entry::text(dorvan::BadMapScaleText));
        return std::nullopt;
    }
    auto& project = context_.project;
    const int places = context_.session.placesToSave();
    std::optional<int> epsg;
    dorvan::MapLoad load = dorvan::loadMapFile(file.toStdString(), project, places, epsg);
    while (load.kind == dorvan::MapLoad::NeedsSystem) {
        const auto answer = context_.dialogs.askText(this, entry::text(dorvan::geo::MapSystemQuestion));
        if (!answer)
            return std::nullopt;
        const dorvan::KilometresText code = dorvan::parseKilometres(answer->toStdString());
        epsg = code.km.value_or(0);
        load = dorvan::loadMapFile(file.toStdString(), project, places, epsg);
    }
    if (load.kind == dorvan::MapLoad::Refused) {
        context_.dialogs.warn(this, QString::fromStdString(load.message));
        return std::nullopt;
    }
    QString notice;
    if (load.kind == dorvan::MapLoad::Map) {
        if (load.fit->coarser)
            notice = entry::text(CoarserMapText);
        context_.session.takeFittedMap(std::move(*load.fit));
    } else if (const auto scale
        = dorvan::scaleRanges(width.km, height.km, load.picture.width(), load.picture.height())) {
        context_.session.takeScaledPicture(std::move(load.picture), *scale);
    } else {
        context_.session.takeMapPicture(std::move(load.picture));
    }
    return notice;
}

std::optional<std::pair<double, double>> entry::PicturePage::clickedCoordinates(int x, int y) const
{
    const auto& s = context_.project.State;
    if (dorvan::rangesFixed(context_.project.Record)) {
        const auto km = dorvan::kilometresFromPixel(
            x, y, Image1->width(), Image1->height(), s.PictureRangeX, s.PictureRangeY);
        if (!km)
            return std::nullopt;
        return std::pair { km->x, km->y };
    }
    const auto ref = dorvan::referenceFromPixel(
        { x, y }, { Image1->width(), Image1->height() }, { s.PictureRangeX, s.PictureRangeY });
    if (!ref)
        return std::nullopt;
    return std::pair { double(ref->x), double(ref->y) };
}
