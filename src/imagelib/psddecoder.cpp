#include "imagelib/psddecoder.h"

#include "imagelib/cmykconvert.h"
#include "imagelib/imagelimits.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace corvan {

namespace {

enum ColourMode : std::uint16_t { kGrey = 1, kRgb = 3, kCmyk = 4 };
constexpr std::uint16_t kIccResource = 1039;

struct PsdHeader {
    bool large = false;  // version 2: 64-bit section lengths and 32-bit row counts
    std::uint16_t channels = 0, depth = 0, mode = 0;
    std::uint32_t width = 0, height = 0;
};

std::string ReadHeader(RangeReader& in, PsdHeader& h) {
    std::uint8_t signature[4];
    std::uint16_t version = 0;
    if (!in.Read(signature, 4) || std::memcmp(signature, "8BPS", 4) != 0 || !in.ReadBE16(version) ||
        (version != 1 && version != 2) || !in.Skip(6) || !in.ReadBE16(h.channels) ||
        !in.ReadBE32(h.height) || !in.ReadBE32(h.width) || !in.ReadBE16(h.depth) ||
        !in.ReadBE16(h.mode))
        return "damaged header";
    h.large = version == 2;
    const unsigned needed = h.mode == kGrey ? 1 : h.mode == kRgb ? 3 : h.mode == kCmyk ? 4 : 0;
    if (h.depth != 8 || needed == 0)
        return "only 8-bit RGB, CMYK and greyscale pictures can be read";
    if (h.channels < needed || h.channels > 56) return "damaged header";
    return {};
}

bool SkipSection(RangeReader& in, bool large) {
    std::uint64_t length = 0;
    std::uint32_t length32 = 0;
    if (large ? !in.ReadBE64(length) : !in.ReadBE32(length32)) return false;
    return in.Skip(large ? length : length32);
}

// Image resources: only the ICC profile matters to us.
bool ReadResources(RangeReader& in, std::vector<std::uint8_t>& icc) {
    std::uint32_t length = 0;
    if (!in.ReadBE32(length) || length > in.Remaining()) return false;
    const std::uint64_t end = in.Tell() + length;
    while (in.Tell() + 12 <= end) {
        std::uint8_t signature[4], nameLength = 0;
        std::uint16_t id = 0;
        std::uint32_t size = 0;
        if (!in.Read(signature, 4) || !in.ReadBE16(id) || !in.ReadU8(nameLength)) return false;
        // The Pascal-string name, length byte included, is padded to even.
        if (!in.Skip(nameLength + ((nameLength + 1) % 2)) || !in.ReadBE32(size) ||
            size > end - std::min(end, in.Tell()))
            return false;
        if (id == kIccResource && icc.empty()) {
            icc.resize(size);
            if (!in.Read(icc.data(), size)) return false;
            if (size % 2 && !in.Skip(1)) return false;
        } else if (!in.Skip(size + size % 2)) {
            return false;
        }
    }
    return in.Seek(end);
}

// Reads the composite's channel planes one row at a time and hands each
// row to `store` (channel index, row index, bytes).
template <class Store>
std::string ReadPlanes(RangeReader& in, const PsdHeader& h, unsigned planes,
                       ProgressReporter& progress, Store&& store) {
    std::uint16_t compression = 0;
    if (!in.ReadBE16(compression)) return "damaged picture data";
    if (compression > 1) return "ZIP-compressed pictures cannot be read";
    const bool packed = compression == 1;
    const std::uint64_t rows = std::uint64_t{h.channels} * h.height;
    std::vector<std::uint32_t> counts;
    if (packed) {
        const unsigned countBytes = h.large ? 4 : 2;
        if (rows * countBytes > in.Remaining()) return "damaged picture data";
        counts.resize(rows);
        for (auto& c : counts) {
            std::uint16_t c16 = 0;
            if (h.large ? !in.ReadBE32(c) : !in.ReadBE16(c16)) return "damaged picture data";
            if (!h.large) c = c16;
        }
    }
    std::vector<std::uint8_t> row(h.width), packedRow;
    const std::uint64_t total = std::uint64_t{planes} * h.height;
    for (unsigned ch = 0; ch < planes; ++ch) {
        for (std::uint32_t y = 0; y < h.height; ++y) {
            if (packed) {
                const std::uint32_t n = counts[std::size_t{ch} * h.height + y];
                // PackBits never needs more than one header byte per byte plus one per 128.
                if (n > 2 * std::uint64_t{h.width} + 2) return "damaged picture data";
                packedRow.resize(n);
                if (!in.Read(packedRow.data(), n) || !UnpackBits(packedRow, row))
                    return "damaged picture data";
            } else if (!in.Read(row.data(), row.size())) {
                return "the file is truncated";
            }
            store(ch, y, row.data());
            progress.Advance(std::uint64_t{ch} * h.height + y + 1, total);
        }
    }
    return {};
}

std::string DecodeComposite(RangeReader& in, const PsdHeader& h,
                            const std::vector<std::uint8_t>& icc, Bitmap24& out,
                            ProgressReporter& progress) {
    const std::size_t w = h.width;
    if (h.mode != kCmyk) {
        const unsigned planes = h.mode == kRgb ? 3 : 1;
        return ReadPlanes(in, h, planes, progress,
                          [&](unsigned ch, std::uint32_t y, const std::uint8_t* src) {
                              std::uint8_t* dst = out.Row(static_cast<int>(y));
                              for (std::size_t x = 0; x < w; ++x) {
                                  if (planes == 1)
                                      dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = src[x];
                                  else
                                      dst[3 * x + 2 - ch] = src[x];
                              }
                          });
    }
    // Photoshop stores CMYK with 255 meaning no ink.
    std::string error;
    auto converter = CmykConverter::Create(icc, {8, true, 0}, &error);
    if (!converter) return error;
    std::vector<std::uint8_t> cmyk(4 * w * h.height);
    error =
        ReadPlanes(in, h, 4, progress, [&](unsigned ch, std::uint32_t y, const std::uint8_t* src) {
            std::uint8_t* dst = cmyk.data() + 4 * w * y + ch;
            for (std::size_t x = 0; x < w; ++x) dst[4 * x] = src[x];
        });
    if (!error.empty()) return error;
    for (std::uint32_t y = 0; y < h.height; ++y)
        converter->Convert(cmyk.data() + 4 * w * y, out.Row(static_cast<int>(y)),
                           static_cast<int>(w));
    return {};
}

}  // namespace

bool UnpackBits(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    std::size_t i = 0, o = 0;
    while (o < out.size()) {
        if (i >= in.size()) return false;
        const int header = static_cast<std::int8_t>(in[i++]);
        if (header >= 0) {
            const std::size_t n = static_cast<std::size_t>(header) + 1;
            if (in.size() - i < n) return false;
            const std::size_t keep = std::min(n, out.size() - o);
            std::memcpy(out.data() + o, in.data() + i, keep);
            i += n;
            o += keep;
        } else if (header != -128) {
            if (i >= in.size()) return false;
            const std::size_t n =
                std::min<std::size_t>(static_cast<std::size_t>(1 - header), out.size() - o);
            std::memset(out.data() + o, in[i++], n);
            o += n;
        }
    }
    return true;
}

DecodeResult DecodePsd(const ImageSource& source, ProgressReporter& progress) {
    RangeReader in(source);
    PsdHeader h;
    std::vector<std::uint8_t> icc;
    auto failed = [](const std::string& why) {
        return DecodeResult::Failed("The Photoshop file cannot be read: " + why);
    };
    if (std::string why = ReadHeader(in, h); !why.empty()) return failed(why);
    if (std::string tooLarge = CheckImageSize(h.width, h.height, h.mode == kCmyk ? 4 : 0);
        !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    if (!SkipSection(in, false) || !ReadResources(in, icc) || !SkipSection(in, h.large))
        return failed("damaged file sections");
    progress.Start();
    auto image = Bitmap24::Create(static_cast<int>(h.width), static_cast<int>(h.height));
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    std::string error;
    try {
        error = DecodeComposite(in, h, icc, *image, progress);
    } catch (const std::bad_alloc&) {
        error = kOutOfMemory;
    }
    if (!error.empty()) return failed(error);
    progress.Finish();
    return {std::move(image), {}};
}

}  // namespace corvan
