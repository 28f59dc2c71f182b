#pragma once

#include <QString>

class FrameCaption;
class MainStatus;
class QWidget;
namespace dorvan {
class UserDialogs;
struct Project;
} // namespace dorvan

// "Ulož ako ...": the project written under a name the user chooses, with the progress on the
// status bar and the name in the caption.
class ProjectSaving {
public:
    ProjectSaving(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget& parent, MainStatus& status,
        FrameCaption& caption);

    void UlozAkoVUClick() { saveProjectAs(); }
    // True when the project was saved. The name chosen in the dialog becomes the project's file
    // name even when writing then fails, so the next save proposes it again.
    bool saveProjectAs();

private:
    // Writes the project under a name the user chooses; on success fileName holds the name
    // written.
    bool SaveProjectAs(QString& fileName);
    QString chooseSaveName(const QString& proposed);

    dorvan::Project& project_;
    dorvan::UserDialogs& dialogs_;
    QWidget& parent_;
    MainStatus& status_;
    FrameCaption& caption_;
};
