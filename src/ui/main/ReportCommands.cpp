// "Tlačiť" prints the active windows as they look. The report of the allocation window's
// result: "Zostava (PDF) ..." writes it as a PDF and
// "Tlačiť zostavu ..." sends the same pages to a printer. Both report the project's result that
// the allocation window shows (kept by the core, made again only when its inputs changed), draw
// the chart as the window shows it (with or without the picture, with its contours and scales,
// the zoomed part while it is zoomed), and add what only the window has: the group proposal's
// table of centre counts and the star network.
#include "ui/main/ReportCommands.h"

#include "core/allocation/AllocationResult.h"
#include "core/report/OutputNames.h"
#include "render/ReportPainter.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/MainStatus.h"
#include "ui/main/ProjectWindows.h"

#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace {

const QString ReportFilter = u"Zostava PDF (*.pdf)"_s;
const QString PrintFailed = u"Tlač sa nepodarila !!!"_s;

} // namespace

ReportCommands::ReportCommands(const Parts& parts)
    : p_(parts)
{
}

ReportCommands::~ReportCommands() = default;

QPrinter& ReportCommands::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
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

bool ReportCommands::printWindowImage(QWidget* window, QPrinter& printer, int job)
{
    // Printing to a file: every job gets its own file, the first one the chosen name, the
    // next ones that name with "-2", "-3", ... before the extension.
    const QString chosen = printer.outputFileName();
    const QString file = QString::fromStdString(dorvan::printJobFileName(chosen.toStdString(), job));
    if (file != chosen)
        printer.setOutputFileName(file);

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
        p_.dialogs.error(&p_.frame, PrintFailed);
        return false;
    }
    emit printJobDone(window->objectName(), file, size);
    return true;
}

void ReportCommands::TlacitClick()
{
    // Which windows are active is taken before the printer dialog takes the activation away.
    QMdiSubWindow* activeChild = p_.area.activeSubWindow();
    QPointer<TVstupUdajov> entry = p_.windows.entryWindow();
    const bool entryActive = entry != nullptr && activeChild != nullptr && activeChild->widget() == entry;
    auto* cooper = activeChild != nullptr ? qobject_cast<TCooperAlokMetod*>(activeChild->widget()) : nullptr;
    const bool frameActive = p_.frame.isActiveWindow();

    if (!p_.dialogs.printerSetup(&p_.frame, printer()))
        return;

    int job = 0;
    if (entryActive && entry != nullptr && !printWindowImage(entry, printer(), ++job))
        return;
    if (cooper != nullptr && !printWindowImage(cooper, printer(), ++job))
        return;
    if (frameActive)
        printWindowImage(&p_.frame, printer(), ++job);
}

// ----------------------------------------------------------------------------------------------
// The report

dorvan::report::PreparedReport ReportCommands::prepareWindowReport() const
{
    dorvan::report::ReportSource source;
    const QString file = QFileInfo(QString::fromStdString(p_.project.State.ProjectFileName)).fileName();
    source.projectName = file.isEmpty() ? std::string("Nový projekt") : file.toStdString();
    source.date = dorvan::report::today();
    source.record = &p_.project.Record;
    source.picture = &p_.project.MapPicture;
    source.placeCount = p_.project.State.PlaceCount;
    source.ticked = p_.project.tickedCriteria();
    source.allocation
        = dorvan::allocationsOf(p_.project).of(p_.project, QLocale().decimalPoint().toStdString());
    if (const TCooperAlokMetod* cooper = p_.windows.cooperWindow()) {
        // The chart as the window draws it: with or without the picture, its scales, its zoom.
        source.contours = cooper->exportContourLevels();
        source.view.withPicture = cooper->drawsOverPicture();
        source.view.scale = cooper->chartScale();
        if (const std::optional<dorvan::ChartRect> zoom = cooper->zoomSelection())
            source.view.selection = dorvan::report::ChartSelection { *zoom, cooper->zoomArea() };
    }
    if (const TVstupUdajov* entry = p_.windows.entryWindow()) {
        const auto table = entry->proposalTable();
        if (!table.empty())
            source.extras.push_back(dorvan::report::tableSection("Návrh skupín: náklady podľa počtu centier",
                table.front(), { table.begin() + 1, table.end() }));
    }
    if (p_.project.BestStars.StarCount > 0)
        source.extras.push_back(dorvan::report::starSection(p_.project.BestStars));
    if (p_.project.BestRounds.present)
        source.extras.push_back(dorvan::report::roundsSection(p_.project.BestRounds));
    return dorvan::report::prepareReport(source);
}

void ReportCommands::ZostavaPdfClick()
{
    if (!p_.windows.updateResultCommands())
        return;
    const QString proposed = QString::fromStdString(
        dorvan::proposedOutputName(p_.project.State.ProjectFileName, "Zostava", ".pdf"));
    const QString chosen = p_.dialogs.saveFileName(&p_.frame, u"Zostava (PDF) ..."_s, proposed, ReportFilter);
    if (chosen.isEmpty())
        return;
    writeReport(QString::fromStdString(dorvan::withPdfExtension(chosen.toStdString())));
}

bool ReportCommands::writeReport(const QString& fileName)
{
    const dorvan::report::PreparedReport report = prepareWindowReport();
    if (dorvan::report::writeReportPdf(report, fileName)) {
        p_.dialogs.error(&p_.frame, u"Súbor "_s + QFileInfo(fileName).fileName() + u" sa nedá zapísať !!!"_s);
        return false;
    }
    p_.status.setText(1, u"Zostava zapísaná: "_s + QFileInfo(fileName).fileName());
    return true;
}

void ReportCommands::TlacitZostavuClick()
{
    if (!p_.windows.updateResultCommands())
        return;
    if (!p_.dialogs.printerSetup(&p_.frame, printer()))
        return;
    if (!dorvan::report::paintReport(printer(), prepareWindowReport()))
        p_.dialogs.error(&p_.frame, u"Zostavu sa nepodarilo vytlačiť !!!"_s);
}
