#pragma once

#include <QImage>

namespace dorvan::test {

// How many pixels two drawings differ in, -1 when their sizes differ. Compared as RGB32 so that
// a picture read back from a PNG matches the one painted in memory.
inline int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return -1;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int j = 0; j < x.height(); ++j)
        for (int i = 0; i < x.width(); ++i)
            n += x.pixel(i, j) != y.pixel(i, j) ? 1 : 0;
    return n;
}

} // namespace dorvan::test
