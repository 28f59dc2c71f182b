#pragma once

// A place list's result (core/allocation/ListChart.h) painted onto an image: the points in their
// groups' colours, the centres as white-rimmed squares in their colours with their numbers, the
// names of a small list, the title and a scale bar.

#include "core/allocation/ListChart.h"

#include <QImage>

namespace dorvan {

QImage paintListChart(const ListChart& chart);

} // namespace dorvan
