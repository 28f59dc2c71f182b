#include "core/entry/PicturePlacement.h"
#include "core/entry/MapPictureDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace dorvan;

namespace {

using Points = std::vector<PixelPoint>;

} // namespace

TEST(PicturePlacement, PageFitFollowsTheProportionRulesInTheirOrder)
{
    const PixelSize box { 400, 500 };
    // Taller than the box only: fit to the height.
    EXPECT_EQ(fitPictureOnPage({ 100, 1000 }, box, true), (PixelSize { 46, 483 }));
    // Wider only: fit to the width.
    EXPECT_EQ(fitPictureOnPage({ 1000, 100 }, box, true), (PixelSize { 396, 23 }));
    // Smaller both ways: natural size.
    EXPECT_EQ(fitPictureOnPage({ 100, 80 }, box, true), (PixelSize { 100, 80 }));
    // Larger both ways: the scaled width decides.
    EXPECT_EQ(fitPictureOnPage({ 2000, 1000 }, box, true), (PixelSize { 396, 183 }));
    EXPECT_EQ(fitPictureOnPage({ 1000, 2000 }, box, true), (PixelSize { 246, 483 }));
    // A side equal to the box's: no rule, the control keeps its size.
    EXPECT_EQ(fitPictureOnPage({ 400, 100 }, box, true), std::nullopt);
    EXPECT_EQ(fitPictureOnPage({ 100, 500 }, box, true), std::nullopt);
    // Stretched: the box less its border and caption, whatever the picture.
    EXPECT_EQ(fitPictureOnPage({ 400, 100 }, box, false), (PixelSize { 396, 483 }));
    // A box too small for the border still gives a control that can be mapped.
    EXPECT_EQ(fitPictureOnPage({ 5, 5 }, { 3, 10 }, false), (PixelSize { 2, 2 }));
    EXPECT_EQ(fitPictureOnPage({ 1000, 2000 }, { 3, 10 }, true), (PixelSize { 2, 2 }));
}

TEST(PicturePlacement, OpenFitHasItsOwnMarginsAndRoundsHalvesToEven)
{
    const PixelSize box { 400, 500 };
    EXPECT_EQ(fitPictureOnOpen({ 100, 1000 }, box, true), (PixelSize { 50, 487 }));
    EXPECT_EQ(fitPictureOnOpen({ 1000, 100 }, box, true), (PixelSize { 400, 27 }));
    EXPECT_EQ(fitPictureOnOpen({ 100, 80 }, box, true), (PixelSize { 100, 80 }));
    EXPECT_EQ(fitPictureOnOpen({ 2000, 1000 }, box, true), (PixelSize { 400, 187 }));
    EXPECT_EQ(fitPictureOnOpen({ 1000, 2000 }, box, true), (PixelSize { 250, 487 }));
    EXPECT_EQ(fitPictureOnOpen({ 400, 100 }, box, true), std::nullopt);
    EXPECT_EQ(fitPictureOnOpen({ 400, 100 }, box, false), (PixelSize { 400, 487 }));
    // 10 * 100 / 400 = 2.5 goes to 2, 14 * 100 / 400 = 3.5 to 4.
    EXPECT_EQ(fitPictureOnOpen({ 10, 400 }, { 1000, 100 }, true), (PixelSize { 2, 87 }));
    EXPECT_EQ(fitPictureOnOpen({ 14, 400 }, { 1000, 100 }, true), (PixelSize { 4, 87 }));
}

TEST(PicturePlacement, ClickedPixelsBecomeReferenceCoordinatesFromTheLowerLeftCorner)
{
    const PixelSize control { 300, 200 };
    const PictureRange range = pictureRangeOf(control);
    EXPECT_EQ(range.x, 300);
    EXPECT_EQ(range.y, 199);
    EXPECT_EQ(referenceFromPixel({ 0, 199 }, control, range), (PixelPoint { 0, 0 }));
    EXPECT_EQ(referenceFromPixel({ 299, 0 }, control, range), (PixelPoint { 299, 199 }));

    // The control at half the reference size: one pixel stands for two units.
    const PixelSize half { 150, 100 };
    EXPECT_EQ(referenceFromPixel({ 1, 99 }, half, { 300, 199 }), (PixelPoint { 2, 0 }));
    EXPECT_EQ(referenceFromPixel({ 75, 0 }, half, { 300, 199 }), (PixelPoint { 150, 199 }));
    // Halves go to the even neighbour: 1 * 2 / 4 = 0.5 -> 0, 3 * 2 / 4 = 1.5 -> 2.
    EXPECT_EQ(referenceFromPixel({ 1, 2 }, { 4, 3 }, { 2, 2 }), (PixelPoint { 0, 0 }));
    EXPECT_EQ(referenceFromPixel({ 3, 2 }, { 4, 3 }, { 2, 2 }), (PixelPoint { 2, 0 }));
    // A control of one row cannot be mapped.
    EXPECT_EQ(referenceFromPixel({ 0, 0 }, { 10, 1 }, { 10, 0 }), std::nullopt);
}

TEST(PicturePlacement, MarksComeBackWhereTheyWereClickedAtAnySize)
{
    const PixelSize control { 37, 23 };
    const PictureRange range = pictureRangeOf(control);
    for (int y = 0; y < control.height; ++y)
        for (int x = 0; x < control.width; ++x) {
            auto ref = referenceFromPixel({ x, y }, control, range);
            ASSERT_TRUE(ref);
            EXPECT_EQ(pixelFromReference(ref->x, ref->y, control, range), (PixelPoint { x, y }));
        }
    // On a control twice as large (another proportion choice) the mark lands on the same spot
    // of the picture.
    auto ref = referenceFromPixel({ 10, 5 }, control, range);
    ASSERT_TRUE(ref);
    EXPECT_EQ(pixelFromReference(ref->x, ref->y, { 74, 45 }, range), (PixelPoint { 20, 10 }));
    // A damaged range draws nothing; a wild coordinate stays far outside.
    EXPECT_EQ(pixelFromReference(1, 1, control, { 0, 22 }), std::nullopt);
    EXPECT_EQ(pixelFromReference(1, 1, control, { 37, -1 }), std::nullopt);
    auto far = pixelFromReference(1e300, -1e300, control, range);
    ASSERT_TRUE(far);
    EXPECT_EQ(far->x, 1'000'000);
    EXPECT_EQ(far->y, 1'000'000); // below the bottom edge
}

TEST(PicturePlacement, LabelsMoveInsideNearTheEdges)
{
    const PixelSize c { 200, 200 };
    EXPECT_EQ(labelPositions({ 100, 100 }, c), (Points { { 80, 70 } }));
    EXPECT_EQ(labelPositions({ 100, 10 }, c), (Points { { 80, 20 } }));
    EXPECT_EQ(labelPositions({ 100, 195 }, c), (Points { { 80, 165 } }));
    EXPECT_EQ(labelPositions({ 10, 10 }, c), (Points { { 20, 20 } }));
    EXPECT_EQ(labelPositions({ 195, 10 }, c), (Points { { 150, 20 } }));
    EXPECT_EQ(labelPositions({ 10, 100 }, c), (Points { { 20, 90 } }));
    EXPECT_EQ(labelPositions({ 195, 100 }, c), (Points { { 150, 90 } }));
    EXPECT_EQ(labelPositions({ 10, 195 }, c), (Points { { 20, 165 } }));
    EXPECT_EQ(labelPositions({ 195, 195 }, c), (Points { { 150, 165 } }));
    // The borders: 30 counts as the edge, 31 as the middle; W - 30 as the right edge.
    EXPECT_EQ(labelPositions({ 30, 31 }, c), (Points { { 40, 21 } }));
    EXPECT_EQ(labelPositions({ 31, 30 }, c), (Points { { 11, 40 } }));
    EXPECT_EQ(labelPositions({ 170, 170 }, c), (Points { { 125, 140 } }));
    // On a small control every corner rule that holds gives a label.
    EXPECT_EQ(labelPositions({ 25, 25 }, { 50, 50 }),
        (Points { { 35, 35 }, { -20, 35 }, { 35, -5 }, { -20, -5 } }));
}

TEST(PicturePlacement, PlacesAreNamedByTheirNumbers)
{
    EXPECT_EQ(picturePlaceLabel(1), "A01");
    EXPECT_EQ(picturePlaceLabel(9), "A09");
    EXPECT_EQ(picturePlaceLabel(10), "A10");
    EXPECT_EQ(picturePlaceLabel(99), "A99");
}

namespace {

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// A bitmap file with a 40-byte info header, `extra` bytes (palette or masks) after it and the
// given pixel rows (already padded).
std::vector<std::uint8_t> bmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
    const std::vector<std::uint8_t>& extra, const std::vector<std::uint8_t>& pixels)
{
    std::vector<std::uint8_t> b(54);
    b[0] = 'B';
    b[1] = 'M';
    const std::uint32_t offset = static_cast<std::uint32_t>(54 + extra.size());
    put32(b, 2, static_cast<std::uint32_t>(offset + pixels.size()));
    put32(b, 10, offset);
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    put16(b, 26, 1);
    put16(b, 28, static_cast<std::uint32_t>(bits));
    put32(b, 30, compression);
    // Appended byte by byte: GCC 12 warns falsely about a range insert here at -O3.
    b.reserve(54 + extra.size() + pixels.size());
    for (std::uint8_t v : extra)
        b.push_back(v);
    for (std::uint8_t v : pixels)
        b.push_back(v);
    return b;
}

bool endsWithNotice(const std::string& m)
{
    return m.size() > 4 && m.substr(m.size() - 4) == " !!!";
}

} // namespace

TEST(MapPictureDecoder, ReadsUncompressedBitmapsOfEveryDepth)
{
    // 24 bits, bottom-up, 3 x 2 with a row padded to 12 bytes: bottom row blue, red, green.
    auto b24 = bmp(3, 2, 24, 0, {},
        { 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0, 0, /* top row */ 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0 });
    auto r = tryDecodeBmp(b24);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.picture->width(), 3);
    EXPECT_EQ(r.picture->height(), 2);
    EXPECT_EQ(r.picture->pixel(0, 1), (RgbPicture::Rgb { 0, 0, 255 }));
    EXPECT_EQ(r.picture->pixel(1, 1), (RgbPicture::Rgb { 255, 0, 0 }));
    EXPECT_EQ(r.picture->pixel(2, 1), (RgbPicture::Rgb { 0, 255, 0 }));
    EXPECT_EQ(r.picture->pixel(0, 0), (RgbPicture::Rgb { 3, 2, 1 }));

    // 32 bits, top-down (negative height).
    auto b32 = bmp(1, -2, 32, 0, {}, { 10, 20, 30, 0, 40, 50, 60, 0 });
    r = tryDecodeBmp(b32);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.picture->pixel(0, 0), (RgbPicture::Rgb { 30, 20, 10 }));
    EXPECT_EQ(r.picture->pixel(0, 1), (RgbPicture::Rgb { 60, 50, 40 }));

    // 8 bits with a two-colour palette (colours used = 0 means the full 256 would follow, so it
    // is given as 2).
    auto b8 = bmp(2, 1, 8, 0, { 0, 0, 255, 0, 255, 0, 0, 0 }, { 1, 0, 0, 0 });
    put32(b8, 46, 2);
    r = tryDecodeBmp(b8);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.picture->pixel(0, 0), (RgbPicture::Rgb { 0, 0, 255 }));
    EXPECT_EQ(r.picture->pixel(1, 0), (RgbPicture::Rgb { 255, 0, 0 }));

    // 1 bit: the first pixel is the highest bit.
    auto b1 = bmp(3, 1, 1, 0, { 0, 0, 0, 0, 255, 255, 255, 0 }, { 0b10100000, 0, 0, 0 });
    r = tryDecodeBmp(b1);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.picture->pixel(0, 0), (RgbPicture::Rgb { 255, 255, 255 }));
    EXPECT_EQ(r.picture->pixel(1, 0), (RgbPicture::Rgb { 0, 0, 0 }));
    EXPECT_EQ(r.picture->pixel(2, 0), (RgbPicture::Rgb { 255, 255, 255 }));

    // 16 bits with 5-6-5 masks: pure red and pure green.
    std::vector<std::uint8_t> masks(12);
    put32(masks, 0, 0xF800);
    put32(masks, 4, 0x07E0);
    put32(masks, 8, 0x001F);
    auto b16 = bmp(2, 1, 16, 3, masks, { 0x00, 0xF8, 0xE0, 0x07 });
    r = tryDecodeBmp(b16);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.picture->pixel(0, 0), (RgbPicture::Rgb { 255, 0, 0 }));
    EXPECT_EQ(r.picture->pixel(1, 0), (RgbPicture::Rgb { 0, 255, 0 }));
}

TEST(MapPictureDecoder, DamagedOrForeignFilesAreRefusedWithANotice)
{
    const std::vector<std::uint8_t> row { 1, 2, 3, 0 };
    auto offsetPastEnd = bmp(1, 1, 24, 0, {}, row);
    put32(offsetPastEnd, 10, 0xFFFFFFF0u);
    auto badHeader = bmp(1, 1, 24, 0, {}, row);
    put32(badHeader, 14, 20);
    auto cutHeader = bmp(1, 1, 24, 0, {}, row);
    cutHeader.resize(30);
    auto badPlanes = bmp(1, 1, 24, 0, {}, row);
    put16(badPlanes, 26, 2);
    const std::vector<std::vector<std::uint8_t>> damaged {
        bmp(1, 1, 24, 0, {}, { 1, 2 }), // pixel data cut short
        bmp(0, 1, 24, 0, {}, row), // no width
        bmp(1, 0, 24, 0, {}, row), // no height
        bmp(1, 1, 8, 0, {}, row), // palette missing
        offsetPastEnd,
        cutHeader,
        badPlanes,
        // Rows far beyond the data: the stride times the height is checked before reading.
        bmp(1, 0x3FFFFFFF, 24, 0, {}, row),
    };
    for (const auto& b : damaged) {
        auto r = tryDecodeBmp(b);
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(endsWithNotice(r.message)) << r.message;
    }
    EXPECT_EQ(tryDecodeBmp(damaged[0]).message, "Obrázok BMP je poškodený !!!");
    EXPECT_EQ(tryDecodeBmp(badHeader).message, "Nepodporovaný druh obrázka BMP !!!");
    // Run-length compressed pictures and odd depths are not shown.
    EXPECT_EQ(tryDecodeBmp(bmp(1, 1, 8, 1, {}, row)).message, "Nepodporovaný druh obrázka BMP !!!");
    EXPECT_EQ(tryDecodeBmp(bmp(1, 1, 12, 0, {}, row)).message, "Nepodporovaný druh obrázka BMP !!!");
    // A size beyond what the program holds is refused before any memory is taken.
    EXPECT_EQ(tryDecodeBmp(bmp(100000, 100000, 24, 0, {}, row)).message, "Obrázok BMP je príliš veľký !!!");

    EXPECT_EQ(tryDecodeMapPicture({}).message, "Súbor obrázka je prázdny !!!");
    const std::string gif = "GIF89a....";
    EXPECT_EQ(tryDecodeMapPicture({ reinterpret_cast<const std::uint8_t*>(gif.data()), gif.size() }).message,
        "Súbor nie je obrázok BMP ani JPEG !!!");
    // A JPEG start without a picture is the JPEG decoder's to refuse.
    const std::vector<std::uint8_t> jpegStart { 0xFF, 0xD8, 0xFF, 0xE0, 0, 16 };
    auto j = tryDecodeMapPicture(jpegStart);
    EXPECT_FALSE(j.ok());
    EXPECT_NE(j.message.find("JPEG"), std::string::npos);
    EXPECT_TRUE(endsWithNotice(j.message)) << j.message;
}

TEST(MapPictureDecoder, DamagedHeadersNeverReadOutsideTheFile)
{
    // Every header byte of small valid bitmaps set to telling values, and every length cut:
    // each result is a picture of the announced size or a notice.
    std::vector<std::uint8_t> masks(12);
    put32(masks, 0, 0xF800);
    put32(masks, 4, 0x07E0);
    put32(masks, 8, 0x001F);
    const std::vector<std::vector<std::uint8_t>> seeds {
        bmp(3, 2, 24, 0, {}, std::vector<std::uint8_t>(24, 7)),
        bmp(2, -2, 8, 0, std::vector<std::uint8_t>(1024, 3), std::vector<std::uint8_t>(8, 1)),
        bmp(2, 1, 16, 3, masks, { 1, 2, 3, 4 }),
    };
    const std::uint8_t values[] = { 0x00, 0x01, 0x04, 0x08, 0x10, 0x18, 0x20, 0x7F, 0x80, 0xFF };
    int pictures = 0;
    for (const auto& seed : seeds) {
        for (std::size_t at = 0; at < 70 && at < seed.size(); ++at)
            for (std::uint8_t v : values) {
                auto b = seed;
                b[at] = v;
                auto r = tryDecodeMapPicture(b);
                if (r.ok()) {
                    ++pictures;
                    EXPECT_FALSE(r.picture->empty());
                } else {
                    EXPECT_TRUE(endsWithNotice(r.message)) << r.message;
                }
            }
        for (std::size_t length = 0; length < seed.size(); ++length) {
            auto r = tryDecodeBmp(std::span(seed.data(), length));
            EXPECT_FALSE(r.ok()) << length;
        }
    }
    EXPECT_GT(pictures, 0);
}
