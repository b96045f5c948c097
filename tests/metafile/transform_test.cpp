// From logical units to pixels: the six mapping modes, window and viewport,
// the world transform and how SaveDC/RestoreDC bring them back.
#include "support/metafile_fixture.h"

#include <cmath>

// Expected pictures are written one pixel row per line; keep them so.
// clang-format off
namespace corvan::test {
namespace {

using namespace corvan::emf;

// Plays the writer and returns where `p` lands at the end of the playback.
QPointF MappedAtEnd(EmfWriter& w, QPointF p) {
    const auto bytes = w.Finish();
    auto reader = EmfReader::OpenMemory(bytes);
    auto image = Bitmap24::Create(100, 100);
    GdiDevice dc(*image);
    QPointF out(-1e9, -1e9);
    Enumerate(dc, *reader, QRect(0, 0, 100, 100),
              [&](GdiDevice& d, HandleTable& h, const EmfRecord& rec, void*) {
                  PlayRecord(d, h, rec);
                  if (rec.type == kEof) out = d.LPtoDP(p);
                  return RecordAction::kContinue;
              });
    return out;
}

struct MapCase {
    const char* name;
    std::int32_t mode;
    QSize windowExt, viewportExt;  // set when not empty
    QPointF logical, device;
};

class MappingModes : public ::testing::TestWithParam<MapCase> {};

// The reference device has 4 pixels per millimetre; y grows upwards in the
// metric and English modes.
TEST_P(MappingModes, LogicalToDevice) {
    const MapCase& c = GetParam();
    auto w = PixelWriter(100, 100);
    w.Set(kSetMapMode, c.mode);
    if (!c.windowExt.isEmpty()) w.SetPoint(kSetWindowExtEx, {c.windowExt.width(), c.windowExt.height()});
    if (c.viewportExt.width() != 0)
        w.SetPoint(kSetViewportExtEx, {c.viewportExt.width(), c.viewportExt.height()});
    const QPointF d = MappedAtEnd(w, c.logical);
    EXPECT_NEAR(d.x(), c.device.x(), 0.2) << c.name;
    EXPECT_NEAR(d.y(), c.device.y(), 0.2) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, MappingModes,
    ::testing::Values(
        MapCase{"text", kMmText, {}, {}, {10, 20}, {10, 20}},
        MapCase{"lometric", kMmLoMetric, {}, {}, {10, 20}, {4, -8}},
        MapCase{"himetric", kMmHiMetric, {}, {}, {100, 200}, {4, -8}},
        MapCase{"loenglish", kMmLoEnglish, {}, {}, {100, 100}, {101.6, -101.6}},
        MapCase{"hienglish", kMmHiEnglish, {}, {}, {1000, 1000}, {101.6, -101.6}},
        MapCase{"twips", kMmTwips, {}, {}, {1440, 1440}, {101.6, -101.6}},
        // Isotropic keeps units square: the wider viewport axis is shrunk.
        MapCase{"isotropic", kMmIsotropic, {100, 100}, {200, -100}, {10, 20}, {10, -20}},
        MapCase{"anisotropic", kMmAnisotropic, {100, 100}, {200, 50}, {10, 20}, {20, 10}},
        // Extents are ignored outside the two scalable modes.
        MapCase{"text_ignores_extents", kMmText, {100, 100}, {200, 50}, {10, 20}, {10, 20}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MetafileTransform, OriginsAndScaledExtents) {
    auto w = PixelWriter(100, 100);
    w.Set(kSetMapMode, kMmAnisotropic);
    w.SetPoint(kSetWindowExtEx, {100, 100});
    w.SetPoint(kSetViewportExtEx, {100, 100});
    w.Record(kScaleViewportExtEx, {2, 1, 1, 2});  // x doubled, y halved
    w.SetPoint(kSetWindowOrgEx, {5, 5});
    w.SetPoint(kSetViewportOrgEx, {10, 10});
    const QPointF d = MappedAtEnd(w, {15, 25});
    EXPECT_DOUBLE_EQ(d.x(), 30);  // (15 - 5) * 2 + 10
    EXPECT_DOUBLE_EQ(d.y(), 20);  // (25 - 5) / 2 + 10
}

TEST(MetafileTransform, ModifyWorldTransformOrder) {
    auto w = PixelWriter(100, 100);
    w.SetWorldTransform(QTransform::fromScale(2, 2));
    w.ModifyWorldTransform(QTransform::fromTranslate(1, 0), kMwtLeftMultiply);   // translate, then scale
    EXPECT_DOUBLE_EQ(MappedAtEnd(w, {3, 3}).x(), 8);
    w.ModifyWorldTransform(QTransform::fromTranslate(1, 0), kMwtRightMultiply);  // ... then translate
    EXPECT_DOUBLE_EQ(MappedAtEnd(w, {3, 3}).x(), 9);
    w.ModifyWorldTransform(QTransform(), kMwtIdentity);
    EXPECT_DOUBLE_EQ(MappedAtEnd(w, {3, 3}).x(), 3);
}

TEST(MetafileTransform, RestoreDcWithRelativeLevels) {
    auto w = PixelWriter(100, 100);
    w.Plain(kSaveDc);
    w.SetWorldTransform(QTransform::fromScale(2, 2));
    w.Plain(kSaveDc);
    w.SetWorldTransform(QTransform::fromScale(3, 3));
    w.Set(kRestoreDc, -1);
    EXPECT_DOUBLE_EQ(MappedAtEnd(w, {5, 5}).x(), 10);
    w.Set(kRestoreDc, -1);
    EXPECT_DOUBLE_EQ(MappedAtEnd(w, {5, 5}).x(), 5);
    // Nothing is left to restore: the playback's own state stays.
    w.SetWorldTransform(QTransform::fromScale(4, 4));
    w.Set(kRestoreDc, -1);
    EXPECT_DOUBLE_EQ(MappedAtEnd(w, {5, 5}).x(), 20);
}

// A 6 x 2 bar turned a quarter counter-clockwise on screen and moved right.
TEST(MetafileTransform, QuarterTurn) {
    auto w = PixelWriter(12, 9);
    w.SelectStock(kNullPen);
    w.SelectStock(kBlackBrush);
    w.SetWorldTransform(QTransform(0, 1, -1, 0, 10, 0));  // (x, y) -> (10 - y, x)
    const QPoint bar[] = {{1, 1}, {7, 1}, {7, 3}, {1, 3}};
    w.Poly(kPolygon, bar);
    EXPECT_TRUE(Matches(*Play(w, 12, 9),
                        {"............",
                         ".......##...",
                         ".......##...",
                         ".......##...",
                         ".......##...",
                         ".......##...",
                         ".......##...",
                         "............",
                         "............"},
                        "quarter-turn"));
}

// An eighth turn of a square: a diamond, its corners on the axes.
TEST(MetafileTransform, RotatedRectangleBecomesDiamond) {
    auto w = PixelWriter(40, 40);
    w.SelectStock(kNullPen);
    w.SelectStock(kBlackBrush);
    QTransform t;
    t.translate(20, 20);
    t.rotate(45);
    w.SetWorldTransform(t);
    w.Box(kRectangle, QRect(-10, -10, 20, 20));
    const auto image = Play(w, 40, 40);
    EXPECT_EQ(image->Pixel(20, 20), 0u);
    EXPECT_EQ(image->Pixel(20, 7), 0u);   // tips about 14 pixels out on the axes
    EXPECT_EQ(image->Pixel(33, 20), 0u);
    EXPECT_EQ(image->Pixel(12, 12), 0xFFFFFFu);  // the square's own corners are cut
    EXPECT_EQ(image->Pixel(29, 29), 0xFFFFFFu);
    EXPECT_NEAR(CountColour(*image, 0), 400, 20);  // the area of 20 x 20, no pen
}

}  // namespace
}  // namespace corvan::test
