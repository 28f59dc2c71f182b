// The main window's result commands: "Exportovať výsledok ..." writes the allocation window's
// result through the same writer as the command line's export, "Kopírovať výsledok" puts it on
// the clipboard.
#include "ui/main/ResultCommands.h"

#include "core/allocation/AllocationResult.h"
#include "core/cli/ResultExport.h"
#include "core/geo/GeoReference.h"
#include "core/report/OutputNames.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/common/UserDialogs.h"
#include "ui/main/MainStatus.h"
#include "ui/main/ProjectWindows.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QSaveFile>
#include <QWidget>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString ExportFilter = u"GeoJSON (*.geojson);;CSV (*.csv)"_s;
const QString NoReferenceForGeoJson
    = u"Projekt nemá súradnicový systém (jeho miesta neboli načítané so zemepisnou šírkou a dĺžkou), "
      "GeoJSON preto nemožno zapísať. Exportujte výsledok do CSV v súradniciach X, Y."_s;

} // namespace

ResultCommands::ResultCommands(const Parts& parts)
    : p_(parts)
{
}

// ----------------------------------------------------------------------------------------------
// "Exportovať výsledok ..."

void ResultCommands::ExportujVysledokClick()
{
    if (!p_.windows.updateResultCommands())
        return;
    const bool reference = dorvan::geo::projectReference(p_.project.Record).has_value();
    const QString proposed
        = QString::fromStdString(dorvan::proposedExportName(p_.project.State.ProjectFileName, reference));
    const QString chosen
        = p_.dialogs.saveFileName(&p_.parent, u"Exportovať výsledok ..."_s, proposed, ExportFilter);
    if (chosen.isEmpty())
        return;
    // The name's extension says the format; a name without one takes the one proposed.
    const dorvan::ExportTarget target = dorvan::exportTarget(chosen.toStdString(), reference);
    if (target.refused) {
        p_.dialogs.warn(&p_.parent, NoReferenceForGeoJson);
        return;
    }
    writeResultExport(QString::fromStdString(target.fileName), target.geoJson);
}

namespace {

// The project's result as the allocation window shows it, with the cost contours the window
// draws: read from the project's results, made only when the inputs changed since.
dorvan::cli::RunExport windowRunExport(const dorvan::Project& project, const std::vector<double>& contours)
{
    const auto result = dorvan::allocationsOf(project).of(project, QLocale().decimalPoint().toStdString());
    return dorvan::cli::runExport(project.Record, *result, contours);
}

} // namespace

// Written whole or not at all.
bool ResultCommands::writeResultExport(const QString& fileName, bool geoJson)
{
    const dorvan::cli::RunExport run
        = windowRunExport(p_.project, p_.windows.cooperWindow()->exportContourLevels());
    const auto reference = dorvan::geo::projectionOf(p_.project.Record);
    std::string text;
    if (geoJson) {
        const auto json = dorvan::cli::exportGeoJson(run, *reference);
        if (!json) {
            p_.dialogs.warn(
                &p_.parent, u"Bod výsledku nemá zemepisnú šírku a dĺžku; GeoJSON sa nedá zapísať."_s);
            return false;
        }
        text = *json;
    } else {
        text = dorvan::cli::exportCsv(run, reference ? &*reference : nullptr);
    }
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly)
        || out.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())
        || !out.commit()) {
        p_.dialogs.error(
            &p_.parent, u"Súbor "_s + QFileInfo(fileName).fileName() + u" sa nedá zapísať !!!"_s);
        return false;
    }
    p_.status.setText(1, u"Výsledok zapísaný: "_s + QFileInfo(fileName).fileName());
    return true;
}

// ----------------------------------------------------------------------------------------------
// "Kopírovať výsledok": the places and the results as the export's tables, tab-separated, for a
// spreadsheet to paste.

void ResultCommands::KopirovatVysledokClick()
{
    if (!p_.windows.updateResultCommands())
        return;
    const dorvan::cli::RunExport run = windowRunExport(p_.project, {});
    const auto reference = dorvan::geo::projectionOf(p_.project.Record);
    const std::string text = dorvan::cli::exportTabSeparated(run, reference ? &*reference : nullptr);
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    p_.status.setText(1, u"Výsledok skopírovaný"_s);
}
