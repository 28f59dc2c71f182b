// "Importovať vzdialenosti ..." of the distance sheet (and of the main window's file menu): a
// matrix of road distances read and checked whole by the core's reader, then stored by one
// session call; a refused matrix changes nothing and is told in one message.
#include "ui/entry/EntryRelationSheets.h"

#include "core/cli/DistanceMatrix.h"
#include "core/entry/ProjectSession.h"
#include "core/project/Project.h"
#include "ui/common/UserDialogs.h"
#include "ui/common/Utf8Text.h"
#include "ui/entry/EntryCriterionBoxes.h"

#include <QFile>
#include <QFileInfo>

namespace {

const char* const DistanceFileFilter = "Vzdialenosti (*.csv *.txt *.json);;Všetky súbory (*)";
const char* const CompleteTheListFirst = "Najprv dokončite zoznam miest !!!";

} // namespace

bool entry::DistanceSheet::importDistances()
{
    dorvan::Project& project = context_.project;
    const int n = project.State.PlaceCount;
    if (!project.State.PlacesComplete || n < 2) {
        warn(CompleteTheListFirst);
        return false;
    }
    const QString chosen
        = context_.dialogs.openFileName(this, u("Importovať vzdialenosti ..."), u(DistanceFileFilter));
    if (chosen.isEmpty())
        return false;
    const QString shown = QFileInfo(chosen).fileName();
    QFile file(chosen);
    if (!file.open(QIODevice::ReadOnly)) {
        context_.dialogs.warn(this, u("Súbor ") + shown + u(" sa nedá čítať !!!"));
        return false;
    }
    // One byte over the limit is enough to refuse a file that is too large.
    const QByteArray bytes = file.read(static_cast<qint64>(dorvan::cli::MaxDistanceMatrixBytes) + 1);
    const dorvan::cli::DistanceMatrixRead read = dorvan::cli::readDistanceMatrix(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), project.Record, n);
    if (!read.ok()) {
        warn(dorvan::cli::slovakRefusal(shown.toStdString(), read));
        return false;
    }
    if (!context_.session.importDistances(read.table))
        return false;
    // The box shows ticked (its handler brings this sheet in line), the change box starts over.
    context_.pages.showCriterionTicked(CriterionBox::RealDistances);
    placesChanged();
    context_.pages.valuesChanged();
    if (const std::string notice = dorvan::cli::differingNoticeSlovak(read); !notice.empty())
        warn(notice);
    return true;
}
