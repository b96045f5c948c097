#pragma once
// Pieces of the DIB decoder shared by its source files; not for other callers.
#include "platform/dib.h"

#include <array>
#include <cstdint>
#include <span>

namespace corvan::dib {

// Colour-table entries as blue, green, red bytes. Entries past the ones the
// table holds stay black, so a stray index never reads outside it.
struct Palette {
    std::array<std::array<std::uint8_t, 3>, 256> bgr{};
};

// One colour channel of a bit-field pixel, scaled to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask);
    bool Present() const { return max_ != 0; }
    std::uint8_t Extract(std::uint32_t pixel) const {
        if (max_ == 0) return 0;
        const std::uint64_t v = (pixel & mask_) >> shift_;
        return static_cast<std::uint8_t>((v * 255 + max_ / 2) / max_);
    }

private:
    std::uint32_t mask_;
    int shift_ = 0;
    std::uint64_t max_ = 0;
};

// Writes the stored rows of uncompressed bits (already checked to be long
// enough) into `out`; `alpha` (width * height bytes) is filled when given and
// the pixels carry an alpha channel.
void UnpackRows(const DibHeader& header, std::span<const std::uint8_t> bits, const Palette& palette,
                Bitmap24& out, std::uint8_t* alpha);

// Plays an RLE8 or RLE4 stream onto `out`, which holds the unwritten colour
// already; marks written pixels with 255 in `coverage` when given.
void PlayRle(std::span<const std::uint8_t> bits, bool fourBit, const Palette& palette,
             Bitmap24& out, std::uint8_t* coverage);

// Decodes the JPEG or PNG image a DIB carries as its bits.
Outcome<DibImage> DecodeEmbedded(std::span<const std::uint8_t> bits, DibCompression compression,
                                 const DibDecodeOptions& options);

}  // namespace corvan::dib
