#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace render {

// A colour in the desktop's integer form 0x00BBGGRR (red in the low byte).
using ColorRef = std::uint32_t;

// The image a wallpaper is composed on: width x height pixels, 3 bytes per
// pixel in the order blue, green, red, rows top-down in memory, each row
// padded to a multiple of 4 bytes (the layout of a 24-bit BMP row).
class Canvas {
public:
    enum class Init { White, Uninitialized };

    Canvas() = default;
    // Throws RenderError (invalid bitmap) for sizes too large to hold.
    Canvas(int width, int height, Init init = Init::White);

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    std::size_t Stride() const noexcept { return stride_; }
    bool Empty() const noexcept { return width_ == 0 || height_ == 0; }

    // Row y (0 = top). A row outside the canvas raises the scanline error.
    std::uint8_t* Row(int y);
    const std::uint8_t* Row(int y) const;
    // The whole pixel block, Stride() * Height() bytes.
    std::uint8_t* Data() noexcept { return data_.get(); }
    const std::uint8_t* Data() const noexcept { return data_.get(); }

    void Fill(ColorRef color);

    // The largest screen a wallpaper is drawn for (8K UHD).
    static constexpr int kLargestScreenWidth = 7680;
    static constexpr int kLargestScreenHeight = 4320;
    // The picture budget: the largest pixel count accepted for a canvas or
    // for a picture's full declared size, whatever scale it is decoded at.
    // One and a half of the largest screen (about 150 MB at 24 bits): room
    // for 48-megapixel photos, while a header claiming more is refused
    // before anything of its size is allocated.
    static constexpr std::uint64_t kMaxPixels
        = std::uint64_t { kLargestScreenWidth } * kLargestScreenHeight * 3 / 2;
    // What a decoder may allocate for its own work besides the canvas
    // (libjpeg's coefficient buffers of a progressive picture at the budget).
    static constexpr std::size_t kMaxDecoderBytes = 3 * kMaxPixels;
    static std::size_t StrideFor(int width) noexcept
    {
        return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t { 3 };
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::size_t stride_ = 0;
    std::unique_ptr<std::uint8_t[]> data_;
};

} // namespace render
