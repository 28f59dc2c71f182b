// The main window's real-coordinate commands: "Importovať miesta ..." reads a place list kept
// in a spreadsheet (with latitude/longitude or plain X/Y) through the same reader as the
// command line's import, and "Exportovať výsledok ..." writes the allocation window's result
// through the same writer as the command line's export.
#include "ui/main/Dorvan_Hlavny.h"
#include "ui/main/PlaceListMessages.h"

#include "core/allocation/CooperRunDriver.h"
#include "core/cli/PlaceCsv.h"
#include "core/cli/ResultExport.h"
#include "core/entry/PlaceEntry.h"
#include "core/geo/GeoReference.h"
#include "core/project/ProjectFile.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/MainStatus.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QSaveFile>

#include <memory>
#include <optional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

const QString PlaceListFilter = u"Zoznam miest (*.csv *.txt);;Všetky súbory (*)"_s;
const QString ExportFilter = u"GeoJSON (*.geojson);;CSV (*.csv)"_s;
const QString NoReferenceForGeoJson
    = u"Projekt nemá súradnicový systém (jeho miesta neboli načítané so zemepisnou šírkou a dĺžkou), "
      "GeoJSON preto nemožno zapísať. Exportujte výsledok do CSV v súradniciach X, Y."_s;
const QString XyIgnoredNotice = u"Stĺpce x a y sa nepoužijú: miesta sú dané zemepisnou šírkou a dĺžkou."_s;

// Every refused line in one message, as the command line lists them one a line.
QString problemsText(const QString& file, const std::vector<dorvan::cli::CsvProblem>& problems)
{
    QString text = u"Zoznam miest "_s + file + u" sa nedá načítať:"_s;
    for (const dorvan::cli::CsvProblem& p : problems) {
        text += u"\n"_s;
        if (p.line > 0)
            text += u"riadok "_s + QString::number(p.line) + u": "_s;
        text += placeListMessageInSlovak(p.message);
    }
    return text + u"\nNič nebolo zmenené."_s;
}

} // namespace

// ----------------------------------------------------------------------------------------------
// "Importovať miesta ..."

namespace {

const QString SystemPrompt
    = u"Súradnicový systém stĺpcov X, Y: kód EPSG (napr. 5514 pre S-JTSK, 32633 pre UTM 33N).\n"
      "Prázdne pole: rovinné súradnice v kilometroch."_s;
const QString MetresQuestion
    = u"Niektoré súradnice X, Y sú väčšie ako 10 000, zrejme sú to metre súradnicového systému "
      "(napr. S-JTSK). Bez neho sa vezmú ako kilometre.\nZadať súradnicový systém ?!!"_s;

// The place list read and checked in full, its system of X/Y asked for when it gives plain X/Y:
// nothing when the user cancelled or the list was refused (the refusal shown). Nothing of the
// project is touched here.
std::optional<dorvan::cli::PlaceCsv> readPlaceListAsked(
    dorvan::UserDialogs& dialogs, QWidget* parent, const QString& fileName)
{
    const QString shown = QFileInfo(fileName).fileName();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        dialogs.warn(parent, u"Súbor "_s + shown + u" sa nedá čítať !!!"_s);
        return std::nullopt;
    }
    // One byte over the limit is enough to refuse a file that is too large.
    const QByteArray read = file.read(static_cast<qint64>(dorvan::cli::MaxPlaceCsvBytes) + 1);
    const std::string_view bytes(read.constData(), static_cast<std::size_t>(read.size()));
    const auto refused = [&](const dorvan::cli::PlaceCsv& csv) {
        dialogs.warn(parent, problemsText(shown, csv.problems));
        return std::nullopt;
    };
    dorvan::cli::PlaceCsv plain = dorvan::cli::readPlaceCsv(bytes);
    if (!plain.ok())
        return refused(plain);
    if (plain.geographic)
        return plain;
    // Plain X/Y: kilometres of a plane, or a coordinate system as dorvan-cli's --crs.
    while (true) {
        const std::optional<QString> answer = dialogs.askText(parent, SystemPrompt);
        if (!answer)
            return std::nullopt;
        const std::string crs = dorvan::cli::crsFromUserText(answer->toStdString());
        if (crs.empty()) {
            // Metres taken as kilometres put every place in one corner: never without a word.
            if (plain.metreSized && dialogs.confirm(parent, MetresQuestion))
                continue;
            return plain;
        }
        dorvan::cli::PlaceCsv grid = dorvan::cli::readPlaceCsv(bytes, { crs });
        if (!grid.ok())
            return refused(grid);
        return grid;
    }
}

} // namespace

// The file is read and checked first; only a list that can be imported leads to the question
// about the open project, so a refused or cancelled import leaves the project as it was.
void TDorvan_Central::ImportujMiestaClick()
{
    const QString chosen = dialogs_.openFileName(this, u"Importovať miesta ..."_s, PlaceListFilter);
    if (!chosen.isEmpty())
        importPlaceList(chosen);
}

bool TDorvan_Central::importPlaceList(const QString& fileName)
{
    const std::optional<dorvan::cli::PlaceCsv> csv = readPlaceListAsked(dialogs_, this, fileName);
    if (!csv)
        return false;
    // An open project is closed now, with the question "Nový" asks.
    auto& s = project_.State;
    if (s.AddPlacesMode || entryWindowOpen()) {
        if (!requestEntryWindowClose() || !s.EntryWindowClosed)
            return false; // the user kept the project
    } else if (entryWindow_ != nullptr && !requestEntryWindowClose()) {
        return false;
    }

    dorvan::LoadedProject loaded;
    loaded.record = csv->record;
    showOpenedProject(QString(), loaded, dorvan::RgbPicture {});
    // The places exist in no project file yet: closing offers to save them.
    project_.State.UnsavedChanges = true;
    if (csv->xyIgnored)
        dialogs_.warn(this, XyIgnoredNotice);
    // The status panel is narrow: the count only; the places' positions are in the grid.
    setStatusPanelText(1, u"Importované miesta: "_s + QString::number(csv->placeCount));
    return true;
}

// ----------------------------------------------------------------------------------------------
// "Exportovať výsledok ..."

void TDorvan_Central::updateExportAction()
{
    states_.showResultCommands(cooperWindowOpen());
}

void TDorvan_Central::ExportujVysledokClick()
{
    updateExportAction();
    if (!cooperWindowOpen())
        return;
    const bool reference = dorvan::geo::projectReference(project_.Record).has_value();
    QString base = QFileInfo(QString::fromStdString(project_.State.ProjectFileName)).completeBaseName();
    if (base.isEmpty())
        base = u"Vysledok"_s;
    const QString proposed = base + (reference ? u".geojson"_s : u".csv"_s);
    QString chosen = dialogs_.saveFileName(this, u"Exportovať výsledok ..."_s, proposed, ExportFilter);
    if (chosen.isEmpty())
        return;
    // The name's extension says the format; a name without one takes the one proposed.
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    bool geoJson = reference;
    if (suffix == u"csv"_s)
        geoJson = false;
    else if (suffix == u"geojson"_s || suffix == u"json"_s)
        geoJson = true;
    else
        chosen += reference ? u".geojson"_s : u".csv"_s;
    if (geoJson && !reference) {
        dialogs_.warn(this, NoReferenceForGeoJson);
        return;
    }
    writeResultExport(chosen, geoJson);
}

namespace {

// The result made again over the project as the allocation window runs it, with the cost
// contours the window draws.
dorvan::cli::RunExport windowRunExport(const dorvan::Project& project, const std::vector<double>& contours)
{
    const dorvan::CooperRunInputs in = dorvan::runInputs(project, QLocale().decimalPoint().toStdString());
    auto state = std::make_unique<dorvan::CooperState>();
    const int count = project.State.PlaceCount;
    const dorvan::CooperRunResult res = dorvan::runCooperDriver(*state, project.Record, count, in, {});
    return dorvan::cli::runExport(project.Record, count, in, res, *state, contours);
}

} // namespace

// Written whole or not at all.
bool TDorvan_Central::writeResultExport(const QString& fileName, bool geoJson)
{
    const dorvan::cli::RunExport run = windowRunExport(project_, cooperWindow_->exportContourLevels());
    const auto reference = dorvan::geo::projectionOf(project_.Record);
    std::string text;
    if (geoJson) {
        const auto json = dorvan::cli::exportGeoJson(run, *reference);
        if (!json) {
            dialogs_.warn(this, u"Bod výsledku nemá zemepisnú šírku a dĺžku; GeoJSON sa nedá zapísať."_s);
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
        dialogs_.error(this, u"Súbor "_s + QFileInfo(fileName).fileName() + u" sa nedá zapísať !!!"_s);
        return false;
    }
    setStatusPanelText(1, u"Výsledok zapísaný: "_s + QFileInfo(fileName).fileName());
    return true;
}

// ----------------------------------------------------------------------------------------------
// "Kopírovať výsledok": the places and the results as the export's tables, tab-separated, for a
// spreadsheet to paste.

void TDorvan_Central::KopirovatVysledokClick()
{
    updateExportAction();
    if (!cooperWindowOpen())
        return;
    const dorvan::cli::RunExport run = windowRunExport(project_, {});
    const auto reference = dorvan::geo::projectionOf(project_.Record);
    const std::string text = dorvan::cli::exportTabSeparated(run, reference ? &*reference : nullptr);
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    setStatusPanelText(1, u"Výsledok skopírovaný"_s);
}
