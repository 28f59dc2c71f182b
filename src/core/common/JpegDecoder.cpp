#include "core/common/JpegDecoder.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <new>
#include <vector>

#include <jpeglib.h>
// after jpeglib.h, whose configuration decides which messages exist
#include <jerror.h>

namespace dorvan {

namespace {

// Memory libjpeg may take for its own buffers (whole-picture coefficient buffers of
// progressive pictures are the large ones). Beyond it the library stops with an error instead
// of reaching for a temporary file.
constexpr long DecoderMemoryLimit = static_cast<long>(2 * RgbPicture::MaxBytes);

} // namespace

std::string jpegFailureMessage(JpegFailure failure)
{
    switch (failure) {
    case JpegFailure::Empty:
        return "Súbor obrázka je prázdny !!!";
    case JpegFailure::NotJpeg:
        return "Súbor nie je obrázok JPEG !!!";
    case JpegFailure::TooLarge:
        return "Obrázok JPEG je príliš veľký !!!";
    case JpegFailure::Truncated:
        return "Obrázok JPEG je neúplný !!!";
    case JpegFailure::Corrupt:
        return "Obrázok JPEG je poškodený !!!";
    case JpegFailure::Unsupported:
        return "Nepodporovaný druh obrázka JPEG !!!";
    case JpegFailure::OutOfMemory:
        return "Nedostatok pamäte pre obrázok JPEG !!!";
    }
    return jpegFailureMessage(JpegFailure::Corrupt);
}

namespace {

// libjpeg reports through this manager. Fatal errors and warnings about damaged data jump
// back to the decoding routine; nothing is ever printed and the program never exits.
struct ErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg sees only this part
    std::jmp_buf jump;
    int code;
    char text[JMSG_LENGTH_MAX];
};

[[noreturn]] void jumpBack(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = err->pub.msg_code;
    (*err->pub.format_message)(cinfo, err->text);
    std::longjmp(err->jump, 1);
}

// Warnings that mean the picture data is missing or damaged: the rest of the picture would be
// made up by the library, so such a picture is refused. Harmless warnings (stray bytes
// between markers, an unknown JFIF revision) are only counted.
bool warningMeansDamage(int code)
{
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false;
    }
}

void emitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return; // trace messages
    if (warningMeansDamage(cinfo->err->msg_code))
        jumpBack(cinfo);
    ++cinfo->err->num_warnings;
}

void outputMessage(j_common_ptr)
{
}

JpegFailure failureOfLibraryCode(int code)
{
    switch (code) {
    case JERR_NO_SOI:
        return JpegFailure::NotJpeg;
    case JWRN_JPEG_EOF:
    case JERR_INPUT_EOF:
    case JERR_INPUT_EMPTY:
        return JpegFailure::Truncated;
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
    case JERR_TFILE_CREATE:
    case JERR_TFILE_READ:
    case JERR_TFILE_SEEK:
    case JERR_TFILE_WRITE:
        return JpegFailure::OutOfMemory;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        return JpegFailure::TooLarge;
    case JERR_BAD_PRECISION:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOT_COMPILED:
    case JERR_NOTIMPL:
    case JERR_ARITH_NOTIMPL:
    case JERR_CCIR601_NOTIMPL:
    case JERR_FRACT_SAMPLE_NOTIMPL:
        return JpegFailure::Unsupported;
    default:
        return JpegFailure::Corrupt;
    }
}

// The decompressor and its error manager, destroyed on every way out.
struct Decoder {
    jpeg_decompress_struct info {};
    ErrorManager err {};
    bool created = false;

    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    Decoder()
    {
        info.err = jpeg_std_error(&err.pub);
        err.pub.error_exit = jumpBack;
        err.pub.emit_message = emitMessage;
        err.pub.output_message = outputMessage;
    }
    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

struct Outcome {
    JpegFailure failure = JpegFailure::Corrupt;
    std::string message;
    std::string detail;
};

// Adobe CMYK files store the inks inverted (255 = no ink); plain CMYK files do not.
void cmykRowToRgb(const std::uint8_t* in, std::uint8_t* out, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned c = inverted ? in[0] : 255u - in[0];
        const unsigned m = inverted ? in[1] : 255u - in[1];
        const unsigned y = inverted ? in[2] : 255u - in[2];
        const unsigned k = inverted ? in[3] : 255u - in[3];
        out[0] = static_cast<std::uint8_t>((c * k + 127u) / 255u);
        out[1] = static_cast<std::uint8_t>((m * k + 127u) / 255u);
        out[2] = static_cast<std::uint8_t>((y * k + 127u) / 255u);
    }
}

// Kept out of line: a string built in the frame that calls setjmp may be clobbered by the jump.
[[gnu::noinline]] void refuseTooLarge(Outcome& outcome, std::int64_t width, std::int64_t height)
{
    outcome.failure = JpegFailure::TooLarge;
    outcome.message = "Obrázok JPEG je príliš veľký (" + std::to_string(width) + " x "
        + std::to_string(height) + " bodov) !!!";
}

// The part that libjpeg may leave by a long jump. Everything with a destructor lives in the
// caller's frame (the decoder, the picture, the row buffer), so the jump skips no destructor.
// Returns false with `outcome` filled when the picture is refused.
bool runDecoder(Decoder& d, std::span<const std::uint8_t> bytes, RgbPicture& picture,
    std::vector<std::uint8_t>& cmykRow, Outcome& outcome)
{
    if (setjmp(d.err.jump) != 0) {
        outcome.failure = failureOfLibraryCode(d.err.code);
        outcome.detail = d.err.text;
        return false;
    }

    jpeg_create_decompress(&d.info);
    d.created = true;
    d.info.mem->max_memory_to_use = DecoderMemoryLimit;
    jpeg_mem_src(&d.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);

    const auto width = static_cast<std::int64_t>(d.info.image_width);
    const auto height = static_cast<std::int64_t>(d.info.image_height);
    if (width <= 0 || height <= 0 || !RgbPicture::sizeAcceptable(width, height)) {
        refuseTooLarge(outcome, width, height);
        return false;
    }

    bool cmyk = false;
    switch (d.info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        d.info.out_color_space = JCS_RGB;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        d.info.out_color_space = JCS_CMYK;
        cmyk = true;
        break;
    default:
        outcome.failure = JpegFailure::Unsupported;
        outcome.message = "Nepodporovaný farebný priestor obrázka JPEG !!!";
        return false;
    }

    jpeg_start_decompress(&d.info);
    const int expectedComponents = cmyk ? 4 : 3;
    if (d.info.output_components != expectedComponents || d.info.output_width != d.info.image_width
        || d.info.output_height != d.info.image_height) {
        outcome.failure = JpegFailure::Unsupported;
        return false;
    }

    // Pixel memory is taken only now: the size is bounded, and a progressive picture has
    // already been read whole, so a truncated one never gets this far.
    picture.resizeForOverwrite(
        static_cast<int>(width), static_cast<int>(height)); // every row is written below
    if (cmyk)
        cmykRow.resize(static_cast<std::size_t>(width) * 4u);

    while (d.info.output_scanline < d.info.output_height) {
        const int y = static_cast<int>(d.info.output_scanline);
        JSAMPROW row = cmyk ? cmykRow.data() : picture.row(y);
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1) {
            outcome.failure = JpegFailure::Truncated;
            return false;
        }
        if (cmyk)
            cmykRowToRgb(
                cmykRow.data(), picture.row(y), static_cast<int>(width), d.info.saw_Adobe_marker != 0);
    }
    // Reads on to the end-of-image marker, so damage after the last row is noticed too.
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

bool looksLikeJpeg(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

JpegDecodeResult tryDecodeJpeg(std::span<const std::uint8_t> bytes)
{
    JpegDecodeResult result;
    Outcome outcome;
    bool decoded = false;
    RgbPicture picture;

    if (bytes.empty()) {
        outcome.failure = JpegFailure::Empty;
    } else if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8) {
        outcome.failure = JpegFailure::NotJpeg;
    } else {
        try {
            Decoder decoder;
            std::vector<std::uint8_t> cmykRow;
            decoded = runDecoder(decoder, bytes, picture, cmykRow, outcome);
        } catch (const std::bad_alloc&) {
            outcome.failure = JpegFailure::OutOfMemory;
            decoded = false;
        } catch (const std::length_error&) {
            outcome.failure = JpegFailure::TooLarge;
            decoded = false;
        }
    }

    if (decoded) {
        result.picture = std::move(picture);
        return result;
    }
    result.failure = outcome.failure;
    result.message = outcome.message.empty() ? jpegFailureMessage(outcome.failure) : outcome.message;
    result.detail = outcome.detail;
    return result;
}

RgbPicture decodeJpeg(std::span<const std::uint8_t> bytes)
{
    JpegDecodeResult result = tryDecodeJpeg(bytes);
    if (!result.ok())
        throw JpegDecodeError(result.failure, result.message, result.detail);
    return std::move(*result.picture);
}

} // namespace dorvan
