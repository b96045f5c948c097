#include "raster/background.h"
#include "raster/blendtable.h"

#include "pattern.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(MapSourceCoord, EndsMiddleAndZeroExtent) {
    const struct {
        int offset, extent, maxIndex, fraction, upper, lower;
    } cases[] = {
        {0, 0, 5, 128, 0, 0},  // no extent: both indices 0, halfway weight
        {7, 0, 5, 128, 0, 0},      {0, 4, 1, 128, 0, 0},  // sample at x = 0: lower -1 clamps to 0
        {1, 4, 1, 0, 1, 0},                               // x = 0.5: exactly on pixel 0's centre
        {2, 4, 1, 128, 1, 0},                             // x = 1: between the two centres
        {4, 4, 1, 128, 1, 1},                             // far edge: both clamp to maxIndex
        {10, 10, 99, 128, 99, 99}, {1, 3, 1, 43, 1, 0},  // 2 * 256 / 3 = 170.67 -> 171, + 128 = 299
        {3, 8, 2, 160, 1, 0},                            // 3 * 3 * 256 / 8 = 288, + 128 = 416
        {-1, 4, 1, 0, 0, 0},                             // before the start: indices clamp to 0
    };
    for (const auto& c : cases) {
        const SourceCoord r = MapSourceCoord(c.offset, c.extent, c.maxIndex);
        EXPECT_EQ(r.fraction, c.fraction) << c.offset << "/" << c.extent << " of " << c.maxIndex;
        EXPECT_EQ(r.upper, c.upper) << c.offset << "/" << c.extent << " of " << c.maxIndex;
        EXPECT_EQ(r.lower, c.lower) << c.offset << "/" << c.extent << " of " << c.maxIndex;
    }
}

TEST(MapSourceCoord, RoundsTiesToEven) {
    // 1 * 2 * 256 / 1024 = 0.5 -> 0, and 3 * 2 * 256 / 1024 = 1.5 -> 2.
    EXPECT_EQ(MapSourceCoord(1, 1024, 1).fraction, 128);
    EXPECT_EQ(MapSourceCoord(3, 1024, 1).fraction, 130);
}

TEST(WeightTables, DefaultRampAndItsNearestVariant) {
    const auto& d = DefaultWeightTable();
    EXPECT_EQ(d[0], 128);
    EXPECT_EQ(d[128], 64);
    EXPECT_EQ(d[255], 0);
    EXPECT_EQ(d[1], 128);  // 128 - 128 / 255 = 128
    const auto& n = NearestWeightTable();
    EXPECT_EQ(n[129], 128);
    EXPECT_EQ(n[130], 0);
}

// A 2 x 2 source (left column black, right white; rows 10 and 250 in green)
// stretched over a 4 x 4 target with the rectangle (0, 0, 4, 4).
TEST(StretchBackground, TwoByTwoIntoFourByFourColumns) {
    auto src = Bitmap24::Create(2, 2);
    src->SetPixel(0, 0, MakeColour(0, 10, 0));
    src->SetPixel(1, 0, MakeColour(200, 10, 0));
    src->SetPixel(0, 1, MakeColour(0, 250, 0));
    src->SetPixel(1, 1, MakeColour(200, 250, 0));
    const struct {
        bool smooth;
        int reds[4];
        int greens[4];
    } cases[] = {
        {false, {0, 0, 0, 200}, {10, 10, 10, 250}},
        {true, {0, 0, 100, 200}, {10, 10, 130, 250}},
    };
    for (const auto& c : cases) {
        auto dst = Bitmap24::Create(4, 4);
        StretchBackground(src.get(), dst.get(), {0, 0, 4, 4}, nullptr, c.smooth);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(RedOf(dst->Pixel(i, 0)), c.reds[i])
                << "column " << i << " smooth " << c.smooth;
            EXPECT_EQ(GreenOf(dst->Pixel(0, i)), c.greens[i])
                << "row " << i << " smooth " << c.smooth;
        }
    }
}

TEST(StretchBackground, LeavesTargetAloneForThinSourcesAndEmptyAreas) {
    auto target = Bitmap24::Create(4, 4);
    auto thin = Bitmap24::Create(1, 5);
    auto src = Bitmap24::Create(3, 3);
    src->Fill(0);
    const struct {
        const Bitmap24* source;
        IntRect rect;
    } cases[] = {
        {thin.get(), {0, 0, 4, 4}},   // one pixel wide: not drawn
        {src.get(), {2, 0, 2, 4}},    // no width
        {src.get(), {0, 5, 4, 9}},    // below the target
        {src.get(), {-9, 0, -1, 4}},  // left of the target
        {nullptr, {0, 0, 4, 4}},
    };
    for (const auto& c : cases) {
        target->Fill(MakeColour(1, 2, 3));
        StretchBackground(c.source, target.get(), c.rect, nullptr, true);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) ASSERT_EQ(target->Pixel(x, y), MakeColour(1, 2, 3));
    }
    StretchBackground(src.get(), nullptr, {0, 0, 4, 4}, nullptr, true);
}

TEST(StretchBackground, WindowOfALargerRectangleMatchesTheWholeRender) {
    // Strips render a window of the job: the same rectangle shifted up must
    // give the same rows as rendering everything at once.
    auto src = test::PositionImage(13, 9);
    auto whole = Bitmap24::Create(40, 30);
    StretchBackground(src.get(), whole.get(), {-3, 0, 43, 30}, nullptr, true);
    auto strip = Bitmap24::Create(40, 10);
    StretchBackground(src.get(), strip.get(), {-3, -12, 43, 18}, nullptr, true);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(strip->Pixel(x, y), whole->Pixel(x, y + 12)) << x << "," << y;
}

TEST(BuildTable, ContractHoldsForEveryParameter) {
    for (float p : {0.0f, 0.5f, 10.0f, 20.0f, 39.9f, 40.0f, -3.0f, 99.0f, std::nanf("")}) {
        std::array<std::int32_t, 256> t;
        t.fill(-12345);
        Build_Table(t, p);
        for (int f = 0; f < 256; ++f) {
            ASSERT_GE(t[f], 0) << p << " " << f;
            ASSERT_LE(t[f], 256) << p << " " << f;
            if (f > 0) {
                ASSERT_LE(t[f], t[f - 1]) << "weights of the lower pixel fall, " << p;
            }
        }
        EXPECT_EQ(t[0], 256) << p;
        EXPECT_EQ(t[255], 0) << p;
    }
}

TEST(BuildTable, SmoothAtZeroNearlyNearestAtForty) {
    // Parameter 0 halves to exactly the default table.
    EXPECT_EQ(BlendWeightTable(0.0f), DefaultWeightTable());
    // Parameter 40 keeps the lower pixel whole for a quarter past its centre
    // and drops it a quarter before the next; 20 lies between.
    const auto sharp = BlendWeightTable(40.0f), mid = BlendWeightTable(20.0f);
    EXPECT_EQ(sharp[64], 128);
    EXPECT_EQ(sharp[192], 0);
    EXPECT_GT(mid[64], DefaultWeightTable()[64]);
    EXPECT_LT(mid[64], 128);
    // Every table treats both neighbours alike: the lower pixel's weight at
    // f is the upper pixel's weight at 255 - f.
    for (float p : {0.0f, 7.0f, 20.0f, 40.0f}) {
        std::array<std::int32_t, 256> t;
        Build_Table(t, p);
        for (int f = 0; f < 256; ++f) ASSERT_NEAR(t[f] + t[255 - f], 256, 2) << p << " " << f;
    }
}

}  // namespace
}  // namespace corvan
