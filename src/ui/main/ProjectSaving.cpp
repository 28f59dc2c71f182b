// "Ulož ako ...": the save question for an existing file, the writing with its progress.
#include "ui/main/ProjectSaving.h"

#include "core/entry/PlaceEntry.h"
#include "core/entry/ProjectSession.h"
#include "core/project/ProjectFile.h"
#include "ui/common/UserDialogs.h"
#include "ui/main/FrameCaption.h"
#include "ui/main/MainStatus.h"

#include <QFileInfo>
#include <QWidget>

using namespace Qt::StringLiterals;

ProjectSaving::ProjectSaving(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget& parent,
    MainStatus& status, FrameCaption& caption)
    : project_(project)
    , dialogs_(dialogs)
    , parent_(parent)
    , status_(status)
    , caption_(caption)
{
}

bool ProjectSaving::saveProjectAs()
{
    // The name chosen in the dialog becomes the project's file name even when writing then
    // fails, so the next save proposes it again.
    QString name = QString::fromStdString(project_.State.ProjectFileName);
    const bool saved = SaveProjectAs(name);
    project_.State.ProjectFileName = name.toStdString();
    return saved;
}

bool ProjectSaving::SaveProjectAs(QString& fileName)
{
    dorvan::ProjectSession session(project_);
    if (!session.savable()) {
        dialogs_.warn(&parent_,
            QString::fromUtf8(
                dorvan::AllAtOneSpotText.data(), static_cast<qsizetype>(dorvan::AllAtOneSpotText.size())));
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
            [&](int row, int, int) { status_.showFileProgress(tracker, row, 1); },
            [&] {
                created = true;
                status_.beginFileOperation(u"Ukladám súbor!"_s);
            });
    } catch (const std::exception& e) {
        // The previous file, if any, is as it was: the new bytes never replaced it. Panel 1
        // returns to plain text before the message; panel 2 still tells what was under way.
        if (created)
            status_.dropProgress();
        dialogs_.error(&parent_, QString::fromUtf8(e.what()));
        return false;
    }
    status_.endFileOperation();
    session.saved(name.toStdString());
    caption_.showFile(name);
    return true;
}

// The save dialog until the user settles on a name (".mzd" added): an existing file other than
// the one this project came from or was last saved to is replaced only when the user says so;
// No returns to the dialog. Empty when the dialog was cancelled.
QString ProjectSaving::chooseSaveName(const QString& proposed)
{
    QString offer = QString::fromStdString(dorvan::proposedProjectFileName(proposed.toStdString()));
    for (;;) {
        const QString chosen = dialogs_.saveFileName(
            &parent_, u"Ulož ako ..."_s, offer, QString::fromUtf8(dorvan::ProjectFileFilter));
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
                &parent_, u"Súbor "_s + target.fileName() + u" už existuje. Nahradiť ho ?!!"_s, false))
            return name;
        offer = name;
    }
}
