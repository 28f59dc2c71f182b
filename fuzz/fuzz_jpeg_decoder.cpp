// Feeds arbitrary bytes to the JPEG decoder: a picture or a refusal with a message, never a
// crash, and an accepted picture has exactly the bytes its size needs.
#include "core/common/JpegDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    dorvan::JpegDecodeResult r = dorvan::tryDecodeJpeg({data, size});
    if (r.ok()) {
        const dorvan::RgbPicture& p = *r.picture;
        if (p.data().size() != static_cast<std::size_t>(p.width()) * static_cast<std::size_t>(p.height()) * 3u)
            std::abort();
    } else if (r.message.empty()) {
        std::abort();
    }
    return 0;
}
