#pragma once

#include <QString>

class CommandStates;
class DataModeSwitch;
class FrameCaption;
class MainStatus;
class ProjectWindows;
class QWidget;
namespace dorvan {
class RgbPicture;
class UserDialogs;
struct LoadedProject;
struct Project;
} // namespace dorvan

// The project's life from the file menu: "Nový", "Otvor ako ...", "Zavrieť" and "Importovať
// miesta ...". Each calls a ProjectSession transition and shows the result in the project's
// windows, the enabled states, the status bar and the caption. ("Ulož ako ..." is ProjectSaving.)
class ProjectFileCommands {
public:
    struct Parts {
        dorvan::Project& project;
        dorvan::UserDialogs& dialogs;
        QWidget& parent;
        ProjectWindows& windows;
        CommandStates& states;
        DataModeSwitch& dataMode;
        MainStatus& status;
        FrameCaption& caption;
    };
    explicit ProjectFileCommands(const Parts& parts);

    void NovyVUClick();
    void OtvorVUClick();
    void ZatvorClick();
    // The file is read and checked first; only a list that can be imported leads to the
    // question about the open project, so a refused or cancelled import leaves the project as
    // it was.
    void ImportujMiestaClick();

    // "Otvor ako ..." from the point where the dialog has given a file name (also used for a
    // project named on the command line). A data-entry window still open is asked to close
    // first. False when the file was refused or the user kept the window.
    bool openProjectFile(const QString& fileName);
    // A place list read from a spreadsheet file: the project as if opened, without a file name.
    bool importPlaceList(const QString& fileName);

private:
    // Closes the open project with the question "Nový" asks; false when the user keeps it.
    bool closeOpenProject();
    bool readProjectForOpening(
        const QString& fileName, dorvan::LoadedProject& loaded, dorvan::RgbPicture& built);
    void showOpenedProject(const QString& fileName, dorvan::LoadedProject& loaded, dorvan::RgbPicture built);
    void openCancelled();

    Parts p_;
};
