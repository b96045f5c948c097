#include "imagelib/resample.h"

#include "pattern.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(FitSize, OnlyEverShrinksToTheBox) {
    const struct {
        int w, h, bw, bh;
        FittedSize out;
    } cases[] = {
        {400, 100, 200, 200, {200, 50, true}},
        {100, 100, 200, 200, {100, 100, false}},
        {200, 200, 200, 200, {200, 200, false}},
        {100, 400, 200, 200, {50, 200, true}},
        {300, 301, 100, 100, {100, 100, true}},  // 300 * (100/301) = 99.67 -> 100
        {3, 1, 2, 2, {2, 1, true}},              // 1 * 2/3 = 0.67 -> 1
        {5, 1, 2, 2, {2, 0, true}},              // 1 * 0.4 -> 0
    };
    for (const auto& c : cases) {
        const FittedSize r = FitSize(c.w, c.h, c.bw, c.bh);
        EXPECT_EQ(r.width, c.out.width) << c.w << "x" << c.h;
        EXPECT_EQ(r.height, c.out.height) << c.w << "x" << c.h;
        EXPECT_EQ(r.changed, c.out.changed) << c.w << "x" << c.h;
    }
}

TEST(AreaResample, FourByFourToTwoByTwoAveragesEachBlock) {
    auto src = Bitmap24::Create(4, 4);
    const int reds[4][4] = {
        {0, 4, 100, 100}, {8, 12, 100, 101}, {255, 255, 0, 0}, {255, 251, 0, 3}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) src->SetPixel(x, y, MakeColour(reds[y][x], 40, 0));
    auto out = AreaResample(src.get(), 2, 2);
    ASSERT_TRUE(out);
    // Block sums over 4 * 65536 weight units plus the white start of weight 1.
    const int expect[2][2] = {{6, 100}, {254, 0}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            EXPECT_NEAR(RedOf(out->Pixel(x, y)), expect[y][x], 1) << x << "," << y;
            EXPECT_EQ(GreenOf(out->Pixel(x, y)), 40);
            EXPECT_EQ(BlueOf(out->Pixel(x, y)), 0);
        }
}

TEST(AreaResample, UnevenReductionKeepsAFlatColourFlat) {
    // Any mix of one colour must give that colour back (up to the white
    // start), whatever the shares: catches weights that do not add up.
    for (auto [w, h, nw, nh] :
         {std::array{7, 5, 3, 2}, std::array{101, 37, 10, 36}, std::array{9, 9, 1, 1}}) {
        auto src = Bitmap24::Create(w, h);
        src->Fill(MakeColour(90, 180, 30));
        auto out = AreaResample(src.get(), nw, nh);
        for (int y = 0; y < nh; ++y)
            for (int x = 0; x < nw; ++x) {
                const Colour c = out->Pixel(x, y);
                EXPECT_NEAR(RedOf(c), 90, 1);
                EXPECT_NEAR(GreenOf(c), 180, 1);
                EXPECT_NEAR(BlueOf(c), 30, 1);
            }
    }
}

TEST(NearestResample, CornersMapOntoCorners) {
    auto src = test::PositionImage(5, 3);
    auto out = NearestResample(src.get(), 9, 5);
    ASSERT_TRUE(out);
    EXPECT_EQ(out->Pixel(0, 0), test::PositionColour(0, 0));
    EXPECT_EQ(out->Pixel(8, 4), test::PositionColour(4, 2));
    EXPECT_EQ(out->Pixel(3, 3), test::PositionColour(4 * 3 / 8, 2 * 3 / 4));
    // A target one pixel wide takes the first source column.
    auto column = NearestResample(src.get(), 1, 3);
    EXPECT_EQ(column->Pixel(0, 2), test::PositionColour(0, 2));
}

TEST(ResampleBitmap, EqualSizeInOneDirectionUsesNearestPixels) {
    auto src = test::PositionImage(6, 4);
    const struct { int w, h; } sizes[] = {{6, 4}, {6, 2}, {3, 4}};
    for (auto s : sizes) {
        auto out = ResampleBitmap(src.get(), s.w, s.h);
        auto nearest = NearestResample(src.get(), s.w, s.h);
        for (int y = 0; y < s.h; ++y)
            for (int x = 0; x < s.w; ++x) ASSERT_EQ(out->Pixel(x, y), nearest->Pixel(x, y));
    }
    auto same = ResampleBitmap(src.get(), 6, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(same->Pixel(x, y), src->Pixel(x, y));
    EXPECT_FALSE(ResampleBitmap(nullptr, 2, 2));
}

}  // namespace
}  // namespace corvan
