// The 16-bit point records draw exactly as their 32-bit forms; PolyDraw
// draws what the equivalent separate records draw.
#include "support/metafile_fixture.h"

namespace corvan::test {
namespace {

using namespace corvan::emf;

const std::vector<QPoint> kPoints = {{2, 2}, {20, 4}, {12, 18}, {3, 14}, {18, 12}, {8, 6}, {16, 3}};

void Prepare(EmfWriter& w) {
    w.SelectObject(w.CreatePen(kPsSolid, 0, 0x0000FF));
    w.SelectObject(w.CreateBrush(kBsSolid, 0x00FF00));
    w.MoveTo({1, 20});
}

struct Pair {
    std::uint32_t wide, small;
};

class SmallPointRecords : public ::testing::TestWithParam<Pair> {};

TEST_P(SmallPointRecords, DrawAsTheirWideForm) {
    const Pair p = GetParam();
    std::unique_ptr<Bitmap24> images[2];
    for (int i = 0; i < 2; ++i) {
        auto w = PixelWriter(24, 24);
        Prepare(w);
        const std::uint32_t type = i ? p.small : p.wide;
        if (type == kPolyPolygon || type == kPolyPolygon16 || type == kPolyPolyline ||
            type == kPolyPolyline16) {
            w.PolyPoly(type, {{kPoints.begin(), kPoints.begin() + 4},
                              {kPoints.begin() + 3, kPoints.end()}});
        } else {
            w.Poly(type, kPoints);
        }
        images[i] = Play(w, 24, 24);
    }
    EXPECT_GT(CountColour(*images[0], 0x0000FF), 10) << "type " << p.wide;
    EXPECT_TRUE(Matches(*images[1], Drawing(*images[0]), "small-" + std::to_string(p.small)));
}

INSTANTIATE_TEST_SUITE_P(Metafile, SmallPointRecords,
                         ::testing::Values(Pair{kPolyBezier, kPolyBezier16},
                                           Pair{kPolygon, kPolygon16}, Pair{kPolyline, kPolyline16},
                                           Pair{kPolyBezierTo, kPolyBezierTo16},
                                           Pair{kPolylineTo, kPolylineTo16},
                                           Pair{kPolyPolyline, kPolyPolyline16},
                                           Pair{kPolyPolygon, kPolyPolygon16}));

TEST(MetafileRecords, PolyDrawMatchesSeparateRecords) {
    const QPoint pts[] = {{2, 2}, {20, 2}, {20, 10}, {12, 20}, {4, 10}, {6, 14}, {10, 14}};
    const std::uint8_t types[] = {kPtMoveTo,
                                  kPtLineTo,
                                  kPtBezierTo,
                                  kPtBezierTo,
                                  kPtBezierTo,
                                  kPtMoveTo,
                                  kPtLineTo | kPtCloseFigure};
    std::unique_ptr<Bitmap24> images[3];
    for (int i = 0; i < 3; ++i) {
        auto w = PixelWriter(24, 24);
        Prepare(w);
        if (i < 2) {
            w.PolyDraw(pts, types, i == 1);
        } else {
            w.MoveTo(pts[0]);
            w.LineTo(pts[1]);
            w.Poly(kPolyBezierTo, std::span(pts + 2, 3));
            w.MoveTo(pts[5]);
            w.LineTo(pts[6]);
            w.LineTo(pts[5]);  // closing the figure draws back to its start
        }
        images[i] = Play(w, 24, 24);
    }
    EXPECT_TRUE(Matches(*images[0], Drawing(*images[2]), "polydraw"));
    EXPECT_TRUE(Matches(*images[1], Drawing(*images[2]), "polydraw16"));
}

// A curve type that is not followed by two more draws nothing at all.
TEST(MetafileRecords, PolyDrawWithBrokenCurveDrawsNothing) {
    auto w = PixelWriter(24, 24);
    const QPoint pts[] = {{2, 2}, {20, 2}, {20, 10}};
    const std::uint8_t types[] = {kPtLineTo, kPtBezierTo, kPtLineTo};
    w.PolyDraw(pts, types);
    EXPECT_EQ(CountColour(*Play(w, 24, 24), 0xFFFFFF), 24 * 24);
}

}  // namespace
}  // namespace corvan::test

namespace corvan::test {
namespace {

// Geometry far beyond the picture still draws the part that falls inside,
// and clips reaching beyond the integer range stay harmless.
TEST(MetafileRecords, FarOutCoordinatesDrawTheirVisiblePart) {
    constexpr int kFar = 1000000000;
    auto w = PixelWriter(20, 20);
    w.MoveTo({-kFar, 2});
    w.LineTo({kFar, 2});  // thin line across
    w.SelectObject(w.CreatePen(emf::kPsSolid, 3, 0));
    w.MoveTo({5, -kFar});
    w.LineTo({5, kFar});  // wide line down
    w.SelectStock(emf::kNullPen);
    w.SelectStock(emf::kBlackBrush);
    w.Box(emf::kIntersectClipRect, QRect(-kFar, 10, 2 * kFar, 10));
    for (int i = 0; i < 30; ++i) w.SetPoint(emf::kOffsetClipRgn, {0, kFar / 2});
    w.Box(emf::kRectangle, QRect(-kFar, -kFar, 2 * kFar, 2 * kFar));  // clipped away
    const auto image = Play(w, 20, 20);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(image->Pixel(x, 2), 0u) << "x " << x;
    for (int y = 0; y < 20; ++y) EXPECT_EQ(image->Pixel(5, y), 0u) << "y " << y;
    EXPECT_EQ(image->Pixel(15, 15), 0xFFFFFFu);
}

// A record of `bytes` zero bytes after its leading 32-bit fields.
void Padded(EmfWriter& w, std::uint32_t type, std::vector<std::uint32_t> fields, std::size_t bytes) {
    std::vector<std::uint8_t> body(bytes, 0);
    for (std::size_t i = 0; i < fields.size() && 4 * i + 4 <= bytes; ++i)
        for (int k = 0; k < 4; ++k) body[4 * i + k] = std::uint8_t(fields[i] >> (8 * k));
    w.RawRecord(type, body);
}

// Comments, colour management and the pixel format change nothing; a colour
// space takes its handle slot, so selecting or deleting that index later is
// harmless, and playback goes on to the end.
TEST(MetafileRecords, ColourManagementAndCommentsLeaveThePictureAlone) {
    std::unique_ptr<Bitmap24> images[2];
    for (int withRecords = 0; withRecords < 2; ++withRecords) {
        auto w = PixelWriter(8, 4);
        w.SelectObject(w.CreateBrush(kBsSolid, 0x0000FF));
        if (withRecords) {
            const std::uint32_t wide = w.CreateBrush(kBsNull, 0);  // slots for the colour spaces
            const std::uint32_t narrow = w.CreateBrush(kBsNull, 0);
            Padded(w, kCreateColorSpaceW, {wide}, 600);
            Padded(w, kCreateColorSpace, {narrow}, 332);
            Padded(w, kGdiComment, {8, 0x2B464D45 /* EMF+ */, 0}, 12);
            Padded(w, kSetIcmMode, {2}, 4);
            Padded(w, kSetColorSpace, {wide}, 4);
            Padded(w, kColorMatchToTargetW, {1, 0, 4, 0}, 20);
            Padded(w, kSetIcmProfileW, {0, 4, 0}, 16);
            Padded(w, kColorCorrectPalette, {0, 0, 0, 0}, 16);
            Padded(w, kPixelFormat, {40}, 40);
            w.SelectObject(wide);
            Padded(w, kDeleteColorSpace, {wide}, 4);
            w.SelectObject(wide);
            w.DeleteObject(narrow);
        }
        w.Box(kRectangle, QRect(1, 1, 6, 2));
        const std::vector<std::uint8_t> bytes = w.Finish();
        const auto reader = EmfReader::OpenMemory(bytes);
        ASSERT_TRUE(reader);
        images[withRecords] = Blank(8, 4);
        GdiDevice dc(*images[withRecords]);
        const PlaybackResult result = PlayMetafile(dc, *reader, QRect(0, 0, 8, 4));
        EXPECT_TRUE(result.complete) << result.reason;
    }
    EXPECT_GT(CountColour(*images[0], 0x0000FF), 0);
    EXPECT_TRUE(Matches(*images[1], Drawing(*images[0]), "colour-management"));
}

}  // namespace
}  // namespace corvan::test
