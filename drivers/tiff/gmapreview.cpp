#include "tiff/gmapreview.h"

#include <cstring>

namespace drv {

namespace {
constexpr std::int32_t kMaxSide = 16384;

void Release(DrvBitmap* b) {
    delete[] b->bits;
    delete b;
}
}  // namespace

void PreviewStore::Set(const DrvBitmap* b) {
    width_ = height_ = 0;
    bgr_.clear();
    if (!b || !b->bits || b->width <= 0 || b->height <= 0 || b->width > kMaxSide ||
        b->height > kMaxSide || static_cast<std::int64_t>(b->stride) < 3LL * b->width)
        return;
    const std::size_t row = static_cast<std::size_t>(b->width) * 3;
    bgr_.resize(row * static_cast<std::size_t>(b->height));
    for (std::int32_t y = 0; y < b->height; ++y)
        std::memcpy(bgr_.data() + row * static_cast<std::size_t>(y),
                    b->bits + static_cast<std::size_t>(b->stride) * static_cast<std::size_t>(y),
                    row);
    width_ = b->width;
    height_ = b->height;
}

DrvBitmap* PreviewStore::Render(std::int32_t w, std::int32_t h, const ColourEngine& engine) const {
    if (Empty() || w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return nullptr;
    const std::size_t row = static_cast<std::size_t>(w) * 3;
    auto* bits = new std::uint8_t[row * static_cast<std::size_t>(h)];
    std::vector<std::uint8_t> line(row);
    for (std::int32_t y = 0; y < h; ++y) {
        const std::int64_t sy = static_cast<std::int64_t>(y) * height_ / h;
        const std::uint8_t* src =
            bgr_.data() + static_cast<std::size_t>(sy) * static_cast<std::size_t>(width_) * 3;
        for (std::int32_t x = 0; x < w; ++x)
            std::memcpy(
                &line[static_cast<std::size_t>(x) * 3],
                src + static_cast<std::size_t>(static_cast<std::int64_t>(x) * width_ / w) * 3, 3);
        std::uint8_t* out = bits + row * static_cast<std::size_t>(y);
        if (engine.IsOpen())
            engine.Proof(line.data(), out, static_cast<std::size_t>(w));
        else
            std::memcpy(out, line.data(), row);
    }
    return new DrvBitmap{w, h, static_cast<std::int32_t>(row), bits, &Release};
}

}  // namespace drv
