#include "platform/bitmap.h"

#include "platform/imagesize.h"

#include <cstring>
#include <new>

namespace corvan {

namespace {
// A zeroed pixel buffer, or nothing when the size is not representable or
// the memory is not available.
bool Allocate(int width, int height, int bpp, std::size_t& stride, std::vector<std::uint8_t>& px) {
    auto layout = CalculateImageLayout(width, height, bpp);
    // Far beyond any machine we run on: refuse rather than ask the allocator.
    constexpr std::size_t kMaxImageBytes = std::size_t{1} << 38;
    if (!layout || layout->bytes > kMaxImageBytes) return false;
    try {
        px.assign(layout->bytes, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    stride = layout->stride;
    return true;
}
}  // namespace

std::unique_ptr<Bitmap24> Bitmap24::Create(int width, int height) {
    std::size_t stride = 0;
    std::vector<std::uint8_t> px;
    if (!Allocate(width, height, 24, stride, px)) return nullptr;
    return std::unique_ptr<Bitmap24>(new Bitmap24(width, height, stride, std::move(px)));
}

Colour Bitmap24::Pixel(int x, int y) const {
    const std::uint8_t* p = Row(y) + 3 * static_cast<std::size_t>(x);
    return MakeColour(p[2], p[1], p[0]);
}

void Bitmap24::SetPixel(int x, int y, Colour c) {
    std::uint8_t* p = Row(y) + 3 * static_cast<std::size_t>(x);
    p[0] = BlueOf(c);
    p[1] = GreenOf(c);
    p[2] = RedOf(c);
}

void Bitmap24::Fill(Colour c) {
    if (width_ == 0 || height_ == 0) return;
    std::uint8_t* first = Row(0);
    for (int x = 0; x < width_; ++x) {
        first[3 * x] = BlueOf(c);
        first[3 * x + 1] = GreenOf(c);
        first[3 * x + 2] = RedOf(c);
    }
    for (int y = 1; y < height_; ++y) std::memcpy(Row(y), first, stride_);
}

std::unique_ptr<Bitmap24> Bitmap24::Clone() const {
    auto copy = Create(width_, height_);
    if (copy && !pixels_.empty()) std::memcpy(copy->Bits(), Bits(), pixels_.size());
    return copy;
}

QImage Bitmap24::View() {
    return QImage(Bits(), width_, height_, static_cast<qsizetype>(stride_), QImage::Format_BGR888);
}

const QImage Bitmap24::View() const {
    return QImage(Bits(), width_, height_, static_cast<qsizetype>(stride_), QImage::Format_BGR888);
}

std::unique_ptr<Bitmap24> Bitmap24::FromQImage(const QImage& image) {
    if (image.isNull()) return nullptr;
    const QImage src = image.convertToFormat(QImage::Format_BGR888);
    auto out = Create(src.width(), src.height());
    if (!out) return nullptr;
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(src.width());
    for (int y = 0; y < src.height(); ++y) std::memcpy(out->Row(y), src.constScanLine(y), rowBytes);
    return out;
}

std::unique_ptr<Bitmap8> Bitmap8::Create(int width, int height) {
    std::size_t stride = 0;
    std::vector<std::uint8_t> px;
    if (!Allocate(width, height, 8, stride, px)) return nullptr;
    return std::unique_ptr<Bitmap8>(new Bitmap8(width, height, stride, std::move(px)));
}

}  // namespace corvan
