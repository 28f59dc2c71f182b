#pragma once

#include <QImage>

namespace dorvan {

class RgbPicture;

// A copy of a decoded picture as a toolkit image (24-bit RGB), for drawing it with QPainter.
// A null image for an empty picture or when the toolkit cannot allocate one of that size.
QImage toQImage(const RgbPicture& picture);

} // namespace dorvan
