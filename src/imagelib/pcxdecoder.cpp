#include "imagelib/pcxdecoder.h"

#include "imagelib/imagelimits.h"

#include <array>
#include <vector>

namespace corvan {

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kVgaPaletteSize = 769;  // marker 0x0C and 256 RGB triples

struct PcxHeader {
    unsigned bits = 0, planes = 0, lineBytes = 0;
    bool encoded = false;
    std::int64_t width = 0, height = 0;
    double dpiX = 0, dpiY = 0;
    std::array<Colour, 256> palette{};
};

unsigned Le16(const std::uint8_t* p) {
    return p[0] | unsigned{p[1]} << 8;
}

std::string ReadHeader(RangeReader& in, PcxHeader& h) {
    std::uint8_t b[kHeaderSize];
    if (!in.Read(b, sizeof b)) return "it ends early";
    h.encoded = b[2] == 1;
    h.bits = b[3];
    h.width = std::int64_t{Le16(b + 8)} - Le16(b + 4) + 1;
    h.height = std::int64_t{Le16(b + 10)} - Le16(b + 6) + 1;
    h.dpiX = Le16(b + 12);
    h.dpiY = Le16(b + 14);
    for (int i = 0; i < 16; ++i)
        h.palette[static_cast<std::size_t>(i)] =
            MakeColour(b[16 + 3 * i], b[17 + 3 * i], b[18 + 3 * i]);
    h.planes = b[65];
    h.lineBytes = Le16(b + 66);
    const bool rgb = h.bits == 8 && (h.planes == 3 || h.planes == 4);
    const bool indexed = h.bits * h.planes <= 8 && h.planes >= 1;
    if (!rgb && !indexed) return "its pixel layout is unknown";
    if (h.width <= 0 || h.height <= 0 ||
        std::uint64_t{h.lineBytes} * 8 < std::uint64_t(h.width) * h.bits)
        return "its header gives a wrong size";
    return {};
}

// 256-colour pictures keep their palette after the pixels.
void ReadVgaPalette(RangeReader& in, PcxHeader& h) {
    if (in.Size() < kHeaderSize + kVgaPaletteSize) return;
    std::uint8_t p[kVgaPaletteSize];
    if (!in.Seek(in.Size() - kVgaPaletteSize) || !in.Read(p, sizeof p) || p[0] != 0x0C) {
        for (unsigned i = 0; i < 256; ++i)  // no palette: greyscale
            h.palette[i] = MakeColour(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
                                      static_cast<std::uint8_t>(i));
        return;
    }
    for (std::size_t i = 0; i < 256; ++i)
        h.palette[i] = MakeColour(p[1 + 3 * i], p[2 + 3 * i], p[3 + 3 * i]);
}

// Run-length decoding; runs may cross from one line into the next.
class LineReader {
public:
    LineReader(RangeReader& in, bool encoded) : in_(in), encoded_(encoded) {}
    bool Read(std::vector<std::uint8_t>& line) {
        if (!encoded_) return in_.Read(line.data(), line.size());
        for (auto& byte : line) {
            if (run_ == 0) {
                std::uint8_t b = 0;
                if (!in_.ReadU8(b)) return false;
                run_ = 1;
                value_ = b;
                if ((b & 0xC0) == 0xC0) {
                    run_ = b & 0x3Fu;
                    if (!in_.ReadU8(value_)) return false;
                }
                if (run_ == 0) continue;
            }
            byte = value_;
            --run_;
        }
        return true;
    }

private:
    RangeReader& in_;
    bool encoded_;
    unsigned run_ = 0;
    std::uint8_t value_ = 0;
};

void StoreLine(const PcxHeader& h, const std::vector<std::uint8_t>& line, std::uint8_t* dst) {
    for (std::int64_t x = 0; x < h.width; ++x, dst += 3) {
        if (h.bits == 8 && h.planes >= 3) {
            for (unsigned c = 0; c < 3; ++c)
                dst[2 - c] = line[c * h.lineBytes + static_cast<std::size_t>(x)];
            continue;
        }
        unsigned index = 0;
        const auto bitPos = static_cast<std::size_t>(x) * h.bits;
        for (unsigned p = 0; p < h.planes; ++p) {
            const std::uint8_t byte = line[p * h.lineBytes + bitPos / 8];
            const unsigned v = (byte >> (8 - h.bits - bitPos % 8)) & ((1u << h.bits) - 1);
            index |= v << (p * h.bits);
        }
        // One-bit pictures are black and white whatever the header's palette says.
        const Colour c = h.bits == 1 && h.planes == 1 ? (index ? 0xFFFFFFu : 0u) : h.palette[index];
        dst[0] = BlueOf(c);
        dst[1] = GreenOf(c);
        dst[2] = RedOf(c);
    }
}

}  // namespace

bool LooksLikePcx(std::span<const std::uint8_t> head) {
    if (head.size() < 4 || head[0] != 0x0A || head[2] > 1) return false;
    const std::uint8_t version = head[1], bits = head[3];
    return (version == 0 || (version >= 2 && version <= 5)) &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

DecodeResult DecodePcx(const ImageSource& source, ProgressReporter& progress) {
    RangeReader in(source);
    PcxHeader h;
    if (std::string why = ReadHeader(in, h); !why.empty())
        return DecodeResult::Failed(DamagedFile("PCX", why));
    if (std::string tooLarge = CheckImageSize(h.width, h.height); !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    // A run of at most 63 bytes costs two: more lines than that are a lie.
    const std::uint64_t need = std::uint64_t{h.lineBytes} * h.planes * std::uint64_t(h.height);
    if (need / (h.encoded ? 32 : 1) > source.length)
        return DecodeResult::Failed(DamagedFile("PCX", "it ends early"));
    if (h.bits == 8 && h.planes == 1) ReadVgaPalette(in, h);
    if (!in.Seek(kHeaderSize)) return DecodeResult::Failed(DamagedFile("PCX", "it ends early"));
    progress.Start();
    auto image = Bitmap24::Create(static_cast<int>(h.width), static_cast<int>(h.height));
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    std::vector<std::uint8_t> line(std::size_t{h.lineBytes} * h.planes);
    LineReader reader(in, h.encoded);
    for (int y = 0; y < image->Height(); ++y) {
        if (!reader.Read(line)) return DecodeResult::Failed(DamagedFile("PCX", "it ends early"));
        StoreLine(h, line, image->Row(y));
        progress.Advance(static_cast<std::uint64_t>(y) + 1,
                         static_cast<std::uint64_t>(image->Height()));
    }
    PictureInfo info;
    info.format = "PCX";
    info.colourSpace = h.bits == 8 && h.planes >= 3   ? "RGB"
                       : h.bits == 1 && h.planes == 1 ? "black and white"
                                                      : "palette";
    info.bitsPerSample = static_cast<int>(h.bits);
    info.dpiX = h.dpiX;
    info.dpiY = h.dpiY;
    progress.Finish();
    return {std::move(image), {}, std::move(info)};
}

}  // namespace corvan
