#pragma once

#include "core/common/RgbPicture.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

namespace dorvan {

// Why a JPEG picture was refused.
enum class JpegFailure {
    Empty, // no bytes at all
    NotJpeg, // does not start with a JPEG start-of-image marker
    TooLarge, // the announced size exceeds what the program accepts
    Truncated, // the data ends before the picture does
    Corrupt, // damaged data or markers
    Unsupported, // a colour space or sample precision the program cannot show
    OutOfMemory, // the decoder ran out of memory
};

// Thrown for every picture that cannot be decoded. what() is the Slovak message shown to the
// user (it ends in " !!!"); detail() keeps the decoder's own English text for diagnosis.
// The message for the user (Slovak, ending in " !!!") for each way decoding can fail.
std::string jpegFailureMessage(JpegFailure failure);

class JpegDecodeError : public std::runtime_error {
public:
    JpegDecodeError(JpegFailure failure, const std::string& message, std::string detail = {})
        : std::runtime_error(message)
        , failure_(failure)
        , detail_(std::move(detail))
    {
    }
    JpegFailure failure() const { return failure_; }
    const std::string& detail() const { return detail_; }

private:
    JpegFailure failure_;
    std::string detail_;
};

// True when the bytes start like a JPEG file (start-of-image marker followed by a marker).
bool looksLikeJpeg(std::span<const std::uint8_t> bytes);

// Decodes a complete JPEG file held in memory into red, green, blue bytes per pixel, rows from
// the top. Grey pictures are spread to three equal channels; CMYK and YCCK pictures are
// converted to RGB. The announced size is checked against RgbPicture::sizeAcceptable before
// any pixel memory is taken. Truncated or corrupt data is refused, never half shown.
// Throws JpegDecodeError; no message of the decoder library is ever printed.
RgbPicture decodeJpeg(std::span<const std::uint8_t> bytes);

// The same without exceptions: the picture, or the failure with its message.
struct JpegDecodeResult {
    std::optional<RgbPicture> picture;
    JpegFailure failure = JpegFailure::Corrupt;
    std::string message; // Slovak, for the user; empty on success
    std::string detail; // the decoder library's text, for diagnosis
    bool ok() const { return picture.has_value(); }
};
JpegDecodeResult tryDecodeJpeg(std::span<const std::uint8_t> bytes);

} // namespace dorvan
