#pragma once
// Device-independent bitmaps as Windows stores them in BMP files and in
// metafile records: an info block (header, optional colour masks, colour
// table) and the pixel bits. Metafile records keep the two at separate
// offsets, so they are passed as separate spans. Decoding turns every form we
// meet into a Bitmap24 and never reads outside the spans it is given; input
// it cannot use yields a Failure with a message, never a partial image.
#include "platform/bitmap.h"
#include "platform/outcome.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace corvan {

enum class DibCompression : std::uint32_t {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    Bitfields = 3,
    Jpeg = 4,
    Png = 5,
    AlphaBitfields = 6,
};

// What colour-table entries hold: colours (RGBQUAD, or RGBTRIPLE after a core
// header) or 16-bit indices into the logical palette selected in the device
// context, as a metafile record may say.
enum class DibColours { Rgb, PaletteIndices };

// Header sizes in the info block's first field.
inline constexpr std::uint32_t kDibCoreHeaderSize = 12;  // BITMAPCOREHEADER, OS/2 1.x
inline constexpr std::uint32_t kDibOs2ShortHeaderSize = 16;
inline constexpr std::uint32_t kDibInfoHeaderSize = 40;  // BITMAPINFOHEADER
inline constexpr std::uint32_t kDibV2HeaderSize = 52;
inline constexpr std::uint32_t kDibV3HeaderSize = 56;
inline constexpr std::uint32_t kDibOs2HeaderSize = 64;  // OS/2 2.x BITMAPINFOHEADER2
inline constexpr std::uint32_t kDibV4HeaderSize = 108;
inline constexpr std::uint32_t kDibV5HeaderSize = 124;

// Larger images are refused unless the caller raises the limit: 2^28 pixels
// take 768 MiB as a Bitmap24.
inline constexpr std::int64_t kDefaultMaxDibPixels = std::int64_t{1} << 28;

// The fields of any header form, checked and normalised.
struct DibHeader {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;   // > 0
    std::int32_t height = 0;  // rows, > 0 whatever the stored sign
    bool topDown = false;     // the stored height was negative
    bool core = false;        // 12-byte header: RGBTRIPLE table entries
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;  // a DibCompression value
    std::uint32_t sizeImage = 0;    // as stored; may be 0 for uncompressed bits
    std::uint32_t colorsUsed = 0;   // as stored
    // The masks that apply to 16- and 32-bit pixels: stored ones for bit
    // fields, else the defaults (5-5-5; 8-8-8 with the top byte as alpha).
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    std::uint32_t alphaMask = 0;
    // Bytes of masks stored right after the header (bit fields with a
    // 40-byte header), and colour-table entries stored after those (up to
    // 8 bits per pixel: colorsUsed, 0 meaning all, capped at 2^bitCount).
    std::uint32_t maskBytes = 0;
    std::uint32_t tableEntries = 0;
};

struct DibDecodeOptions {
    DibColours colours = DibColours::Rgb;
    // Maps a logical-palette index to a colour; required for PaletteIndices.
    std::function<Colour(std::uint16_t)> paletteLookup;
    // Colour of pixels an RLE stream never writes (skipped by a delta, or
    // left when the stream ends early).
    Colour unwrittenColour = 0;
    // Also return the alpha plane (see DibImage::alpha).
    bool wantAlpha = false;
    // 32-bit pixels whose colour masks leave the top byte free carry alpha
    // there even without an alpha mask: blending with per-pixel alpha reads
    // it so, whatever the header says.
    bool alphaInSpareByte = false;
    // Colour-table entries missing from the info block read as black instead
    // of failing. Real writers store only the entries they use and leave the
    // count at 0, both in BMP files (the pixel offset then cuts the table)
    // and in metafile records (the info size does).
    bool tolerateShortColourTable = false;
    // The bits hold only this many stored rows (a band of scan lines, as
    // SetDIBitsToDevice passes them); the image then has that many rows.
    std::optional<std::int32_t> bandRows;
    // Bitmaps with more pixels are refused before anything is allocated.
    std::int64_t maxPixels = kDefaultMaxDibPixels;
};

struct DibImage {
    std::unique_ptr<Bitmap24> pixels;
    // With wantAlpha: one byte per pixel, rows top down, no padding. For data
    // with an alpha channel (32-bit pixels, an alpha mask, PNG) it is that
    // channel as stored, colours left as stored (not premultiplied or
    // unpremultiplied); for RLE data it is 255 where the stream wrote a pixel
    // and 0 where it did not. Empty when the data has neither.
    std::vector<std::uint8_t> alpha;
};

// Reads and checks the header at the start of `info` (and the masks after a
// 40-byte bit-field header).
Outcome<DibHeader> ParseDibHeader(std::span<const std::uint8_t> info);

// Bytes of one stored row of uncompressed pixels: width * bitCount bits
// rounded up to whole 32-bit words. Empty when it cannot be represented.
std::optional<std::size_t> DibStride(std::int64_t width, int bitCount);
// Bytes of uncompressed pixels of a width x |height| bitmap.
std::optional<std::size_t> DibBitsSize(std::int64_t width, std::int64_t height, int bitCount);
// Bytes of the info block the header describes: header, stored masks and
// colour table (entries of 2 bytes for palette indices, 3 after a core
// header, 4 otherwise).
std::uint64_t DibInfoSize(const DibHeader& header, DibColours colours);
// Bytes of bits the decoder needs: the full size for uncompressed data;
// sizeImage for compressed data (0 when the header does not say).
std::optional<std::size_t> DibRequiredBitsSize(const DibHeader& header);

// Decodes a bitmap from its info block (header, masks, colour table) and its
// pixel bits. JPEG and PNG bits keep the embedded image's own size.
Outcome<DibImage> DecodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                            const DibDecodeOptions& options = {});

}  // namespace corvan
