#include "platform/bitmap.h"
#include "platform/imagesize.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(ImageLayout, StridesArePaddedAndOverflowRefused) {
    const struct { std::int64_t w; int bpp; std::size_t stride; } good[] = {
        {1, 24, 4}, {3, 24, 12}, {5, 24, 16}, {1, 1, 4}, {33, 1, 8}, {3, 8, 4}, {0, 24, 0}};
    for (const auto& c : good) EXPECT_EQ(PaddedStride(c.w, c.bpp), c.stride) << c.w << "x" << c.bpp;
    EXPECT_FALSE(CalculateImageLayout(-1, 10, 24));
    EXPECT_FALSE(CalculateImageLayout(10, -1, 24));
    EXPECT_FALSE(CalculateImageLayout(std::int64_t{1} << 41, 1, 24));
    EXPECT_FALSE(CalculateImageLayout(std::int64_t{1} << 31, std::int64_t{1} << 33, 32));
    EXPECT_EQ(CalculateImageLayout(7, 3, 24)->bytes, 24u * 3);
}

TEST(Bitmap24, PixelsAreBlueGreenRedTopDown) {
    auto bmp = Bitmap24::Create(3, 2);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->Stride(), 12u);
    bmp->Fill(MakeColour(10, 20, 30));
    bmp->SetPixel(2, 1, 0x0000FF);
    EXPECT_EQ(bmp->Row(0)[0], 30);  // blue first
    EXPECT_EQ(bmp->Row(0)[2], 10);
    EXPECT_EQ(bmp->Pixel(2, 1), 0x0000FFu);
    EXPECT_EQ(bmp->Row(1)[8], 255);

    // The QImage view shares the pixels and agrees on colours.
    QImage view = bmp->View();
    EXPECT_EQ(view.pixelColor(2, 1), QColor(255, 0, 0));
    view.setPixelColor(0, 0, QColor(0, 255, 0));
    EXPECT_EQ(bmp->Pixel(0, 0), 0x00FF00u);

    auto back = Bitmap24::FromQImage(view.convertToFormat(QImage::Format_RGB32));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Pixel(2, 1), 0x0000FFu);
    auto copy = bmp->Clone();
    EXPECT_EQ(copy->Pixel(1, 1), MakeColour(10, 20, 30));
}

TEST(Bitmap24, ImpossibleSizesGiveNothing) {
    EXPECT_FALSE(Bitmap24::Create(-5, 5));
    EXPECT_FALSE(Bitmap24::Create(1 << 30, 1 << 30));
    auto empty = Bitmap24::Create(0, 0);
    ASSERT_TRUE(empty);
    empty->Fill(0);
    EXPECT_FALSE(Bitmap24::FromQImage(QImage()));
}

}  // namespace
}  // namespace corvan
