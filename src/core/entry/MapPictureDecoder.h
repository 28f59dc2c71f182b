#pragma once

#include "core/common/RgbPicture.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace dorvan {

// A map picture decoded from a file's bytes, or the Slovak message (ending in " !!!") that says
// why it was refused.
struct MapPictureResult {
    std::optional<RgbPicture> picture;
    std::string message;
    bool ok() const { return picture.has_value(); }
};

// Uncompressed Windows bitmaps: 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or top-down,
// with the core or the info header (and its longer versions), 16 and 32 bits also with
// bit-field masks. Every offset and size is checked against the bytes at hand, and the
// picture's size against RgbPicture::sizeAcceptable, before any pixel memory is taken.
MapPictureResult tryDecodeBmp(std::span<const std::uint8_t> bytes);

// A bitmap or a JPEG picture, told apart by its first bytes.
MapPictureResult tryDecodeMapPicture(std::span<const std::uint8_t> bytes);

} // namespace dorvan
