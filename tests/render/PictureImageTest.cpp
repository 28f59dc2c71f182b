#include "render/PictureImage.h"

#include "core/common/RgbPicture.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace dorvan;

namespace {

// A colour that differs from pixel to pixel and between channels, so that a shifted row, a
// swapped channel or a lost padding byte shows.
RgbPicture::Rgb patternAt(int x, int y)
{
    return { static_cast<std::uint8_t>(x * 37 + y * 11 + 5), static_cast<std::uint8_t>(y * 53 + x * 3 + 90),
        static_cast<std::uint8_t>((x + 1) * (y + 2) * 7) };
}

} // namespace

// Widths of 1, 2, 3 and 5 pixels leave 3, 2, 1 and 1 padding bytes at the end of a toolkit row;
// 4 leaves none. The view has no padding at all: its rows are the picture's own.
TEST(PictureImage, CopyAndViewShowEveryPixelWhateverTheRowWidth)
{
    const struct {
        int width, height;
    } sizes[] = { { 1, 1 }, { 1, 4 }, { 2, 3 }, { 3, 2 }, { 4, 3 }, { 5, 4 }, { 13, 7 } };
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        RgbPicture picture(size.width, size.height);
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                picture.setPixel(x, y, patternAt(x, y));

        const QImage view = pictureView(picture);
        ASSERT_FALSE(view.isNull());
        EXPECT_EQ(view.constBits(), picture.row(0)); // no copy
        for (const QImage& image : { toQImage(picture), view }) {
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.width(), size.width);
            EXPECT_EQ(image.height(), size.height);
            EXPECT_EQ(image.format(), QImage::Format_RGB888);
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x) {
                    const RgbPicture::Rgb want = patternAt(x, y);
                    const QRgb got = image.pixel(x, y);
                    EXPECT_EQ(qRed(got), want.r) << "at " << x << "," << y;
                    EXPECT_EQ(qGreen(got), want.g) << "at " << x << "," << y;
                    EXPECT_EQ(qBlue(got), want.b) << "at " << x << "," << y;
                }
        }
    }
}

TEST(PictureImage, EmptyPictureGivesNullImage)
{
    EXPECT_TRUE(toQImage(RgbPicture()).isNull());
    EXPECT_TRUE(toQImage(RgbPicture(0, 5)).isNull());
    EXPECT_TRUE(toQImage(RgbPicture(6, 0)).isNull());
    EXPECT_TRUE(pictureView(RgbPicture()).isNull());
    EXPECT_TRUE(pictureView(RgbPicture(0, 5)).isNull());
}
