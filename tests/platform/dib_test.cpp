#include "platform/dib.h"
#include "dib_fixtures.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace corvan {
namespace {

using test::Bytes;
using test::DibSpec;
using test::PixelsOf;

constexpr Colour K = 0x000000;
constexpr Colour W = 0xFFFFFF;
constexpr Colour R = MakeColour(255, 0, 0);
constexpr Colour G = MakeColour(0, 255, 0);
constexpr Colour B = MakeColour(0, 0, 255);

TEST(Dib, UncompressedFormsDecodeToKnownPixels) {
    DibDecodeOptions options;
    options.wantAlpha = true;
    for (const auto& c : test::UncompressedCases()) {
        SCOPED_TRACE(c.name);
        const auto result = DecodeDib(test::MakeDibInfo(c.spec), c.bits, options);
        ASSERT_TRUE(result) << result.Error();
        EXPECT_EQ(PixelsOf(*result->pixels), c.pixels);
        EXPECT_EQ(result->alpha, c.alpha);
    }
}

TEST(Dib, AlphaPlaneOnlyWhenAsked) {
    const DibSpec spec{.width = 1, .height = 1, .bitCount = 32};
    const auto result = DecodeDib(test::MakeDibInfo(spec), Bytes{1, 2, 3, 4});
    ASSERT_TRUE(result) << result.Error();
    EXPECT_TRUE(result->alpha.empty());
}

TEST(Dib, PaletteIndicesGoThroughTheCallersPalette) {
    Bytes info = test::MakeDibInfo({.width = 3, .height = 1, .bitCount = 4, .colorsUsed = 2});
    info.insert(info.end(), {7, 0, 0x2C, 0x01});  // logical palette entries 7 and 300
    const Bytes bits{0x10, 0x20, 0, 0};           // table entries 1, 0 and 2 (absent)
    DibDecodeOptions options;
    options.colours = DibColours::PaletteIndices;
    options.paletteLookup = [](std::uint16_t i) { return MakeColour(i & 0xFF, i >> 8, 9); };
    const auto result = DecodeDib(info, bits, options);
    ASSERT_TRUE(result) << result.Error();
    EXPECT_EQ(PixelsOf(*result->pixels),
              (std::vector<Colour>{MakeColour(44, 1, 9), MakeColour(7, 0, 9), K}));

    options.paletteLookup = nullptr;
    const auto refused = DecodeDib(info, bits, options);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.Error().find("no palette"), std::string::npos) << refused.Error();
}

struct RleCase {
    std::string name;
    DibSpec spec;
    Bytes stream;
    std::vector<Colour> pixels;  // top down; W marks pixels the stream never wrote
};

std::vector<RleCase> RleCases() {
    const auto ramp = test::Ramp(16);
    const std::vector<Colour> four{K, R, G, B};
    const DibSpec rle8{
        .width = 4, .height = 3, .bitCount = 8, .compression = 1, .colorsUsed = 4, .table = four};
    DibSpec small8 = rle8;
    small8.width = 2;
    small8.height = 2;
    DibSpec wide8 = rle8;
    wide8.width = 5;
    wide8.height = 1;
    DibSpec rle4{.width = 4, .height = 2, .bitCount = 4, .compression = 2, .table = ramp};
    std::vector<RleCase> cases{
        {"delta, end of line and end of bitmap",
         rle8,
         {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1},
         {W, W, B, B, G, B, R, W, R, R, R, W}},
        {"delta moving up two rows",
         rle8,
         {0, 2, 1, 2, 1, 2, 0, 1},
         {W, G, W, W, W, W, W, W, W, W, W, W}},
        {"runs past the right edge are clipped",
         small8,
         {5, 1, 1, 2, 0, 0, 1, 3, 0, 1},
         {B, W, R, R}},
        {"stream ends without end of bitmap", small8, {2, 1}, {W, W, R, R}},
        {"pad byte after an odd absolute run is skipped",
         wide8,
         {0, 3, 1, 2, 3, 0, 2, 1, 0, 1},
         {R, G, B, R, R}},
        {"absolute run cut by the end of data", small8, {0, 4, 1, 2}, {W, W, R, G}},
        {"rows above the top are ignored", small8, {0, 0, 0, 0, 2, 1, 0, 0, 2, 2}, {W, W, W, W}},
        {"RLE4 absolute, end of line and delta",
         rle4,
         {0, 3, 0x12, 0x30, 0, 0, 0, 2, 1, 0, 2, 0x45, 0, 1},
         {W, ramp[4], ramp[5], W, ramp[1], ramp[2], ramp[3], W}},
    };
    for (auto& full : test::FullRleCases())
        cases.push_back({full.name, full.spec, full.bits, full.pixels});
    return cases;
}

TEST(Dib, RleStreamsPlayWithEscapes) {
    DibDecodeOptions options;
    options.unwrittenColour = W;
    options.wantAlpha = true;
    for (const auto& c : RleCases()) {
        SCOPED_TRACE(c.name);
        const auto result = DecodeDib(test::MakeDibInfo(c.spec), c.stream, options);
        ASSERT_TRUE(result) << result.Error();
        EXPECT_EQ(PixelsOf(*result->pixels), c.pixels);
        // The coverage plane tells written pixels from skipped ones even
        // where a written pixel has the unwritten colour.
        ASSERT_EQ(result->alpha.size(), c.pixels.size());
        for (std::size_t i = 0; i < c.pixels.size(); ++i)
            if (c.pixels[i] != W) {
                EXPECT_EQ(result->alpha[i], 255) << "pixel " << i;
            }
    }
}

TEST(Dib, RleCoverageMarksSkippedPixels) {
    const auto c = RleCases().front();
    DibDecodeOptions options;
    options.wantAlpha = true;
    options.unwrittenColour = MakeColour(1, 2, 3);
    const auto result = DecodeDib(test::MakeDibInfo(c.spec), c.stream, options);
    ASSERT_TRUE(result) << result.Error();
    EXPECT_EQ(result->alpha,
              (std::vector<std::uint8_t>{0, 0, 255, 255, 255, 255, 255, 0, 255, 255, 255, 0}));
    EXPECT_EQ(result->pixels->Pixel(0, 0), MakeColour(1, 2, 3));
}

struct BadCase {
    std::string name;
    Bytes info;
    Bytes bits;
    std::string message;  // part of the expected error
};

Bytes Info(const DibSpec& spec) {
    return test::MakeDibInfo(spec);
}

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes WithHeaderSize(Bytes info, std::uint8_t size) {
    info[0] = size;
    return info;
}

std::vector<BadCase> BadCases() {
    const DibSpec rgb{.width = 3, .height = 3};
    const DibSpec pal8{.width = 1, .height = 1, .bitCount = 8, .table = test::Ramp(10)};
    const DibSpec fields{
        .width = 1, .height = 1, .bitCount = 16, .compression = 3, .masks = {0xF800, 0x7E0}};
    return {
        {"no header", {}, {}, "header is missing"},
        {"unknown header size", WithHeaderSize(Info(rgb), 20), Bytes(36), "header size 20"},
        {"header cut short", Cut(Info(rgb), 30), Bytes(36), "truncated: 30 of 40"},
        {"zero width", Info({.width = 0}), Bytes(4), "width 0"},
        {"negative width", Info({.width = -3}), Bytes(4), "width -3"},
        {"zero height", Info({.height = 0}), Bytes(4), "height is zero"},
        {"height of INT32_MIN", Info({.height = INT32_MIN}), Bytes(4), "height is out of range"},
        {"bit count 7", Info({.bitCount = 7}), Bytes(4), "bit count 7"},
        {"compression 9", Info({.compression = 9}), Bytes(4), "compression 9"},
        {"RLE8 with 4 bits", Info({.bitCount = 4, .compression = 1}), Bytes(4),
         "RLE8 bitmap with 4"},
        {"top-down RLE", Info({.height = -1, .bitCount = 8, .compression = 1}), Bytes(4),
         "cannot be top-down"},
        {"bit fields with 24 bits", Info({.compression = 3, .masks = {1, 2, 4}}), Bytes(4),
         "Bit-field bitmap with 24"},
        {"bit-field masks cut short", Info(fields), Bytes(4), "masks are truncated"},
        {"OS/2 Huffman coding",
         Info({.headerSize = 64, .bitCount = 1, .compression = 3, .table = {K, W}}), Bytes(4),
         "OS/2 bitmap compression 3"},
        {"colour table cut short", Info(pal8), Bytes(4), "256 entries declared, 10 present"},
        {"pixels cut short", Info(rgb), Bytes(35), "36 bytes needed, 35 present"},
        {"absurd size", Info({.width = 0x7FFFFFFF, .height = 0x7FFFFFFF}), Bytes(4),
         "larger than the limit"},
        {"garbage JPEG",
         Info({.bitCount = 0, .compression = 4}),
         {1, 2, 3, 4},
         "JPEG image could not be decoded"},
        {"empty PNG", Info({.bitCount = 0, .compression = 5}), {}, "PNG image is empty"},
    };
}

TEST(Dib, RefusesBadInputWithAMessage) {
    for (const auto& c : BadCases()) {
        SCOPED_TRACE(c.name);
        const auto result = DecodeDib(c.info, c.bits);
        ASSERT_FALSE(result);
        EXPECT_NE(result.Error().find(c.message), std::string::npos) << result.Error();
    }
}

TEST(Dib, CallerSetsThePixelLimit) {
    DibDecodeOptions options;
    options.maxPixels = 8;
    const auto info = Info({.width = 3, .height = 3});
    EXPECT_FALSE(DecodeDib(info, Bytes(36), options));
    options.maxPixels = 9;
    EXPECT_TRUE(DecodeDib(info, Bytes(36), options));
}

// A band of scan lines: the header describes the whole bitmap, the bits
// only the rows of the band.
TEST(Dib, BandOfRowsDecodesOnItsOwn) {
    const auto info = Info({.width = 1, .height = 3});
    const Bytes band{1, 2, 3, 0, 4, 5, 6, 0};
    EXPECT_FALSE(DecodeDib(info, band));
    DibDecodeOptions options;
    options.bandRows = 2;
    const auto result = DecodeDib(info, band, options);
    ASSERT_TRUE(result) << result.Error();
    EXPECT_EQ(PixelsOf(*result->pixels),
              (std::vector<Colour>{MakeColour(6, 5, 4), MakeColour(3, 2, 1)}));
    options.bandRows = 0;
    EXPECT_FALSE(DecodeDib(info, band, options));
}

// Every prefix of every fixture, copied to a buffer of exactly that size so
// the sanitizer build catches any read past it: decoding either succeeds or
// explains itself, and uncompressed pixels are never accepted short.
TEST(Dib, TruncatedFixturesNeverReadOutside) {
    auto cases = test::UncompressedCases();
    for (auto& c : test::FullRleCases()) cases.push_back(std::move(c));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes info = test::MakeDibInfo(c.spec);
        const bool rle = c.spec.compression == 1 || c.spec.compression == 2;
        for (std::size_t n = 0; n < info.size(); ++n) {
            const auto r = DecodeDib(Cut(info, n), c.bits);
            EXPECT_TRUE(r || !r.Error().empty());
        }
        for (std::size_t n = 0; n < c.bits.size(); ++n) {
            const auto r = DecodeDib(info, Cut(c.bits, n));
            EXPECT_EQ(r.Ok(), rle) << "bits cut to " << n << ": " << r.Error();
        }
    }
}

TEST(Dib, SizeHelpers) {
    const struct {
        std::int64_t width;
        int bpp;
        std::size_t stride;
    } strides[] = {
        {3, 1, 4}, {33, 1, 8}, {5, 4, 4},   {9, 4, 8},  {3, 8, 4},
        {5, 8, 8}, {3, 16, 8}, {3, 24, 12}, {1, 32, 4},
    };
    for (const auto& s : strides)
        EXPECT_EQ(DibStride(s.width, s.bpp), s.stride) << s.width << "x" << s.bpp;
    EXPECT_EQ(DibBitsSize(3, -2, 24), 24u);
    EXPECT_FALSE(DibBitsSize(std::int64_t{1} << 40, std::int64_t{1} << 30, 32));

    const auto pal8 = ParseDibHeader(Info({.bitCount = 8}));
    ASSERT_TRUE(pal8);
    EXPECT_EQ(DibInfoSize(*pal8, DibColours::Rgb), 40u + 256 * 4);
    EXPECT_EQ(DibInfoSize(*pal8, DibColours::PaletteIndices), 40u + 256 * 2);
    const auto core4 = ParseDibHeader(Info({.headerSize = 12, .bitCount = 4}));
    ASSERT_TRUE(core4);
    EXPECT_EQ(DibInfoSize(*core4, DibColours::Rgb), 12u + 16 * 3);
    const auto fields =
        ParseDibHeader(Info({.bitCount = 16, .compression = 3, .masks = {1, 2, 4}}));
    ASSERT_TRUE(fields);
    EXPECT_EQ(DibInfoSize(*fields, DibColours::Rgb), 52u);
    EXPECT_EQ(DibRequiredBitsSize(*fields), 4u);
    const auto rle = ParseDibHeader(Info({.bitCount = 8, .compression = 1, .sizeImage = 77}));
    ASSERT_TRUE(rle);
    EXPECT_EQ(DibRequiredBitsSize(*rle), 77u);
}

Bytes Encoded(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, 100));
    return Bytes(data.begin(), data.end());
}

TEST(Dib, EmbeddedPngKeepsItsAlpha) {
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(qRgba(200, 100, 50, 128));
    image.setPixel(1, 2, qRgba(0, 0, 255, 255));
    DibDecodeOptions options;
    options.wantAlpha = true;
    const auto result = DecodeDib(Info({.width = 4, .height = 3, .bitCount = 0, .compression = 5}),
                                  Encoded(image, "PNG"), options);
    ASSERT_TRUE(result) << result.Error();
    EXPECT_EQ(result->pixels->Pixel(0, 0), MakeColour(200, 100, 50));
    EXPECT_EQ(result->pixels->Pixel(1, 2), B);
    ASSERT_EQ(result->alpha.size(), 12u);
    EXPECT_EQ(result->alpha[0], 128);
    EXPECT_EQ(result->alpha[2 * 4 + 1], 255);
}

TEST(Dib, EmbeddedJpegDecodes) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(qRgb(40, 160, 220));
    const auto result = DecodeDib(Info({.width = 8, .height = 8, .bitCount = 24, .compression = 4}),
                                  Encoded(image, "JPEG"));
    ASSERT_TRUE(result) << result.Error();
    ASSERT_EQ(result->pixels->Width(), 8);
    const Colour c = result->pixels->Pixel(4, 4);
    EXPECT_NEAR(RedOf(c), 40, 4);
    EXPECT_NEAR(GreenOf(c), 160, 4);
    EXPECT_NEAR(BlueOf(c), 220, 4);
    EXPECT_TRUE(result->alpha.empty());
}

}  // namespace
}  // namespace corvan
