// The path API as the layer rasterizer uses it: outlines collected between
// BeginPath and EndPath, flattened, and read back in logical units that
// LPtoDP turns into device pixels.
#include "support/metafile_fixture.h"

// Expected pictures are written one pixel row per line; keep them so.
// clang-format off
namespace corvan::test {
namespace {

using namespace corvan::emf;

struct Fixture {
    std::unique_ptr<Bitmap24> image = Blank(40, 40);
    GdiDevice dc{*image};
    // Logical units twice as large as pixels, origin moved to (4, 6).
    void ScaleTwo() {
        dc.SetMapMode(kMmAnisotropic);
        dc.SetWindowExt({1, 1});
        dc.SetViewportExt({2, 2});
        dc.SetViewportOrg({4, 6});
    }
    std::vector<PathPoint> DevicePath() {
        std::vector<PathPoint> pts = dc.GetPath();
        for (PathPoint& p : pts) p.point = dc.LPtoDP(p.point).toPoint();
        return pts;
    }
};

std::vector<std::uint8_t> Types(const std::vector<PathPoint>& pts) {
    std::vector<std::uint8_t> t;
    for (const auto& p : pts) t.push_back(p.type);
    return t;
}

TEST(MetafilePath, PolygonPointsInDevicePixels) {
    Fixture f;
    f.ScaleTwo();
    f.dc.BeginPath();
    const QPointF tri[] = {{1, 1}, {10, 1}, {1, 8}};
    f.dc.Polygon(tri);
    f.dc.EndPath();
    ASSERT_TRUE(f.dc.FlattenPath());
    const auto logical = f.dc.GetPath();
    ASSERT_EQ(logical.size(), 3u);
    EXPECT_EQ(logical[1].point, QPoint(10, 1));
    const auto pts = f.DevicePath();
    EXPECT_EQ(Types(pts), (std::vector<std::uint8_t>{kPtMoveTo, kPtLineTo, kPtLineTo | kPtCloseFigure}));
    EXPECT_EQ(pts[0].point, QPoint(6, 8));
    EXPECT_EQ(pts[1].point, QPoint(24, 8));
    EXPECT_EQ(pts[2].point, QPoint(6, 22));
    EXPECT_EQ(CountColour(*f.image, 0), 0);  // collecting a path draws nothing
}

TEST(MetafilePath, LinesContinueTheFigureUntilMoved) {
    Fixture f;
    f.dc.BeginPath();
    f.dc.MoveTo({1, 1});
    f.dc.LineTo({5, 1});
    f.dc.LineTo({5, 5});
    f.dc.CloseFigure();
    f.dc.MoveTo({10, 10});
    f.dc.LineTo({12, 10});
    f.dc.EndPath();
    const auto pts = f.dc.GetPath();
    EXPECT_EQ(Types(pts), (std::vector<std::uint8_t>{kPtMoveTo, kPtLineTo, kPtLineTo | kPtCloseFigure,
                                                     kPtMoveTo, kPtLineTo}));
    EXPECT_EQ(pts[3].point, QPoint(10, 10));
}

TEST(MetafilePath, FlattenReplacesCurvesByLines) {
    Fixture f;
    f.dc.BeginPath();
    f.dc.Ellipse(QRectF(2, 2, 30, 20));
    f.dc.EndPath();
    const auto curved = f.dc.GetPath();
    ASSERT_EQ(curved.size(), 13u);  // a start and four Bezier quarters
    EXPECT_EQ(curved[1].type, kPtBezierTo);
    ASSERT_TRUE(f.dc.FlattenPath());
    const auto flat = f.dc.GetPath();
    ASSERT_GT(flat.size(), 13u);
    EXPECT_EQ(flat.front().type, kPtMoveTo);
    EXPECT_TRUE(flat.back().type & kPtCloseFigure);
    for (std::size_t i = 1; i < flat.size(); ++i) EXPECT_EQ(flat[i].type & ~kPtCloseFigure, kPtLineTo);
    for (const auto& p : flat) {  // every point lies on the ellipse's box
        EXPECT_GE(p.point.x(), 2);
        EXPECT_LE(p.point.x(), 31);
        EXPECT_GE(p.point.y(), 2);
        EXPECT_LE(p.point.y(), 21);
    }
}

TEST(MetafilePath, GetPathNeedsAClosedBracket) {
    Fixture f;
    EXPECT_TRUE(f.dc.GetPath().empty());
    f.dc.BeginPath();
    f.dc.Rectangle(QRectF(1, 1, 5, 5));
    EXPECT_TRUE(f.dc.GetPath().empty());  // still open
    f.dc.EndPath();
    EXPECT_EQ(f.dc.GetPath().size(), 4u);
    f.dc.AbortPath();
    EXPECT_TRUE(f.dc.GetPath().empty());
}

// Widening turns a 4 pixel line into the outline of its area; filling that
// paints what the pen would have drawn.
TEST(MetafilePath, WidenThenFillPaintsTheStroke) {
    Fixture f;
    LogPen pen;
    pen.extended = true;
    pen.style = kPsGeometric | kPsEndcapFlat;
    pen.width = 4;
    f.dc.SelectPen(pen);
    f.dc.SelectBrush(StockBrush(kBlackBrush));
    f.dc.BeginPath();
    f.dc.MoveTo({4, 10});
    f.dc.LineTo({20, 10});
    f.dc.EndPath();
    ASSERT_TRUE(f.dc.WidenPath());
    for (const auto& p : f.dc.GetPath()) EXPECT_NE(p.type & ~kPtCloseFigure, kPtBezierTo);
    f.dc.SelectPen(StockPen(kNullPen));
    ASSERT_TRUE(f.dc.FillPath());
    f.dc.Flush();
    EXPECT_EQ(CountColour(*f.image, 0), 16 * 4);
    EXPECT_EQ(f.image->Pixel(4, 8), 0u);
    EXPECT_EQ(f.image->Pixel(19, 11), 0u);
}

// In a metafile, shapes inside the bracket are not drawn until a path use.
TEST(MetafilePath, PlaybackStrokeAndFill) {
    auto w = PixelWriter(10, 10);
    w.SelectObject(w.CreateBrush(kBsSolid, 0x0000FF));
    w.Plain(kBeginPath);
    const QPoint square[] = {{1, 1}, {8, 1}, {8, 8}, {1, 8}};
    w.Poly(kPolygon, square);
    w.Plain(kEndPath);
    w.Plain(kStrokeAndFillPath);
    EXPECT_TRUE(Matches(*Play(w, 10, 10),
                        {"..........",
                         ".########.",
                         ".#rrrrrr#.",
                         ".#rrrrrr#.",
                         ".#rrrrrr#.",
                         ".#rrrrrr#.",
                         ".#rrrrrr#.",
                         ".#rrrrrr#.",
                         ".########.",
                         ".........."},
                        "stroke-and-fill-path"));
}

TEST(MetafilePath, StockObjectsSelectAndRestore) {
    Fixture f;
    LogPen red;
    red.colour = 0x0000FF;
    f.dc.SelectPen(red);
    LogBrush hatch;
    hatch.style = kBsHatched;
    hatch.colour = 0x00FF00;
    f.dc.SelectBrush(hatch);
    EXPECT_EQ(f.dc.PenColour(), 0x0000FFu);
    EXPECT_EQ(f.dc.BrushStyle(), kBsHatched);
    const LogPen oldPen = f.dc.SelectPen(StockPen(kBlackPen));
    const LogBrush oldBrush = f.dc.SelectBrush(StockBrush(kNullBrush));
    EXPECT_EQ(f.dc.PenColour(), 0u);
    EXPECT_EQ(f.dc.BrushStyle(), kBsNull);
    f.dc.SelectPen(StockPen(kNullPen));
    EXPECT_EQ(f.dc.PenStyle(), kPsNull);
    f.dc.SelectPen(oldPen);
    f.dc.SelectBrush(oldBrush);
    EXPECT_EQ(f.dc.PenColour(), 0x0000FFu);
    EXPECT_EQ(f.dc.BrushColour(), 0x00FF00u);
}

}  // namespace
}  // namespace corvan::test
