#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace dorvan {

// The map picture as the project file stores it: red, green, blue bytes per pixel, rows from
// the top. Kept free of any toolkit type so the file code lives in the core.
class RgbPicture {
public:
    // The largest picture the program accepts (bytes of pixel data), so that a damaged size in
    // a file never turns into a huge allocation. 512 MiB holds a 13,000 x 13,000 picture.
    static constexpr std::size_t MaxBytes = std::size_t{512} * 1024 * 1024;

    RgbPicture() = default;
    RgbPicture(int width, int height) { resize(width, height); }

    static bool sizeAcceptable(std::int64_t width, std::int64_t height)
    {
        return width >= 0 && height >= 0 && static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3u <= MaxBytes;
    }

    void resize(int width, int height)
    {
        if (!sizeAcceptable(width, height))
            throw std::length_error("picture size out of range");
        width_ = width;
        height_ = height;
        pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u, 0);
    }
    void clear()
    {
        width_ = height_ = 0;
        pixels_.clear();
        pixels_.shrink_to_fit();
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    std::size_t rowBytes() const { return static_cast<std::size_t>(width_) * 3u; }

    std::uint8_t* row(int y) { return pixels_.data() + rowOffset(y); }
    const std::uint8_t* row(int y) const { return pixels_.data() + rowOffset(y); }
    const std::vector<std::uint8_t>& data() const { return pixels_; }
    std::vector<std::uint8_t>& data() { return pixels_; }

    struct Rgb {
        std::uint8_t r, g, b;
        bool operator==(const Rgb&) const = default;
    };
    Rgb pixel(int x, int y) const
    {
        const std::uint8_t* p = row(y) + columnOffset(x);
        return {p[0], p[1], p[2]};
    }
    void setPixel(int x, int y, Rgb c)
    {
        std::uint8_t* p = row(y) + columnOffset(x);
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }

    bool operator==(const RgbPicture&) const = default;

private:
    std::size_t rowOffset(int y) const
    {
        if (y < 0 || y >= height_)
            throw std::out_of_range("picture row out of range");
        return static_cast<std::size_t>(y) * rowBytes();
    }
    std::size_t columnOffset(int x) const
    {
        if (x < 0 || x >= width_)
            throw std::out_of_range("picture column out of range");
        return static_cast<std::size_t>(x) * 3u;
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

} // namespace dorvan
