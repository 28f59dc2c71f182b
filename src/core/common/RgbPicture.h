#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <utility>

namespace dorvan {

// The map picture as the project file stores it: red, green, blue bytes per pixel, rows from
// the top. Kept free of any toolkit type so the file code lives in the core.
class RgbPicture {
public:
    // The largest picture the program accepts (bytes of pixel data), so that a damaged size in
    // a file never turns into a huge allocation. 512 MiB holds a 13,000 x 13,000 picture.
    static constexpr std::size_t MaxBytes = std::size_t { 512 } * 1024 * 1024;

    RgbPicture() = default;
    RgbPicture(int width, int height) { resize(width, height); }
    RgbPicture(const RgbPicture& o) { *this = o; }
    RgbPicture(RgbPicture&& o) noexcept
        : width_(std::exchange(o.width_, 0))
        , height_(std::exchange(o.height_, 0))
        , size_(std::exchange(o.size_, 0))
        , pixels_(std::move(o.pixels_))
    {
    }
    RgbPicture& operator=(const RgbPicture& o)
    {
        if (this != &o) {
            resizeForOverwrite(o.width_, o.height_);
            std::copy_n(o.pixels_.get(), size_, pixels_.get());
        }
        return *this;
    }
    RgbPicture& operator=(RgbPicture&& o) noexcept
    {
        width_ = std::exchange(o.width_, 0);
        height_ = std::exchange(o.height_, 0);
        size_ = std::exchange(o.size_, 0);
        pixels_ = std::move(o.pixels_);
        return *this;
    }

    static bool sizeAcceptable(std::int64_t width, std::int64_t height)
    {
        return width >= 0 && height >= 0
            && static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 3u <= MaxBytes;
    }

    // A black picture of that size.
    void resize(int width, int height)
    {
        resizeForOverwrite(width, height);
        std::fill_n(pixels_.get(), size_, std::uint8_t { 0 });
    }
    // That size with undefined pixels, for a caller that writes every byte next (a picture
    // read from a file is not zeroed first: for 144 MB that is a fifth of the reading time).
    void resizeForOverwrite(int width, int height)
    {
        if (!sizeAcceptable(width, height))
            throw std::length_error("picture size out of range");
        width_ = width;
        height_ = height;
        size_ = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3u;
        pixels_ = allocatePixels(size_);
    }
    void clear()
    {
        width_ = height_ = 0;
        size_ = 0;
        pixels_.reset();
    }

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    std::size_t rowBytes() const { return static_cast<std::size_t>(width_) * 3u; }

    std::uint8_t* row(int y) { return pixels_.get() + rowOffset(y); }
    const std::uint8_t* row(int y) const { return pixels_.get() + rowOffset(y); }
    std::span<const std::uint8_t> data() const { return { pixels_.get(), size_ }; }
    std::span<std::uint8_t> data() { return { pixels_.get(), size_ }; }

    struct Rgb {
        std::uint8_t r, g, b;
        bool operator==(const Rgb&) const = default;
    };
    Rgb pixel(int x, int y) const
    {
        const std::uint8_t* p = row(y) + columnOffset(x);
        return { p[0], p[1], p[2] };
    }
    void setPixel(int x, int y, Rgb c)
    {
        std::uint8_t* p = row(y) + columnOffset(x);
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }

    bool operator==(const RgbPicture& o) const
    {
        return width_ == o.width_ && height_ == o.height_
            && std::equal(data().begin(), data().end(), o.data().begin());
    }

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
    struct FreeDeleter {
        void operator()(std::uint8_t* p) const noexcept;
    };
    using Pixels = std::unique_ptr<std::uint8_t[], FreeDeleter>;
    // Large pictures are asked for in huge pages: far fewer page faults while a file fills them.
    static Pixels allocatePixels(std::size_t bytes);

    std::size_t size_ = 0;
    Pixels pixels_;
};

} // namespace dorvan
