#include "render/PictureImage.h"

#include "core/common/RgbPicture.h"

#include <cstring>

namespace dorvan {

QImage toQImage(const RgbPicture& picture)
{
    if (picture.empty())
        return {};
    QImage image(picture.width(), picture.height(), QImage::Format_RGB888);
    if (image.isNull())
        return {};
    // Toolkit rows may be padded to four bytes; copy row by row.
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(image.scanLine(y), picture.row(y), picture.rowBytes());
    return image;
}

QImage pictureView(const RgbPicture& picture)
{
    if (picture.empty())
        return {};
    return QImage(picture.row(0), picture.width(), picture.height(),
        static_cast<qsizetype>(picture.rowBytes()), QImage::Format_RGB888);
}

} // namespace dorvan
