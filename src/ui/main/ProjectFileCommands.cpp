// The main window's project commands: "Nový", "Otvor ako ...", "Zavrieť" and "Importovať
// miesta ..." (a place list kept in a spreadsheet, with latitude/longitude or plain X/Y, read
// through the same reader as the command line's import).
#include "ui/main/ProjectFileCommands.h"

#include "core/cli/PlaceCsv.h"
#include "core/entry/PlaceEntry.h"
#include "core/entry/ProjectSession.h"
#include "core/project/ProjectFile.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/CommandStates.h"
#include "ui/main/DataModeSwitch.h"
#include "ui/main/FrameCaption.h"
#include "ui/main/MainStatus.h"
#include "ui/main/PlaceListMessages.h"
#include "ui/main/ProjectWindows.h"
#include "ui/main/StatusBar_DrawPanel.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <new>
#include <optional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

const QString NoMemoryForPicture = u"Na obrázok projektu nie je dosť pamäte !!!"_s;

QString fromUtf8View(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

ProjectFileCommands::ProjectFileCommands(const Parts& parts)
    : p_(parts)
{
}

// An open project is closed with the data-entry window's question. False when the user keeps it.
bool ProjectFileCommands::closeOpenProject()
{
    const auto& s = p_.project.State;
    if (s.AddPlacesMode || p_.windows.entryWindowOpen())
        return p_.windows.requestEntryWindowClose() && s.EntryWindowClosed;
    // At most one data-entry window, whatever the flags say.
    return p_.windows.entryWindow() == nullptr || p_.windows.requestEntryWindowClose();
}

// ----------------------------------------------------------------------------------------------
// "Nový"

void ProjectFileCommands::NovyVUClick()
{
    const bool projectOpen = p_.project.State.AddPlacesMode || p_.windows.entryWindowOpen();
    if (!closeOpenProject())
        return; // the user kept the window

    // Mode switch and project commands on (the "Nový" row of the enabled-state table).
    p_.states.apply(MainEvent::NewProject);
    p_.dataMode.set(false);

    p_.windows.createEntryWindow();
    dorvan::ProjectSession(p_.project).startNew();

    p_.status.setText(1, QString());
    // Saving proposes "Novy.mzd", as the caption says.
    if (projectOpen)
        p_.caption.showFile(u"Novy.mzd"_s);

    // The new window opens on the manual-entry page, the picture page hidden, the focus in
    // the place-count field.
    p_.project.tell(dorvan::ProjectChange::DataMode);
}

// ----------------------------------------------------------------------------------------------
// "Zavrieť"

void ProjectFileCommands::ZatvorClick()
{
    if (!p_.project.State.EntryClosable)
        return;
    // When the user keeps the window, its project stays as it was, savable and with its name.
    if (!p_.windows.requestEntryWindowClose())
        return;
    p_.states.apply(MainEvent::ProjectClosed);
    p_.status.setText(1, QString());
    p_.caption.showTitle();
}

void ProjectFileCommands::OtvorVUClick()
{
    auto& s = p_.project.State;
    if (s.AddPlacesMode || p_.windows.entryWindowOpen()) {
        if (!p_.windows.requestEntryWindowClose())
            return;
    }
    if (!s.EntryWindowClosed)
        return;

    const QString chosen = p_.dialogs.openFileName(
        &p_.parent, u"Otvor ako ..."_s, QString::fromUtf8(dorvan::ProjectFileFilter));
    if (chosen.isEmpty()) {
        openCancelled();
        return;
    }
    openProjectFile(chosen);
}

bool ProjectFileCommands::openProjectFile(const QString& chosen)
{
    auto& s = p_.project.State;
    if (p_.windows.entryWindow() != nullptr && !p_.windows.requestEntryWindowClose())
        return false;
    s.ProjectFileName = chosen.toStdString();

    dorvan::LoadedProject loaded;
    dorvan::RgbPicture built;
    if (!readProjectForOpening(chosen, loaded, built))
        return false;
    showOpenedProject(chosen, loaded, std::move(built));
    return true;
}

// The file is read and checked in full before anything of the project is replaced, and the
// memory for building its picture is taken before that too. A refusal is shown and handled like
// a cancelled open.
bool ProjectFileCommands::readProjectForOpening(
    const QString& chosen, dorvan::LoadedProject& loaded, dorvan::RgbPicture& built)
{
    p_.status.beginFileOperation(u"Otváram súbor!"_s);
    const auto refused = [&](const QString& message) {
        p_.status.endFileOperation();
        p_.dialogs.warn(&p_.parent, message);
        openCancelled();
    };
    try {
        std::optional<dorvan::ProgressTracker> tracker;
        loaded = dorvan::readProjectFile(chosen.toStdString(), [&](int row, int width, int height) {
            if (!tracker)
                tracker.emplace(width, height);
            p_.status.showFileProgress(*tracker, row, 2);
        });
        if (loaded.record.hasPicture())
            built.resizeForOverwrite(loaded.record.PictureWidth, loaded.record.PictureHeight);
    } catch (const dorvan::ProjectFileUnavailable& e) {
        // Nothing was read: panel 1 returns to plain text, panel 2 keeps "Otváram súbor!"
        // until it is next changed.
        p_.status.dropProgress();
        p_.status.setText(1, QString());
        p_.dialogs.warn(&p_.parent, QString::fromUtf8(e.what()));
        openCancelled();
        return false;
    } catch (const std::bad_alloc&) {
        refused(NoMemoryForPicture);
        return false;
    } catch (const std::exception& e) {
        refused(QString::fromUtf8(e.what()));
        return false;
    }
    p_.status.endFileOperation();
    return true;
}

// The project read takes the place of the old one, and a new data-entry window shows it.
void ProjectFileCommands::showOpenedProject(
    const QString& chosen, dorvan::LoadedProject& loaded, dorvan::RgbPicture built)
{
    dorvan::ProjectSession session(p_.project);
    session.open(loaded.record, chosen.toStdString());
    const bool picture = p_.project.Record.hasPicture();

    p_.windows.createEntryWindow();
    p_.dataMode.set(picture);
    p_.dataMode.show(picture);

    if (picture) {
        // Building the picture, with its own progress display.
        p_.status.setText(2, u"Spracovávam dáta!"_s);
        p_.status.bar()->repaint();
        p_.status.bar()->setPanelOwnerDrawn(1, true);
        dorvan::ProgressTracker tracker(built.width(), built.height());
        dorvan::buildMapPicture(
            loaded.picture, built, [&](int row, int, int) { p_.status.showFileProgress(tracker, row, 0); });
        loaded.picture.clear();
        session.takePicture(std::move(built));
        // The picture page's drawing sized for the " Proporcionalita " choice, the picture with
        // the place marks, the coordinate grid; the drawing on and "open a picture" off.
        p_.windows.entryWindow()->showProjectPicture();
        p_.status.endFileOperation();
    }

    // An imported place list has no file yet: saving proposes "Novy.mzd", as after "Nový".
    p_.caption.showFile(chosen.isEmpty() ? u"Novy.mzd"_s : chosen);
    p_.windows.entryWindow()->enableProjectPages();
    p_.windows.entryWindow()->showChoices();

    p_.status.setText(1, QString());
    p_.states.apply(MainEvent::OpenCompleted);

    if (!picture) {
        p_.windows.entryWindow()->showAddPlacesPrompt();
        p_.windows.entryWindow()->FillPlaceGrid();
    }
    session.openShown();
    if (!p_.project.State.CoordsDiffer)
        p_.dialogs.warn(&p_.parent, fromUtf8View(dorvan::AllAtOneSpotText));
    if (loaded.pictureTruncated)
        p_.dialogs.warn(&p_.parent, fromUtf8View(dorvan::TruncatedPictureMessage));
}

void ProjectFileCommands::openCancelled()
{
    dorvan::ProjectSession(p_.project).openCancelled();
    p_.states.apply(MainEvent::OpenCancelled);
}

// ----------------------------------------------------------------------------------------------
// "Importovať miesta ..."

namespace {

const QString PlaceListFilter = u"Zoznam miest (*.csv *.txt);;Všetky súbory (*)"_s;
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
void ProjectFileCommands::ImportujMiestaClick()
{
    const QString chosen = p_.dialogs.openFileName(&p_.parent, u"Importovať miesta ..."_s, PlaceListFilter);
    if (!chosen.isEmpty())
        importPlaceList(chosen);
}

bool ProjectFileCommands::importPlaceList(const QString& fileName)
{
    const std::optional<dorvan::cli::PlaceCsv> csv = readPlaceListAsked(p_.dialogs, &p_.parent, fileName);
    if (!csv)
        return false;
    // An open project is closed now, with the question "Nový" asks.
    if (!closeOpenProject())
        return false; // the user kept the project

    dorvan::LoadedProject loaded;
    loaded.record = csv->record;
    showOpenedProject(QString(), loaded, dorvan::RgbPicture {});
    // The import is one step from an empty project, the saved point: the places exist in no
    // project file yet, so closing offers to save them, and "Krok späť" takes them back.
    dorvan::ProjectSession(p_.project).importShown();
    if (csv->xyIgnored)
        p_.dialogs.warn(&p_.parent, XyIgnoredNotice);
    // The status panel is narrow: the count only; the places' positions are in the grid.
    p_.status.setText(1, u"Importované miesta: "_s + QString::number(csv->placeCount));
    return true;
}
