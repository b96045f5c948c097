// RLE8 and RLE4 streams. Rows run bottom up; pixels past the right edge are
// dropped rather than wrapped; a stream that ends without its end-of-bitmap
// escape (common in files written by hand-made encoders) simply stops.
#include "platform/dibinternal.h"

#include <algorithm>
#include <cstring>

namespace corvan::dib {

namespace {

class RleCanvas {
public:
    RleCanvas(const Palette& palette, Bitmap24& out, std::uint8_t* coverage)
        : palette_(palette), out_(out), coverage_(coverage) {}

    int Width() const { return out_.Width(); }
    int Height() const { return out_.Height(); }

    // `row` counts from the bottom, as the stream does.
    void Put(int x, int row, unsigned index) {
        if (x >= Width()) return;
        const int y = Height() - 1 - row;
        std::memcpy(out_.Row(y) + 3 * static_cast<std::size_t>(x), palette_.bgr[index].data(), 3);
        if (coverage_) coverage_[static_cast<std::size_t>(y) * Width() + x] = 255;
    }

private:
    const Palette& palette_;
    Bitmap24& out_;
    std::uint8_t* coverage_;
};

// Index of pixel k of a run: RLE4 packs two pixels per byte, high nibble first.
unsigned PixelOf(std::uint8_t byte, unsigned k, bool fourBit) {
    if (!fourBit) return byte;
    return (k % 2 == 0) ? byte >> 4 : byte & 0x0F;
}

enum class Step { Continue, Stop };

struct RleState {
    std::span<const std::uint8_t> bits;
    bool fourBit;
    std::size_t at = 0;
    int x = 0;
    int row = 0;
};

// An absolute run of `count` literal pixels, padded to a 16-bit boundary.
Step AbsoluteRun(RleState& s, RleCanvas& canvas, unsigned count) {
    const std::size_t bytes = s.fourBit ? (count + 1) / 2 : count;
    const std::size_t present = std::min(bytes, s.bits.size() - s.at);
    for (unsigned k = 0; k < count; ++k) {
        const std::size_t byte = s.fourBit ? k / 2 : k;
        if (byte >= present) return Step::Stop;
        canvas.Put(s.x + static_cast<int>(k), s.row, PixelOf(s.bits[s.at + byte], k, s.fourBit));
    }
    s.at = std::min(s.at + bytes + (bytes & 1), s.bits.size());
    s.x = std::min(s.x + static_cast<int>(count), canvas.Width());
    return Step::Continue;
}

Step Escape(RleState& s, RleCanvas& canvas, unsigned code) {
    switch (code) {
        case 0:  // end of line
            s.x = 0;
            ++s.row;
            return Step::Continue;
        case 1:  // end of bitmap
            return Step::Stop;
        case 2:  // delta: move right and up without writing
            if (s.bits.size() - s.at < 2) return Step::Stop;
            s.x = std::min(s.x + s.bits[s.at], canvas.Width());
            s.row += s.bits[s.at + 1];
            s.at += 2;
            return Step::Continue;
        default:
            return AbsoluteRun(s, canvas, code);
    }
}

}  // namespace

void PlayRle(std::span<const std::uint8_t> bits, bool fourBit, const Palette& palette,
             Bitmap24& out, std::uint8_t* coverage) {
    RleCanvas canvas(palette, out, coverage);
    RleState s{bits, fourBit};
    while (s.row < canvas.Height() && s.bits.size() - s.at >= 2) {
        const unsigned count = bits[s.at];
        const std::uint8_t value = bits[s.at + 1];
        s.at += 2;
        if (count == 0) {
            if (Escape(s, canvas, value) == Step::Stop) return;
            continue;
        }
        for (unsigned k = 0; k < count; ++k)
            canvas.Put(s.x + static_cast<int>(k), s.row, PixelOf(value, k, fourBit));
        s.x = std::min(s.x + static_cast<int>(count), canvas.Width());
    }
}

}  // namespace corvan::dib
