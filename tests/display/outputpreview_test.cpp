// The marks of the high-resolution preview and the window its zoom renders.
#include "display/outputpreview.h"

#include "colour/spotline.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

TEST(OutputPreview, SpotHighlightBlackensTheSpotAndFadesTheRest) {
    auto image = Bitmap24::Create(4, 1);
    const Colour pixels[] = {MakeColour(200, 10, 10), MakeColour(203, 7, 13),
                             MakeColour(204, 10, 10), MakeColour(0, 0, 0)};
    for (int x = 0; x < 4; ++x) image->SetPixel(x, 0, pixels[x]);
    SpotLine spot;
    spot.red = 200;
    spot.green = 10;
    spot.blue = 10;
    spot.name = "Red";
    const std::vector<std::string> spots = {FormatSpotLine(spot)};
    SpotHighlight(*image, spots, 0, 25);
    EXPECT_EQ(image->Pixel(0, 0), 0u);
    EXPECT_EQ(image->Pixel(1, 0), 0u);  // within 3 of the colour in each channel
    // 4 away: faded, k = 32: (v * 32 + 255 * 96) >> 7.
    EXPECT_EQ(image->Pixel(2, 0), MakeColour((204 * 32 + 255 * 96) >> 7, (10 * 32 + 255 * 96) >> 7,
                                             (10 * 32 + 255 * 96) >> 7));
    EXPECT_EQ(image->Pixel(3, 0), MakeColour(191, 191, 191));
    // No such spot line: everything fades.
    auto plain = Bitmap24::Create(1, 1);
    plain->SetPixel(0, 0, MakeColour(200, 10, 10));
    SpotHighlight(*plain, spots, 3, 25);
    EXPECT_NE(plain->Pixel(0, 0), 0u);
}

TEST(OutputPreview, ZoomWindowIsTheViewOrTwiceTheFourHundredPercentArea) {
    // Centre (100, 50) of an overview at 0.5 px/mm, 100 DPI: output pixel (787, 394).
    const IntRect plain = ZoomWindow(100, 50, 0.5f, 100, false, 400, 300);
    EXPECT_EQ(plain.left, 787 - 200);
    EXPECT_EQ(plain.top, 394 - 150);
    EXPECT_EQ(plain.right - plain.left + 1, 400);
    EXPECT_EQ(plain.bottom - plain.top + 1, 300);
    // 400 %: the view is 400 px / 384 px per inch = 1.04 in; twice that at 100 DPI.
    const IntRect z = ZoomWindow(100, 50, 0.5f, 100, true, 384, 384);
    EXPECT_EQ(z.right - z.left + 1, 200);
    EXPECT_EQ(z.left, 787 - 100);
}

}  // namespace
}  // namespace corvan
