// Uncompressed DIB rows: palette indices, bit fields and plain 24/32-bit.
#include "platform/dibinternal.h"

#include <bit>
#include <cstring>

namespace corvan::dib {

Channel::Channel(std::uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    max_ = mask >> shift_;
}

namespace {

struct RowJob {
    const DibHeader& header;
    const Palette& palette;
    Channel red, green, blue, alpha;
};

void IndexedRow(const RowJob& job, const std::uint8_t* src, std::uint8_t* dst, std::uint8_t*) {
    const int bpp = job.header.bitCount;
    const int perByte = 8 / bpp;
    const unsigned valueMask = (1u << bpp) - 1;
    for (int x = 0; x < job.header.width; ++x) {
        // The leftmost pixel sits in the most significant bits of its byte.
        const int shift = 8 - bpp * (x % perByte + 1);
        const unsigned index = (src[x / perByte] >> shift) & valueMask;
        std::memcpy(dst + 3 * x, job.palette.bgr[index].data(), 3);
    }
}

void MaskedRow(const RowJob& job, const std::uint8_t* src, std::uint8_t* dst, std::uint8_t* alpha) {
    const bool wide = job.header.bitCount == 32;
    for (int x = 0; x < job.header.width; ++x) {
        const std::uint8_t* p = src + (wide ? 4 : 2) * x;
        std::uint32_t v = p[0] | (p[1] << 8);
        if (wide)
            v |=
                (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
        dst[3 * x] = job.blue.Extract(v);
        dst[3 * x + 1] = job.green.Extract(v);
        dst[3 * x + 2] = job.red.Extract(v);
        if (alpha) alpha[x] = job.alpha.Extract(v);
    }
}

// The common 32-bit layout is already blue, green, red, alpha in byte order.
void Bgra32Row(const RowJob& job, const std::uint8_t* src, std::uint8_t* dst, std::uint8_t* alpha) {
    for (int x = 0; x < job.header.width; ++x) {
        std::memcpy(dst + 3 * x, src + 4 * x, 3);
        if (alpha) alpha[x] = src[4 * x + 3];
    }
}

void Bgr24Row(const RowJob& job, const std::uint8_t* src, std::uint8_t* dst, std::uint8_t*) {
    std::memcpy(dst, src, 3 * static_cast<std::size_t>(job.header.width));
}

using RowFunction = void (*)(const RowJob&, const std::uint8_t*, std::uint8_t*, std::uint8_t*);

RowFunction ChooseRow(const DibHeader& h) {
    if (h.bitCount <= 8) return IndexedRow;
    if (h.bitCount == 24) return Bgr24Row;
    const bool standard32 = h.bitCount == 32 && h.redMask == 0x00FF0000 &&
                            h.greenMask == 0x0000FF00 && h.blueMask == 0x000000FF &&
                            (h.alphaMask == 0 || h.alphaMask == 0xFF000000);
    return standard32 ? Bgra32Row : MaskedRow;
}

}  // namespace

void UnpackRows(const DibHeader& header, std::span<const std::uint8_t> bits, const Palette& palette,
                Bitmap24& out, std::uint8_t* alpha) {
    const RowJob job{header,
                     palette,
                     Channel(header.redMask),
                     Channel(header.greenMask),
                     Channel(header.blueMask),
                     Channel(header.alphaMask)};
    const RowFunction row = ChooseRow(header);
    const std::size_t stride = *DibStride(header.width, header.bitCount);
    const std::size_t width = static_cast<std::size_t>(header.width);
    for (int stored = 0; stored < header.height; ++stored) {
        const int y = header.topDown ? stored : header.height - 1 - stored;
        std::uint8_t* alphaRow = alpha ? alpha + static_cast<std::size_t>(y) * width : nullptr;
        row(job, bits.data() + static_cast<std::size_t>(stored) * stride, out.Row(y), alphaRow);
    }
}

}  // namespace corvan::dib
