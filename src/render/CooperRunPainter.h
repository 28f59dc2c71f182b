#pragma once

// The drawings of an allocation run on the window's drawing surface, shared by the allocation
// window and the command line's render so that both paint the same pixels.

#include "core/allocation/ChartGeometry.h"
#include "render/ChartPainter.h"
#include "core/allocation/CooperSolver.h"

#include <QColor>
#include <QImage>
#include <QSize>

class QPainter;

#include <vector>

namespace dorvan {

struct CooperGroupResult;

// The allocation window's colour, which a surface shows where no drawing covers it.
QColor cooperWindowColour();

// A new drawing surface of the drawing area's size in the window's colour; a null image for an
// empty size.
QImage cooperSurface(QSize size);

// A group as the run listed it over the group background, with the chart state that
// background left: its members in the group's colour, labelled on through the groups, and for
// a group of at least 3 members its path and optimum. On the plain chart its labels keep clear
// of those the groups before it left in chart, and chart takes its own. A member whose name
// matched no place has no position of its own and is left out; the others keep their numbers.
// Over the map picture (overPicture), the labels are kept inside the surface by its edge rules
// and stand on white, so that they stay legible on the picture.
// With contourPercents, a solved group first gets the cost contours of its own members around
// its centre, at those levels.
void paintListedGroup(QImage& image, ChartState& chart, const CooperGroupResult& group,
    bool overPicture = false, const SurfacePart& part = {},
    const std::vector<double>* contourPercents = nullptr);

// The same on a painter the caller has opened, over a drawing of the given size.
void paintListedGroup(QPainter& p, QSize size, ChartState& chart, const CooperGroupResult& group,
    bool overPicture = false, const std::vector<double>* contourPercents = nullptr);

} // namespace dorvan
