// The main window's project commands: "Nový", "Otvor ako ...", "Ulož ako ...", "Zavrieť",
// "Tlačiť", "Riešenie DORVAN" and the data-entry mode switch.
#include "ui/main/Dorvan_Hlavny.h"

#include "core/entry/GroupList.h"
#include "core/entry/PlaceEntry.h"
#include "core/entry/PlaceList.h"
#include "core/entry/ProjectSession.h"
#include "core/project/ProjectFile.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/help/Pomoc_Napoveda.h"
#include "ui/main/DataModeSwitch.h"
#include "ui/main/MainStatus.h"
#include "ui/main/NetworkWindows.h"
#include "ui/main/StatusBar_DrawPanel.h"
#include "ui/network/Metoda_Sieti.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>

#include <algorithm>
#include <new>

using namespace Qt::StringLiterals;

namespace {

const QString NoMemoryForPicture = u"Na obrázok projektu nie je dosť pamäte !!!"_s;
const QString PrintFailed = u"Tlač sa nepodarila !!!"_s;

QString qs(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

// ----------------------------------------------------------------------------------------------
// The data-entry window

TVstupUdajov* TDorvan_Central::entryWindow() const
{
    return entryWindow_;
}

bool TDorvan_Central::requestEntryWindowClose()
{
    if (entryWindow_ == nullptr)
        return true;
    auto* frame = qobject_cast<QMdiSubWindow*>(entryWindow_->parentWidget());
    // Closing the frame closes the window inside first, which asks its own question.
    const bool closed = frame != nullptr ? frame->close() : entryWindow_->close();
    if (!closed)
        return false;
    // Gone now rather than at the next turn of the event loop, so a new window never meets the
    // old one.
    QWidget* gone = frame != nullptr ? static_cast<QWidget*>(frame) : entryWindow_.data();
    entryWindow_ = nullptr;
    delete gone;
    return true;
}

void TDorvan_Central::createEntryWindow()
{
    auto* w = new TVstupUdajov(project_, dialogs_, *this, mdiArea_);
    entryWindow_ = w;
    addChildWindow(w, true);
}

TCooperAlokMetod* TDorvan_Central::cooperWindow() const
{
    return cooperWindow_;
}

void TDorvan_Central::adoptCooperWindow(TCooperAlokMetod* window)
{
    cooperWindow_ = window;
    if (window != nullptr)
        // The window going is the result going (one allocation window at a time; the file menu
        // checks again whenever it opens). The half-destroyed window is not asked anything.
        connect(window, &QObject::destroyed, this, [this] { states_.showResultCommands(false); });
    updateExportAction();
    // A window opened from the menu comes to the front, also over a maximised data-entry window.
    // It takes the focus too: when the menu closes, the focus would otherwise go back into the
    // data-entry window and bring that one forward again.
    if (QMdiSubWindow* frame = addChildWindow(window)) {
        mdiArea_->setActiveSubWindow(frame);
        window->setFocus();
    }
}

// ----------------------------------------------------------------------------------------------
// "Nový"

void TDorvan_Central::NovyVUClick()
{
    auto& s = project_.State;
    const bool projectOpen = s.AddPlacesMode || entryWindowOpen();
    if (projectOpen) {
        if (!requestEntryWindowClose() || !s.EntryWindowClosed)
            return; // the user kept the window
    } else {
        // At most one data-entry window, whatever the flags say.
        if (entryWindow_ != nullptr && !requestEntryWindowClose())
            return;
    }

    // Mode switch and project commands on (the "Nový" row of the enabled-state table).
    states_.apply(MainEvent::NewProject);
    dataMode_->set(false);

    createEntryWindow();
    dorvan::ProjectSession(project_).startNew();

    setStatusPanelText(1, QString());
    // Saving proposes "Novy.mzd", as the caption says.
    if (projectOpen)
        caption_.showFile(u"Novy.mzd"_s);

    // The new window opens on the manual-entry page, the picture page hidden, the focus in
    // the place-count field.
    project_.changed(dorvan::ProjectChange::DataMode);
}

// ----------------------------------------------------------------------------------------------
// "Zavrieť"

void TDorvan_Central::ZatvorClick()
{
    if (!project_.State.EntryClosable)
        return;
    // When the user keeps the window, its project stays as it was, savable and with its name.
    if (!requestEntryWindowClose())
        return;
    states_.apply(MainEvent::ProjectClosed);
    setStatusPanelText(1, QString());
    caption_.showTitle();
}

// ----------------------------------------------------------------------------------------------
// "Riešenie DORVAN"

void TDorvan_Central::CooperClick()
{
    if (cooperWindowOpen())
        return;
    // The window makes its first run and takes its result choice from the picture.
    openCooperWindow(*this);
    dorvan::ProjectSession(project_).allocationOpened();
    states_.apply(MainEvent::CooperOpened);
}

void TDorvan_Central::SieteClick()
{
    networkWindows_->open();
}

// ----------------------------------------------------------------------------------------------
// Project files

void TDorvan_Central::UlozAkoVUClick()
{
    saveProjectAs();
}

bool TDorvan_Central::saveProjectAs()
{
    // The name chosen in the dialog becomes the project's file name even when writing then
    // fails, so the next save proposes it again.
    QString name = QString::fromStdString(project_.State.ProjectFileName);
    const bool saved = SaveProjectAs(name);
    project_.State.ProjectFileName = name.toStdString();
    return saved;
}

bool TDorvan_Central::SaveProjectAs(QString& fileName)
{
    dorvan::ProjectSession session(project_);
    if (!session.savable()) {
        dialogs_.warn(this, qs(dorvan::AllAtOneSpotText));
        return false;
    }
    const QString name = chooseSaveName(fileName);
    if (name.isEmpty()) {
        session.saveCancelled();
        return false;
    }
    fileName = name;
    session.prepareSave();
    const auto& r = project_.Record;

    // The status bar turns to saving once the file exists; a file that cannot be created
    // leaves it as it was.
    dorvan::ProgressTracker tracker(r.PictureWidth, r.PictureHeight);
    bool created = false;
    try {
        dorvan::saveProjectFile(
            name.toStdString(), r, project_.MapPicture,
            [&](int row, int, int) { status_->showFileProgress(tracker, row, 1); },
            [&] {
                created = true;
                status_->beginFileOperation(u"Ukladám súbor!"_s);
            });
    } catch (const std::exception& e) {
        // The previous file, if any, is as it was: the new bytes never replaced it. Panel 1
        // returns to plain text before the message; panel 2 still tells what was under way.
        if (created)
            status_->dropProgress();
        dialogs_.error(this, QString::fromUtf8(e.what()));
        return false;
    }
    status_->endFileOperation();
    session.saved(name.toStdString());
    caption_.showFile(name);
    return true;
}

// The save dialog until the user settles on a name (".mzd" added): an existing file other than
// the one this project came from or was last saved to is replaced only when the user says so;
// No returns to the dialog. Empty when the dialog was cancelled.
QString TDorvan_Central::chooseSaveName(const QString& proposed)
{
    QString offer = QString::fromStdString(dorvan::proposedProjectFileName(proposed.toStdString()));
    for (;;) {
        const QString chosen = dialogs_.saveFileName(
            this, u"Ulož ako ..."_s, offer, QString::fromUtf8(dorvan::ProjectFileFilter));
        if (chosen.isEmpty())
            return {};
        const QString name = QString::fromStdString(dorvan::withProjectExtension(chosen.toStdString()));
        const QFileInfo target(name);
        const QString own = QString::fromStdString(project_.State.ProjectFile);
        const bool ownFile = !own.isEmpty() && QFileInfo(own).exists()
            && target.canonicalFilePath() == QFileInfo(own).canonicalFilePath();
        if (!target.exists() || ownFile)
            return name;
        if (dialogs_.confirm(
                this, u"Súbor "_s + target.fileName() + u" už existuje. Nahradiť ho ?!!"_s, false))
            return name;
        offer = name;
    }
}

void TDorvan_Central::OtvorVUClick()
{
    auto& s = project_.State;
    if (s.AddPlacesMode || entryWindowOpen()) {
        if (!requestEntryWindowClose())
            return;
    }
    if (!s.EntryWindowClosed)
        return;

    const QString chosen
        = dialogs_.openFileName(this, u"Otvor ako ..."_s, QString::fromUtf8(dorvan::ProjectFileFilter));
    if (chosen.isEmpty()) {
        openCancelled();
        return;
    }
    openProjectFile(chosen);
}

bool TDorvan_Central::openProjectFile(const QString& chosen)
{
    auto& s = project_.State;
    if (entryWindow_ != nullptr && !requestEntryWindowClose())
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
bool TDorvan_Central::readProjectForOpening(
    const QString& chosen, dorvan::LoadedProject& loaded, dorvan::RgbPicture& built)
{
    status_->beginFileOperation(u"Otváram súbor!"_s);
    const auto refused = [&](const QString& message) {
        status_->endFileOperation();
        dialogs_.warn(this, message);
        openCancelled();
    };
    try {
        std::optional<dorvan::ProgressTracker> tracker;
        loaded = dorvan::readProjectFile(chosen.toStdString(), [&](int row, int width, int height) {
            if (!tracker)
                tracker.emplace(width, height);
            status_->showFileProgress(*tracker, row, 2);
        });
        if (loaded.record.hasPicture())
            built.resizeForOverwrite(loaded.record.PictureWidth, loaded.record.PictureHeight);
    } catch (const dorvan::ProjectFileUnavailable& e) {
        // Nothing was read: panel 1 returns to plain text, panel 2 keeps "Otváram súbor!"
        // until it is next changed.
        status_->dropProgress();
        setStatusPanelText(1, QString());
        dialogs_.warn(this, QString::fromUtf8(e.what()));
        openCancelled();
        return false;
    } catch (const std::bad_alloc&) {
        refused(NoMemoryForPicture);
        return false;
    } catch (const std::exception& e) {
        refused(QString::fromUtf8(e.what()));
        return false;
    }
    status_->endFileOperation();
    return true;
}

// The project read takes the place of the old one, and a new data-entry window shows it.
void TDorvan_Central::showOpenedProject(
    const QString& chosen, dorvan::LoadedProject& loaded, dorvan::RgbPicture built)
{
    dorvan::ProjectSession session(project_);
    session.open(loaded.record, chosen.toStdString());
    const bool picture = project_.Record.hasPicture();

    createEntryWindow();
    dataMode_->set(picture);
    dataMode_->show(picture);

    if (picture) {
        // Building the picture, with its own progress display.
        setStatusPanelText(2, u"Spracovávam dáta!"_s);
        status_->bar()->repaint();
        status_->bar()->setPanelOwnerDrawn(1, true);
        dorvan::ProgressTracker tracker(built.width(), built.height());
        dorvan::buildMapPicture(
            loaded.picture, built, [&](int row, int, int) { status_->showFileProgress(tracker, row, 0); });
        loaded.picture.clear();
        session.takePicture(std::move(built));
        // The picture page's drawing sized for the " Proporcionalita " choice, the picture with
        // the place marks, the coordinate grid; the drawing on and "open a picture" off.
        entryWindow_->showProjectPicture();
        status_->endFileOperation();
    }

    // An imported place list has no file yet: saving proposes "Novy.mzd", as after "Nový".
    caption_.showFile(chosen.isEmpty() ? u"Novy.mzd"_s : chosen);
    entryWindow_->enableProjectPages();
    entryWindow_->showChoices();

    setStatusPanelText(1, QString());
    states_.apply(MainEvent::OpenCompleted);

    if (!picture) {
        entryWindow_->showAddPlacesPrompt();
        entryWindow_->FillPlaceGrid();
    }
    session.openShown();
    if (!project_.State.CoordsDiffer)
        dialogs_.warn(this, qs(dorvan::AllAtOneSpotText));
    if (loaded.pictureTruncated)
        dialogs_.warn(this, qs(dorvan::TruncatedPictureMessage));
}

void TDorvan_Central::openCancelled()
{
    dorvan::ProjectSession(project_).openCancelled();
    states_.apply(MainEvent::OpenCancelled);
}

// ----------------------------------------------------------------------------------------------
// "Tlačiť"

QSizeF printedSize(QSizeF onScreen, double dotsPerPixel, QSizeF printable)
{
    // Printer dots per screen pixel keep the window's size on paper; a window wider or taller
    // than the printable area is scaled down to fit it whole rather than cut off at its edge.
    const QSizeF size = onScreen * dotsPerPixel;
    if (size.width() <= printable.width() && size.height() <= printable.height())
        return size;
    return size.scaled(printable, Qt::KeepAspectRatio);
}

bool TDorvan_Central::printWindowImage(QWidget* window, QPrinter& printer, int job)
{
    // Printing to a file: every job gets its own file, the first one the chosen name, the
    // next ones that name with "-2", "-3", ... before the extension.
    const QString chosen = printer.outputFileName();
    QString file = chosen;
    if (!chosen.isEmpty() && job > 1) {
        const QFileInfo info(chosen);
        file = info.path() + u'/' + info.completeBaseName() + u'-' + QString::number(job);
        if (!info.suffix().isEmpty())
            file += u'.' + info.suffix();
        printer.setOutputFileName(file);
    }

    const QPixmap image = window->grab();
    QPainter painter;
    QSizeF size;
    bool ok = painter.begin(&printer);
    if (ok) {
        const double dotsPerPixel = static_cast<double>(printer.resolution()) / window->logicalDpiX();
        const QSizeF printable = printer.pageLayout().paintRectPixels(printer.resolution()).size();
        size = printedSize(image.deviceIndependentSize(), dotsPerPixel, printable);
        painter.drawPixmap(QRectF(QPointF(0, 0), size), image, QRectF(image.rect()));
        ok = painter.end();
    }
    printer.setOutputFileName(chosen);
    if (!ok) {
        dialogs_.error(this, PrintFailed);
        return false;
    }
    emit printJobDone(window->objectName(), file, size);
    return true;
}

void TDorvan_Central::TlacitClick()
{
    // Which windows are active is taken before the printer dialog takes the activation away.
    QMdiSubWindow* activeChild = mdiArea_->activeSubWindow();
    const bool entryActive
        = entryWindow_ != nullptr && activeChild != nullptr && activeChild->widget() == entryWindow_;
    auto* cooper = activeChild != nullptr ? qobject_cast<TCooperAlokMetod*>(activeChild->widget()) : nullptr;
    const bool frameActive = isActiveWindow();

    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!dialogs_.printerSetup(this, *printer_))
        return;

    int job = 0;
    if (entryActive && entryWindow_ != nullptr && !printWindowImage(entryWindow_, *printer_, ++job))
        return;
    if (cooper != nullptr && !printWindowImage(cooper, *printer_, ++job))
        return;
    if (frameActive)
        printWindowImage(this, *printer_, ++job);
}

// ----------------------------------------------------------------------------------------------
// "Importovať vzdialenosti ..."

void TDorvan_Central::ImportujVzdialenostiClick()
{
    states_.showDistanceImport(entryWindowOpen());
    if (!actions_.ImportujVzdialenosti->isEnabled() || !entryWindow_->importDistances())
        return;
    // An open network window searches again on the new distances, as its activation would: it
    // may be the active window, which the import does not activate anew.
    if (networkWindows_->networkWindowOpen())
        networkWindows_->networkWindow()->FormCreate();
}

// ----------------------------------------------------------------------------------------------
// Opening from the main window

TCooperAlokMetod* openCooperWindow(TDorvan_Central& mainWindow)
{
    dorvan::Project& project = mainWindow.project();
    if (mainWindow.cooperWindowOpen())
        return nullptr;
    auto* w = new TCooperAlokMetod(project, mainWindow.dialogs());
    w->setEntryWindowOpen([main = QPointer<TDorvan_Central>(&mainWindow)] {
        return main != nullptr && main->entryWindowOpen();
    });
    mainWindow.adoptCooperWindow(w);
    w->setResultChoiceByPicture(project.Record.hasPicture());
    return w;
}
