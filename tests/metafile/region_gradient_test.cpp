// Region painting, single pixels, gradients and pattern brushes.
#include "platform/metafile/emf_writer_records.h"
#include "support/metafile_fixture.h"

namespace corvan::test {
namespace {

using namespace corvan::emf;

TEST(MetafileRegions, FillPaintAndInvert) {
    auto w = PixelWriter(6, 3);
    const std::uint32_t red = w.CreateBrush(kBsSolid, 0x0000FF);
    WriteRegionRecord(w, kFillRgn, {QRect(0, 0, 2, 1), QRect(1, 1, 2, 1)}, red);
    w.SelectObject(w.CreateBrush(kBsSolid, 0x00FF00));
    WriteRegionRecord(w, kPaintRgn, {QRect(4, 0, 2, 2)});
    WriteRegionRecord(w, kInvertRgn, {QRect(5, 1, 1, 2)});
    EXPECT_TRUE(Matches(*Play(w, 6, 3), {"rr..gg", ".rr.gm", ".....#"}, "regions"));
}

TEST(MetafileRegions, FrameRgnPaintsTheEdgeOnly) {
    auto w = PixelWriter(6, 4);
    const std::uint32_t red = w.CreateBrush(kBsSolid, 0x0000FF);
    WriteRegionRecord(w, kFrameRgn, {QRect(0, 0, 6, 4)}, red, QSize(2, 1));
    EXPECT_TRUE(Matches(*Play(w, 6, 4), {"rrrrrr", "rr..rr", "rr..rr", "rrrrrr"}, "framergn"));
}

// A black frame with a black dot inside, flooded with a red brush.
struct FloodCase {
    const char* name;
    QPoint seed;
    std::uint32_t colour, mode;  // mode 0: up to the border colour; 1: the surface colour
    QRect clip;                  // empty: none
    std::vector<std::string> expected;
};

class FloodFills : public ::testing::TestWithParam<FloodCase> {};

TEST_P(FloodFills, FillTheConnectedArea) {
    const FloodCase& c = GetParam();
    auto w = PixelWriter(7, 5);
    const QPoint frame[] = {{0, 0}, {6, 0}, {6, 4}, {0, 4}, {0, 0}};
    w.Poly(kPolyline, frame);
    w.Record(kSetPixelV, {3, 2, 0});
    if (!c.clip.isEmpty()) w.Box(kIntersectClipRect, c.clip);
    w.SelectObject(w.CreateBrush(kBsSolid, 0x0000FF));
    w.Record(kExtFloodFill, {c.seed.x(), c.seed.y(), std::int32_t(c.colour), std::int32_t(c.mode)});
    EXPECT_TRUE(Matches(*Play(w, 7, 5), c.expected, c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, FloodFills,
    ::testing::Values(
        FloodCase{"border", {1, 1}, 0, 0, {}, {"#######", "#rrrrr#", "#rr#rr#", "#rrrrr#", "#######"}},
        FloodCase{"surface_of_the_frame", {0, 0}, 0, 1, {},
                  {"rrrrrrr", "r.....r", "r..#..r", "r.....r", "rrrrrrr"}},
        FloodCase{"surface_of_the_dot", {3, 2}, 0, 1, {},
                  {"#######", "#.....#", "#..r..#", "#.....#", "#######"}},
        FloodCase{"seed_on_the_border_fills_nothing", {0, 0}, 0, 0, {},
                  {"#######", "#.....#", "#..#..#", "#.....#", "#######"}},
        FloodCase{"clip_cuts_the_fill", {1, 1}, 0, 0, QRect(0, 0, 3, 5),
                  {"#######", "#rr...#", "#rr#..#", "#rr...#", "#######"}},
        FloodCase{"seed_outside_the_clip", {5, 1}, 0, 0, QRect(0, 0, 3, 5),
                  {"#######", "#.....#", "#..#..#", "#.....#", "#######"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MetafileRegions, SetPixelPaintsOnePixel) {
    auto w = PixelWriter(3, 2);
    w.Record(kSetPixelV, {1, 1, 0xFF0000});
    EXPECT_TRUE(Matches(*Play(w, 3, 2), {"...", ".b."}, "setpixel"));
}

// A world transform can throw a point past any pixel index; such records
// draw nothing instead of overflowing the conversion.
TEST(MetafileRegions, PointsBeyondAnyPictureDrawNothing) {
    auto w = PixelWriter(3, 2);
    w.SetWorldTransform(QTransform::fromScale(1e6, -1e6));
    w.Record(kSetPixelV, {2000000000, 2000000000, 0xFF0000});
    w.Record(kExtFloodFill, {-2000000000, 5, 0, 1});
    EXPECT_TRUE(Matches(*Play(w, 3, 2), {"...", "..."}, "far points"));
}

TEST(MetafileGradients, HorizontalRectangleRunsFromColourToColour) {
    auto w = PixelWriter(8, 2);
    const GradientVertex v[] = {{QPoint(0, 0), 0x000000}, {QPoint(8, 2), 0x0000FF}};
    const std::uint32_t idx[] = {0, 1};
    WriteGradientFill(w, 0, v, idx);
    const auto image = Play(w, 8, 2);
    EXPECT_LT(RedOf(image->Pixel(0, 0)), 24);
    EXPECT_GT(RedOf(image->Pixel(7, 1)), 220);
    for (int x = 1; x < 8; ++x) EXPECT_GE(RedOf(image->Pixel(x, 0)), RedOf(image->Pixel(x - 1, 0)));
    EXPECT_EQ(GreenOf(image->Pixel(4, 1)), 0);
}

TEST(MetafileGradients, TriangleCoversItsHalfOnly) {
    auto w = PixelWriter(8, 8);
    const GradientVertex v[] = {{QPoint(0, 0), 0x0000FF}, {QPoint(8, 0), 0x0000FF}, {QPoint(0, 8), 0x0000FF}};
    const std::uint32_t idx[] = {0, 1, 2};
    WriteGradientFill(w, 2, v, idx);
    const auto image = Play(w, 8, 8);
    EXPECT_EQ(image->Pixel(1, 1), 0x0000FFu);
    EXPECT_EQ(image->Pixel(7, 7), 0xFFFFFFu);
    EXPECT_NEAR(CountColour(*image, 0x0000FF), 36, 8);  // half of 64 plus the diagonal
}

std::vector<std::uint8_t> MonoInfo() {
    // 2 x 2, 1 bit per pixel, black and white table.
    return {40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0};
}

TEST(MetafileBrushes, MonoBrushTakesTextAndBackgroundColours) {
    auto w = PixelWriter(4, 2);
    // Bottom-up rows: bottom 01, top 10 -> a checker.
    w.SelectObject(WritePatternBrush(w, kCreateMonoBrush, {MonoInfo(), {0x40, 0, 0, 0, 0x80, 0, 0, 0}}));
    w.Set(kSetTextColor, 0x0000FF);
    w.Set(kSetBkColor, 0xFF0000);
    w.SelectStock(kNullPen);
    const QPoint square[] = {{0, 0}, {4, 0}, {4, 2}, {0, 2}};
    w.Poly(kPolygon, square);
    EXPECT_TRUE(Matches(*Play(w, 4, 2), {"brbr", "rbrb"}, "mono_brush"));
}

TEST(MetafileBrushes, DibPatternBrushTiles) {
    auto w = PixelWriter(4, 2);
    std::vector<std::uint8_t> info = MonoInfo();
    info[40] = 0, info[41] = 255, info[42] = 0;  // entry 0 green
    w.SelectObject(WritePatternBrush(w, kCreateDibPatternBrushPt, {info, {0x40, 0, 0, 0, 0x80, 0, 0, 0}}));
    w.SelectStock(kNullPen);
    const QPoint square[] = {{0, 0}, {4, 0}, {4, 2}, {0, 2}};
    w.Poly(kPolygon, square);
    EXPECT_TRUE(Matches(*Play(w, 4, 2), {".g.g", "g.g."}, "dib_brush"));
}

}  // namespace
}  // namespace corvan::test
