#include "raster/transforms.h"
#include "raster/placement.h"

#include "pattern.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using test::PositionColour;
using test::PositionImage;

struct TransformRow {
    bool rotate, mirrorX, mirrorY;
    // Source pixel of result pixel (x, y) for a W x H source.
    int (*sx)(int x, int y, int W, int H);
    int (*sy)(int x, int y, int W, int H);
};

// One row per combination of the three flags; mirrors apply first, then a
// quarter turn counter-clockwise.
const TransformRow kTransformTable[] = {
    {false, false, false, [](int x, int, int, int) { return x; },
     [](int, int y, int, int) { return y; }},
    {false, true, false, [](int x, int, int W, int) { return W - 1 - x; },
     [](int, int y, int, int) { return y; }},
    {false, false, true, [](int x, int, int, int) { return x; },
     [](int, int y, int, int H) { return H - 1 - y; }},
    {false, true, true, [](int x, int, int W, int) { return W - 1 - x; },
     [](int, int y, int, int H) { return H - 1 - y; }},
    {true, false, false, [](int, int y, int W, int) { return W - 1 - y; },
     [](int x, int, int, int) { return x; }},
    {true, true, false, [](int, int y, int, int) { return y; },
     [](int x, int, int, int) { return x; }},
    {true, false, true, [](int, int y, int W, int) { return W - 1 - y; },
     [](int x, int, int, int H) { return H - 1 - x; }},
    {true, true, true, [](int, int y, int, int) { return y; },
     [](int x, int, int, int H) { return H - 1 - x; }},
};

TEST(TransformBitmap, EveryFlagCombinationReadsTheTabledSourcePixel) {
    // Sizes that are not multiples of the internal block size, and one that spans several blocks.
    for (auto [W, H] : {std::pair{5, 3}, std::pair{70, 33}, std::pair{1, 1}}) {
        auto src = PositionImage(W, H);
        for (const auto& row : kTransformTable) {
            auto out = TransformBitmap(src.get(), row.rotate, row.mirrorX, row.mirrorY);
            ASSERT_TRUE(out);
            ASSERT_EQ(out->Width(), row.rotate ? H : W);
            ASSERT_EQ(out->Height(), row.rotate ? W : H);
            for (int y = 0; y < out->Height(); ++y)
                for (int x = 0; x < out->Width(); ++x)
                    ASSERT_EQ(out->Pixel(x, y),
                              PositionColour(row.sx(x, y, W, H), row.sy(x, y, W, H)))
                        << W << "x" << H << " rotate " << row.rotate << " mx " << row.mirrorX
                        << " my " << row.mirrorY << " at " << x << "," << y;
        }
    }
}

// The strip composer renders an upright window and turns it with
// TransformBitmap, while positions go through the placement transform: the
// two must move every pixel to the same place.
TEST(TransformBitmap, AgreesWithThePlacementTransform) {
    const int W = 7, H = 4;
    auto src = PositionImage(W, H);
    for (const auto& row : kTransformTable) {
        auto out = TransformBitmap(src.get(), row.rotate, row.mirrorX, row.mirrorY);
        const PlacementMatrix m =
            MakePlacement(row.mirrorX, row.mirrorY, row.rotate, {0, 0, W, H}, 0, 0);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const IntRect to = PlacedBounds(m, {x, y, x + 1, y + 1});
                ASSERT_EQ(out->Pixel(to.left, to.top), PositionColour(x, y))
                    << "rotate " << row.rotate << " mx " << row.mirrorX << " my " << row.mirrorY;
            }
    }
}

TEST(TransformBitmap, TurnedRowBecomesAColumnTopPixelFromTheRight) {
    auto src = PositionImage(6, 1);
    auto out = TransformBitmap(src.get(), true, false, false);
    ASSERT_EQ(out->Width(), 1);
    ASSERT_EQ(out->Height(), 6);
    EXPECT_EQ(out->Pixel(0, 0), PositionColour(5, 0));
    EXPECT_EQ(out->Pixel(0, 5), PositionColour(0, 0));
}

TEST(TransformBitmap, EmptyOrMissingInputGivesNone) {
    EXPECT_FALSE(TransformBitmap(nullptr, true, false, false));
    auto empty = Bitmap24::Create(0, 4);
    EXPECT_FALSE(TransformBitmap(empty.get(), false, false, false));
}

TEST(HalveBitmap, FiveByThreeDropsTheLastColumnAndRow) {
    auto src = Bitmap24::Create(5, 3);
    src->Fill(MakeColour(200, 200, 200));
    // Block (0,0): reds 0, 1, 2, 4 -> 7 >> 2 = 1 (truncates).
    src->SetPixel(0, 0, MakeColour(0, 10, 255));
    src->SetPixel(1, 0, MakeColour(1, 20, 255));
    src->SetPixel(0, 1, MakeColour(2, 30, 255));
    src->SetPixel(1, 1, MakeColour(4, 41, 254));
    // The dropped column and row must not leak into the result.
    for (int y = 0; y < 3; ++y) src->SetPixel(4, y, 0);
    for (int x = 0; x < 5; ++x) src->SetPixel(x, 2, 0);
    auto out = HalveBitmap(src.get());
    ASSERT_TRUE(out);
    EXPECT_EQ(out->Width(), 2);
    EXPECT_EQ(out->Height(), 1);
    EXPECT_EQ(out->Pixel(0, 0), MakeColour(1, 25, 254));
    EXPECT_EQ(out->Pixel(1, 0), MakeColour(200, 200, 200));
    auto tiny = Bitmap24::Create(1, 7);
    EXPECT_FALSE(HalveBitmap(tiny.get()));
    EXPECT_FALSE(HalveBitmap(nullptr));
}

TEST(FadeBitmap, KeepsTheGivenShareOfContrast) {
    const struct {
        int percent;
        std::uint8_t in, out;
    } cases[] = {
        {15, 0, 217}, {15, 255, 255}, {15, 100, 231},  // k = 19: (100*19 + 109*255) div 128
        {25, 0, 191}, {100, 0, 0},    {100, 77, 77},  {0, 0, 255}, {-5, 0, 255}, {250, 9, 9},
    };
    for (const auto& c : cases) {
        auto img = Bitmap24::Create(3, 2);
        img->Fill(MakeColour(c.in, c.in, c.in));
        FadeBitmap(img.get(), c.percent);
        EXPECT_EQ(img->Pixel(2, 1), MakeColour(c.out, c.out, c.out))
            << c.percent << " " << int(c.in);
    }
    FadeBitmap(nullptr, 15);
}

TEST(HatchBitmap, MasksEveryPixelWithEvenCoordinateSum) {
    auto img = Bitmap24::Create(3, 3);
    img->Fill(MakeColour(0xF0, 0x0F, 0xFF));
    HatchBitmap(img.get(), MakeColour(0x3C, 0xFF, 0x00));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(img->Pixel(x, y), (x + y) % 2 == 0 ? MakeColour(0x30, 0x0F, 0x00)
                                                         : MakeColour(0xF0, 0x0F, 0xFF))
                << x << "," << y;
}

TEST(RampPalette, EachSwitchedChannelRises) {
    const struct {
        bool r, g, b;
        Colour at200;
    } cases[] = {
        {true, true, true, MakeColour(200, 200, 200)},
        {true, false, false, MakeColour(200, 0, 0)},
        {false, false, true, MakeColour(0, 0, 200)},
        {false, false, false, 0},
    };
    for (const auto& c : cases) {
        const auto p = MakeRampPalette(c.r, c.g, c.b);
        EXPECT_EQ(p[200], c.at200);
        EXPECT_EQ(p[0], 0u);
    }
}

TEST(ToGray8, WeighsChannelsAndCarriesTheGreyRamp) {
    auto img = Bitmap24::Create(4, 1);
    const struct {
        Colour in;
        int grey;
    } cases[] = {
        {MakeColour(255, 255, 255), 255},
        {MakeColour(255, 0, 0), 75},
        {MakeColour(0, 255, 0), 151},
        {MakeColour(0, 0, 255), 27},
    };
    for (int x = 0; x < 4; ++x) img->SetPixel(x, 0, cases[x].in);
    auto grey = ToGray8(img.get());
    ASSERT_TRUE(grey);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(grey->Row(0)[x], cases[x].grey) << x;
    EXPECT_EQ(grey->Palette()[151], MakeColour(151, 151, 151));
    EXPECT_FALSE(ToGray8(nullptr));
}

TEST(Rects, ScaleRoundsHalvesToEvenAndOffsetMovesBothEnds) {
    EXPECT_EQ(ScaleRect(0.5f, 1.5f, 2.5f, -0.5f, 1.0f), (IntRect{0, 2, 2, 0}));
    EXPECT_EQ(ScaleRect(10.0f, 20.0f, 30.0f, 40.0f, 0.25f), (IntRect{2, 5, 8, 10}));
    EXPECT_EQ(OffsetRectBy({1, 2, 3, 4}, 10, -20), (IntRect{11, -18, 13, -16}));
}

}  // namespace
}  // namespace corvan
