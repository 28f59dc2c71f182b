// Feeds arbitrary bytes to the project reader: it must refuse or accept, never crash, and what
// it accepts must encode back to the record it read.
#include "core/project/ProjectFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        int rows = 0;
        dorvan::LoadedProject p
            = dorvan::readProjectBytes(data, size, [&](int, int, int) { ++rows; }, std::size_t{16} << 20);
        if (p.record.hasPicture()
            && (rows != p.record.PictureHeight || p.picture.width() != p.record.PictureWidth))
            std::abort();
        dorvan::RecordBytes again = dorvan::encodeRecord(p.record);
        dorvan::TProjectRecord back = dorvan::decodeRecord(again);
        if (dorvan::encodeRecord(back) != again)
            std::abort();
        for (int k = 1; k <= p.record.SavedPlaceCount; ++k)
            (void)p.record.PlaceName[k].bytes();
    } catch (const dorvan::ProjectFileError&) {
    }
    return 0;
}
