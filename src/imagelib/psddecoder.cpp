#include "imagelib/psddecoder.h"

#include "imagelib/cmykconvert.h"
#include "imagelib/imagelimits.h"
#include "imagelib/labconvert.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace corvan {

namespace {

enum ColourMode : std::uint16_t { kGrey = 1, kRgb = 3, kCmyk = 4, kLab = 9 };
constexpr std::uint16_t kIccResource = 1039;

struct PsdHeader {
    bool large = false;  // version 2: 64-bit section lengths and 32-bit row counts
    std::uint16_t channels = 0, depth = 0, mode = 0;
    std::uint32_t width = 0, height = 0;
    unsigned colours = 0;  // colour channels of the mode
    bool alpha = false;    // the composite carries transparency after its colours

    unsigned SampleBytes() const { return depth / 8u; }
};

unsigned ColoursOf(std::uint16_t mode) {
    switch (mode) {
        case kGrey:
            return 1;
        case kRgb:
        case kLab:
            return 3;
        case kCmyk:
            return 4;
        default:
            return 0;
    }
}

const char* ModeName(std::uint16_t mode) {
    return mode == kGrey ? "greyscale" : mode == kRgb ? "RGB" : mode == kCmyk ? "CMYK" : "L*a*b*";
}

std::string ReadHeader(RangeReader& in, PsdHeader& h) {
    std::uint8_t signature[4];
    std::uint16_t version = 0;
    if (!in.Read(signature, 4) || std::memcmp(signature, "8BPS", 4) != 0 || !in.ReadBE16(version) ||
        (version != 1 && version != 2) || !in.Skip(6) || !in.ReadBE16(h.channels) ||
        !in.ReadBE32(h.height) || !in.ReadBE32(h.width) || !in.ReadBE16(h.depth) ||
        !in.ReadBE16(h.mode))
        return "its header is damaged";
    h.large = version == 2;
    h.colours = ColoursOf(h.mode);
    if ((h.depth != 8 && h.depth != 16) || h.colours == 0)
        return "Only 8- and 16-bit RGB, CMYK, L*a*b* and greyscale Photoshop pictures can be read";
    if (h.channels < h.colours || h.channels > 56) return "its header is damaged";
    return {};
}

bool ReadLength(RangeReader& in, bool large, std::uint64_t& length) {
    std::uint32_t length32 = 0;
    if (large ? !in.ReadBE64(length) : !in.ReadBE32(length32)) return false;
    if (!large) length = length32;
    return length <= in.Remaining();
}

bool SkipSection(RangeReader& in, bool large) {
    std::uint64_t length = 0;
    return ReadLength(in, large, length) && in.Skip(length);
}

// The layer section decides whether the composite's first extra channel is
// its transparency: a negative layer count says so; a file without layers
// (as simple writers make them) has no other use for it. Extra channels of
// a layered file are saved selections and spot inks.
bool ReadLayerSection(RangeReader& in, PsdHeader& h) {
    std::uint64_t length = 0, infoLength = 0;
    if (!ReadLength(in, h.large, length)) return false;
    const std::uint64_t end = in.Tell() + length;
    std::uint16_t count = 0;
    const bool hasLayers = length >= (h.large ? 10u : 6u) && ReadLength(in, h.large, infoLength) &&
                           infoLength >= 2 && in.ReadBE16(count) && count != 0;
    h.alpha = h.channels > h.colours && (!hasLayers || static_cast<std::int16_t>(count) < 0);
    return in.Seek(end);
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
    if (!in.ReadBE16(compression)) return "its picture data is damaged";
    if (compression > 1) return "ZIP-compressed Photoshop pictures cannot be read";
    const bool packed = compression == 1;
    const std::uint64_t rows = std::uint64_t{h.channels} * h.height;
    std::vector<std::uint32_t> counts;
    if (packed) {
        const unsigned countBytes = h.large ? 4 : 2;
        if (rows * countBytes > in.Remaining()) return "its picture data is damaged";
        counts.resize(rows);
        for (auto& c : counts) {
            std::uint16_t c16 = 0;
            if (h.large ? !in.ReadBE32(c) : !in.ReadBE16(c16)) return "its picture data is damaged";
            if (!h.large) c = c16;
        }
    }
    const std::uint64_t rowBytes = std::uint64_t{h.width} * h.SampleBytes();
    std::vector<std::uint8_t> row(rowBytes), packedRow;
    const std::uint64_t total = std::uint64_t{planes} * h.height;
    for (unsigned ch = 0; ch < planes; ++ch) {
        for (std::uint32_t y = 0; y < h.height; ++y) {
            if (packed) {
                const std::uint32_t n = counts[std::size_t{ch} * h.height + y];
                // PackBits never needs more than one header byte per byte plus one per 128.
                if (n > 2 * rowBytes + 2) return "its picture data is damaged";
                packedRow.resize(n);
                if (!in.Read(packedRow.data(), n) || !UnpackBits(packedRow, row))
                    return "its picture data is damaged";
            } else if (!in.Read(row.data(), row.size())) {
                return "it ends early";
            }
            store(ch, y, row.data());
            progress.Advance(std::uint64_t{ch} * h.height + y + 1, total);
        }
    }
    return {};
}

std::uint16_t BigEndian16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

std::uint8_t Sample8(const std::uint8_t* p, unsigned bytes) {
    return bytes == 1 ? p[0] : static_cast<std::uint8_t>((BigEndian16(p) * 255u + 32767u) / 65535u);
}

// Transparency (samples of `bytes` each) lays a row of the picture on white.
void LayOnWhite(std::uint8_t* dst, const std::uint8_t* alpha, unsigned bytes, std::size_t w) {
    for (std::size_t x = 0; x < w; ++x, alpha += bytes) {
        const unsigned a = Sample8(alpha, bytes), veil = 255 * (255 - a);
        for (int c = 0; c < 3; ++c, ++dst)
            *dst = static_cast<std::uint8_t>((*dst * a + veil + 127) / 255);
    }
}

// Grey and RGB go straight into the picture, rounded to 8 bits.
std::string DecodeDirect(RangeReader& in, const PsdHeader& h, Bitmap24& out,
                         ProgressReporter& progress) {
    const std::size_t w = h.width;
    const unsigned bytes = h.SampleBytes();
    return ReadPlanes(in, h, h.colours + h.alpha, progress,
                      [&](unsigned ch, std::uint32_t y, const std::uint8_t* src) {
                          std::uint8_t* dst = out.Row(static_cast<int>(y));
                          if (ch == h.colours) return LayOnWhite(dst, src, bytes, w);
                          for (std::size_t x = 0; x < w; ++x, src += bytes) {
                              const std::uint8_t v = Sample8(src, bytes);
                              if (h.colours == 1)
                                  dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = v;
                              else
                                  dst[3 * x + 2 - ch] = v;
                          }
                      });
}

// CMYK and Lab need every channel of a pixel at once: the planes are
// gathered into interleaved host-order samples, then converted row by row.
std::string DecodeConverted(RangeReader& in, const PsdHeader& h,
                            const std::vector<std::uint8_t>& icc, Bitmap24& out,
                            ProgressReporter& progress) {
    const std::size_t w = h.width;
    const unsigned bytes = h.SampleBytes();
    const int bits = static_cast<int>(h.depth);
    std::string error;
    std::function<void(const std::uint8_t*, std::uint8_t*)> convert;
    if (h.mode == kCmyk) {
        // Photoshop stores CMYK with the maximum meaning no ink.
        auto cmyk = std::shared_ptr(CmykConverter::Create(icc, {bits, true, 0}, &error));
        if (!cmyk) return error;
        convert = [cmyk, w](const std::uint8_t* src, std::uint8_t* dst) {
            cmyk->Convert(src, dst, static_cast<int>(w));
        };
    } else {
        auto lab = std::shared_ptr(LabConverter::Create(LabEncoding::Icc, bits, 0));
        if (!lab) return "Cannot set up the L*a*b* colour conversion";
        convert = [lab, w](const std::uint8_t* src, std::uint8_t* dst) {
            lab->Convert(src, dst, static_cast<int>(w));
        };
    }
    const std::size_t pixelBytes = std::size_t{h.colours} * bytes;
    std::vector<std::uint8_t> samples(pixelBytes * w * h.height);
    std::vector<std::uint8_t> alpha(h.alpha ? bytes * w * h.height : 0);
    error = ReadPlanes(in, h, h.colours + h.alpha, progress,
                       [&](unsigned ch, std::uint32_t y, const std::uint8_t* src) {
                           if (ch == h.colours) {
                               std::memcpy(alpha.data() + bytes * w * y, src, bytes * w);
                               return;
                           }
                           std::uint8_t* dst = samples.data() + pixelBytes * w * y + ch * bytes;
                           for (std::size_t x = 0; x < w; ++x, src += bytes, dst += pixelBytes) {
                               if (bytes == 1) {
                                   *dst = *src;
                               } else {
                                   const std::uint16_t v = BigEndian16(src);
                                   std::memcpy(dst, &v, 2);
                               }
                           }
                       });
    if (!error.empty()) return error;
    for (std::uint32_t y = 0; y < h.height; ++y) {
        std::uint8_t* dst = out.Row(static_cast<int>(y));
        convert(samples.data() + pixelBytes * w * y, dst);
        if (h.alpha) LayOnWhite(dst, alpha.data() + bytes * w * y, bytes, w);
    }
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
        // Whole sentences (capitalised) stand alone; fragments say what is damaged.
        return DecodeResult::Failed(
            std::isupper(static_cast<unsigned char>(why[0])) ? why : DamagedFile("Photoshop", why));
    };
    if (std::string why = ReadHeader(in, h); !why.empty()) return failed(why);
    const bool converted = h.mode == kCmyk || h.mode == kLab;
    const unsigned work = converted ? (h.colours + h.alpha) * h.SampleBytes() : 0;
    if (std::string tooLarge = CheckImageSize(h.width, h.height, work); !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    if (!SkipSection(in, false) || !ReadResources(in, icc) || !ReadLayerSection(in, h))
        return failed("its sections are damaged");
    progress.Start();
    auto image = Bitmap24::Create(static_cast<int>(h.width), static_cast<int>(h.height));
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    std::string error;
    try {
        error = converted ? DecodeConverted(in, h, icc, *image, progress)
                          : DecodeDirect(in, h, *image, progress);
    } catch (const std::bad_alloc&) {
        error = kOutOfMemory;
    }
    if (!error.empty()) return failed(error);
    PictureInfo info;
    info.format = "Photoshop";
    info.colourSpace = std::string(ModeName(h.mode)) + (h.alpha ? " with alpha" : "");
    info.bitsPerSample = h.depth;
    info.profile = ProfileDescription(icc);
    progress.Finish();
    return {std::move(image), {}, std::move(info)};
}

}  // namespace corvan
