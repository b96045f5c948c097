#include "imagelib/tgadecoder.h"

#include "imagelib/imagelimits.h"

#include <algorithm>
#include <array>
#include <vector>

namespace corvan {

namespace {

struct TgaHeader {
    std::uint8_t idLength = 0, mapType = 0, imageType = 0;
    std::uint16_t mapFirst = 0, mapLength = 0;
    std::uint8_t mapEntryBits = 0;
    std::uint16_t width = 0, height = 0;
    std::uint8_t pixelBits = 0, descriptor = 0;

    bool Rle() const { return imageType >= 9; }
    bool Mapped() const { return (imageType & 7) == 1; }
    bool Grey() const { return (imageType & 7) == 3; }
    bool TopDown() const { return descriptor & 0x20; }
    bool RightToLeft() const { return descriptor & 0x10; }
    bool Alpha() const { return (descriptor & 0x0F) != 0 && pixelBits == 32; }
};

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

TgaHeader ParseHeader(std::span<const std::uint8_t> h) {
    return {h[0], h[1],         h[2],         Le16(&h[3]), Le16(&h[5]),
            h[7], Le16(&h[12]), Le16(&h[14]), h[16],       h[17]};
}

bool ValidBits(unsigned bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

bool Valid(const TgaHeader& h) {
    const unsigned type = h.imageType & ~8u;
    if (h.imageType > 11 || type < 1 || type > 3 || h.mapType > 1 || h.width == 0 || h.height == 0)
        return false;
    // A colour map may come with any type; its entries must be readable.
    if (h.mapType == 1 && !ValidBits(h.mapEntryBits)) return false;
    if (type == 1) return h.mapType == 1 && h.pixelBits == 8;
    if (type == 3) return h.pixelBits == 8;
    return ValidBits(h.pixelBits);
}

// Blue, green, red, alpha of one stored 15- to 32-bit value.
std::array<std::uint8_t, 4> Unpack(const std::uint8_t* p, unsigned bits) {
    if (bits >= 24) return {p[0], p[1], p[2], bits == 32 ? p[3] : std::uint8_t{255}};
    const unsigned v = Le16(p);
    auto five = [](unsigned x) { return static_cast<std::uint8_t>(x << 3 | x >> 2); };
    return {five(v & 31), five(v >> 5 & 31), five(v >> 10 & 31), 255};
}

// Reads the pixel stream (raw or run-length packets, which may cross rows).
class PixelStream {
public:
    PixelStream(RangeReader& in, const TgaHeader& h)
        : in_(in), rle_(h.Rle()), bytes_((h.pixelBits + 7) / 8) {}
    bool Next(std::uint8_t* pixel) {
        if (!rle_) return in_.Read(pixel, bytes_);
        if (left_ == 0) {
            std::uint8_t header = 0;
            if (!in_.ReadU8(header)) return false;
            left_ = (header & 0x7F) + 1;
            repeat_ = header & 0x80;
            if (repeat_ && !in_.Read(value_.data(), bytes_)) return false;
        }
        --left_;
        if (!repeat_) return in_.Read(pixel, bytes_);
        std::copy_n(value_.data(), bytes_, pixel);
        return true;
    }

private:
    RangeReader& in_;
    bool rle_, repeat_ = false;
    std::size_t bytes_;
    unsigned left_ = 0;
    std::array<std::uint8_t, 4> value_{};
};

std::vector<std::array<std::uint8_t, 4>> ReadColourMap(RangeReader& in, const TgaHeader& h) {
    std::vector<std::array<std::uint8_t, 4>> map;
    const std::size_t entryBytes = (h.mapEntryBits + 7u) / 8u;
    std::array<std::uint8_t, 4> raw{};
    for (unsigned i = 0; i < h.mapLength && in.Read(raw.data(), entryBytes); ++i)
        map.push_back(Unpack(raw.data(), h.mapEntryBits));
    return map;
}

void StorePixel(const std::array<std::uint8_t, 4>& c, bool alpha, std::uint8_t* dst) {
    const unsigned a = alpha ? c[3] : 255, veil = 255 * (255 - a);
    for (int ch = 0; ch < 3; ++ch)
        dst[ch] = static_cast<std::uint8_t>((c[ch] * a + veil + 127) / 255);
}

}  // namespace

bool LooksLikeTga(std::span<const std::uint8_t> head) {
    return head.size() >= 18 && Valid(ParseHeader(head));
}

DecodeResult DecodeTga(const ImageSource& source, ProgressReporter& progress) {
    RangeReader in(source);
    std::array<std::uint8_t, 18> raw{};
    if (!in.Read(raw.data(), raw.size()) || !LooksLikeTga(raw))
        return DecodeResult::Failed(DamagedFile("Targa", "its header is damaged"));
    const TgaHeader h = ParseHeader(raw);
    if (std::string tooLarge = CheckImageSize(h.width, h.height); !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    if (!in.Skip(h.idLength)) return DecodeResult::Failed(DamagedFile("Targa", "it ends early"));
    // A colour map may come with any image type; only mapped pictures use it.
    const auto map = h.mapType ? ReadColourMap(in, h) : decltype(ReadColourMap(in, h)){};
    if (map.size() < h.mapLength)
        return DecodeResult::Failed(DamagedFile("Targa", "it ends early"));
    auto image = Bitmap24::Create(h.width, h.height);
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    progress.Start();
    PixelStream pixels(in, h);
    std::array<std::uint8_t, 4> p{};
    for (int row = 0; row < h.height; ++row) {
        std::uint8_t* dst = image->Row(h.TopDown() ? row : h.height - 1 - row);
        for (int col = 0; col < h.width; ++col) {
            if (!pixels.Next(p.data()))
                return DecodeResult::Failed(DamagedFile("Targa", "it ends early"));
            std::array<std::uint8_t, 4> c{};
            if (h.Mapped()) {
                const int index = p[0] - h.mapFirst;
                if (index >= 0 && static_cast<std::size_t>(index) < map.size())
                    c = map[static_cast<std::size_t>(index)];
            } else {
                c = h.Grey() ? std::array<std::uint8_t, 4>{p[0], p[0], p[0], 255}
                             : Unpack(p.data(), h.pixelBits);
            }
            StorePixel(c, h.Alpha(), dst + 3 * (h.RightToLeft() ? h.width - 1 - col : col));
        }
        progress.Advance(row + 1, h.height);
    }
    progress.Finish();
    return {std::move(image), {}, {}};
}

}  // namespace corvan
