#include "core/common/RgbPicture.h"

#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace dorvan {

void RgbPicture::FreeDeleter::operator()(std::uint8_t* p) const noexcept
{
    std::free(p);
}

RgbPicture::Pixels RgbPicture::allocatePixels(std::size_t bytes)
{
    if (bytes == 0)
        return nullptr;
    constexpr std::size_t HugePage = std::size_t { 2 } << 20;
    void* p = nullptr;
    if (bytes >= 4 * HugePage) {
        std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
        p = std::aligned_alloc(HugePage, rounded);
        if (p)
            ::madvise(p, rounded, MADV_HUGEPAGE); // a hint; failure changes nothing
    } else {
        p = std::malloc(bytes);
    }
    if (!p)
        throw std::bad_alloc();
    return Pixels(static_cast<std::uint8_t*>(p));
}

} // namespace dorvan
