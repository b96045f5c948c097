// How areas are filled: which pixels an outline covers under both fill
// modes, and where rectangles end in the two graphics modes.
#include "support/metafile_fixture.h"

// Expected pictures are written one pixel row per line; keep them so.
// clang-format off
namespace corvan::test {
namespace {

using namespace corvan::emf;

const std::vector<std::vector<QPoint>> kOverlappingSquares = {
    {{1, 1}, {7, 1}, {7, 7}, {1, 7}},
    {{4, 4}, {10, 4}, {10, 10}, {4, 10}},
};

struct FillCase {
    const char* name;
    std::uint32_t fillMode;
    std::vector<std::string> expected;
};

class FillModes : public ::testing::TestWithParam<FillCase> {};

// Polygon edges on whole pixels: the left and top edges are inside, the
// right and bottom edges outside. The overlap of two squares drawn in the
// same direction is a hole in alternate mode and filled in winding mode.
TEST_P(FillModes, OverlappingSquares) {
    const FillCase& c = GetParam();
    auto w = PixelWriter(11, 11);
    w.SelectStock(kNullPen);
    w.SelectStock(kBlackBrush);
    w.Set(kSetPolyFillMode, std::int32_t(c.fillMode));
    w.PolyPoly(kPolyPolygon, kOverlappingSquares);
    EXPECT_TRUE(Matches(*Play(w, 11, 11), c.expected, c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, FillModes,
    ::testing::Values(FillCase{"alternate", kAlternate,
                               {"...........",
                                ".######....",
                                ".######....",
                                ".######....",
                                ".###...###.",
                                ".###...###.",
                                ".###...###.",
                                "....######.",
                                "....######.",
                                "....######.",
                                "..........."}},
                      FillCase{"winding", kWinding,
                               {"...........",
                                ".######....",
                                ".######....",
                                ".######....",
                                ".#########.",
                                ".#########.",
                                ".#########.",
                                "....######.",
                                "....######.",
                                "....######.",
                                "..........."}}),
    [](const auto& info) { return std::string(info.param.name); });

// A red rectangle outlined in black, drawn through the context directly in
// the compatible mode (right and bottom edge left out) and through playback,
// which runs in the advanced mode (edges included).
TEST(MetafileFill, RectangleEdgesFollowGraphicsMode) {
    for (bool advanced : {false, true}) {
        auto image = Bitmap24::Create(8, 8);
        image->Fill(0xFFFFFF);
        {
            GdiDevice dc(*image);
            dc.State().graphicsMode = advanced ? kAdvanced : kCompatible;
            LogBrush red;
            red.colour = 0x0000FF;
            dc.SelectBrush(red);
            dc.Rectangle(QRectF(QPointF(1, 1), QPointF(6, 6)));
        }
        const std::vector<std::string> compatible = {
            "........",
            ".#####..",
            ".#rrr#..",
            ".#rrr#..",
            ".#rrr#..",
            ".#####..",
            "........",
            "........"};
        const std::vector<std::string> inclusive = {
            "........",
            ".######.",
            ".#rrrr#.",
            ".#rrrr#.",
            ".#rrrr#.",
            ".#rrrr#.",
            ".######.",
            "........"};
        EXPECT_TRUE(Matches(*image, advanced ? inclusive : compatible,
                            advanced ? "rect-advanced" : "rect-compatible"));
    }
}

// Without a pen the compatible mode fills one pixel less each way.
TEST(MetafileFill, NullPenRectangleIsOnePixelSmaller) {
    auto image = Bitmap24::Create(6, 6);
    image->Fill(0xFFFFFF);
    {
        GdiDevice dc(*image);
        dc.SelectPen(StockPen(kNullPen));
        dc.SelectBrush(StockBrush(kBlackBrush));
        dc.Rectangle(QRectF(QPointF(1, 1), QPointF(5, 5)));
    }
    EXPECT_TRUE(Matches(*image,
                        {"......",
                         ".###..",
                         ".###..",
                         ".###..",
                         "......",
                         "......"},
                        "rect-null-pen"));
}

}  // namespace
}  // namespace corvan::test
