#pragma once

// The result chart painted onto the allocation window's drawing surface Image1 (or onto any
// image of the same kind, such as the zoom's off-screen surface). Antialiasing is off, so
// every pixel lands where ChartGeometry puts it; these functions only draw what it returns.
//
// Text is written in the application's default font, bold, sized in points as on a 96 DPI
// screen whatever the image's own resolution, so the chart looks the same on screen, in a
// zoom and in a print.

#include "allocation/ChartGeometry.h"

#include <QImage>

#include <span>

namespace dorvan {

// The one-centre chart: frame, axes, ticks, grid, tick labels, the project places 1..n with
// their labels by the data mode, the iteration path IterX / IterY[1..FinalIter] and the optimum
// marked "OPTIMAL". Returns false, drawing nothing and leaving state as it was, when Image1 is
// narrower or lower than 50 pixels: the window then takes chartFallbackSize. Otherwise state
// receives the new chart state.
bool KresliGrafCooper(QImage& Image1, std::span<const ChartPoint> places,
    std::span<const IteratePoint> iterates, ChartDataMode mode, ChartState& state);

// The background of a group run: the chart of KresliGrafCooper without places, path and
// optimum, its axes and grid lines kept a little further inside. The coordinate window covers
// all project places, grouped or not. Same size guard and result as KresliGrafCooper.
bool KresliGrafCooperSkupiny1(QImage& Image1, std::span<const ChartPoint> places, ChartState& state);

// One group over that background, with the chart state it left: the members in the group's
// colour, labelled "M" + m with m counted on through the groups (GroupMemberTotal is the count
// including this group), and for a group of at least 3 members its path GroupIterX /
// GroupIterY[1..FinalIter] and its optimum marked "OPTIM " + GroupNo.
void KresliGrafCooperSkupiny2(QImage& Image1, const ChartState& state, int GroupNo, int GroupMemberTotal,
    std::span<const ChartPoint> members, std::span<const IteratePoint> iterates);

} // namespace dorvan
