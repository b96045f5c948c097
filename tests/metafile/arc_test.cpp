// Arcs, chords and pies: which way they turn, where they leave the current
// position, and AngleArc.
#include "support/metafile_fixture.h"

namespace corvan::test {
namespace {

using namespace corvan::emf;

int BlackIn(const Bitmap24& image, int top, int bottom) {
    int n = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < image.Width(); ++x) n += image.Pixel(x, y) == 0;
    return n;
}

struct ArcCase {
    const char* name;
    std::uint32_t direction;
    bool flipY;      // logical y pointing up
    bool upperHalf;  // where the arc from 3 to 9 o'clock shows on screen
};

class ArcDirections : public ::testing::TestWithParam<ArcCase> {};

// An arc of the circle in (0,0)-(20,20) from its right point to its left
// point. Playback turns arcs in logical space, so flipping y mirrors them.
TEST_P(ArcDirections, HalfCircle) {
    const ArcCase& c = GetParam();
    auto w = PixelWriter(24, 24);
    if (c.flipY) {
        w.Set(kSetMapMode, kMmAnisotropic);
        w.SetPoint(kSetWindowExtEx, {1, 1});
        w.SetPoint(kSetViewportExtEx, {1, -1});
        w.SetPoint(kSetViewportOrgEx, {0, 20});
    }
    w.Set(kSetArcDirection, std::int32_t(c.direction));
    w.ArcRecord(kArc, QRect(0, 0, 20, 20), {20, 10}, {0, 10});
    const auto image = Play(w, 24, 24);
    const int upper = BlackIn(*image, 0, 8), lower = BlackIn(*image, 12, 23);
    EXPECT_GT(c.upperHalf ? upper : lower, 20) << c.name << ": " << DumpPng(*image, c.name);
    EXPECT_EQ(c.upperHalf ? lower : upper, 0) << c.name << ": " << DumpPng(*image, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, ArcDirections,
    ::testing::Values(ArcCase{"counterclockwise", kCounterClockwise, false, true},
                      ArcCase{"clockwise", kClockwise, false, false},
                      ArcCase{"counterclockwise_y_up", kCounterClockwise, true, false},
                      ArcCase{"clockwise_y_up", kClockwise, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The quarter from 3 to 12 o'clock: a pie fills the sector, a chord only the
// part beyond the line between the two ends.
TEST(MetafileArc, PieAndChordAreas) {
    for (std::uint32_t type : {kPie, kChord}) {
        auto w = PixelWriter(21, 21);
        w.SelectStock(kNullPen);
        w.SelectStock(kBlackBrush);
        w.ArcRecord(type, QRect(0, 0, 20, 20), {20, 10}, {10, 0});
        const auto image = Play(w, 21, 21);
        const std::string name = type == kPie ? "pie" : "chord";
        EXPECT_EQ(image->Pixel(16, 4), 0u) << name << ": " << DumpPng(*image, name);
        EXPECT_EQ(image->Pixel(12, 8) == 0, type == kPie) << name;
        EXPECT_EQ(image->Pixel(5, 5), 0xFFFFFFu) << name;
        EXPECT_EQ(image->Pixel(15, 15), 0xFFFFFFu) << name;
    }
}

// ArcTo draws a line to the arc's start and leaves the position at its end;
// AngleArc does the same for a circle given by centre, radius and angles.
TEST(MetafileArc, ArcToAndAngleArcMoveThePosition) {
    auto w = PixelWriter(24, 24);
    w.MoveTo({22, 2});
    w.ArcRecord(kArcTo, QRect(0, 0, 20, 20), {20, 10}, {0, 10});
    w.LineTo({0, 22});
    w.MoveTo({10, 10});
    w.AngleArc({10, 10}, 8, 0, 90);
    w.LineTo({10, 14});
    const auto image = Play(w, 24, 24);
    EXPECT_EQ(image->Pixel(21, 5), 0u) << DumpPng(*image, "arcto");  // line to the arc's start
    EXPECT_EQ(image->Pixel(0, 16), 0u);                              // from the arc's end downwards
    EXPECT_EQ(image->Pixel(14, 10), 0u);  // AngleArc's line from the centre to 0 degrees
    EXPECT_EQ(image->Pixel(10, 12), 0u);  // from its end at 90 degrees back down
}

}  // namespace
}  // namespace corvan::test
