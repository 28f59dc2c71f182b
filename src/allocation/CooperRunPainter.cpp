#include "allocation/CooperRunPainter.h"

#include "allocation/ChartPainter.h"
#include "allocation/ContourPainter.h"
#include "allocation/CooperRunDriver.h"
#include "allocation/GroupColours.h"
#include "allocation/MapChartGeometry.h"

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

void paintCurrentGroup(QImage& image, const ChartState& chart, const CooperState& state, bool overPicture,
    const std::vector<double>* contourPercents)
{
    if (image.isNull())
        return;
    const int size = std::clamp(state.GroupSize, 0, MaxPlaces);
    std::vector<ChartPoint> members;
    members.reserve(static_cast<std::size_t>(size));
    for (int k = 1; k <= size; ++k)
        members.push_back({ state.GroupMemberX[k], state.GroupMemberY[k] });
    std::vector<IteratePoint> path;
    if (size >= MinGroupMembers)
        path = historyPoints(state.GroupIterX, state.GroupIterY, state.FinalIter);
    GroupChart g = overPicture ? mapGroupChart(chart, state.GroupNo, state.GroupMemberTotal, members, path,
                       image.width(), image.height())
                               : groupChart(chart, state.GroupNo, state.GroupMemberTotal, members, path);
    std::vector<ChartMarker> found;
    for (int k = 1; k <= size && k <= static_cast<int>(g.members.size()); ++k)
        if (state.GroupMemberFound[k])
            found.push_back(g.members[static_cast<std::size_t>(k - 1)]);

    const QColor colour = chartColour(VstupUdajFarby(state.GroupNo));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    if (contourPercents != nullptr && g.hasOptimum && !path.empty()) {
        const ContourInput contours { groupCostSites(state), path.back(), *contourPercents };
        paintCostContours(p, contours, chart, &g.optimum, found,
            overPicture ? ChartTextBox::OpaqueWhite : ChartTextBox::Transparent);
    }
    paintChartMarkers(
        p, found, colour, colour, overPicture ? ChartTextBox::OpaqueWhite : ChartTextBox::Transparent);
    paintChartPath(p, g.path);
    if (g.hasOptimum)
        paintChartOptimum(p, g.optimum);
}

} // namespace dorvan
