#include "render/ReportPainter.h"

#include "core/allocation/ChartZoom.h"
#include "core/allocation/MapChartGeometry.h"
#include "render/MapChartPainter.h"

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cmath>
#include <memory>

namespace dorvan::report {

namespace {

// The report's own typeface: DejaVu carries every Slovak letter and is embedded in the PDF.
const QString ReportFamily = QStringLiteral("DejaVu Sans");

ResultDrawing reportDrawing(const ReportSource& s, const CooperRunResult& res, const CooperState& state)
{
    const TProjectRecord& r = *s.record;
    const int n = runPlaceCount(s.placeCount);
    ResultDrawing d;
    const bool picture = chartOverPicture(s);
    d.kind = picture ? ResultDrawing::Kind::Map : ResultDrawing::Kind::Chart;
    d.places = projectChartPlaces(r, n);
    d.mode = s.inputs.mode;
    d.groupRun = res.groupRun;
    d.groups = res.groups;
    d.scale = s.view.scale;
    if (picture) {
        d.picture = mapPictureImage(*s.picture).copy();
        d.pictureSize = mapPictureSize(*s.picture, r);
        d.range = { r.MapRangeX, r.MapRangeY };
    }
    if (!res.groupRun) {
        d.path = historyPoints(state.IterX, state.IterY, res.finalIter);
        if (!s.contours.empty() && !d.path.empty())
            d.contours = ContourInput { oneCentreCostSites(state), d.path.back(), s.contours };
    } else if (!s.contours.empty()) {
        d.groupContourPercents = s.contours;
    }
    return d;
}

QFont reportFont(TextStyle style)
{
    QFont f(ReportFamily);
    f.setPointSizeF(pointSize(style));
    f.setBold(isBold(style));
    // No ligatures: "fi" stays two letters for whoever searches or copies the text.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

// Points of the layout to the device's units.
struct PageScale {
    double x = 1.0;
    double y = 1.0;
    QRectF rect(const ReportBox& b) const { return { b.x * x, b.y * y, b.width * x, b.height * y }; }
};

void paintText(QPainter& p, const PageScale& s, const PlacedText& t)
{
    const QFont font = reportFont(t.style);
    p.setFont(font);
    QRectF box = s.rect(t.box);
    // A column of figures keeps a gap to the column on its right.
    if (t.align == Align::Right)
        box.adjust(0, 0, -3.0 * s.x, 0);
    const QFontMetricsF metrics(font, p.device());
    const QString text = metrics.elidedText(QString::fromStdString(t.text), Qt::ElideRight, box.width());
    const Qt::Alignment align = (t.align == Align::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    p.drawText(box, static_cast<int>(align), text);
}

// The chart's box in pixels at 96 an inch, the unit the chart painters draw in.
QSizeF boxPixels(const ReportBox& box)
{
    return { box.width * 96.0 / 72.0, box.height * 96.0 / 72.0 };
}

// The whole chart on a drawing of whole pixels filling the box: over the map picture the
// drawing takes the picture's proportions within it.
void paintWholeChart(QPainter& p, const QSizeF& room, const ResultDrawing& chart)
{
    QSize area(static_cast<int>(std::floor(room.width())), static_cast<int>(std::floor(room.height())));
    if (chart.kind == ResultDrawing::Kind::Map) {
        const PixelSize a = mapDrawingArea(chart.pictureSize, { area.width() + 4, area.height() + 17 }, true);
        area = QSize(std::min(a.width, area.width()), std::min(a.height, area.height()));
    }
    p.setClipRect(QRect(QPoint(0, 0), area));
    ChartState state;
    paintResult(p, area, chart, state);
}

// The part of the chart a selection chose, as the window's zoom shows it: the drawing laid out
// on the zoom's surface F, the selection's rectangle of F mapped onto a frame of the selection
// area's proportions, as large as the room allows, and clipped to it. False when there is no
// such part.
bool paintSelectedPart(
    QPainter& p, const QSizeF& room, const ResultDrawing& chart, const ChartSelection& selection)
{
    const QSize area = selection.area;
    const PixelSize f = zoomSurfaceSize(chart, area);
    const std::optional<ZoomPlan> plan
        = zoomPlan(selection.rect, area.width(), area.height(), f.width, f.height);
    if (!plan || area.isEmpty())
        return false;
    const double k = std::min(room.width() / area.width(), room.height() / area.height());
    const ChartRect& s = plan->source;
    p.setClipRect(QRectF(0, 0, area.width() * k, area.height() * k));
    p.scale(area.width() * k / (s.right - s.left), area.height() * k / (s.bottom - s.top));
    p.translate(-s.left, -s.top);
    ChartState state;
    paintResult(p, QSize(f.width, f.height), chart, state);
    return true;
}

// The chart scaled into its box: its lines and text stay vector graphics.
void paintChart(QPainter& p, const PageScale& s, const ReportBox& box, const PreparedReport& report)
{
    const QRectF target = s.rect(box);
    const QSizeF room = boxPixels(box);
    const double scale = target.width() / room.width();
    p.save();
    p.translate(target.topLeft());
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (!report.selection || !paintSelectedPart(p, room, report.chart, *report.selection))
        paintWholeChart(p, room, report.chart);
    p.restore();
}

} // namespace

bool chartOverPicture(const ReportSource& s)
{
    return s.view.withPicture && s.picture != nullptr && !s.picture->empty() && s.record != nullptr
        && s.record->hasPicture() && s.inputs.mode == ChartDataMode::Picture;
}

PreparedReport prepareReport(const ReportSource& s, const CooperRunCallbacks& callbacks)
{
    auto state = std::make_unique<CooperState>();
    const CooperRunResult res = runCooperDriver(*state, *s.record, s.placeCount, s.inputs, callbacks);
    ReportRun run;
    run.projectName = s.projectName;
    run.date = s.date;
    run.record = s.record;
    run.placeCount = s.placeCount;
    run.ticked = s.ticked;
    run.inputs = &s.inputs;
    run.result = &res;
    run.state = state.get();
    run.contours = s.contours;
    PreparedReport out;
    out.chart = reportDrawing(s, res, *state);
    out.selection = s.view.selection;
    run.overPicture = out.chart.kind == ResultDrawing::Kind::Map;
    run.selectedPart = out.selection.has_value();
    ReportContent content = reportContent(run);
    content.sections.insert(content.sections.end(), s.extras.begin(), s.extras.end());
    out.layout = layoutReport(content);
    return out;
}

bool paintReport(QPagedPaintDevice& device, const PreparedReport& report)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter p;
    if (!p.begin(&device))
        return false;
    const PageScale s { device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0 };
    bool first = true;
    for (const LaidOutPage& page : report.layout.pages) {
        if (!first && !device.newPage()) {
            p.end();
            return false;
        }
        first = false;
        p.setPen(QPen(Qt::black, 0.6 * s.y));
        for (const PlacedRule& r : page.rules)
            p.drawLine(QPointF(r.x1 * s.x, r.y1 * s.y), QPointF(r.x2 * s.x, r.y2 * s.y));
        p.setPen(Qt::black);
        for (const PlacedText& t : page.texts)
            paintText(p, s, t);
        if (page.chart)
            paintChart(p, s, *page.chart, report);
    }
    return p.end();
}

std::optional<QString> writeReportPdf(const PreparedReport& report, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    bool painted = false;
    {
        QPdfWriter pdf(&file);
        pdf.setCreator(QStringLiteral("DORVAN"));
        pdf.setTitle(QStringLiteral("Zostava DORVAN"));
        // The resolution of the window's printer (QPrinter::HighResolution), so both place every
        // text alike.
        pdf.setResolution(1200);
        painted = paintReport(pdf, report);
    }
    if (!painted || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why.isEmpty() ? QStringLiteral("the PDF could not be made") : why;
    }
    return std::nullopt;
}

ReportDate today()
{
    const QDate d = QDate::currentDate();
    return { d.year(), d.month(), d.day() };
}

} // namespace dorvan::report
