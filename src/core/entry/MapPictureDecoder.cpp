#include "core/entry/MapPictureDecoder.h"

#include "core/common/JpegDecoder.h"

#include <array>
#include <bit>
#include <new>

namespace dorvan {

namespace {

constexpr const char* Damaged = "Obrázok BMP je poškodený !!!";
constexpr const char* Unsupported = "Nepodporovaný druh obrázka BMP !!!";
constexpr const char* TooLarge = "Obrázok BMP je príliš veľký !!!";

MapPictureResult refusedPicture(const std::string& message)
{
    MapPictureResult r;
    r.message = message;
    return r;
}

std::uint32_t u16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8)
        | (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// One colour channel given by a bit mask, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    explicit Channel(std::uint32_t m)
        : mask(m)
    {
        if (m != 0) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    std::uint8_t operator()(std::uint32_t v) const
    {
        if (max == 0)
            return 0;
        return static_cast<std::uint8_t>(((v & mask) >> shift) * 255u / max);
    }
};

} // namespace

MapPictureResult tryDecodeBmp(std::span<const std::uint8_t> b)
{
    constexpr std::size_t FileHeader = 14;
    if (b.size() < FileHeader + 12 || b[0] != 'B' || b[1] != 'M')
        return refusedPicture(Damaged);
    const std::uint64_t dataOffset = u32(b, 10);
    const std::uint32_t headerSize = u32(b, FileHeader);
    if (headerSize != 12 && headerSize < 40)
        return refusedPicture(Unsupported);
    if (FileHeader + std::uint64_t { headerSize } > b.size())
        return refusedPicture(Damaged);

    std::int64_t width = 0, height = 0;
    std::uint32_t bits = 0, compression = 0, coloursUsed = 0;
    std::size_t paletteEntry = 4;
    if (headerSize == 12) {
        width = u16(b, FileHeader + 4);
        height = static_cast<std::int16_t>(u16(b, FileHeader + 6));
        if (u16(b, FileHeader + 8) != 1)
            return refusedPicture(Damaged);
        bits = u16(b, FileHeader + 10);
        paletteEntry = 3;
    } else {
        width = static_cast<std::int32_t>(u32(b, FileHeader + 4));
        height = static_cast<std::int32_t>(u32(b, FileHeader + 8));
        if (u16(b, FileHeader + 12) != 1)
            return refusedPicture(Damaged);
        bits = u16(b, FileHeader + 14);
        compression = u32(b, FileHeader + 16);
        coloursUsed = u32(b, FileHeader + 32);
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0)
        return refusedPicture(Damaged);
    if (!RgbPicture::sizeAcceptable(width, height))
        return refusedPicture(TooLarge);

    // Masks: BI_RGB has fixed ones; BI_BITFIELDS takes them after a 40-byte header or inside a
    // longer one.
    std::uint32_t rMask = 0, gMask = 0, bMask = 0;
    std::uint64_t paletteAt = FileHeader + std::uint64_t { headerSize };
    if (compression == 0) {
        if (bits == 16) {
            rMask = 0x7C00;
            gMask = 0x03E0;
            bMask = 0x001F;
        } else if (bits == 32) {
            rMask = 0x00FF0000;
            gMask = 0x0000FF00;
            bMask = 0x000000FF;
        } else if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
            return refusedPicture(Unsupported);
        }
    } else if (compression == 3 && (bits == 16 || bits == 32)) {
        const std::uint64_t masksAt = FileHeader + 40;
        if (masksAt + 12 > b.size())
            return refusedPicture(Damaged);
        rMask = u32(b, masksAt);
        gMask = u32(b, masksAt + 4);
        bMask = u32(b, masksAt + 8);
        if (headerSize == 40)
            paletteAt += 12;
    } else {
        return refusedPicture(Unsupported);
    }

    std::array<RgbPicture::Rgb, 256> palette {};
    if (bits <= 8) {
        const std::uint32_t most = 1u << bits;
        const std::uint32_t count = coloursUsed == 0 || coloursUsed > most ? most : coloursUsed;
        if (paletteAt + std::uint64_t { count } * paletteEntry > b.size())
            return refusedPicture(Damaged);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = static_cast<std::size_t>(paletteAt + i * paletteEntry);
            palette[i] = { b[at + 2], b[at + 1], b[at] };
        }
    }

    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    if (dataOffset > b.size() || stride * static_cast<std::uint64_t>(height) > b.size() - dataOffset)
        return refusedPicture(Damaged);

    MapPictureResult result;
    try {
        result.picture.emplace();
        result.picture->resizeForOverwrite(static_cast<int>(width), static_cast<int>(height));
    } catch (const std::bad_alloc&) {
        return refusedPicture("Nedostatok pamäte pre obrázok BMP !!!");
    }
    RgbPicture& pic = *result.picture;
    const Channel red(rMask), green(gMask), blue(bMask);
    for (std::int64_t row = 0; row < height; ++row) {
        const std::int64_t fileRow = topDown ? row : height - 1 - row;
        const std::uint8_t* src = b.data() + dataOffset + static_cast<std::uint64_t>(fileRow) * stride;
        std::uint8_t* dst = pic.row(static_cast<int>(row));
        for (std::int64_t x = 0; x < width; ++x, dst += 3) {
            RgbPicture::Rgb c {};
            if (bits <= 8) {
                const std::uint64_t bit = static_cast<std::uint64_t>(x) * bits;
                const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
                c = palette[(src[bit / 8] >> shift) & ((1u << bits) - 1)];
            } else if (bits == 24) {
                const std::uint8_t* p = src + x * 3;
                c = { p[2], p[1], p[0] };
            } else {
                const std::uint32_t v
                    = bits == 16 ? (src[x * 2] | (src[x * 2 + 1] << 8)) : u32(std::span(src + x * 4, 4), 0);
                c = { red(v), green(v), blue(v) };
            }
            dst[0] = c.r;
            dst[1] = c.g;
            dst[2] = c.b;
        }
    }
    return result;
}

MapPictureResult tryDecodeMapPicture(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return refusedPicture(jpegFailureMessage(JpegFailure::Empty));
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        return tryDecodeBmp(bytes);
    if (looksLikeJpeg(bytes)) {
        JpegDecodeResult j = tryDecodeJpeg(bytes);
        MapPictureResult r;
        if (j.ok())
            r.picture = std::move(*j.picture);
        else
            r.message = j.message;
        return r;
    }
    return refusedPicture("Súbor nie je obrázok BMP ani JPEG !!!");
}

} // namespace dorvan
