#pragma once
// Tiny DIBs and BMP files built in code, with the pixels they must decode to.
#include "platform/bitmap.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvan::test {

using Bytes = std::vector<std::uint8_t>;

// Header fields of a fixture; the info block is written from them.
struct DibSpec {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;  // negative: top-down
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<std::uint32_t> masks = {};  // inside V2+ headers, else after the header
    std::vector<Colour> table = {};         // RGBTRIPLE after a 12-byte header, else RGBQUAD
};

Bytes MakeDibInfo(const DibSpec& spec);
// "BM" file header + info + bits; the pixel offset defaults to the truth.
Bytes MakeBmpFile(const DibSpec& spec, std::span<const std::uint8_t> bits,
                  std::optional<std::uint32_t> pixelOffset = std::nullopt);

// A table of `n` distinct colours: entry i is (i, 255 - i, 7 i mod 256).
std::vector<Colour> Ramp(int n);

// Pixels top down, row by row.
std::vector<Colour> PixelsOf(const Bitmap24& image);

struct DibCase {
    std::string name;
    DibSpec spec;
    Bytes bits;
    std::vector<Colour> pixels;            // expected, top down
    std::vector<std::uint8_t> alpha = {};  // expected when asked for; empty: none
    int qtTolerance = 0;  // per channel, against Qt's BMP reader; < 0: Qt lacks the form
};

// Uncompressed forms of every depth and header kind.
std::vector<DibCase> UncompressedCases();
// RLE8 and RLE4 streams that write every pixel (so other readers agree).
std::vector<DibCase> FullRleCases();

}  // namespace corvan::test
