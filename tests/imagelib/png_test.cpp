#include "picturefiles.h"

#include <gtest/gtest.h>
#include <png.h>

namespace corvan {
namespace {

using namespace test;

TEST(PngDecoder, PaletteWithTransparencyLiesOnWhite) {
    PngSpec spec;
    spec.colorType = PNG_COLOR_TYPE_PALETTE;
    spec.palette = {MakeColour(255, 0, 0), MakeColour(0, 0, 255), MakeColour(0, 0, 0),
                    MakeColour(10, 20, 30)};
    spec.alphaOfPalette = {255, 0, 128};  // index 3 has no entry: opaque
    PictureFiles files;
    const auto r = files.Load(MakePng(4, 1, {0, 1, 2, 3}, spec));
    ASSERT_TRUE(r.image) << r.error;
    EXPECT_EQ(r.image->Pixel(0, 0), MakeColour(255, 0, 0));
    EXPECT_EQ(r.image->Pixel(1, 0), MakeColour(255, 255, 255));
    EXPECT_EQ(r.image->Pixel(2, 0), MakeColour(127, 127, 127));
    EXPECT_EQ(r.image->Pixel(3, 0), MakeColour(10, 20, 30));
}

TEST(PngDecoder, GreyDepthsSixteenBitsAndInterlace) {
    PictureFiles files;
    {
        PngSpec spec;
        spec.colorType = PNG_COLOR_TYPE_GRAY;
        spec.bitDepth = 16;
        const auto r = files.Load(MakePng(2, 1, {0x12, 0x34, 0xFF, 0xFF}, spec));
        ASSERT_TRUE(r.image) << r.error;
        EXPECT_EQ(r.image->Pixel(0, 0), MakeColour(0x12, 0x12, 0x12));
        EXPECT_EQ(r.image->Pixel(1, 0), MakeColour(255, 255, 255));
    }
    {
        PngSpec spec;  // 2-bit grey: 0, 1, 2, 3 -> 0, 85, 170, 255
        spec.colorType = PNG_COLOR_TYPE_GRAY;
        spec.bitDepth = 2;
        const auto r = files.Load(MakePng(4, 1, {0x1B}, spec));
        ASSERT_TRUE(r.image) << r.error;
        for (int x = 0; x < 4; ++x) EXPECT_EQ(RedOf(r.image->Pixel(x, 0)), 85 * x) << x;
    }
    {
        PngSpec spec;  // grey with alpha: half-transparent black
        spec.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
        const auto r = files.Load(MakePng(1, 1, {0, 128}, spec));
        ASSERT_TRUE(r.image) << r.error;
        EXPECT_EQ(r.image->Pixel(0, 0), MakeColour(127, 127, 127));
    }
    {
        PngSpec spec;
        spec.interlaced = true;
        ExpectQuadrants(files.Load(MakePng(21, 13, QuadrantSamples(21, 13), spec)), 21, 13, 0,
                        "interlaced");
    }
}

}  // namespace
}  // namespace corvan
