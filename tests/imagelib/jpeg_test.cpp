#include "imagelib/orientation.h"
#include "picturefiles.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using namespace test;

TEST(JpegDecoder, RgbGreyAndProgressiveFiles) {
    PictureFiles files;
    const Bytes rgb = QuadrantSamples(32, 32);
    ExpectQuadrants(files.Load(MakeJpeg(32, 32, rgb, {})), 32, 32, 6, "baseline RGB");
    JpegSpec progressive;
    progressive.progressive = true;
    ExpectQuadrants(files.Load(MakeJpeg(32, 32, rgb, progressive)), 32, 32, 6, "progressive RGB");

    Bytes grey(32 * 16, 40);
    grey.resize(32 * 32, 200);
    JpegSpec g;
    g.space = JpegSpace::Grey;
    const auto r = files.Load(MakeJpeg(32, 32, grey, g));
    ASSERT_TRUE(r.image) << r.error;
    EXPECT_LE(ColourDistance(r.image->Pixel(5, 5), MakeColour(40, 40, 40)), 2);
    EXPECT_LE(ColourDistance(r.image->Pixel(5, 25), MakeColour(200, 200, 200)), 2);
}

// A 3 x 2 picture stored as captured; each EXIF orientation must bring the
// stored top-left pixel to its documented place.
TEST(JpegDecoder, ExifOrientationIsHonoured) {
    const struct {
        int orientation, width, height, x, y;
    } cases[] = {
        {1, 48, 32, 0, 0}, {2, 48, 32, 47, 0}, {3, 48, 32, 47, 31}, {4, 48, 32, 0, 31},
        {5, 32, 48, 0, 0}, {6, 32, 48, 31, 0}, {7, 32, 48, 31, 47}, {8, 32, 48, 0, 47},
    };
    Bytes samples(48 * 32 * 3, 255);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            std::uint8_t* p = &samples[(y * 48 + x) * 3];
            p[0] = 255, p[1] = 0, p[2] = 0;  // stored top-left block red
        }
    PictureFiles files;
    for (const auto& c : cases) {
        JpegSpec spec;
        spec.orientation = c.orientation;
        const auto r = files.Load(MakeJpeg(48, 32, samples, spec));
        ASSERT_TRUE(r.image) << r.error;
        EXPECT_EQ(r.image->Width(), c.width) << c.orientation;
        EXPECT_EQ(r.image->Height(), c.height) << c.orientation;
        EXPECT_LE(ColourDistance(r.image->Pixel(c.x, c.y), MakeColour(255, 0, 0)), 12)
            << c.orientation;
    }
}

TEST(ExifOrientation, DamagedBlocksMeanAsStored) {
    const Bytes good = {'E', 'x', 'i',  'f',  0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8,
                        0,   1,   0x01, 0x12, 0, 3, 0,   0,   0, 1,  0, 6, 0, 0};
    EXPECT_EQ(ExifOrientation(good), 6);
    Bytes outOfRange = good;
    outOfRange[25] = 9;
    EXPECT_EQ(ExifOrientation(outOfRange), 1);
    for (std::size_t cut = 0; cut < 26; ++cut)  // 26 bytes reach the value
        EXPECT_EQ(ExifOrientation(std::span(good).first(cut)), 1) << cut;
    Bytes farIfd = good;
    farIfd[13] = 0xF0;  // IFD offset past the block
    EXPECT_EQ(ExifOrientation(farIfd), 1);
}

}  // namespace
}  // namespace corvan
