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

ResultDrawing reportDrawing(const ReportSource& s)
{
    const CooperRunResult& res = s.allocation->run;
    const CooperState& state = s.allocation->state;
    const TProjectRecord& r = *s.record;
    const int n = runPlaceCount(s.placeCount);
    ResultDrawing d;
    const bool picture = chartOverPicture(s);
    d.kind = picture ? ResultDrawing::Kind::Map : ResultDrawing::Kind::Chart;
    d.places = projectChartPlaces(r, n);
    d.mode = s.allocation->inputs.mode;
    d.groupRun = res.groupRun;
    d.groups = res.groups;
    // On paper the chart is always to scale, whatever the window shows.
    d.scale = ChartScale::Equal;
    if (picture) {
        d.picture = mapPictureImage(*s.picture).copy();
        d.pictureSize = mapPictureSize(*s.picture, r);
        d.range = { r.MapRangeX, r.MapRangeY };
    }
    if (!res.groupRun) {
        d.path = s.allocation->path();
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

} // namespace

// Widths in points as the fonts set them at the resolution both devices print at (the PDF
// writer's and the printer's 1200 an inch), with a hair to spare for a printer's own rounding.
double measuredWidth(std::string_view text, TextStyle style)
{
    static QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(47244); // 1200 an inch
        img.setDotsPerMeterY(47244);
        return img;
    }();
    const QFontMetricsF metrics(reportFont(style), &device);
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return metrics.horizontalAdvance(s) * 72.0 / 1200.0 * 1.01 + 0.3;
}

namespace {

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
    // The layout made the box wide enough: the text is written whole, never cut.
    const QRectF box = s.rect(t.box);
    const Qt::Alignment align = (t.align == Align::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    p.drawText(box, static_cast<int>(align | Qt::TextDontClip), QString::fromStdString(t.text));
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

// The coordinates under pixel (x, y) of a drawing in this state.
QPointF coordinatesAt(const ChartState& s, double x, double y)
{
    return { s.ChartMinX + (x - ChartInset) / s.ChartScaleX, s.ChartMaxY - (y - ChartInset) / s.ChartScaleY };
}

QPointF pixelAt(const ChartState& s, double x, double y)
{
    return { ChartInset + (x - s.ChartMinX) * s.ChartScaleX, ChartInset + (s.ChartMaxY - y) * s.ChartScaleY };
}

// The chart state F is drawn with.
ChartState surfaceState(const ResultDrawing& d, QSize f, ChartScale scale)
{
    if (d.kind == ResultDrawing::Kind::Map)
        return mapChartWindow(d.range, d.places, f.width(), f.height());
    return chartWindow(d.places, f.width(), f.height(), scale);
}

std::optional<SelectedPart> selectedPart(
    const ResultDrawing& d, const ChartSelection& selection, ChartScale windowScale)
{
    const QSize area = selection.area;
    const PixelSize f = zoomSurfaceSize(d, area);
    const std::optional<ZoomPlan> plan
        = zoomPlan(selection.rect, area.width(), area.height(), f.width, f.height);
    if (!plan || area.isEmpty() || d.kind == ResultDrawing::Kind::None)
        return std::nullopt;
    SelectedPart part;
    part.surface = QSize(f.width, f.height);
    const ChartRect& r = plan->source;
    const ChartState window = surfaceState(d, part.surface, windowScale);
    const QPointF low = coordinatesAt(window, r.left, r.bottom);
    const QPointF high = coordinatesAt(window, r.right, r.top);
    part.minX = low.x();
    part.minY = low.y();
    part.maxX = high.x();
    part.maxY = high.y();
    const ChartState drawn = surfaceState(d, part.surface, d.scale);
    part.source = QRectF(pixelAt(drawn, part.minX, part.maxY), pixelAt(drawn, part.maxX, part.minY));
    if (!(part.source.width() > 0.0) || !(part.source.height() > 0.0))
        return std::nullopt;
    return part;
}

// The zoomed part's frame with its ticks and coordinates: X below, Y on the left. The frame is
// in the device's units, u of them a point; fonts are in points already.
void paintPartAxes(QPainter& p, const QRectF& frame, double u, const SelectedPart& part)
{
    const std::string sep = chartDecimalSeparator();
    const double lineHeight = 10.0;
    p.setFont(reportFont(TextStyle::TableCell));
    p.setPen(QPen(Qt::black, 0.5 * u));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    const double widest = std::max({ measuredWidth(formatGeneral15(part.minX, sep), TextStyle::TableCell),
        measuredWidth(formatGeneral15(part.maxX, sep), TextStyle::TableCell) });
    // One spacing both ways: the part is to scale, so both axes get the same step.
    const double spacing = std::max(widest + 12.0, lineHeight * 2.0);
    for (const AxisMark& m : axisMarks(part.minX, part.maxX, frame.width() / u, spacing, sep)) {
        const double x = frame.left() + m.at * frame.width();
        p.drawLine(QPointF(x, frame.bottom()), QPointF(x, frame.bottom() + 3.0 * u));
        const double w = (measuredWidth(m.text, TextStyle::TableCell) + 2.0) * u;
        p.drawText(QRectF(x - w / 2.0, frame.bottom() + 3.0 * u, w, lineHeight * u),
            Qt::AlignCenter | Qt::TextDontClip, QString::fromStdString(m.text));
    }
    for (const AxisMark& m : axisMarks(part.minY, part.maxY, frame.height() / u, spacing, sep)) {
        const double y = frame.bottom() - m.at * frame.height();
        p.drawLine(QPointF(frame.left() - 3.0 * u, y), QPointF(frame.left(), y));
        p.drawText(QRectF(frame.left() - AxisRoomLeft * u, y - lineHeight * u / 2.0, (AxisRoomLeft - 5.0) * u,
                       lineHeight * u),
            Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip, QString::fromStdString(m.text));
    }
}

// The part of the chart a selection chose, to scale, with its axes: F drawn again, the part's
// rectangle of F mapped onto a frame of its own proportions beside the axes' room, as large as
// the box allows, and clipped to it.
void paintSelectedPart(QPainter& p, const QRectF& target, double pointScale, const ResultDrawing& chart,
    const SelectedPart& part)
{
    const QRectF room(target.left() + AxisRoomLeft * pointScale, target.top() + AxisRoomTop * pointScale,
        target.width() - AxisRoomLeft * pointScale,
        target.height() - (AxisRoomTop + AxisRoomBottom) * pointScale);
    const QRectF& s = part.source;
    const double k = std::min(room.width() / s.width(), room.height() / s.height());
    const QRectF frame(room.topLeft(), QSizeF(s.width() * k, s.height() * k));
    p.save();
    p.setClipRect(frame);
    p.translate(frame.topLeft());
    p.scale(k, k);
    p.translate(-s.topLeft());
    p.setRenderHint(QPainter::Antialiasing, false);
    ChartState state;
    paintResult(p, part.surface, chart, state);
    p.restore();
    paintPartAxes(p, frame, pointScale, part);
}

// The chart scaled into its box: its lines and text stay vector graphics.
void paintChart(QPainter& p, const PageScale& s, const ReportBox& box, const PreparedReport& report)
{
    const QRectF target = s.rect(box);
    if (report.part) {
        paintSelectedPart(p, target, s.x, report.chart, *report.part);
        return;
    }
    const QSizeF room = boxPixels(box);
    const double scale = target.width() / room.width();
    p.save();
    p.translate(target.topLeft());
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing, false);
    paintWholeChart(p, room, report.chart);
    p.restore();
}

// The chart's proportions for the layout: the coordinate window within the drawing's inset,
// the map picture's pixels, or the selected part and its axes.
ChartShape chartShape(const PreparedReport& r)
{
    const double point = 72.0 / 96.0; // a drawing pixel in points
    if (r.part)
        return { r.part->source.width(), r.part->source.height(), AxisRoomLeft,
            AxisRoomTop + AxisRoomBottom };
    if (r.chart.kind == ResultDrawing::Kind::Map)
        return { static_cast<double>(std::max(1, r.chart.pictureSize.width)),
            static_cast<double>(std::max(1, r.chart.pictureSize.height)), 0.0, 0.0 };
    const ChartState w = chartWindow(r.chart.places, 1000, 1000);
    return { w.ChartMaxX - w.ChartMinX, w.ChartMaxY - w.ChartMinY, 2.0 * ChartInset * point,
        2.0 * ChartInset * point };
}

} // namespace

bool chartOverPicture(const ReportSource& s)
{
    return s.view.withPicture && s.picture != nullptr && !s.picture->empty() && s.record != nullptr
        && s.record->hasPicture() && s.allocation != nullptr
        && s.allocation->inputs.mode == ChartDataMode::Picture;
}

PreparedReport prepareReport(const ReportSource& s)
{
    ReportRun run;
    run.projectName = s.projectName;
    run.date = s.date;
    run.record = s.record;
    run.placeCount = s.placeCount;
    run.ticked = s.ticked;
    run.inputs = &s.allocation->inputs;
    run.result = &s.allocation->run;
    run.state = &s.allocation->state;
    run.candidates = &s.allocation->candidates;
    run.contours = s.contours;
    PreparedReport out;
    out.chart = reportDrawing(s);
    out.selection = s.view.selection;
    if (out.selection)
        out.part = selectedPart(out.chart, *out.selection, s.view.scale);
    run.overPicture = out.chart.kind == ResultDrawing::Kind::Map;
    run.selectedPart = out.selection.has_value();
    ReportContent content = reportContent(run);
    content.sections.insert(content.sections.end(), s.extras.begin(), s.extras.end());
    for (ReportSection& section : content.sections)
        if (section.chart)
            section.chartShape = chartShape(out);
    out.layout = layoutReport(content, measuredWidth);
    return out;
}

bool paintReport(QPagedPaintDevice& device, const PreparedReport& report)
{
    auto layoutOf = [](Orientation o) {
        return QPageLayout(QPageSize(QPageSize::A4),
            o == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
            QMarginsF(0, 0, 0, 0));
    };
    device.setPageLayout(layoutOf(
        report.layout.pages.empty() ? Orientation::Portrait : report.layout.pages.front().orientation));
    QPainter p;
    if (!p.begin(&device))
        return false;
    const PageScale s { device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0 };
    bool first = true;
    Orientation previous
        = report.layout.pages.empty() ? Orientation::Portrait : report.layout.pages.front().orientation;
    for (const LaidOutPage& page : report.layout.pages) {
        if (!first && page.orientation != previous)
            device.setPageLayout(layoutOf(page.orientation)); // a printer that cannot turn keeps portrait
        previous = page.orientation;
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
