#include "render/ListChartPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace dorvan {

namespace {

QColor rgbColour(std::uint32_t rgb)
{
    return QColor(
        static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF), static_cast<int>(rgb & 0xFF));
}

// Points of a pixel or less straight into the image's pixels: a hundred thousand of them in a
// few milliseconds.
void paintPixels(QImage& image, const ListChart& chart)
{
    const int w = image.width(), h = image.height();
    for (std::size_t i = 0; i < chart.px.size(); ++i) {
        const int x = static_cast<int>(std::floor(chart.px[i]));
        const int y = static_cast<int>(std::floor(chart.py[i]));
        if (x < 0 || y < 0 || x >= w || y >= h)
            continue;
        const auto g = static_cast<std::size_t>(chart.group[i]);
        const std::uint32_t rgb = g < chart.colours.size() ? chart.colours[g] : 0x808080;
        reinterpret_cast<QRgb*>(image.scanLine(y))[x] = 0xFF000000u | rgb;
    }
}

void paintDots(QPainter& p, const ListChart& chart)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    const double r = chart.dotRadius;
    for (std::size_t i = 0; i < chart.px.size(); ++i) {
        const auto g = static_cast<std::size_t>(chart.group[i]);
        p.setBrush(rgbColour(g < chart.colours.size() ? chart.colours[g] : 0x808080));
        p.drawEllipse(QPointF(chart.px[i], chart.py[i]), r, r);
    }
}

void paintCentres(QPainter& p, const ListChart& chart, const QFont& font)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(font);
    const bool numbered = chart.centres.size() <= 60;
    for (const ListChartCentre& c : chart.centres) {
        const QRectF box(c.x - 5.0, c.y - 5.0, 10.0, 10.0);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(box.adjusted(-2, -2, 2, 2));
        p.setBrush(rgbColour(c.colour));
        p.drawRect(box);
        if (numbered) {
            // On a white ground, legible over any group's points.
            const QString label = QString::fromStdString(c.label);
            const QRectF text
                = p.fontMetrics().boundingRect(label).toRectF().translated(c.x + 9.0, c.y - 6.0);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(text.adjusted(-2, 0, 2, 0));
            p.setPen(Qt::black);
            p.drawText(QPointF(c.x + 9.0, c.y - 6.0), label);
        }
    }
}

} // namespace

QImage paintListChart(const ListChart& chart)
{
    QImage image(chart.width, chart.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (chart.dotRadius < 1.0f)
        paintPixels(image, chart);
    QPainter p(&image);
    if (chart.dotRadius >= 1.0f)
        paintDots(p, chart);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    for (std::size_t i = 0; i < chart.names.size(); ++i)
        p.drawText(QPointF(chart.px[i] + 4.0, chart.py[i] + 4.0), QString::fromStdString(chart.names[i]));
    QFont bold = font;
    bold.setBold(true);
    paintCentres(p, chart, bold);
    p.setFont(bold);
    p.setPen(Qt::black);
    p.drawText(QPointF(24.0, 18.0), QString::fromStdString(chart.title));
    if (chart.barPixels > 0.0f) {
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(QPointF(chart.barX, chart.barY), QPointF(chart.barX + chart.barPixels, chart.barY));
        p.setFont(font);
        p.drawText(QPointF(chart.barX + chart.barPixels + 6.0, chart.barY + 4.0),
            QLocale(QLocale::Slovak).toString(chart.barKm, 'g', 6) + QStringLiteral(" km"));
    }
    p.end();
    return image;
}

} // namespace dorvan
