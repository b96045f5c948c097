#include "picturefiles.h"

#include <gtest/gtest.h>
#include <tiffio.h>

namespace corvan {
namespace {

using namespace test;

TEST(TiffDecoder, RgbLayoutsAndCompressions) {
    const struct {
        const char* what;
        int bits, compression, tile, rowsPerStrip;
    } cases[] = {
        {"8-bit strips, none", 8, COMPRESSION_NONE, 0, 5},
        {"8-bit strips, LZW", 8, COMPRESSION_LZW, 0, 0},
        {"8-bit strips, Deflate", 8, COMPRESSION_ADOBE_DEFLATE, 0, 7},
        {"8-bit strips, PackBits", 8, COMPRESSION_PACKBITS, 0, 0},
        {"8-bit strips, JPEG", 8, COMPRESSION_JPEG, 0, 16},
        {"8-bit tiles, LZW", 8, COMPRESSION_LZW, 16, 0},
        {"8-bit tiles, none", 8, COMPRESSION_NONE, 16, 0},
        {"16-bit strips, none", 16, COMPRESSION_NONE, 0, 3},
        {"16-bit tiles, Deflate", 16, COMPRESSION_ADOBE_DEFLATE, 16, 0},
        {"one strip for everything", 8, COMPRESSION_LZW, 0, 40},
    };
    PictureFiles files;
    const int w = 40, h = 40;  // not a multiple of the tile size: edge tiles are partial
    const Bytes samples = QuadrantSamples(w, h);
    for (const auto& c : cases) {
        TiffSpec spec;
        spec.bitsPerSample = c.bits;
        spec.compression = c.compression;
        spec.tileSize = c.tile;
        spec.rowsPerStrip = c.rowsPerStrip;
        ExpectQuadrants(files.Load(MakeTiff(w, h, c.bits == 16 ? Widen16(samples) : samples, spec)),
                        w, h, c.compression == COMPRESSION_JPEG ? 8 : 0, c.what);
    }
}

TEST(TiffDecoder, GreyPaletteAlphaAndFirstPage) {
    PictureFiles files;
    // 16-bit grey ramp across 4 pixels.
    {
        TiffSpec spec;
        spec.bitsPerSample = 16;
        spec.samplesPerPixel = 1;
        spec.photometric = PHOTOMETRIC_MINISBLACK;
        const std::uint16_t grey[4] = {0, 0x4000, 0x8080, 0xFFFF};
        const Bytes bytes(reinterpret_cast<const std::uint8_t*>(grey),
                          reinterpret_cast<const std::uint8_t*>(grey) + 8);
        const auto r = files.Load(MakeTiff(4, 1, bytes, spec));
        ASSERT_TRUE(r.image) << r.error;
        for (int x = 0; x < 4; ++x) EXPECT_EQ(RedOf(r.image->Pixel(x, 0)), grey[x] >> 8) << x;
    }
    // 8-bit palette: indices 0..2.
    {
        TiffSpec spec;
        spec.samplesPerPixel = 1;
        spec.photometric = PHOTOMETRIC_PALETTE;
        spec.colormap.assign(3 * 256, 0);
        spec.colormap[0] = 0xFFFF;        // index 0 red
        spec.colormap[256 + 1] = 0xFFFF;  // index 1 green
        spec.colormap[512 + 2] = 0x8000;  // index 2 half blue
        const auto r = files.Load(MakeTiff(3, 1, {0, 1, 2}, spec));
        ASSERT_TRUE(r.image) << r.error;
        EXPECT_EQ(r.image->Pixel(0, 0), MakeColour(255, 0, 0));
        EXPECT_EQ(r.image->Pixel(1, 0), MakeColour(0, 255, 0));
        EXPECT_EQ(r.image->Pixel(2, 0), MakeColour(0, 0, 128));
    }
    // RGBA with unassociated alpha: opaque, half and clear pixels on white.
    {
        TiffSpec spec;
        spec.samplesPerPixel = 4;
        spec.extraSamples = EXTRASAMPLE_UNASSALPHA;
        const auto r = files.Load(MakeTiff(3, 1, {0, 0, 0, 255, 0, 0, 0, 128, 0, 0, 0, 0}, spec));
        ASSERT_TRUE(r.image) << r.error;
        EXPECT_EQ(r.image->Pixel(0, 0), MakeColour(0, 0, 0));
        EXPECT_LE(ColourDistance(r.image->Pixel(1, 0), MakeColour(127, 127, 127)), 1);
        EXPECT_EQ(r.image->Pixel(2, 0), MakeColour(255, 255, 255));
    }
    // BigTIFF: the same picture with 64-bit offsets.
    {
        TiffSpec spec;
        spec.bigTiff = true;
        spec.compression = COMPRESSION_ADOBE_DEFLATE;
        ExpectQuadrants(files.Load(MakeTiff(8, 8, QuadrantSamples(8, 8), spec)), 8, 8, 0, "BigTIFF");
    }
    // Three pages: only the first is read.
    {
        TiffSpec spec;
        spec.pages = 3;
        ExpectQuadrants(files.Load(MakeTiff(8, 8, QuadrantSamples(8, 8), spec)), 8, 8, 0,
                        "first page");
    }
}

TEST(TiffDecoder, OrientationTagTurnsThePicture) {
    PictureFiles files;
    TiffSpec spec;
    spec.orientation = ORIENTATION_RIGHTTOP;  // stored rows are the visual right column
    const auto r = files.Load(MakeTiff(8, 4, QuadrantSamples(8, 4), spec));
    ASSERT_TRUE(r.image) << r.error;
    ASSERT_EQ(r.image->Width(), 4);
    ASSERT_EQ(r.image->Height(), 8);
    // The stored top-left (red) lands at the top right.
    EXPECT_EQ(r.image->Pixel(3, 0), MakeColour(255, 0, 0));
    EXPECT_EQ(r.image->Pixel(0, 7), MakeColour(255, 255, 255));
}

}  // namespace
}  // namespace corvan
