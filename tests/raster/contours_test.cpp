// Cut paths of a job: the tile box, clipping at the crop section plus one
// pixel, the quarter turn, and outlines that do not depend on the window
// they were collected through.
#include "raster/contours.h"

#include "job/emffile.h"
#include "platform/metafile/emf_records.h"
#include "platform/metafile/emf_writer_records.h"
#include "raster/layerplay.h"
#include "raster/emfdoc.h"
#include "support/metafile_fixture.h"

#include <QDir>

#include <QTemporaryDir>

#include <algorithm>
#include <functional>

#include "support/corpus.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

using namespace emf;

struct Pt {
    int x, y, type;
    bool operator==(const Pt&) const = default;
};

std::vector<Pt> Points(const ContourPath& path) {
    std::vector<Pt> out;
    for (std::size_t i = 0; i < path.points.size(); ++i)
        out.push_back({path.points[i].x, path.points[i].y, path.types[i]});
    return out;
}

void PrintTo(const Pt& p, std::ostream* os) {
    *os << "(" << p.x << "," << p.y << " t" << p.type << ")";
}

// A 40 x 20 mm job whose one layer holds `draw`'s shapes, one unit per mm.
struct CutJob {
    QTemporaryDir dir;
    TemfFile job;
    explicit CutJob(const std::function<void(EmfWriter&)>& draw) {
        EmfWriter w = test::PixelWriter(40, 20);
        w.SelectObject(w.CreatePen(kPsSolid, 1, 0xC0C0C0));
        w.SelectStock(kNullBrush);
        draw(w);
        const std::string path = dir.filePath("cut.emf").toStdString();
        EXPECT_TRUE(w.Save(path));
        job.Reset(40, 20);
        job.Layers = {path};
        job.ContourCut = true;
    }
};

TEST(JobContours, TileBoxAloneIsFivePoints) {
    CutJob cut([](EmfWriter& w) { w.Box(kRectangle, QRect(5, 5, 10, 10)); });
    cut.job.ContourCut = false;
    cut.job.TileBox = true;
    const std::vector<Pt> box{{0, 0, 6}, {40, 0, 2}, {40, 20, 2}, {0, 20, 2}, {0, 0, 2}};
    EXPECT_EQ(Points(CollectJobContours(cut.job, 1.0f)), box);
    cut.job.TileBox = false;
    EXPECT_TRUE(CollectJobContours(cut.job, 1.0f).Empty());
}

TEST(JobContours, ShapesAreCutAtTheCropSectionPlusOnePixel) {
    const std::vector<QPoint> line{{5, 10}, {25, 10}};
    CutJob cut([&](EmfWriter& w) { w.Poly(kPolyline, line); });
    cut.job.CropSection = true;
    cut.job.CropLeft = 10;
    cut.job.CropRight = 20;
    cut.job.ComputeLayout();
    const std::vector<Pt> expected{{-1, 10, 6}, {11, 10, 2}};
    EXPECT_EQ(Points(CollectJobContours(cut.job, 1.0f)), expected);
}

TEST(JobContours, TurnedTileBoxStartsItsTopRightCornerAtTheOrigin) {
    struct Case {
        bool rotate, mirrorX, mirrorY;
        Pt topRight;
    };
    for (const Case& c :
         {Case{true, false, false, {0, 0, 2}}, Case{false, false, false, {40, 0, 2}},
          Case{false, true, false, {0, 0, 2}}, Case{true, true, false, {0, 40, 2}}}) {
        CutJob cut([](EmfWriter&) {});
        cut.job.ContourCut = false;
        cut.job.TileBox = true;
        cut.job.Rotate = c.rotate;
        cut.job.MirrorX = c.mirrorX;
        cut.job.MirrorY = c.mirrorY;
        const auto pts = Points(CollectJobContours(cut.job, 1.0f));
        ASSERT_EQ(pts.size(), 5u);
        EXPECT_EQ(pts[1], c.topRight) << c.rotate << c.mirrorX << c.mirrorY;
    }
}

TEST(JobContours, TwoShapesGiveTwoFigures) {
    CutJob cut([](EmfWriter& w) {
        const std::vector<QPoint> tri{{2, 2}, {12, 2}, {2, 12}};
        w.Poly(kPolygon, tri);
        w.Box(kRectangle, QRect(QPoint(20, 4), QPoint(30, 14)));
    });
    const auto pts = Points(CollectJobContours(cut.job, 1.0f));
    ASSERT_GE(pts.size(), 9u);
    const std::vector<Pt> triangle{{2, 2, 6}, {12, 2, 2}, {2, 12, 2}, {2, 2, 2}};
    EXPECT_EQ(std::vector<Pt>(pts.begin(), pts.begin() + 4), triangle);
    EXPECT_EQ(pts[4].type, 6);
    EXPECT_EQ(pts.back(), (Pt{pts[4].x, pts[4].y, 2})) << "the rectangle closes";
}

// Every copy gets its frame (grey) and its contour (blue), offset like the copy.
TEST(JobContours, DrawnForEveryCopyAndInTheThumbnail) {
    CutJob cut([](EmfWriter& w) { w.Box(kRectangle, QRect(QPoint(10, 5), QPoint(30, 15))); });
    cut.job.Copies = 2;
    cut.job.MediaWidth = 45;  // one copy a row: the second below the first
    cut.job.ComputeLayout();
    auto image = Bitmap24::Create(60, 80);
    image->Fill(0xFFFFFF);
    DrawContours(cut.job, *image, 2, 3, 1.0f);
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    for (int n = 1; n <= 2; ++n) {
        cut.job.GetCopyRect(n, x1, y1, x2, y2);
        const int left = int(x1) + 2, top = int(y1) + 3;
        EXPECT_EQ(image->Pixel(left, top), 0x808080u) << "copy " << n << " frame";
        EXPECT_EQ(image->Pixel(left + 15, top + 5), 0xFF0000u) << "copy " << n << " contour";
    }
    auto thumb = RenderCutThumbnail(cut.job, {}, 45);
    ASSERT_TRUE(thumb);
    EXPECT_LE(thumb->Width(), 350);
    EXPECT_LE(thumb->Height(), 77);
    EXPECT_GT(thumb->Width(), thumb->Height()) << "the media's length runs across";
    EXPECT_FALSE(RenderCutThumbnail(cut.job, {}, 0));
}

// The first corpus file that uses pens: its outlines collected over the whole
// play rectangle equal those collected through strip-sized windows of it.
TEST(CollectPaths, CorpusOutlinesDoNotDependOnTheWindow) {
    const std::string dir = std::string(CORVAN_SHARED_DIR) + "/corpus/emf/freehep/";
    std::string file;
    Colour colour = 0;
    for (const char* name : {"TestShapes.emf", "TestLineStyles.emf", "TestAll.emf"}) {
        Tcolorlist list;
        list.CollectMask = 3;
        list.CollectLayerColors({dir + name});
        if (list.Items.empty()) continue;
        file = dir + name;
        colour = static_cast<Colour>(std::stoul(list.Items.front().substr(1), nullptr, 16));
        break;
    }
    CORVAN_REQUIRE_CORPUS(!file.empty(), "corpus file in " << dir);
    const int w = 600, h = 450;
    const auto collect = [&](int height, int top) {
        TemfDoc doc;
        doc.ImageWidth = w;
        doc.ImageHeight = height;
        doc.PlayRect = {0, -top, w, h - top};
        doc.LayerFiles = {file};
        doc.Preview.ContourActive = true;
        doc.Preview.MatchMask = 3;
        doc.Preview.MatchColor = colour;
        doc.Preview.CollectContours = true;
        doc.CollectPaths();
        for (IntPoint& p : doc.Preview.PathPoints) p.y += top;
        return std::make_pair(doc.Preview.PathPoints, doc.Preview.PathTypes);
    };
    const auto whole = collect(h, 0);
    ASSERT_FALSE(whole.first.empty()) << file;
    for (int top = 0; top < h; top += 64) {
        const auto window = collect(64, top);
        EXPECT_EQ(window.first, whole.first) << "window at row " << top;
        EXPECT_EQ(window.second, whole.second) << "window at row " << top;
    }
}


// A record in another colour is not collected but still moves the current
// position, so the next cut line starts where that record ended.
TEST(CollectPaths, CurrentPositionFollowsRecordsThatAreNotCollected) {
    struct Case {
        const char* name;
        std::function<void(EmfWriter&)> red;
        Pt end;
    };
    const std::vector<QPoint> polyTo{{20, 2}, {30, 5}};
    const std::vector<QPoint> bezierTo{{15, 0}, {25, 0}, {30, 5}};
    const std::vector<Case> cases{
        {"LINETO", [](EmfWriter& w) { w.LineTo({30, 5}); }, {30, 5, 6}},
        {"POLYLINETO16", [&](EmfWriter& w) { w.Poly(kPolylineTo16, polyTo); }, {30, 5, 6}},
        {"POLYBEZIERTO", [&](EmfWriter& w) { w.Poly(kPolyBezierTo, bezierTo); }, {30, 5, 6}},
        {"ANGLEARC", [](EmfWriter& w) { w.AngleArc({20, 5}, 10, 0, 180); }, {10, 5, 6}},
    };
    for (const Case& c : cases) {
        CutJob cut([&](EmfWriter& w) {
            w.MoveTo({10, 5});
            const std::uint32_t red = w.CreatePen(kPsSolid, 1, 0x0000FF);
            const std::uint32_t cutPen = w.CreatePen(kPsSolid, 1, 0xC0C0C0);
            w.SelectObject(red);
            c.red(w);
            w.SelectObject(cutPen);
            w.LineTo({30, 15});
        });
        const std::vector<Pt> expected{c.end, {30, 15, 2}};
        EXPECT_EQ(Points(CollectJobContours(cut.job, 1.0f)), expected) << c.name;
    }
}

// Collecting a cut line between ENDPATH and STROKEPATH leaves the metafile's
// own path for the stroke that follows.
TEST(CollectPaths, CollectedLineKeepsThePendingPath) {
    CutJob cut([](EmfWriter& w) {
        w.MoveTo({2, 2});
        w.Plain(kBeginPath);
        w.Box(kRectangle, QRect(QPoint(20, 4), QPoint(30, 14)));
        w.Plain(kEndPath);
        w.LineTo({10, 10});
        w.Record(kStrokePath, {0, 0, 40, 20});
    });
    const auto pts = Points(CollectJobContours(cut.job, 1.0f));
    ASSERT_EQ(pts.size(), 7u) << ::testing::PrintToString(pts);
    EXPECT_EQ(pts[0], (Pt{2, 2, 6}));
    EXPECT_EQ(pts[1], (Pt{10, 10, 2}));
    EXPECT_EQ(pts[2].type, 6) << "the rectangle follows as its own figure";
    const auto [left, right] = std::minmax({pts[2].x, pts[3].x, pts[4].x, pts[5].x});
    EXPECT_EQ(left, 20);
    EXPECT_GE(right, 30);
}

std::vector<std::uint8_t> CheckerBits() { return {0x40, 0, 0, 0, 0x80, 0, 0, 0}; }
std::vector<std::uint8_t> MonoInfo() {
    // 2 x 2, 1 bit per pixel, black and white table.
    return {40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0};
}

// Pattern brushes (and pens filled with one) count as black for matching
// and in the colour list alike; palette-flagged colours count as their RGB
// on both sides of the comparison and list as $00BBGGRR.
TEST(CollectPaths, PatternAndPaletteColoursMatchAsTheyList) {
    struct Case {
        const char* name;
        std::function<void(EmfWriter&)> select;
        unsigned mask;
        std::string listed;
        std::vector<Colour> matching, notMatching;
    };
    const std::vector<Case> cases{
        {"mono brush", [](EmfWriter& w) {
             w.SelectStock(kNullPen);
             w.SelectObject(WritePatternBrush(w, kCreateMonoBrush, {MonoInfo(), CheckerBits()}));
         }, 2, "$00000000", {0x000000}, {0xFFFFFF}},
        {"DIB pattern brush", [](EmfWriter& w) {
             w.SelectStock(kNullPen);
             w.SelectObject(WritePatternBrush(w, kCreateDibPatternBrushPt, {MonoInfo(), CheckerBits()}));
         }, 2, "$00000000", {0x000000}, {0xFFFFFF}},
        {"pattern pen", [](EmfWriter& w) {
             w.SelectObject(w.ExtCreatePen(kPsGeometric | kPsSolid, 1, 0x0000FF, kBsDibPatternPt));
         }, 1, "$00000000", {0x000000}, {0x0000FF}},
        {"palette-flagged pen", [](EmfWriter& w) { w.SelectObject(w.CreatePen(kPsSolid, 1, 0x020000FF)); },
         1, "$000000FF", {0x0000FF, 0x020000FF}, {0x000000}},
        {"palette-flagged brush", [](EmfWriter& w) {
             w.SelectStock(kNullPen);
             w.SelectObject(w.CreateBrush(kBsSolid, 0x0200FF00));
         }, 2, "$0000FF00", {0x00FF00, 0x0200FF00}, {0x000000}},
    };
    for (const Case& c : cases) {
        CutJob cut([&](EmfWriter& w) {
            c.select(w);
            w.Box(kRectangle, QRect(QPoint(10, 5), QPoint(30, 15)));
        });
        Tcolorlist list;
        list.CollectMask = c.mask;
        list.CollectLayerColors(cut.job.Layers);
        EXPECT_EQ(list.Items, std::vector<std::string>{c.listed}) << c.name;
        cut.job.CutLines = (c.mask & 1) != 0;
        cut.job.CutSolid = (c.mask & 2) != 0;
        for (Colour colour : c.matching) {
            cut.job.CutColor = colour;
            EXPECT_FALSE(CollectJobContours(cut.job, 1.0f).Empty()) << c.name << " cut " << std::hex << colour;
        }
        for (Colour colour : c.notMatching) {
            cut.job.CutColor = colour;
            EXPECT_TRUE(CollectJobContours(cut.job, 1.0f).Empty()) << c.name << " cut " << std::hex << colour;
        }
    }
}

// The knife follows a pie as GDI builds it: along the arc from its start,
// then to the centre and back to the start.
TEST(CollectPaths, PieStartsAtTheArcAndReturnsThroughTheCentre) {
    CutJob cut([](EmfWriter& w) { w.ArcRecord(kPie, QRect(QPoint(10, 0), QPoint(30, 20)), {40, 10}, {20, -10}); });
    const auto pts = Points(CollectJobContours(cut.job, 1.0f));
    ASSERT_GE(pts.size(), 5u);
    SCOPED_TRACE(::testing::PrintToString(pts));
    EXPECT_EQ(pts.front().type, 6);
    EXPECT_NEAR(pts.front().x, 30, 1.5) << "east end of the arc";
    EXPECT_NEAR(pts.front().y, 10, 1.5);
    // Before the closing line (and its repeat at the start) the last point
    // is the centre.
    std::size_t last = pts.size() - 1;
    while (last > 0 && pts[last].x == pts.front().x && pts[last].y == pts.front().y) --last;
    EXPECT_NEAR(pts[last].x, 20, 1.5) << "centre";
    EXPECT_NEAR(pts[last].y, 10, 1.5);
    for (std::size_t i = 1; i < last; ++i)
        EXPECT_LE(pts[i].y, pts.front().y) << "the arc runs north of the start first, point " << i;
    EXPECT_EQ(pts.back(), (Pt{pts.front().x, pts.front().y, 2})) << "closed back to the arc start";
}

}  // namespace
}  // namespace corvan
