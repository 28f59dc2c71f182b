#include "help/HelpPicture.h"

#include "common/JpegDecoder.h"
#include "project/RgbPicture.h"

#include <QFile>

#include <cstring>
#include <span>

QImage toQImage(const dorvan::RgbPicture& picture)
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
            *error = QStringLiteral("Obrázok JPEG je príliš veľký !!!");
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
    QImage image = toQImage(*result.picture);
    if (image.isNull() && error)
        *error = QStringLiteral("Nedostatok pamäte pre obrázok JPEG !!!");
    return image;
}
