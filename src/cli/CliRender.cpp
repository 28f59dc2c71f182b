#include "cli/CliRender.h"

#include "render/ChartPainter.h"
#include "core/allocation/ChartZoom.h"
#include "render/ChartZoomPainter.h"
#include "render/CooperRunPainter.h"
#include "core/allocation/MapChartGeometry.h"
#include "render/MapChartPainter.h"
#include "core/cli/CliCommands.h"

#include <QGuiApplication>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <memory>
#include <optional>
#include <ostream>

namespace dorvan::cli {

namespace {

// Qt's notes about the environment of a headless run say nothing about the drawing.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtDebugMsg || type == QtInfoMsg || text.startsWith(QStringLiteral("QStandardPaths:")))
        return;
    fprintf(stderr, "dorvan-cli: %s\n", qPrintable(text));
}

bool writePdf(const QImage& image, QSaveFile& file)
{
    QPdfWriter pdf(&file);
    pdf.setCreator(QStringLiteral("dorvan-cli"));
    pdf.setTitle(QStringLiteral("DORVAN"));
    // One page of the drawing's size at 96 pixels an inch; the picture stays as it was drawn.
    pdf.setResolution(96);
    pdf.setPageSize(
        QPageSize(QSizeF(image.width() * 72.0 / 96.0, image.height() * 72.0 / 96.0), QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p;
    if (!p.begin(&pdf))
        return false;
    p.drawImage(QRect(0, 0, image.width(), image.height()), image);
    return p.end();
}

// The drawing area as the window shows it after a drag between the two points and its release:
// the zoom of a real selection, otherwise the drawing as it is (the release runs again, which
// draws the same).
QImage selectedPart(const QImage& image, const ResultDrawing& drawn, const std::array<int, 4>& drag)
{
    const ChartPixel press = clampToArea(drag[0], drag[1], image.width(), image.height());
    const ChartPixel release = clampToArea(drag[2], drag[3], image.width(), image.height());
    const std::optional<ChartRect> selection = zoomSelection(press, release);
    if (!selection)
        return image;
    ChartState chart;
    QImage zoom = zoomResult(drawn, image.size(), *selection, chart);
    return zoom.isNull() ? image : zoom;
}

} // namespace

QImage renderChart(const RenderOptions& o, std::ostream& err)
{
    const LoadedProject project = loadProject(o.solve.project, err);
    const TProjectRecord& r = project.record;
    const int n = projectPlaceCount(r);
    const std::shared_ptr<const AllocationResult> result = allocationFor(r, o.solve, err);
    const CooperRunResult& res = result->run;
    reportNotice(res, err);
    // "S obrázkom" draws over the project's map picture where there is one, as the window does.
    // Its drawing area is sized from the frame that holds a drawing area of the requested size
    // ("NIE": exactly that size; "ÁNO": the picture's proportions within it).
    const bool overPicture = o.picture && r.hasPicture();
    const QSize area = drawingArea(QSize(o.width, o.height),
        overPicture ? std::optional(mapPictureSize(project.picture, r)) : std::nullopt, o.proportional);
    QImage picture;
    if (overPicture)
        picture = mapPictureImage(project.picture);
    const PictureRange range { r.MapRangeX, r.MapRangeY };
    QImage image = cooperSurface(area);
    ChartState chart;
    const std::vector<ChartPoint> places = projectChartPlaces(r, n);

    // A group run is drawn as the window draws it: the background with group 1, then each group
    // as the run listed it.
    CooperRunCallbacks cb;
    cb.groupListed = [&](const CooperRunResult& soFar, int groupNo) {
        if (groupNo == 1) {
            if (overPicture)
                KresliGrafMapaCooperSkupiny1(image, picture, range, places, chart);
            else
                KresliGrafCooperSkupiny1(image, places, chart, {}, o.scale);
        }
        paintListedGroup(
            image, chart, soFar.groups.back(), overPicture, {}, o.contours.empty() ? nullptr : &o.contours);
    };
    replayAllocation(*result, cb);
    ResultDrawing drawn;
    drawn.kind = overPicture ? ResultDrawing::Kind::Map : ResultDrawing::Kind::Chart;
    drawn.places = places;
    drawn.mode = result->inputs.mode;
    drawn.groupRun = res.groupRun;
    drawn.groups = res.groups;
    drawn.picture = picture;
    drawn.pictureSize = mapPictureSize(project.picture, r);
    drawn.range = range;
    drawn.scale = o.scale;
    if (!res.groupRun) {
        drawn.path = result->path();
        if (!o.contours.empty() && !drawn.path.empty())
            drawn.contours
                = ContourInput { oneCentreCostSites(result->state), drawn.path.back(), o.contours };
        paintResult(image, drawn, chart);
    }
    if (o.select)
        return selectedPart(image, drawn, *o.select);
    return image;
}

QSize drawingArea(QSize size, const std::optional<PixelSize>& picture, bool proportional)
{
    if (!picture)
        return size;
    const PixelSize a = mapDrawingArea(*picture, { size.width() + 4, size.height() + 17 }, proportional);
    return { a.width, a.height };
}

void startOffscreenGui(std::optional<QGuiApplication>& app)
{
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(quietMessages);
        static int argc = 1;
        static char name[] = "dorvan-cli";
        static char* argv[] = { name, nullptr };
        app.emplace(argc, argv);
    }
    // The windows show numbers the Slovak way, whatever the system's language.
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
}

void writePicture(const QImage& image, const std::string& out, bool pdf)
{
    const QString path = QString::fromStdString(out);
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written)
        written = pdf ? writePdf(image, file) : image.save(&file, "PNG");
    if (!written || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        throw UsageError(out + ": cannot be written (" + why.toStdString() + ")");
    }
}

int renderCommand(const RenderOptions& o, std::ostream& out, std::ostream& err)
{
    if (o.solve.list.list())
        return renderListCommand(o, out, err);
    std::optional<QGuiApplication> app;
    startOffscreenGui(app);
    const QImage image = renderChart(o, err);
    writePicture(image, o.out, o.pdf);
    out << o.out << ": " << image.width() << " x " << image.height() << (o.pdf ? " PDF\n" : " PNG\n");
    return ExitOk;
}

} // namespace dorvan::cli
