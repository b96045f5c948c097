#include "raster/contourpath.h"
#include "raster/placement.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

// Page corners of a 100 x 50 crop placed at (10, 20) under each transform:
// where the page's top-left (TL) and top-right (TR) corners land.
TEST(Placement, CornersLandWhereTheTransformSays) {
    const IntRect crop{0, 0, 100, 50};
    const struct { bool mx, my, rot; IntPoint tl, tr; IntRect placed; } cases[] = {
        {false, false, false, {10, 20}, {110, 20}, {10, 20, 110, 70}},
        {true, false, false, {110, 20}, {10, 20}, {10, 20, 110, 70}},
        {false, true, false, {10, 70}, {110, 70}, {10, 20, 110, 70}},
        // A quarter turn counter-clockwise: the top-right corner comes to the top-left.
        {false, false, true, {10, 120}, {10, 20}, {10, 20, 60, 120}},
        // Rotate with mirror X transposes: top-left stays, top-right goes to bottom-left.
        {true, false, true, {10, 20}, {10, 120}, {10, 20, 60, 120}},
    };
    for (const auto& c : cases) {
        const PlacementMatrix m = MakePlacement(c.mx, c.my, c.rot, crop, 10, 20);
        EXPECT_EQ(ApplyPlacement(m, 0, 0), c.tl) << c.mx << c.my << c.rot;
        EXPECT_EQ(ApplyPlacement(m, 100, 0), c.tr) << c.mx << c.my << c.rot;
        EXPECT_EQ(PlacedBounds(m, crop), c.placed) << c.mx << c.my << c.rot;
        EXPECT_EQ(UnplacedBounds(m, c.placed), crop) << c.mx << c.my << c.rot;
        EXPECT_EQ(UnapplyPlacement(m, c.tr.x, c.tr.y), (IntPoint{100, 0}));
    }
}

TEST(ClipSegment, VisibilityAndEdges) {
    const IntRect r{0, 0, 100, 100};
    const struct { IntPoint a, b; bool visible; IntPoint ca, cb; } cases[] = {
        {{10, 10}, {50, 50}, true, {10, 10}, {50, 50}},
        {{0, 10}, {0, 90}, false, {}, {}},          // on the left edge: not visible
        {{-50, 50}, {50, 50}, true, {0, 50}, {50, 50}},
        {{50, 50}, {150, 50}, true, {50, 50}, {100, 50}},
        {{50, -10}, {50, 110}, true, {50, 0}, {50, 100}},
        {{150, 150}, {200, 10}, false, {}, {}},
        {{-10, -10}, {110, 110}, true, {0, 0}, {100, 100}},
    };
    for (const auto& c : cases) {
        IntPoint a = c.a, b = c.b;
        ASSERT_EQ(ClipSegment(r, a, b), c.visible) << c.a.x << "," << c.a.y;
        if (c.visible) {
            EXPECT_EQ(a, c.ca);
            EXPECT_EQ(b, c.cb);
        }
    }
}

TEST(ClipPolyline, FiguresCloseAndCutAtTheMargin) {
    ContourPath triangle;
    triangle.Add({10, 10}, kPtMoveTo);
    triangle.Add({50, 10}, kPtLineTo);
    triangle.Add({30, 40}, kPtLineTo | kPtCloseFigure);
    triangle.Add({60, 60}, kPtMoveTo);  // a second figure, half outside
    triangle.Add({120, 60}, kPtLineTo);
    ClipPolyline({-1, -1, 101, 101}, triangle);
    const std::vector<IntPoint> pts{{10, 10}, {50, 10}, {30, 40}, {10, 10}, {60, 60}, {101, 60}};
    const std::vector<std::uint8_t> types{kPtMoveTo, kPtLineTo, kPtLineTo, kPtLineTo, kPtMoveTo, kPtLineTo};
    EXPECT_EQ(triangle.points, pts);
    EXPECT_EQ(triangle.types, types);

    ContourPath empty;
    ClipPolyline({0, 0, 1, 1}, empty);
    EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace corvan
