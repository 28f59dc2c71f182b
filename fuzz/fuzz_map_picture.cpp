// Feeds arbitrary bytes to the map picture reader (bitmap or JPEG): a picture or a refusal with
// a notice, never a crash, and an accepted picture has exactly the bytes its size needs.
#include "core/entry/MapPictureDecoder.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    dorvan::MapPictureResult r = dorvan::tryDecodeMapPicture({ data, size });
    if (r.ok()) {
        const dorvan::RgbPicture& p = *r.picture;
        if (p.empty() || p.data().size() != static_cast<std::size_t>(p.width()) * static_cast<std::size_t>(p.height()) * 3u)
            std::abort();
    } else if (r.message.size() < 4 || r.message.compare(r.message.size() - 4, 4, " !!!") != 0) {
        std::abort();
    }
    return 0;
}
