// Feeds arbitrary bytes to the reader of road-distance matrices (long CSV, square CSV, a routing
// server's JSON) for a project of four places: it must refuse or accept, never crash, and what it
// accepts must be a complete matrix of finite, non-negative distances that is symmetric, with
// zeros on the diagonal.
#include "core/cli/DistanceMatrix.h"

#include <cstdlib>
#include <string_view>

namespace {

dorvan::TProjectRecord fourPlaces()
{
    static const char* const names[] = { "Nitra", "Trnava", "Zlín", "Žilina" };
    dorvan::TProjectRecord r;
    dorvan::ResetProjectAtStart(r);
    for (int k = 1; k <= 4; ++k) {
        r.PlaceName[k] = dorvan::Text100::fromUtf8(names[k - 1]);
        r.PlaceX[k] = 10.0 * k;
        r.PlaceY[k] = 7.0 * k * k;
    }
    r.SavedPlaceCount = 4;
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const dorvan::TProjectRecord record = fourPlaces();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first byte picks the unit the caller gives: none, kilometres or metres.
    std::optional<dorvan::cli::DistanceUnit> unit;
    if (size > 0 && data[0] % 3 == 1)
        unit = dorvan::cli::DistanceUnit::Kilometres;
    else if (size > 0 && data[0] % 3 == 2)
        unit = dorvan::cli::DistanceUnit::Metres;
    const dorvan::cli::DistanceMatrixRead read = dorvan::cli::readDistanceMatrix(bytes, record, 4, unit);
    (void)dorvan::cli::slovakRefusal("fuzz.csv", read);
    (void)dorvan::cli::differingNoticeEnglish(read);
    if (!read.ok())
        return 0;
    if (read.table.count != 4 || read.table.tenThousandths.size() != 16)
        std::abort();
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j) {
            const auto d = read.table.at(i, j);
            if (d < 0 || d != read.table.at(j, i) || (i == j && d != 0))
                std::abort();
        }
    return 0;
}
