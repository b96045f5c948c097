#pragma once
// The system's raster images. Bitmap24 holds blue, green, red bytes per pixel,
// rows top down, each row padded to 4 bytes; Bitmap8 holds palette indices.
// Both own their buffer and are move-only. Colours passed in and out are
// 0x00BBGGRR (red in the low byte).
#include <QImage>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace corvan {

using Colour = std::uint32_t;  // 0x00BBGGRR

constexpr std::uint8_t RedOf(Colour c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(Colour c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(Colour c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }
constexpr Colour MakeColour(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

class Bitmap24 {
public:
    // Null when the size cannot be represented or the memory is not there.
    static std::unique_ptr<Bitmap24> Create(int width, int height);

    Bitmap24(const Bitmap24&) = delete;
    Bitmap24& operator=(const Bitmap24&) = delete;
    Bitmap24(Bitmap24&&) noexcept = default;
    Bitmap24& operator=(Bitmap24&&) noexcept = default;

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t Stride() const { return stride_; }
    std::uint8_t* Bits() { return pixels_.data(); }
    const std::uint8_t* Bits() const { return pixels_.data(); }
    std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* Row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * stride_;
    }

    Colour Pixel(int x, int y) const;
    void SetPixel(int x, int y, Colour c);
    void Fill(Colour c);
    std::unique_ptr<Bitmap24> Clone() const;

    // A QImage sharing this buffer (Format_BGR888); valid while the bitmap lives.
    QImage View();
    const QImage View() const;
    // A deep copy of any QImage, converted to this layout. Null for a null image.
    static std::unique_ptr<Bitmap24> FromQImage(const QImage& image);

private:
    Bitmap24(int w, int h, std::size_t stride, std::vector<std::uint8_t> px)
        : width_(w), height_(h), stride_(stride), pixels_(std::move(px)) {}
    int width_ = 0;
    int height_ = 0;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> pixels_;
};

class Bitmap8 {
public:
    static std::unique_ptr<Bitmap8> Create(int width, int height);

    Bitmap8(const Bitmap8&) = delete;
    Bitmap8& operator=(const Bitmap8&) = delete;
    Bitmap8(Bitmap8&&) noexcept = default;
    Bitmap8& operator=(Bitmap8&&) noexcept = default;

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::size_t Stride() const { return stride_; }
    std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* Row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * stride_;
    }
    std::array<Colour, 256>& Palette() { return palette_; }
    const std::array<Colour, 256>& Palette() const { return palette_; }

private:
    Bitmap8(int w, int h, std::size_t stride, std::vector<std::uint8_t> px)
        : width_(w), height_(h), stride_(stride), pixels_(std::move(px)) {}
    int width_ = 0;
    int height_ = 0;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> pixels_;
    std::array<Colour, 256> palette_{};
};

}  // namespace corvan
