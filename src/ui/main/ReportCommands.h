#pragma once

#include <QObject>
#include <QSizeF>

#include <memory>

class MainStatus;
class ProjectWindows;
class QMdiArea;
class QPrinter;
class QWidget;
namespace dorvan {
class UserDialogs;
struct Project;
} // namespace dorvan
namespace dorvan::report {
struct PreparedReport;
} // namespace dorvan::report

// The size a window of onScreen pixels takes on paper with dotsPerPixel printer dots per screen
// pixel: as on the screen where that fits the printable area, otherwise scaled down to fit.
QSizeF printedSize(QSizeF onScreen, double dotsPerPixel, QSizeF printable);

// What the main window puts on paper: "Tlačiť" (the active windows as they look on the screen),
// "Zostava (PDF) ..." and "Tlačiť zostavu ..." (the report of the allocation window's result).
// One printer set-up serves them all for the run.
class ReportCommands : public QObject {
    Q_OBJECT
public:
    struct Parts {
        dorvan::Project& project;
        dorvan::UserDialogs& dialogs;
        QWidget& frame;
        QMdiArea& area;
        ProjectWindows& windows;
        MainStatus& status;
    };
    explicit ReportCommands(const Parts& parts);
    ~ReportCommands() override;

    void TlacitClick();
    void ZostavaPdfClick();
    void TlacitZostavuClick();

signals:
    // One print job was finished for the window with this object name; outputFile is the file
    // written when printing to a file, else empty.
    // printed: the window's size on paper, in printer dots.
    void printJobDone(const QString& windowName, const QString& outputFile, const QSizeF& printed);

private:
    QPrinter& printer();
    bool printWindowImage(QWidget* window, QPrinter& printer, int job);
    // The report of the allocation window's result.
    dorvan::report::PreparedReport prepareWindowReport() const;
    // Writes the report whole or not at all; false (and the message shown) when it cannot.
    bool writeReport(const QString& fileName);

    Parts p_;
    std::unique_ptr<QPrinter> printer_;
};
