// The playback API: the frame lands on the rectangle, the callback sees
// every record and can stop, PlayRecord uses the enumeration's objects, and
// the context comes back as it was.
#include "support/metafile_fixture.h"

namespace corvan::test {
namespace {

using namespace corvan::emf;

// The frame (in .01 mm) is measured in pixels of the reference device
// (0.25 mm each here) and stretched onto the rectangle.
TEST(MetafilePlayback, FrameMapsOntoTheRectangle) {
    EmfHeader h;
    h.frame = {100, 200, 1100, 2200};  // reference pixels (4, 8) to (44, 88)
    h.devicePixels = {1000, 1000};
    h.deviceMillimetres = {250, 250};
    const QTransform t = FrameTransform(h, QRectF(10, 20, 100, 200));
    EXPECT_EQ(t.map(QPointF(4, 8)), QPointF(10, 20));
    EXPECT_EQ(t.map(QPointF(44, 88)), QPointF(110, 220));
    // Without a frame the bounds stand in for it.
    h.frame = {};
    h.bounds = {0, 0, 50, 25};
    EXPECT_EQ(FrameTransform(h, QRectF(0, 0, 100, 100)).map(QPointF(50, 25)), QPointF(100, 100));
}

TEST(MetafilePlayback, CallbackSeesEveryRecordAndCanStop) {
    auto w = PixelWriter(10, 10);
    w.SelectStock(kBlackBrush);
    w.Box(kRectangle, QRect(0, 0, 4, 4));
    w.Box(kRectangle, QRect(5, 5, 4, 4));
    const auto bytes = w.Finish();
    auto reader = EmfReader::OpenMemory(bytes);
    auto image = Blank(10, 10);
    GdiDevice dc(*image);
    std::vector<std::uint32_t> seen;
    int data = 0;
    auto all = Enumerate(
        dc, *reader, QRect(0, 0, 10, 10),
        [&](GdiDevice&, HandleTable&, const EmfRecord& rec, void* d) {
            seen.push_back(rec.type);
            EXPECT_EQ(d, &data);
            return RecordAction::kContinue;
        },
        &data);
    EXPECT_TRUE(all.complete);
    EXPECT_EQ(all.records, 5u);
    EXPECT_EQ(seen,
              (std::vector<std::uint32_t>{kHeader, kSelectObject, kRectangle, kRectangle, kEof}));
    // Play up to the first rectangle, then stop.
    auto part =
        Enumerate(dc, *reader, QRect(0, 0, 10, 10),
                  [](GdiDevice& d, HandleTable& h, const EmfRecord& rec, void*) {
                      PlayRecord(d, h, rec);
                      return rec.type == kRectangle ? RecordAction::kStop : RecordAction::kContinue;
                  });
    EXPECT_TRUE(part.stopped);
    dc.Flush();
    EXPECT_EQ(image->Pixel(2, 2), 0u);
    EXPECT_EQ(image->Pixel(7, 7), 0xFFFFFFu);
}

// PlayRecord without a table uses the objects of the enumeration in progress.
TEST(MetafilePlayback, PlayRecordUsesTheEnumerationsObjects) {
    auto w = PixelWriter(6, 6);
    w.SelectStock(kNullPen);
    w.SelectObject(w.CreateBrush(kBsSolid, 0x0000FF));
    w.Box(kRectangle, QRect(0, 0, 6, 6));
    const auto bytes = w.Finish();
    auto reader = EmfReader::OpenMemory(bytes);
    auto image = Blank(6, 6);
    {
        GdiDevice dc(*image);
        Enumerate(dc, *reader, QRect(0, 0, 6, 6),
                  [](GdiDevice& d, HandleTable&, const EmfRecord& rec, void*) {
                      PlayRecord(d, rec);
                      return RecordAction::kContinue;
                  });
    }
    EXPECT_EQ(image->Pixel(3, 3), 0x0000FFu);
}

// A metafile that changes the mapping, saves states and leaves a path open
// hands the context back as it found it.
TEST(MetafilePlayback, ContextStateComesBack) {
    auto w = PixelWriter(10, 10);
    w.Set(kSetMapMode, kMmLoMetric);
    w.Plain(kSaveDc);
    w.Plain(kSaveDc);
    w.Box(kIntersectClipRect, QRect(0, 0, 2, 2));
    w.SelectStock(kNullPen);
    w.Plain(kBeginPath);
    const auto bytes = w.Finish();
    auto reader = EmfReader::OpenMemory(bytes);
    auto image = Blank(10, 10);
    GdiDevice dc(*image);
    dc.SetViewportOrg({3, 0});
    dc.SaveDC();
    ASSERT_TRUE(PlayMetafile(dc, *reader, QRect(0, 0, 10, 10)).complete);
    EXPECT_EQ(dc.SavedLevels(), 1);
    EXPECT_EQ(dc.State().mapMode, kMmText);
    EXPECT_EQ(dc.LPtoDP({1, 1}), QPointF(4, 1));
    EXPECT_FALSE(dc.EffectiveClip());
    EXPECT_FALSE(dc.InPath());
    EXPECT_EQ(dc.PenStyle(), kPsSolid);
    EXPECT_TRUE(dc.RestoreDC(-1));
}

// The rectangle is in the context's logical units: a context that maps
// units to two pixels places the frame twice as far and large.
TEST(MetafilePlayback, RectangleInTheContextsOwnUnits) {
    auto w = PixelWriter(4, 4);
    w.SelectStock(kNullPen);
    w.SelectStock(kBlackBrush);
    w.Box(kRectangle, QRect(0, 0, 4, 4));
    const auto bytes = w.Finish();
    auto reader = EmfReader::OpenMemory(bytes);
    auto image = Blank(12, 12);
    {
        GdiDevice dc(*image);
        dc.SetMapMode(kMmAnisotropic);
        dc.SetWindowExt({1, 1});
        dc.SetViewportExt({2, 2});
        PlayMetafile(dc, *reader, QRect(1, 1, 4, 4));
    }
    EXPECT_EQ(CountColour(*image, 0), 64);
    EXPECT_EQ(image->Pixel(2, 2), 0u);
    EXPECT_EQ(image->Pixel(9, 9), 0u);
    EXPECT_EQ(image->Pixel(10, 10), 0xFFFFFFu);
}

}  // namespace
}  // namespace corvan::test

namespace corvan::test {
namespace {

// The contour collection of the layer rasterizer: a drawing record played
// inside a path bracket becomes points that LPtoDP turns into pixels of
// the picture, and nothing is drawn.
TEST(MetafilePlayback, RecordOutlineAsPixels) {
    auto w = PixelWriter(20, 20);
    w.Set(emf::kSetMapMode, emf::kMmAnisotropic);
    w.SetPoint(emf::kSetWindowExtEx, {1, 1});
    w.SetPoint(emf::kSetViewportExtEx, {2, 2});
    w.SelectStock(emf::kBlackBrush);
    w.Box(emf::kRectangle, QRect(1, 2, 5, 3));
    const auto bytes = w.Finish();
    auto reader = emf::EmfReader::OpenMemory(bytes);
    auto image = Blank(40, 40);
    std::vector<emf::PathPoint> pixels;
    {
        emf::GdiDevice dc(*image);
        // The picture is twice the frame's size: one logical unit is 4 pixels.
        emf::Enumerate(dc, *reader, QRect(0, 0, 40, 40),
                       [&](emf::GdiDevice& d, emf::HandleTable& h, const emf::EmfRecord& rec, void*) {
                           if (rec.type != emf::kRectangle) {
                               emf::PlayRecord(d, h, rec);
                               return emf::RecordAction::kContinue;
                           }
                           d.BeginPath();
                           emf::PlayRecord(d, h, rec);
                           d.EndPath();
                           d.FlattenPath();
                           for (emf::PathPoint p : d.GetPath()) {
                               p.point = d.LPtoDP(p.point).toPoint();
                               pixels.push_back(p);
                           }
                           d.AbortPath();
                           return emf::RecordAction::kContinue;
                       });
    }
    ASSERT_EQ(pixels.size(), 4u);
    QRect box;
    for (const auto& p : pixels) box |= QRect(p.point, QSize(1, 1));
    EXPECT_EQ(box, QRect(QPoint(4, 8), QPoint(24, 20)));
    EXPECT_EQ(pixels.front().type, emf::kPtMoveTo);
    EXPECT_EQ(pixels.back().type, emf::kPtLineTo | emf::kPtCloseFigure);
    EXPECT_EQ(CountColour(*image, 0), 0);
}

}  // namespace
}  // namespace corvan::test
