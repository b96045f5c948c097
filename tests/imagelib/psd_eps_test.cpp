#include "imagelib/psddecoder.h"
#include "picturefiles.h"

#include <gtest/gtest.h>
#include <tiffio.h>

namespace corvan {
namespace {

using namespace test;

std::vector<Bytes> QuadrantPlanes(int w, int h) {
    return Planes(QuadrantSamples(w, h), 3);
}

TEST(PsdDecoder, RgbAndGreyComposites) {
    PictureFiles files;
    ExpectQuadrants(files.Load(MakePsd(20, 10, 3, QuadrantPlanes(20, 10), true)), 20, 10, 0,
                    "RGB RLE");
    ExpectQuadrants(files.Load(MakePsd(20, 10, 3, QuadrantPlanes(20, 10), false)), 20, 10, 0,
                    "RGB raw");
    // An opaque transparency channel after the colour channels changes nothing.
    auto withAlpha = QuadrantPlanes(20, 10);
    withAlpha.push_back(Bytes(200, 255));
    ExpectQuadrants(files.Load(MakePsd(20, 10, 3, withAlpha, true)), 20, 10, 0, "RGB + alpha");
    const auto grey = files.Load(MakePsd(3, 1, 1, {{0, 100, 255}}, true));
    ASSERT_TRUE(grey.image) << grey.error;
    EXPECT_EQ(grey.image->Pixel(1, 0), MakeColour(100, 100, 100));
}

TEST(PsdDecoder, RefusesWhatItCannotShow) {
    PictureFiles files;
    const struct {
        Bytes file;
        const char* message;
    } cases[] = {
        {MakePsd(4, 4, 3, QuadrantPlanes(4, 4), true, {}, 32), "8- and 16-bit"},
        {MakePsd(4, 4, 2, QuadrantPlanes(4, 4), true), "8- and 16-bit"},  // indexed colour
        {MakePsd(4, 4, 4, QuadrantPlanes(4, 4), true),
         "header is damaged"},  // CMYK with 3 channels
    };
    for (const auto& c : cases) {
        const auto r = files.Load(c.file);
        EXPECT_FALSE(r.image);
        EXPECT_NE(r.error.find(c.message), std::string::npos) << r.error;
    }
}

TEST(UnpackBits, RunsLiteralsAndDamage) {
    const struct {
        Bytes in;
        std::size_t outSize;
        bool ok;
        Bytes out;
    } cases[] = {
        {{0xFE, 7}, 3, true, {7, 7, 7}},
        {{2, 1, 2, 3}, 3, true, {1, 2, 3}},
        {{0x80, 1, 9, 8}, 2, true, {9, 8}},  // -128 is a no-op
        {{0xFE, 7}, 2, true, {7, 7}},        // a run past the row is cut
        {{4, 1, 2}, 5, false, {}},           // literal longer than the data
        {{0xFE}, 3, false, {}},              // run without its byte
        {{1, 5, 6}, 4, false, {}},           // row not filled
    };
    for (const auto& c : cases) {
        Bytes out(c.outSize);
        EXPECT_EQ(UnpackBits(c.in, out), c.ok);
        if (c.ok) {
            EXPECT_EQ(out, c.out);
        }
    }
}

TEST(EpsPreview, ShowsTheTiffPreview) {
    PictureFiles files;
    TiffSpec spec;
    spec.compression = COMPRESSION_LZW;
    ExpectQuadrants(files.Load(MakeEps(MakeTiff(16, 8, QuadrantSamples(16, 8), spec))), 16, 8, 0,
                    "EPS");
    TiffSpec tiles;  // read from the mapped file at the preview's offset
    tiles.tileSize = 16;
    ExpectQuadrants(files.Load(MakeEps(MakeTiff(40, 20, QuadrantSamples(40, 20), tiles))), 40, 20,
                    0, "EPS tiles");
    Bytes outside = MakeEps(MakeTiff(16, 8, QuadrantSamples(16, 8), spec));
    outside[27] = 0x7F;  // preview length far past the end of the file
    const auto bad = files.Load(outside);
    EXPECT_FALSE(bad.image);
    EXPECT_NE(bad.error.find("outside"), std::string::npos) << bad.error;
}

}  // namespace
}  // namespace corvan
