#include "ui/help/HelpPicture.h"

#include "core/common/JpegDecoder.h"
#include "render/PictureImage.h"
#include "core/common/RgbPicture.h"

#include <QFile>

#include <span>

QImage loadJpegPicture(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Obrázok %1 sa nepodarilo otvoriť !!!").arg(path);
        return {};
    }
    // Bounded before reading: no picture the program accepts needs a larger file.
    if (file.size() > static_cast<qint64>(dorvan::RgbPicture::MaxBytes)) {
        if (error)
            *error = QString::fromStdString(dorvan::jpegFailureMessage(dorvan::JpegFailure::TooLarge));
        return {};
    }
    const QByteArray bytes = file.readAll();
    const dorvan::JpegDecodeResult result = dorvan::tryDecodeJpeg(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
    if (!result.ok()) {
        if (error)
            *error = QString::fromStdString(result.message);
        return {};
    }
    QImage image = dorvan::toQImage(*result.picture);
    if (image.isNull() && error)
        *error = QString::fromStdString(dorvan::jpegFailureMessage(dorvan::JpegFailure::OutOfMemory));
    return image;
}
