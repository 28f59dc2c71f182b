#include "render/CooperRunPainter.h"

#include "render/ChartPainter.h"
#include "render/ContourPainter.h"
#include "core/allocation/CooperRunDriver.h"
#include "core/allocation/GroupColours.h"
#include "core/allocation/MapChartGeometry.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace dorvan {

QColor cooperWindowColour()
{
    return QColor(0xF3, 0xE9, 0x0D);
}

QImage cooperSurface(QSize size)
{
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    image.fill(cooperWindowColour());
    return image;
}

namespace {

// One group's members and, for a group of at least 3 members, its path and optimum.
struct GroupMarks {
    int groupNo = 0;
    int memberTotal = 0;
    std::vector<ChartPoint> members;
    std::vector<bool> found;
    std::vector<IteratePoint> path;
    std::vector<CostSite> costSites; // the members with their weights, for cost contours
    bool existing = false; // the centre is an existing centre at its place
};

void paintGroupMarks(QPainter& p, QSize size, ChartState& chart, const GroupMarks& m, bool overPicture,
    const std::vector<double>* contourPercents)
{
    GroupChart g = overPicture
        ? mapGroupChart(chart, m.groupNo, m.memberTotal, m.members, m.path, size.width(), size.height())
        : groupChart(chart, m.groupNo, m.memberTotal, m.members, m.path);
    // An existing centre is no optimum, and its label says so.
    if (m.existing && g.hasOptimum)
        g.optimum.label.text = existingCentreChartText(m.groupNo);
    std::vector<ChartMarker> found;
    for (std::size_t k = 0; k < m.found.size() && k < g.members.size(); ++k)
        if (m.found[k])
            found.push_back(g.members[k]);

    placePointLabels(found, g.hasOptimum ? &g.optimum : nullptr, chartTextMeasure(), chart.LabelBoxes,
        size.width(), size.height());
    const QColor colour = chartColour(VstupUdajFarby(m.groupNo));
    const ChartTextBox box = overPicture ? ChartTextBox::OpaqueWhite : ChartTextBox::Transparent;
    if (contourPercents != nullptr && g.hasOptimum && !m.path.empty() && !m.costSites.empty()) {
        const ContourInput contours { m.costSites, m.path.back(), *contourPercents };
        paintCostContours(p, contours, chart, size, &g.optimum, found, box);
    }
    paintChartMarkers(p, found, colour, colour, box);
    paintChartPath(p, g.path);
    if (g.hasOptimum)
        paintChartOptimum(p, g.optimum);
}

void paintGroupMarks(QImage& image, ChartState& chart, const GroupMarks& m, bool overPicture,
    const SurfacePart& part, const std::vector<double>* contourPercents)
{
    if (image.isNull())
        return;
    QPainter p(&image);
    beginPart(p, part);
    paintGroupMarks(p, part.sizeOf(image), chart, m, overPicture, contourPercents);
}

GroupMarks listedMarks(const CooperGroupResult& group, const std::vector<double>* contourPercents)
{
    const int size = static_cast<int>(group.memberPoints.size());
    GroupMarks m { group.no, group.firstMemberNumber + size - 1, group.memberPoints, group.memberFound, {},
        {} };
    if (size >= MinGroupMembers)
        m.path = group.iterates;
    m.existing = !group.existingCentre.empty();
    if (contourPercents != nullptr)
        m.costSites = group.costSites;
    return m;
}

} // namespace

void paintListedGroup(QImage& image, ChartState& chart, const CooperGroupResult& group,
    bool overPicture, const SurfacePart& part, const std::vector<double>* contourPercents)
{
    paintGroupMarks(image, chart, listedMarks(group, contourPercents), overPicture, part, contourPercents);
}

void paintListedGroup(QPainter& p, QSize size, ChartState& chart, const CooperGroupResult& group,
    bool overPicture, const std::vector<double>* contourPercents)
{
    paintGroupMarks(p, size, chart, listedMarks(group, contourPercents), overPicture, contourPercents);
}

} // namespace dorvan
