#include "dib_fixtures.h"

#include "platform/byteorder.h"

namespace corvan::test {

namespace {

constexpr Colour K = 0x000000;
constexpr Colour W = 0xFFFFFF;
constexpr Colour R = MakeColour(255, 0, 0);
constexpr Colour G = MakeColour(0, 255, 0);
constexpr Colour B = MakeColour(0, 0, 255);

void Put32(Bytes& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void Put16(Bytes& out, std::size_t at, std::uint16_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

Bytes CoreHeader(const DibSpec& s) {
    Bytes h(12, 0);
    Put32(h, 0, 12);
    Put16(h, 4, static_cast<std::uint16_t>(s.width));
    Put16(h, 6, static_cast<std::uint16_t>(s.height));
    Put16(h, 8, 1);
    Put16(h, 10, s.bitCount);
    return h;
}

Bytes InfoHeader(const DibSpec& s) {
    Bytes h(s.headerSize, 0);
    Put32(h, 0, s.headerSize);
    Put32(h, 4, static_cast<std::uint32_t>(s.width));
    Put32(h, 8, static_cast<std::uint32_t>(s.height));
    Put16(h, 12, 1);
    Put16(h, 14, s.bitCount);
    if (s.headerSize >= 20) Put32(h, 16, s.compression);
    if (s.headerSize >= 24) Put32(h, 20, s.sizeImage);
    if (s.headerSize >= 36) Put32(h, 32, s.colorsUsed);
    const bool inside = s.headerSize >= 52 && s.headerSize != 64;
    for (std::size_t i = 0; i < s.masks.size(); ++i) {
        if (inside && 40 + 4 * i + 4 <= s.headerSize)
            Put32(h, 40 + 4 * i, s.masks[i]);
        else if (!inside)
            AppendU32LE(h, s.masks[i]);
    }
    return h;
}

// Packs palette indices into rows of `bpp` bits, leftmost pixel in the high bits.
Bytes PackIndices(const std::vector<std::vector<int>>& storedRows, int bpp) {
    Bytes out;
    for (const auto& row : storedRows) {
        Bytes line(((row.size() * bpp + 31) / 32) * 4, 0);
        for (std::size_t x = 0; x < row.size(); ++x) {
            const std::size_t bit = x * bpp;
            line[bit / 8] |= static_cast<std::uint8_t>(row[x] << (8 - bpp - bit % 8));
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

Bytes Words16(const std::vector<std::uint16_t>& pixels) {
    Bytes out;
    for (auto p : pixels) AppendU16LE(out, p);
    while (out.size() % 4) out.push_back(0);
    return out;
}

// One fixture per line reads as a table.
// clang-format off
std::vector<DibCase> IndexedCases() {
    const auto ramp16 = Ramp(16);
    const auto ramp256 = Ramp(256);
    return {
        {"1bpp bottom-up", {.width = 3, .height = 2, .bitCount = 1, .table = {K, W}},
         PackIndices({{1, 0, 1}, {0, 1, 0}}, 1), {K, W, K, W, K, W}},
        {"1bpp top-down", {.width = 3, .height = -2, .bitCount = 1, .table = {K, W}},
         PackIndices({{1, 0, 1}, {0, 1, 0}}, 1), {W, K, W, K, W, K}},
        {"2bpp", {.width = 5, .height = 1, .bitCount = 2, .table = {R, G, B, W}},
         PackIndices({{0, 1, 2, 3, 1}}, 2), {R, G, B, W, G}, {}, -1},
        {"4bpp", {.width = 3, .height = 1, .bitCount = 4, .table = ramp16},
         PackIndices({{1, 15, 7}}, 4), {ramp16[1], ramp16[15], ramp16[7]}},
        {"8bpp short table, stray index black",
         {.width = 3, .height = 1, .bitCount = 8, .colorsUsed = 2, .table = {R, G}},
         PackIndices({{1, 0, 200}}, 8), {G, R, K}},
        {"8bpp colours-used above 256 means 256",
         {.width = 2, .height = 1, .bitCount = 8, .colorsUsed = 100000, .table = ramp256},
         PackIndices({{255, 3}}, 8), {ramp256[255], ramp256[3]}, {}, -1},
        {"4bpp core header", {.headerSize = 12, .width = 2, .height = 2, .bitCount = 4, .table = ramp16},
         PackIndices({{2, 3}, {14, 9}}, 4), {ramp16[14], ramp16[9], ramp16[2], ramp16[3]}},
        {"8bpp OS/2 2.x header",
         {.headerSize = 64, .width = 2, .height = 1, .bitCount = 8, .colorsUsed = 3, .table = {B, G, R}},
         PackIndices({{2, 0}}, 8), {R, B}},
    };
}

std::vector<DibCase> DirectCases() {
    const Bytes rgb24{1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    const Colour c123 = MakeColour(3, 2, 1), c456 = MakeColour(6, 5, 4);
    const Colour c789 = MakeColour(9, 8, 7), cABC = MakeColour(12, 11, 10);
    return {
        {"16bpp default 5-5-5", {.width = 2, .height = 1, .bitCount = 16},
         Words16({0x7C00, (1 << 10) | (16 << 5) | 17}), {R, MakeColour(8, 132, 140)}, {}, 8},
        {"16bpp bit fields 5-6-5",
         {.width = 2, .height = 1, .bitCount = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}},
         Words16({0x07E0, 0xFC00}), {G, MakeColour(255, 130, 0)}, {}, 8},
        {"16bpp V2 header 5-6-5",
         {.headerSize = 52, .width = 1, .height = 1, .bitCount = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}},
         Words16({0x001F}), {B}, {}, -1},
        {"16bpp V5 header 1-5-5-5 alpha",
         {.headerSize = 124, .width = 2, .height = 1, .bitCount = 16, .compression = 3, .masks = {0x7C00, 0x03E0, 0x001F, 0x8000}},
         Words16({0x801F, 0x7C00}), {B, R}, {255, 0}, 8},
        {"24bpp bottom-up", {.width = 2, .height = 2}, rgb24, {c789, cABC, c123, c456}},
        {"24bpp top-down", {.width = 2, .height = -2}, rgb24, {c123, c456, c789, cABC}},
        {"32bpp plain with alpha byte", {.width = 2, .height = 1, .bitCount = 32},
         {1, 2, 3, 0x80, 4, 5, 6, 0xFF}, {c123, c456}, {0x80, 0xFF}},
        {"32bpp bit fields in RGBA byte order",
         {.width = 1, .height = 1, .bitCount = 32, .compression = 3, .masks = {0xFF, 0xFF00, 0xFF0000}},
         {10, 20, 30, 40}, {MakeColour(10, 20, 30)}},
        // Qt's reader scales channels wider than 8 bits to 0.
        {"32bpp 10-10-10 bit fields",
         {.width = 1, .height = 1, .bitCount = 32, .compression = 3, .masks = {0x3FF00000, 0x000FFC00, 0x3FF}},
         {0x00, 0x00, 0xF8, 0x3F}, {MakeColour(255, 128, 0)}, {}, -1},
        {"32bpp alpha bit fields after a 40-byte header",
         {.width = 1, .height = 1, .bitCount = 32, .compression = 6, .masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000}},
         {10, 20, 30, 40}, {MakeColour(10, 20, 30)}, {40}, -1},
        {"32bpp V3 header alpha mask",
         {.headerSize = 56, .width = 1, .height = 1, .bitCount = 32, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
         {1, 2, 3, 4}, {c123}, {4}, -1},
        {"24bpp V4 header", {.headerSize = 108, .width = 1, .height = -1}, {1, 2, 3, 0}, {c123}},
        {"24bpp short OS/2 header", {.headerSize = 16, .width = 1, .height = 1}, {4, 5, 6, 0}, {c456}, {}, -1},
    };
}
// clang-format on

}  // namespace

Bytes MakeDibInfo(const DibSpec& spec) {
    Bytes info = spec.headerSize == 12 ? CoreHeader(spec) : InfoHeader(spec);
    for (Colour c : spec.table) {
        info.insert(info.end(), {BlueOf(c), GreenOf(c), RedOf(c)});
        if (spec.headerSize != 12) info.push_back(0);
    }
    return info;
}

Bytes MakeBmpFile(const DibSpec& spec, std::span<const std::uint8_t> bits,
                  std::optional<std::uint32_t> pixelOffset) {
    const Bytes info = MakeDibInfo(spec);
    Bytes file{'B', 'M'};
    AppendU32LE(file, static_cast<std::uint32_t>(14 + info.size() + bits.size()));
    AppendU32LE(file, 0);
    AppendU32LE(file, pixelOffset.value_or(static_cast<std::uint32_t>(14 + info.size())));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), bits.begin(), bits.end());
    return file;
}

std::vector<Colour> Ramp(int n) {
    std::vector<Colour> table;
    for (int i = 0; i < n; ++i) table.push_back(MakeColour(i, 255 - i, (7 * i) % 256));
    return table;
}

std::vector<Colour> PixelsOf(const Bitmap24& image) {
    std::vector<Colour> out;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) out.push_back(image.Pixel(x, y));
    return out;
}

std::vector<DibCase> UncompressedCases() {
    auto cases = IndexedCases();
    for (auto& c : DirectCases()) cases.push_back(std::move(c));
    return cases;
}

std::vector<DibCase> FullRleCases() {
    const auto ramp16 = Ramp(16);
    const std::vector<Colour> four{K, R, G, B};
    // clang-format off
    return {
        // Bottom row: a run; top row: an odd absolute run with its pad byte.
        {"RLE8 runs and absolute",
         {.width = 3, .height = 2, .bitCount = 8, .compression = 1, .sizeImage = 12, .colorsUsed = 4, .table = four},
         {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 1}, {G, B, R, R, R, R}},
        // Encoded runs alternate nibbles; the 5-pixel absolute run takes 3 bytes plus a pad.
        {"RLE4 runs and absolute",
         {.width = 5, .height = 2, .bitCount = 4, .compression = 2, .sizeImage = 12, .table = ramp16},
         {5, 0x12, 0, 0, 0, 5, 0x67, 0x89, 0xA0, 0, 0, 1},
         {ramp16[6], ramp16[7], ramp16[8], ramp16[9], ramp16[10],
          ramp16[1], ramp16[2], ramp16[1], ramp16[2], ramp16[1]}},
    };
    // clang-format on
}

}  // namespace corvan::test
