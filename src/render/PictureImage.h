#pragma once

#include <QImage>

namespace dorvan {

class RgbPicture;

// A copy of a decoded picture as a toolkit image (24-bit RGB), for drawing it with QPainter.
// A null image for an empty picture or when the toolkit cannot allocate one of that size.
QImage toQImage(const RgbPicture& picture);

// The picture's own pixels seen as a toolkit image, without a copy (a large map picture is
// drawn many times, and a copy of it costs more than the drawing): valid only while the
// picture is neither changed nor destroyed, so it is for drawing at once, not for keeping.
// A null image for an empty picture.
QImage pictureView(const RgbPicture& picture);

} // namespace dorvan
