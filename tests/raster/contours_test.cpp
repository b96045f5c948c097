// Cut paths of a job: the tile box, clipping at the crop section plus one
// pixel, the quarter turn, and outlines that do not depend on the window
// they were collected through.
#include "raster/contours.h"

#include "job/emffile.h"
#include "platform/metafile/emf_records.h"
#include "raster/emfdoc.h"
#include "support/metafile_fixture.h"

#include <QDir>

#include <QTemporaryDir>
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

}  // namespace
}  // namespace corvan
