#include "imagelib/orientation.h"

namespace corvan {

namespace {

struct TiffBytes {
    std::span<const std::uint8_t> data;
    bool bigEndian = false;

    bool U16(std::size_t at, std::uint16_t& v) const {
        if (at > data.size() || data.size() - at < 2) return false;
        v = bigEndian ? static_cast<std::uint16_t>(data[at] << 8 | data[at + 1])
                      : static_cast<std::uint16_t>(data[at + 1] << 8 | data[at]);
        return true;
    }
    bool U32(std::size_t at, std::uint32_t& v) const {
        std::uint16_t a = 0, b = 0;
        if (!U16(at, a) || !U16(at + 2, b)) return false;
        v = bigEndian ? (std::uint32_t{a} << 16 | b) : (std::uint32_t{b} << 16 | a);
        return true;
    }
};

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kTypeShort = 3;

}  // namespace

int ExifOrientation(std::span<const std::uint8_t> app1) {
    static constexpr std::uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (app1.size() < 14 || !std::equal(kExif, kExif + 6, app1.begin())) return 1;
    return TiffOrientation(app1.subspan(6));
}

int TiffOrientation(std::span<const std::uint8_t> tiff) {
    if (tiff.size() < 8) return 1;
    TiffBytes t{tiff};
    if (t.data[0] == 'M' && t.data[1] == 'M')
        t.bigEndian = true;
    else if (t.data[0] != 'I' || t.data[1] != 'I')
        return 1;
    std::uint16_t magic = 0, count = 0;
    std::uint32_t ifd = 0;
    if (!t.U16(2, magic) || magic != 42 || !t.U32(4, ifd) || !t.U16(ifd, count)) return 1;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = std::size_t{ifd} + 2 + 12 * std::size_t{i};
        std::uint16_t tag = 0, type = 0, value = 0;
        if (!t.U16(entry, tag) || !t.U16(entry + 2, type)) return 1;
        if (tag != kOrientationTag) continue;
        if (type != kTypeShort || !t.U16(entry + 8, value) || value < 1 || value > 8) return 1;
        return value;
    }
    return 1;
}

std::unique_ptr<Bitmap24> ApplyOrientation(std::unique_ptr<Bitmap24> image, int orientation) {
    // Quarter turn (counter-clockwise, after the mirrors), mirror X, mirror Y
    // for orientations 1 to 8.
    static constexpr bool kFlags[9][3] = {
        {false, false, false}, {false, false, false}, {false, true, false},
        {false, true, true},   {false, false, true},  {true, true, false},
        {true, true, true},    {true, false, true},   {true, false, false},
    };
    if (!image || orientation <= 1 || orientation > 8) return image;
    const bool turn = kFlags[orientation][0], mirrorX = kFlags[orientation][1],
               mirrorY = kFlags[orientation][2];
    const int W = image->Width(), H = image->Height();
    auto out = turn ? Bitmap24::Create(H, W) : Bitmap24::Create(W, H);
    if (!out) return nullptr;
    // The same mapping as the strip composer's whole-image transform: mirrors
    // first, then the quarter turn that makes the source's right column the
    // top row.
    for (int y = 0; y < out->Height(); ++y) {
        std::uint8_t* dst = out->Row(y);
        for (int x = 0; x < out->Width(); ++x, dst += 3) {
            const int sy = turn ? (mirrorY ? H - 1 - x : x) : (mirrorY ? H - 1 - y : y);
            const int sx = turn ? (mirrorX ? y : W - 1 - y) : (mirrorX ? W - 1 - x : x);
            const std::uint8_t* src = image->Row(sy) + 3 * static_cast<std::size_t>(sx);
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    return out;
}

}  // namespace corvan
