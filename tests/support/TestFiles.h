#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

namespace dorvan::test {

// The whole file, empty when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Set DORVAN_CHART_PNG to a folder to keep the rendered drawings for a look.
inline void keepPicture(const QImage& img, const char* name)
{
    const QString folder = qEnvironmentVariable("DORVAN_CHART_PNG");
    if (!folder.isEmpty())
        img.save(QDir(folder).filePath(QString::fromUtf8(name)));
}

} // namespace dorvan::test
