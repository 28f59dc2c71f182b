#pragma once

#include <QString>

class MainStatus;
class ProjectWindows;
class QWidget;
namespace dorvan {
class UserDialogs;
struct Project;
} // namespace dorvan

// "Exportovať výsledok ..." and "Kopírovať výsledok": the allocation window's result written
// through the same writers as the command line's export (GeoJSON, CSV) or put on the clipboard
// as a table for a spreadsheet.
class ResultCommands {
public:
    struct Parts {
        dorvan::Project& project;
        dorvan::UserDialogs& dialogs;
        QWidget& parent;
        ProjectWindows& windows;
        MainStatus& status;
    };
    explicit ResultCommands(const Parts& parts);

    void ExportujVysledokClick();
    void KopirovatVysledokClick();

private:
    // Written whole or not at all.
    bool writeResultExport(const QString& fileName, bool geoJson);

    Parts p_;
};
