#include "core/common/JpegDecoder.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include <jpeglib.h>

#include <gtest/gtest.h>

using namespace dorvan;

namespace {

struct Encoding {
    J_COLOR_SPACE input = JCS_RGB;
    int components = 3;
    bool progressive = false;
    // JCS_UNKNOWN keeps libjpeg's default for the input space.
    J_COLOR_SPACE stored = JCS_UNKNOWN;
};

// Pictures are made here with libjpeg's own compressor: full chroma resolution and quality
// 100, so decoded colours come back within a few steps.
std::vector<std::uint8_t> encode(
    int width, int height, const std::vector<std::uint8_t>& samples, Encoding e = {})
{
    jpeg_compress_struct c {};
    jpeg_error_mgr err {};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = e.components;
    c.in_color_space = e.input;
    jpeg_set_defaults(&c);
    if (e.stored != JCS_UNKNOWN)
        jpeg_set_colorspace(&c, e.stored);
    jpeg_set_quality(&c, 100, TRUE);
    for (int i = 0; i < c.num_components; ++i)
        c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    if (e.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(e.components);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + c.next_scanline * rowBytes);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    jpeg_destroy_compress(&c);
    return out;
}

// A 16 x 16 picture in four 8 x 8 quarters: red, green (top), blue, white (bottom).
std::vector<std::uint8_t> quarters()
{
    std::vector<std::uint8_t> s;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            RgbPicture::Rgb c = y < 8
                ? (x < 8 ? RgbPicture::Rgb { 255, 0, 0 } : RgbPicture::Rgb { 0, 255, 0 })
                : (x < 8 ? RgbPicture::Rgb { 0, 0, 255 } : RgbPicture::Rgb { 255, 255, 255 });
            s.insert(s.end(), { c.r, c.g, c.b });
        }
    return s;
}

void expectNear(RgbPicture::Rgb got, RgbPicture::Rgb want, int x, int y)
{
    EXPECT_NEAR(got.r, want.r, 6) << "red at " << x << "," << y;
    EXPECT_NEAR(got.g, want.g, 6) << "green at " << x << "," << y;
    EXPECT_NEAR(got.b, want.b, 6) << "blue at " << x << "," << y;
}

void expectQuarters(const RgbPicture& p)
{
    ASSERT_EQ(p.width(), 16);
    ASSERT_EQ(p.height(), 16);
    for (int y : { 1, 6, 9, 14 })
        for (int x : { 1, 6, 9, 14 }) {
            RgbPicture::Rgb want = y < 8
                ? (x < 8 ? RgbPicture::Rgb { 255, 0, 0 } : RgbPicture::Rgb { 0, 255, 0 })
                : (x < 8 ? RgbPicture::Rgb { 0, 0, 255 } : RgbPicture::Rgb { 255, 255, 255 });
            expectNear(p.pixel(x, y), want, x, y);
        }
}

// Offset of the start-of-frame marker (baseline or progressive).
std::size_t frameMarker(const std::vector<std::uint8_t>& jpeg)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2))
            return i;
    ADD_FAILURE() << "no frame marker";
    return 0;
}

void setFrameSize(std::vector<std::uint8_t>& jpeg, int width, int height)
{
    const std::size_t sof = frameMarker(jpeg);
    jpeg[sof + 5] = static_cast<std::uint8_t>(height >> 8);
    jpeg[sof + 6] = static_cast<std::uint8_t>(height & 0xFF);
    jpeg[sof + 7] = static_cast<std::uint8_t>(width >> 8);
    jpeg[sof + 8] = static_cast<std::uint8_t>(width & 0xFF);
}

bool endsWithExclamations(const std::string& s)
{
    return s.size() > 4 && s.compare(s.size() - 4, 4, " !!!") == 0;
}

} // namespace

TEST(JpegDecoder, ColourPictureKeepsItsQuartersWithRowsFromTheTop)
{
    expectQuarters(decodeJpeg(encode(16, 16, quarters())));

    Encoding progressive;
    progressive.progressive = true;
    expectQuarters(decodeJpeg(encode(16, 16, quarters(), progressive)));

    // A size that is not a multiple of the 8 x 8 blocks.
    std::vector<std::uint8_t> odd(static_cast<std::size_t>(13 * 5 * 3), 0);
    for (std::size_t i = 0; i < odd.size(); i += 3)
        odd[i + 2] = 200; // blue
    RgbPicture p = decodeJpeg(encode(13, 5, odd));
    ASSERT_EQ(p.width(), 13);
    ASSERT_EQ(p.height(), 5);
    expectNear(p.pixel(12, 4), { 0, 0, 200 }, 12, 4);
    expectNear(p.pixel(0, 0), { 0, 0, 200 }, 0, 0);
}

TEST(JpegDecoder, GreyPictureIsSpreadToThreeEqualChannels)
{
    std::vector<std::uint8_t> grey;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            grey.push_back(x < 8 ? 40 : 220);
    Encoding e;
    e.input = JCS_GRAYSCALE;
    e.components = 1;
    RgbPicture p = decodeJpeg(encode(16, 8, grey, e));
    ASSERT_EQ(p.width(), 16);
    ASSERT_EQ(p.height(), 8);
    for (int x : { 2, 13 }) {
        const auto c = p.pixel(x, 4);
        EXPECT_EQ(c.r, c.g);
        EXPECT_EQ(c.g, c.b);
        EXPECT_NEAR(c.r, x < 8 ? 40 : 220, 4);
    }
}

TEST(JpegDecoder, CmykPictureIsConvertedToRgb)
{
    // Adobe CMYK as libjpeg writes it: inks stored inverted, 255 = no ink.
    // Left half: magenta + yellow ink (red); right half: black ink only.
    std::vector<std::uint8_t> cmyk;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            if (x < 8)
                cmyk.insert(cmyk.end(), { 255, 0, 0, 255 });
            else
                cmyk.insert(cmyk.end(), { 255, 255, 255, 0 });
        }
    Encoding e;
    e.input = JCS_CMYK;
    e.components = 4;
    for (J_COLOR_SPACE stored : { JCS_CMYK, JCS_YCCK }) {
        e.stored = stored;
        RgbPicture p = decodeJpeg(encode(16, 8, cmyk, e));
        ASSERT_EQ(p.width(), 16);
        expectNear(p.pixel(3, 3), { 255, 0, 0 }, 3, 3);
        expectNear(p.pixel(12, 3), { 0, 0, 0 }, 12, 3);
    }
}

TEST(JpegDecoder, UnknownColourSpaceIsRefusedWithAMessage)
{
    std::vector<std::uint8_t> two(static_cast<std::size_t>(8 * 8 * 2), 128);
    Encoding e;
    e.input = JCS_UNKNOWN;
    e.components = 2;
    JpegDecodeResult r = tryDecodeJpeg(encode(8, 8, two, e));
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failure, JpegFailure::Unsupported);
    EXPECT_EQ(r.message, "Nepodporovaný farebný priestor obrázka JPEG !!!");
}

TEST(JpegDecoder, EmptyForeignAndTruncatedInputIsRefused)
{
    JpegDecodeResult r = tryDecodeJpeg({});
    EXPECT_EQ(r.failure, JpegFailure::Empty);
    EXPECT_EQ(r.message, "Súbor obrázka je prázdny !!!");

    const std::vector<std::uint8_t> bmp { 'B', 'M', 0x36, 0, 0, 0, 0, 0 };
    r = tryDecodeJpeg(bmp);
    EXPECT_EQ(r.failure, JpegFailure::NotJpeg);
    EXPECT_EQ(r.message, "Súbor nie je obrázok JPEG !!!");
    EXPECT_FALSE(looksLikeJpeg(bmp));
    EXPECT_EQ(tryDecodeJpeg(std::vector<std::uint8_t> { 0xFF }).failure, JpegFailure::NotJpeg);

    // Every cut of a good file is refused, whether it ends in the headers or in the pixel data,
    // and even when only the end-of-image marker is missing. The library prints nothing.
    testing::internal::CaptureStderr();
    for (bool progressive : { false, true }) {
        Encoding e;
        e.progressive = progressive;
        const std::vector<std::uint8_t> whole = encode(16, 16, quarters(), e);
        EXPECT_TRUE(looksLikeJpeg(whole));
        for (std::size_t n = 1; n < whole.size(); ++n) {
            const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(n));
            r = tryDecodeJpeg(cut);
            EXPECT_FALSE(r.ok()) << "cut at " << n;
            EXPECT_TRUE(endsWithExclamations(r.message)) << r.message;
        }
        std::vector<std::uint8_t> missingEnd(whole.begin(), whole.end() - 2);
        r = tryDecodeJpeg(missingEnd);
        EXPECT_EQ(r.failure, JpegFailure::Truncated);
        EXPECT_EQ(r.message, "Obrázok JPEG je neúplný !!!");
        EXPECT_FALSE(r.detail.empty());
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(JpegDecoder, DamagedHeadersAndDataAreRefused)
{
    const std::vector<std::uint8_t> good = encode(16, 16, quarters());
    const std::size_t sof = frameMarker(good);

    std::vector<std::uint8_t> badLength = good;
    badLength[sof + 3] = 3; // frame segment length too short
    JpegDecodeResult r = tryDecodeJpeg(badLength);
    EXPECT_EQ(r.failure, JpegFailure::Corrupt);
    EXPECT_EQ(r.message, "Obrázok JPEG je poškodený !!!");

    std::vector<std::uint8_t> twelveBit = good;
    twelveBit[sof + 4] = 12; // sample precision
    r = tryDecodeJpeg(twelveBit);
    EXPECT_EQ(r.failure, JpegFailure::Unsupported);

    std::vector<std::uint8_t> noWidth = good;
    setFrameSize(noWidth, 0, 16);
    EXPECT_FALSE(tryDecodeJpeg(noWidth).ok());

    // Random damage anywhere: refused or decoded, never a crash, and a refusal always has a
    // user message. Damage in the entropy-coded data is often caught as a bad code.
    std::mt19937 random(2007);
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<std::uint8_t> damaged = good;
        for (int k = 0; k < 4; ++k)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        r = tryDecodeJpeg(damaged);
        if (!r.ok()) {
            ++refused;
            EXPECT_TRUE(endsWithExclamations(r.message)) << r.message;
        } else {
            EXPECT_EQ(
                r.picture->width() * r.picture->height() * 3, static_cast<int>(r.picture->data().size()));
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(JpegDecoder, AnnouncedHugeSizeIsRefusedBeforeAllocating)
{
    std::vector<std::uint8_t> huge = encode(16, 16, quarters());
    setFrameSize(huge, 60000, 60000); // 10.8 GB of pixels announced by a 1 KB file
    JpegDecodeResult r = tryDecodeJpeg(huge);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.failure, JpegFailure::TooLarge);
    EXPECT_EQ(r.message, "Obrázok JPEG je príliš veľký (60000 x 60000 bodov) !!!");

    // A believable size is accepted, and the missing data is what refuses it.
    std::vector<std::uint8_t> tall = encode(16, 16, quarters());
    setFrameSize(tall, 16, 4000);
    r = tryDecodeJpeg(tall);
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.failure, JpegFailure::TooLarge);

    try {
        decodeJpeg(huge);
        ADD_FAILURE() << "no exception";
    } catch (const JpegDecodeError& e) {
        EXPECT_EQ(e.failure(), JpegFailure::TooLarge);
        EXPECT_STREQ(e.what(), "Obrázok JPEG je príliš veľký (60000 x 60000 bodov) !!!");
    }
}
