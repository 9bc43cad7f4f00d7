#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// A 32-bit picture as the rest of the program expects it: rows bottom-up
// (the first row in memory is the bottom row of the picture), each pixel
// blue, green, red and a fourth byte (0, or a PNG's alpha).
class Image {
public:
    // Pictures larger than this on a side are refused: no recording or
    // interface picture comes near it, and it keeps every size in range.
    static constexpr int kMaxSide = 8192;

    // A zero-filled picture, or null when a side is not within 1..kMaxSide.
    static std::unique_ptr<Image> create(int width, int height);

    Image(const Image&) = default;
    Image& operator=(const Image&) = default;
    virtual ~Image() = default;

    int width() const { return width_; }
    int height() const { return height_; }
    int byteSize() const { return static_cast<int>(pixels_.size()); }
    int stride() const { return width_ * 4; }

    std::uint8_t* pixels() { return pixels_.data(); }
    const std::uint8_t* pixels() const { return pixels_.data(); }

    // Row y counted in memory order (0 is the bottom row of the picture).
    std::uint8_t* memoryRow(int y) { return pixels_.data() + static_cast<std::size_t>(y) * stride(); }
    const std::uint8_t* memoryRow(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * stride(); }

private:
    Image(int width, int height);

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};
