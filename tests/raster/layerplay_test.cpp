// The layer rules: matching by pen and brush colour, hiding, outline mode,
// contour collection in image pixels, smooth stretched bitmaps and the
// colour list.
#include "raster/emfdoc.h"
#include "raster/layerplay.h"

#include "job/emffile.h"
#include "platform/metafile/emf_records.h"
#include "support/metafile_fixture.h"
#include "support/tempdirs.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace corvan {
namespace {

using namespace emf;

constexpr Colour kCut = 0xC0C0C0;
constexpr Colour kRed = 0x0000FF;

struct LayerFile {
    QTemporaryDir dir;
    std::string path;
    explicit LayerFile(EmfWriter& w) : path(dir.filePath("layer.emf").toStdString()) { EXPECT_TRUE(w.Save(path)); }
};

// A 20 x 20 render object for one layer with the given rules.
TemfDoc LayerDoc(const LayerFile& file, const TemfPreview& rules, IntRect play = {0, 0, 20, 20}) {
    TemfDoc doc;
    doc.ImageWidth = doc.ImageHeight = 20;
    doc.PlayRect = play;
    doc.Preview = rules;
    doc.LayerFiles = {file.path};
    return doc;
}

std::unique_ptr<Bitmap24> RenderLayer(EmfWriter& w, const TemfPreview& rules) {
    LayerFile file(w);
    return LayerDoc(file, rules).Render();
}

TemfPreview Rules(bool active, std::uint32_t mask, bool drawMatched, bool drawUnmatched, bool outline = false) {
    TemfPreview p;
    p.ContourActive = active;
    p.MatchMask = mask;
    p.MatchColor = kCut;
    p.DrawMatched = drawMatched;
    p.DrawUnmatched = drawUnmatched;
    p.OutlineMatched = outline;
    return p;
}

TEST(RecordClasses, DrawingRecordsAreClassedAndUnknownTypesAreState) {
    struct Case { std::uint32_t type; std::uint8_t cls; };
    for (const Case& c : {Case{kPolyline16, 1}, Case{kLineTo, 1}, Case{kStrokePath, 1}, Case{kFillPath, 2},
                          Case{kRectangle, 3}, Case{kPolygon16, 3}, Case{kStrokeAndFillPath, 3},
                          Case{kStretchDiBits, 4}, Case{kExtTextOutW, 4}, Case{117, 4}, Case{kInvertRgn, 0},
                          Case{kSetDiBitsToDevice, 0}, Case{kSelectObject, 0}, Case{131, 0}, Case{0xFFFFFFFF, 0}})
        EXPECT_EQ(RecordClass(c.type), c.cls) << "record type " << c.type;
}

// A STRETCHDIBITS record of a 2 x 2 bitmap (left column black, right white)
// into 4 x 4 pixels at (x, 0).
void AddStretchDib(EmfWriter& w, int x, std::uint32_t rop) {
    std::vector<std::uint8_t> body(72 + 40 + 16, 0);
    const auto put = [&](std::size_t at, std::int32_t v) { std::memcpy(body.data() + at - 8, &v, 4); };
    put(24, x);       // destination x, y
    put(28, 0);
    put(32, 0);       // source x, y, width, height
    put(36, 0);
    put(40, 2);
    put(44, 2);
    put(48, 80);      // info at, size
    put(52, 40);
    put(56, 120);     // bits at, size
    put(60, 16);
    put(64, 0);
    put(68, std::int32_t(rop));
    put(72, 4);       // destination width, height
    put(76, 4);
    put(80, 40);      // BITMAPINFOHEADER: size, 2 x 2, 1 plane, 24 bits
    put(84, 2);
    put(88, 2);
    const std::uint16_t planes = 1, bits = 24;
    std::memcpy(body.data() + 92 - 8, &planes, 2);
    std::memcpy(body.data() + 94 - 8, &bits, 2);
    for (int row = 0; row < 2; ++row) std::memset(body.data() + 120 - 8 + 8 * row + 3, 0xFF, 3);
    w.RawRecord(kStretchDiBits, body);
}

// Other drawing (a bitmap, like text) is never matched: only DrawUnmatched
// shows it, contour handling on or off.
TEST(LayerRules, OtherDrawingFollowsDrawUnmatchedOnly) {
    struct Case { bool active, drawUnmatched, shown; };
    for (const Case& c : {Case{true, false, false}, Case{true, true, true}, Case{false, false, true}}) {
        EmfWriter w = test::PixelWriter(20, 20);
        w.SelectObject(w.CreatePen(kPsSolid, 1, kCut));
        w.SelectObject(w.CreateBrush(kBsSolid, kCut));
        AddStretchDib(w, 2, 0xCC0020);
        TemfPreview rules = Rules(c.active, 3, true, c.drawUnmatched);
        rules.SmoothBitmaps = true;
        auto image = RenderLayer(w, rules);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Pixel(2, 0), c.shown ? 0x000000u : 0xFFFFFFu) << c.active << c.drawUnmatched;
        EXPECT_EQ(test::CountColour(*image, 0xFFFFFF), c.shown ? 400 - 12 : 400);
    }
}

// A filled polygon whose pen is the cut colour: matched through the pen
// (mask 1) but not when only fills are judged (mask 2).
TEST(LayerRules, SolidOnlyMaskIgnoresTheCutColouredPen) {
    struct Case { std::uint32_t mask; bool drawMatched, drawUnmatched, shown; };
    for (const Case& c : {Case{2, false, true, true}, Case{2, true, false, false}, Case{1, false, true, false},
                          Case{1, true, false, true}, Case{3, false, true, false}}) {
        EmfWriter w = test::PixelWriter(20, 20);
        w.SelectObject(w.CreatePen(kPsSolid, 1, kCut));
        w.SelectObject(w.CreateBrush(kBsSolid, kRed));
        const std::vector<QPoint> square{{4, 4}, {15, 4}, {15, 15}, {4, 15}};
        w.Poly(kPolygon, square);
        auto image = RenderLayer(w, Rules(true, c.mask, c.drawMatched, c.drawUnmatched));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Pixel(10, 10), c.shown ? kRed : 0xFFFFFF) << "mask " << c.mask;
    }
}

// Outline mode: matched by the brush, black filled with a black edge;
// matched by the pen only, a black edge around an untouched inside.
TEST(LayerRules, OutlineModeDrawsMatchedRectanglesInBlack) {
    struct Case { Colour pen; bool nullPen; Colour brush; Colour inside; };
    for (const Case& c : {Case{0, true, kCut, 0x000000}, Case{kCut, false, kRed, 0xFFFFFF}}) {
        EmfWriter w = test::PixelWriter(20, 20);
        if (c.nullPen) w.SelectStock(kNullPen);
        else w.SelectObject(w.CreatePen(kPsSolid, 1, c.pen));
        w.SelectObject(w.CreateBrush(kBsSolid, c.brush));
        w.Box(kRectangle, QRect(QPoint(4, 4), QPoint(16, 16)));
        auto image = RenderLayer(w, Rules(true, 3, false, false, true));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Pixel(10, 10), c.inside);
        EXPECT_EQ(image->Pixel(4, 10), 0x000000u) << "left edge";
        EXPECT_EQ(image->Pixel(10, 4), 0x000000u) << "top edge";
        EXPECT_EQ(image->Pixel(2, 2), 0xFFFFFFu);
    }
}

// Collected outlines are in image pixels (the play rectangle's offset
// applied), as one closed figure, and the matched shape is not drawn.
TEST(LayerRules, CollectedContourIsAClosedFigureInImagePixels) {
    for (const IntRect play : {IntRect{0, 0, 20, 20}, IntRect{-5, 3, 15, 23}}) {
        EmfWriter w = test::PixelWriter(20, 20);
        w.SelectObject(w.CreatePen(kPsSolid, 1, kCut));
        w.SelectStock(kNullBrush);
        const std::vector<QPoint> tri{{2, 2}, {12, 2}, {2, 12}};
        w.Poly(kPolygon, tri);
        TemfPreview rules = Rules(true, 1, false, false);
        rules.CollectContours = true;
        LayerFile file(w);
        TemfDoc doc = LayerDoc(file, rules, play);
        doc.CollectPaths();
        const auto& pts = doc.Preview.PathPoints;
        const auto& types = doc.Preview.PathTypes;
        ASSERT_EQ(pts.size(), 3u);
        ASSERT_EQ(types.size(), 3u);
        EXPECT_EQ(types[0], 6);
        EXPECT_EQ(types[1], 2);
        EXPECT_EQ(types[2], 3) << "the last point closes the figure";
        EXPECT_EQ(pts[0], (IntPoint{2 + play.left, 2 + play.top}));
        EXPECT_EQ(pts[1], (IntPoint{12 + play.left, 2 + play.top}));
        EXPECT_EQ(pts[2], (IntPoint{2 + play.left, 12 + play.top}));
    }
}

// Shapes inside a begin/end path bracket only build the path: the fill that
// uses it is judged, with the path the metafile built.
TEST(LayerRules, PathBracketIsJudgedAtItsFill) {
    EmfWriter w = test::PixelWriter(20, 20);
    w.SelectStock(kNullPen);
    w.SelectObject(w.CreateBrush(kBsSolid, kCut));
    w.Plain(kBeginPath);
    w.Box(kRectangle, QRect(QPoint(3, 3), QPoint(9, 9)));
    w.Plain(kEndPath);
    w.Plain(kFillPath);
    TemfPreview rules = Rules(true, 2, false, true);
    rules.CollectContours = true;
    LayerFile file(w);
    TemfDoc doc = LayerDoc(file, rules);
    auto image = doc.Render();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(5, 5), 0xFFFFFFu) << "the matched fill is hidden";
    ASSERT_FALSE(doc.Preview.PathPoints.empty());
    EXPECT_EQ(doc.Preview.PathTypes[0], 6);
}

TEST(SmoothBitmaps, TwoColumnsBlendAcrossFourPixelsWithTheRecordsRop) {
    struct Case { bool smooth; std::uint32_t rop; Colour background; std::array<std::uint8_t, 4> grey; };
    // Offsets 0..3 of extent 3 fall on source columns 0, 1/3 past 0, 2/3, 1;
    // unsmoothed, each takes the nearest column.
    for (const Case& c : {Case{true, 0xCC0020, 0xFFFFFF, {0, 41, 211, 255}},
                          Case{true, 0x8800C6, 0x808080, {0, 0, 128, 128}},
                          Case{false, 0xCC0020, 0xFFFFFF, {0, 0, 255, 255}}}) {
        EmfWriter w = test::PixelWriter(20, 20);
        AddStretchDib(w, 2, c.rop);
        TemfPreview rules;
        rules.SmoothBitmaps = c.smooth;
        LayerFile layer(w);
        TemfDoc doc = LayerDoc(layer, rules);
        doc.BackColor = c.background;
        auto image = doc.Render();
        ASSERT_TRUE(image);
        for (int y = 0; y < 4; ++y)
            for (int i = 0; i < 4; ++i) {
                const std::uint8_t g = c.grey[static_cast<std::size_t>(i)];
                EXPECT_EQ(image->Pixel(2 + i, y), MakeColour(g, g, g)) << "rop " << std::hex << c.rop << " x " << i;
            }
        EXPECT_EQ(image->Pixel(6, 0), c.background);
        EXPECT_EQ(image->Pixel(2, 4), c.background);
    }
}

TEST(SmoothBitmaps, DestinationOutsideTheImageDrawsNothing) {
    EmfWriter w = test::PixelWriter(20, 20);
    AddStretchDib(w, 40, 0xCC0020);
    TemfPreview rules;
    rules.SmoothBitmaps = true;
    auto image = RenderLayer(w, rules);
    ASSERT_TRUE(image);
    EXPECT_EQ(test::CountColour(*image, 0xFFFFFF), 400);
}

// Null pens and hollow brushes add nothing; the rest appear once each, in
// first-seen order, pens and brushes as the mask asks.
TEST(LayerColours, NullPensAndHollowBrushesAreSkipped) {
    EmfWriter w = test::PixelWriter(20, 20);
    w.SelectStock(kNullPen);
    w.SelectObject(w.CreateBrush(kBsSolid, kCut));
    w.Box(kRectangle, QRect(1, 1, 5, 5));
    w.Box(kEllipse, QRect(8, 8, 5, 5));
    w.SelectStock(kNullBrush);
    w.SelectObject(w.CreatePen(kPsSolid, 1, kRed));
    w.Box(kRectangle, QRect(2, 2, 5, 5));
    LayerFile file(w);
    struct Case { std::uint32_t mask; std::vector<std::string> expected; };
    for (const Case& c : {Case{2, {"$00C0C0C0"}}, Case{1, {"$000000FF"}}, Case{3, {"$00C0C0C0", "$000000FF"}}}) {
        Tcolorlist list;
        list.CollectMask = c.mask;
        list.CollectLayerColors({file.path, "/nonexistent/layer.emf"});
        EXPECT_EQ(list.Items, c.expected) << "mask " << c.mask;
    }
}

}  // namespace
}  // namespace corvan
