#pragma once

#include <QImage>
#include <QString>

namespace dorvan {
class RgbPicture;
} // namespace dorvan

// The pictures of the help window and the About box are JPEG files in the program's
// resources, decoded by the program's own JPEG decoder.

// A copy of a decoded picture as a toolkit image (24-bit RGB).
QImage toQImage(const dorvan::RgbPicture& picture);

// Reads and decodes one JPEG picture (a resource path such as ":/help/toolbar.jpg" or a file).
// On failure returns a null image and puts the Slovak message in *error.
QImage loadJpegPicture(const QString& path, QString* error = nullptr);
