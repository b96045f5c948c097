#include "platform/dib.h"

#include "platform/byteorder.h"
#include "platform/dibinternal.h"
#include "platform/imagesize.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>

namespace corvan {

namespace {

using std::to_string;

bool IsOs2Header(std::uint32_t size) {
    return size == kDibOs2ShortHeaderSize || size == kDibOs2HeaderSize;
}

bool IsKnownHeaderSize(std::uint32_t size) {
    switch (size) {
        case kDibCoreHeaderSize:
        case kDibOs2ShortHeaderSize:
        case kDibInfoHeaderSize:
        case kDibV2HeaderSize:
        case kDibV3HeaderSize:
        case kDibOs2HeaderSize:
        case kDibV4HeaderSize:
        case kDibV5HeaderSize:
            return true;
        default:
            return false;
    }
}

bool IsEmbedded(std::uint32_t compression) {
    return compression == static_cast<std::uint32_t>(DibCompression::Jpeg) ||
           compression == static_cast<std::uint32_t>(DibCompression::Png);
}

bool IsBitfields(std::uint32_t compression) {
    return compression == static_cast<std::uint32_t>(DibCompression::Bitfields) ||
           compression == static_cast<std::uint32_t>(DibCompression::AlphaBitfields);
}

bool IsRle(std::uint32_t compression) {
    return compression == static_cast<std::uint32_t>(DibCompression::Rle8) ||
           compression == static_cast<std::uint32_t>(DibCompression::Rle4);
}

// Reads the size and format fields, which sit at different places in core
// headers; fields a short OS/2 header leaves out read as zero.
DibHeader ReadFields(std::span<const std::uint8_t> info, std::int64_t& width,
                     std::int64_t& height) {
    DibHeader h;
    h.headerSize = ReadU32LE(info, 0);
    if (h.headerSize == kDibCoreHeaderSize) {
        h.core = true;
        width = ReadU16LE(info, 4);
        height = ReadU16LE(info, 6);
        h.bitCount = ReadU16LE(info, 10);
        return h;
    }
    width = ReadI32LE(info, 4);
    height = ReadI32LE(info, 8);
    h.bitCount = ReadU16LE(info, 14);
    if (h.headerSize >= 20) h.compression = ReadU32LE(info, 16);
    if (h.headerSize >= 24) h.sizeImage = ReadU32LE(info, 20);
    if (h.headerSize >= 36) h.colorsUsed = ReadU32LE(info, 32);
    return h;
}

std::optional<std::string> CheckFormat(const DibHeader& h) {
    const std::uint32_t c = h.compression;
    const int bpp = h.bitCount;
    if (IsOs2Header(h.headerSize) && c >= 3)
        return "OS/2 bitmap compression " + to_string(c) + " is not supported";
    if (IsEmbedded(c)) return std::nullopt;
    if (c == static_cast<std::uint32_t>(DibCompression::Rgb)) {
        if (bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)
            return std::nullopt;
        return "Unsupported bit count " + to_string(bpp);
    }
    if (IsRle(c)) {
        const int want = c == static_cast<std::uint32_t>(DibCompression::Rle8) ? 8 : 4;
        if (bpp != want)
            return "RLE" + to_string(want) + " bitmap with " + to_string(bpp) + " bits per pixel";
        if (h.topDown) return "RLE bitmaps cannot be top-down";
        return std::nullopt;
    }
    if (IsBitfields(c)) {
        if (bpp == 16 || bpp == 32) return std::nullopt;
        return "Bit-field bitmap with " + to_string(bpp) + " bits per pixel";
    }
    return "Unsupported bitmap compression " + to_string(c);
}

// Defaults for plain 16- and 32-bit data, stored masks for bit fields.
std::optional<std::string> ReadMasks(std::span<const std::uint8_t> info, DibHeader& h) {
    if (h.bitCount == 16) {
        h.redMask = 0x7C00;
        h.greenMask = 0x03E0;
        h.blueMask = 0x001F;
    } else if (h.bitCount == 32) {
        h.redMask = 0x00FF0000;
        h.greenMask = 0x0000FF00;
        h.blueMask = 0x000000FF;
        h.alphaMask = 0xFF000000;
    }
    if (!IsBitfields(h.compression)) return std::nullopt;
    std::size_t at = kDibInfoHeaderSize;
    std::size_t count = 0;  // masks present
    if (h.headerSize == kDibInfoHeaderSize) {
        count = h.compression == static_cast<std::uint32_t>(DibCompression::AlphaBitfields) ? 4 : 3;
        h.maskBytes = static_cast<std::uint32_t>(4 * count);
        if (info.size() < at + h.maskBytes) return "Bitmap colour masks are truncated";
    } else {
        count = h.headerSize >= kDibV3HeaderSize ? 4 : 3;
    }
    h.redMask = ReadU32LE(info, at);
    h.greenMask = ReadU32LE(info, at + 4);
    h.blueMask = ReadU32LE(info, at + 8);
    h.alphaMask = count == 4 ? ReadU32LE(info, at + 12) : 0;
    return std::nullopt;
}

std::uint32_t TableEntries(const DibHeader& h) {
    if (h.bitCount == 0 || h.bitCount > 8 || IsEmbedded(h.compression)) return h.colorsUsed;
    const std::uint32_t full = 1u << h.bitCount;
    return h.colorsUsed == 0 ? full : std::min(h.colorsUsed, full);
}

std::uint32_t EntrySize(const DibHeader& h, DibColours colours) {
    if (colours == DibColours::PaletteIndices) return 2;
    return h.core ? 3 : 4;
}

Outcome<dib::Palette> BuildPalette(std::span<const std::uint8_t> info, const DibHeader& h,
                                   const DibDecodeOptions& options) {
    dib::Palette palette;
    if (h.bitCount > 8) return palette;
    const bool indices = options.colours == DibColours::PaletteIndices;
    if (indices && !options.paletteLookup)
        return Failure{"Bitmap colours are palette indices but there is no palette"};
    const std::size_t entry = EntrySize(h, options.colours);
    const std::size_t start = std::size_t{h.headerSize} + h.maskBytes;
    const std::size_t present = info.size() > start ? (info.size() - start) / entry : 0;
    if (present < h.tableEntries && !options.tolerateShortColourTable)
        return Failure{"Bitmap colour table is truncated: " + to_string(h.tableEntries) +
                       " entries declared, " + to_string(present) + " present"};
    const std::size_t count = std::min<std::size_t>(present, h.tableEntries);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = start + i * entry;
        if (indices) {
            const Colour c = options.paletteLookup(ReadU16LE(info, at));
            palette.bgr[i] = {BlueOf(c), GreenOf(c), RedOf(c)};
        } else {
            palette.bgr[i] = {info[at], info[at + 1], info[at + 2]};
        }
    }
    return palette;
}

bool AllocatePlane(std::vector<std::uint8_t>& plane, const Bitmap24& image) {
    try {
        plane.assign(static_cast<std::size_t>(image.Width()) * image.Height(), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::string SizeText(const DibHeader& h) {
    return to_string(h.width) + " x " + to_string(h.height);
}

}  // namespace

Outcome<DibHeader> ParseDibHeader(std::span<const std::uint8_t> info) {
    if (info.size() < 4) return Failure{"Bitmap header is missing"};
    const std::uint32_t size = ReadU32LE(info, 0);
    if (!IsKnownHeaderSize(size))
        return Failure{"Unsupported bitmap header size " + to_string(size)};
    if (info.size() < size)
        return Failure{"Bitmap header is truncated: " + to_string(info.size()) + " of " +
                       to_string(size) + " bytes"};
    std::int64_t width = 0;
    std::int64_t height = 0;
    DibHeader h = ReadFields(info, width, height);
    if (width <= 0) return Failure{"Bitmap width " + to_string(width) + " is not positive"};
    if (height == 0) return Failure{"Bitmap height is zero"};
    h.topDown = height < 0;
    if (h.topDown) height = -height;
    if (height > std::numeric_limits<std::int32_t>::max())
        return Failure{"Bitmap height is out of range"};
    h.width = static_cast<std::int32_t>(width);
    h.height = static_cast<std::int32_t>(height);
    if (auto problem = CheckFormat(h)) return Failure{*problem};
    if (auto problem = ReadMasks(info, h)) return Failure{*problem};
    h.tableEntries = TableEntries(h);
    return h;
}

std::optional<std::size_t> DibStride(std::int64_t width, int bitCount) {
    return PaddedStride(width, bitCount);
}

std::optional<std::size_t> DibBitsSize(std::int64_t width, std::int64_t height, int bitCount) {
    if (height < 0) height = -height;
    auto layout = CalculateImageLayout(width, height, bitCount);
    if (!layout) return std::nullopt;
    return layout->bytes;
}

std::uint64_t DibInfoSize(const DibHeader& header, DibColours colours) {
    return std::uint64_t{header.headerSize} + header.maskBytes +
           std::uint64_t{header.tableEntries} * EntrySize(header, colours);
}

std::optional<std::size_t> DibRequiredBitsSize(const DibHeader& header) {
    if (IsRle(header.compression) || IsEmbedded(header.compression)) return header.sizeImage;
    return DibBitsSize(header.width, header.height, header.bitCount);
}

Outcome<DibImage> DecodeDib(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits,
                            const DibDecodeOptions& options) {
    auto parsed = ParseDibHeader(info);
    if (!parsed) return Failure{parsed.Error()};
    if (options.bandRows) {
        if (*options.bandRows <= 0) return Failure{"Bitmap band has no rows"};
        parsed->height = std::min(parsed->height, *options.bandRows);
    }
    if (options.alphaInSpareByte && parsed->bitCount == 32 && parsed->alphaMask == 0 &&
        (parsed->redMask | parsed->greenMask | parsed->blueMask) == 0x00FFFFFFu)
        parsed->alphaMask = 0xFF000000u;
    const DibHeader& h = *parsed;
    if (std::int64_t{h.width} * h.height > options.maxPixels)
        return Failure{"Bitmap of " + SizeText(h) + " pixels is larger than the limit of " +
                       to_string(options.maxPixels) + " pixels"};
    if (IsEmbedded(h.compression))
        return dib::DecodeEmbedded(bits, static_cast<DibCompression>(h.compression), options);

    auto palette = BuildPalette(info, h, options);
    if (!palette) return Failure{palette.Error()};
    DibImage result;
    result.pixels = Bitmap24::Create(h.width, h.height);
    if (!result.pixels) return Failure{"Not enough memory for a bitmap of " + SizeText(h)};
    const bool rle = IsRle(h.compression);
    const bool alpha = options.wantAlpha && (rle || (h.bitCount >= 16 && h.alphaMask != 0));
    if (alpha && !AllocatePlane(result.alpha, *result.pixels))
        return Failure{"Not enough memory for the alpha plane of " + SizeText(h)};
    std::uint8_t* plane = alpha ? result.alpha.data() : nullptr;

    if (rle) {
        result.pixels->Fill(options.unwrittenColour);
        const bool fourBit = h.compression == static_cast<std::uint32_t>(DibCompression::Rle4);
        dib::PlayRle(bits, fourBit, *palette, *result.pixels, plane);
        return result;
    }
    const auto need = DibRequiredBitsSize(h);
    if (!need) return Failure{"Bitmap of " + SizeText(h) + " pixels is out of range"};
    if (bits.size() < *need)
        return Failure{"Bitmap pixel data is truncated: " + to_string(*need) + " bytes needed, " +
                       to_string(bits.size()) + " present"};
    dib::UnpackRows(h, bits, *palette, *result.pixels, plane);
    return result;
}

}  // namespace corvan
