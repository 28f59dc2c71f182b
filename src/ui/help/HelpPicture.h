#pragma once

#include <QImage>
#include <QString>

// The pictures of the help window and the About box are JPEG files in the program's
// resources, decoded by the program's own JPEG decoder.

// Reads and decodes one JPEG picture (a resource path such as ":/help/toolbar.jpg" or a file).
// On failure returns a null image and puts the Slovak message in *error.
QImage loadJpegPicture(const QString& path, QString* error = nullptr);
