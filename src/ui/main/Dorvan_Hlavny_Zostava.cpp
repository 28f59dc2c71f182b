// The report of the allocation window's result: "Zostava (PDF) ..." writes it as a PDF and
// "Tlačiť zostavu ..." sends the same pages to a printer. Both make the run again over the
// project as the allocation window runs it, draw the chart as the window shows it (with or
// without the picture, with its contours and scales, the zoomed part while it is zoomed), and
// add what only the window has: the group proposal's table of centre counts and the star
// network.
#include "ui/main/Dorvan_Hlavny.h"

#include "core/allocation/CooperRunDriver.h"
#include "render/ReportPainter.h"
#include "ui/allocation/Cooperova_Metoda.h"
#include "ui/common/UserDialogs.h"
#include "ui/entry/Vstupne_Udaje.h"
#include "ui/main/MainStatus.h"

#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

const QString ReportFilter = u"Zostava PDF (*.pdf)"_s;

} // namespace

dorvan::report::PreparedReport TDorvan_Central::prepareWindowReport() const
{
    dorvan::report::ReportSource source;
    const QString file = QFileInfo(QString::fromStdString(project_.State.ProjectFileName)).fileName();
    source.projectName = file.isEmpty() ? std::string("Nový projekt") : file.toStdString();
    source.date = dorvan::report::today();
    source.record = &project_.Record;
    source.picture = &project_.MapPicture;
    source.placeCount = project_.State.PlaceCount;
    source.ticked = project_.Choices.Ticked;
    source.inputs = dorvan::runInputs(project_, QLocale().decimalPoint().toStdString());
    if (cooperWindow_ != nullptr) {
        // The chart as the window draws it: with or without the picture, its scales, its zoom.
        source.contours = cooperWindow_->exportContourLevels();
        source.view.withPicture = cooperWindow_->drawsOverPicture();
        source.view.scale = cooperWindow_->chartScale();
        if (const std::optional<dorvan::ChartRect> zoom = cooperWindow_->zoomSelection())
            source.view.selection = dorvan::report::ChartSelection { *zoom, cooperWindow_->zoomArea() };
    }
    if (entryWindow_ != nullptr) {
        const auto table = entryWindow_->proposalTable();
        if (!table.empty())
            source.extras.push_back(dorvan::report::tableSection("Návrh skupín: náklady podľa počtu centier",
                table.front(), { table.begin() + 1, table.end() }));
    }
    if (project_.BestStars.StarCount > 0)
        source.extras.push_back(dorvan::report::starSection(project_.BestStars));
    if (project_.BestRounds.present)
        source.extras.push_back(dorvan::report::roundsSection(project_.BestRounds));
    return dorvan::report::prepareReport(source);
}

void TDorvan_Central::ZostavaPdfClick()
{
    updateExportAction();
    if (!cooperWindowOpen())
        return;
    QString base = QFileInfo(QString::fromStdString(project_.State.ProjectFileName)).completeBaseName();
    if (base.isEmpty())
        base = u"Zostava"_s;
    QString chosen = dialogs_.saveFileName(this, u"Zostava (PDF) ..."_s, base + u".pdf"_s, ReportFilter);
    if (chosen.isEmpty())
        return;
    if (QFileInfo(chosen).suffix().toLower() != u"pdf"_s)
        chosen += u".pdf"_s;
    writeReport(chosen);
}

bool TDorvan_Central::writeReport(const QString& fileName)
{
    const dorvan::report::PreparedReport report = prepareWindowReport();
    if (dorvan::report::writeReportPdf(report, fileName)) {
        dialogs_.error(this, u"Súbor "_s + QFileInfo(fileName).fileName() + u" sa nedá zapísať !!!"_s);
        return false;
    }
    setStatusPanelText(1, u"Zostava zapísaná: "_s + QFileInfo(fileName).fileName());
    return true;
}

void TDorvan_Central::TlacitZostavuClick()
{
    updateExportAction();
    if (!cooperWindowOpen())
        return;
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!dialogs_.printerSetup(this, *printer_))
        return;
    if (!dorvan::report::paintReport(*printer_, prepareWindowReport()))
        dialogs_.error(this, u"Zostavu sa nepodarilo vytlačiť !!!"_s);
}
