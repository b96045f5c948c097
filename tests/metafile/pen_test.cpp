// Lines: one-pixel pens leave out the last pixel, wide pens have caps and
// joins, cosmetic dashes follow GDI's lengths and fill their gaps only in
// opaque mode.
#include "support/metafile_fixture.h"

// Expected pictures are written one pixel row per line; keep them so.
// clang-format off
namespace corvan::test {
namespace {

using namespace corvan::emf;

TEST(MetafilePen, ThinLinesLeaveOutTheirLastPixel) {
    auto w = PixelWriter(8, 8);
    w.MoveTo({1, 1});
    w.LineTo({6, 1});
    w.MoveTo({1, 3});
    w.LineTo({5, 7});
    EXPECT_TRUE(Matches(*Play(w, 8, 8),
                        {"........",
                         ".#####..",
                         "........",
                         ".#......",
                         "..#.....",
                         "...#....",
                         "....#...",
                         "........"},
                        "thin-lines"));
}

struct CapCase {
    const char* name;
    std::uint32_t cap;
    int left, right;       // first and last pixel of the middle row
    bool cornerCovered;    // the pixel diagonally beyond the line's corner
};

class PenCaps : public ::testing::TestWithParam<CapCase> {};

// A line from x = 4 to x = 12, 4 pixels wide, centred on row 5.
TEST_P(PenCaps, EndsOfAWideLine) {
    const CapCase& c = GetParam();
    auto w = PixelWriter(16, 10);
    w.SelectObject(w.ExtCreatePen(kPsGeometric | c.cap, 4, 0));
    w.MoveTo({4, 5});
    w.LineTo({12, 5});
    const auto image = Play(w, 16, 10);
    int first = -1, last = -1;
    for (int x = 0; x < 16; ++x)
        if (image->Pixel(x, 5) == 0) {
            if (first < 0) first = x;
            last = x;
        }
    EXPECT_EQ(first, c.left) << c.name << "; picture: " << DumpPng(*image, c.name);
    EXPECT_EQ(last, c.right) << c.name;
    EXPECT_EQ(image->Pixel(c.left, 3) == 0, c.cornerCovered) << c.name;
    for (int x = 4; x < 12; ++x)  // full width along the line
        for (int y = 3; y < 7; ++y) EXPECT_EQ(image->Pixel(x, y), 0u) << c.name << " at " << x << "," << y;
    EXPECT_EQ(image->Pixel(6, 2), 0xFFFFFFu) << c.name;
    EXPECT_EQ(image->Pixel(6, 7), 0xFFFFFFu) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Metafile, PenCaps,
                         ::testing::Values(CapCase{"flat", kPsEndcapFlat, 4, 11, true},
                                           CapCase{"square", kPsEndcapSquare, 2, 13, true},
                                           CapCase{"round", kPsEndcapRound, 2, 13, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct JoinCase {
    const char* name;
    std::uint32_t join;
    bool outerCorner;
};

class PenJoins : public ::testing::TestWithParam<JoinCase> {};

// A right angle at (4, 4), 4 pixels wide: only the miter fills the outer corner.
TEST_P(PenJoins, OuterCornerOfARightAngle) {
    const JoinCase& c = GetParam();
    auto w = PixelWriter(14, 14);
    w.SelectObject(w.ExtCreatePen(kPsGeometric | kPsEndcapFlat | c.join, 4, 0));
    const QPoint pts[] = {{4, 12}, {4, 4}, {12, 4}};
    w.Poly(kPolyline, pts);
    const auto image = Play(w, 14, 14);
    EXPECT_EQ(image->Pixel(2, 2) == 0, c.outerCorner) << c.name << ": " << DumpPng(*image, c.name);
    EXPECT_EQ(image->Pixel(3, 3), 0u) << c.name;  // inside the corner always
    EXPECT_EQ(image->Pixel(2, 8), 0u) << c.name;
    EXPECT_EQ(image->Pixel(8, 2), 0u) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Metafile, PenJoins,
                         ::testing::Values(JoinCase{"miter", kPsJoinMiter, true},
                                           JoinCase{"bevel", kPsJoinBevel, false},
                                           JoinCase{"round", kPsJoinRound, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DashCase {
    const char* name;
    std::uint32_t style;
    std::uint32_t bkMode;
    std::string row;  // row 1 of a 32-pixel picture on grey, background colour red
};

class CosmeticDashes : public ::testing::TestWithParam<DashCase> {};

TEST_P(CosmeticDashes, PatternAlongALine) {
    const DashCase& c = GetParam();
    auto w = PixelWriter(32, 3);
    w.SelectObject(w.CreatePen(c.style, 0, 0));
    w.Set(kSetBkMode, std::int32_t(c.bkMode));
    w.Set(kSetBkColor, 0x0000FF);
    w.MoveTo({0, 1});
    w.LineTo({32, 1});
    const std::string grey(32, 'k');
    EXPECT_TRUE(Matches(*Play(w, 32, 3, 0x808080), {grey, c.row, grey}, c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, CosmeticDashes,
    ::testing::Values(
        DashCase{"dash_transparent", kPsDash, kTransparent, "##################kkkkkk########"},
        DashCase{"dash_opaque", kPsDash, kOpaque, "##################rrrrrr########"},
        DashCase{"dot_opaque", kPsDot, kOpaque, "###rrr###rrr###rrr###rrr###rrr##"},
        DashCase{"dashdot_transparent", kPsDashDot, kTransparent, "#########kkkkkk###kkkkkk########"},
        DashCase{"solid", kPsSolid, kOpaque, "################################"}),
    [](const auto& info) { return std::string(info.param.name); });

// An old-style pen wider than one pixel draws solid whatever its style says.
TEST(MetafilePen, WideOldStylePenIgnoresDashes) {
    auto w = PixelWriter(40, 5);
    w.SelectObject(w.CreatePen(kPsDash, 3, 0));
    w.MoveTo({0, 2});
    w.LineTo({40, 2});
    const auto image = Play(w, 40, 5);
    for (int x = 1; x < 39; ++x) EXPECT_EQ(image->Pixel(x, 2), 0u) << "x " << x;
}

// A null pen draws nothing; a user style counts its lengths in pixels for
// cosmetic pens.
TEST(MetafilePen, NullAndUserStyle) {
    auto w = PixelWriter(12, 3);
    w.SelectStock(kNullPen);
    w.MoveTo({0, 0});
    w.LineTo({12, 0});
    const std::uint32_t style[] = {2, 1};
    w.SelectObject(w.ExtCreatePen(kPsUserStyle, 1, 0, kBsSolid, 0, style));
    w.Set(kSetBkMode, kTransparent);
    w.MoveTo({0, 1});
    w.LineTo({12, 1});
    EXPECT_TRUE(Matches(*Play(w, 12, 3), {"............", "##.##.##.##.", "............"}, "user-style"));
}

// A geometric pen counts its user style in logical units: the dashes grow
// with the world transform as its width does (ExtCreatePen's rule; some
// reference renders keep them in device pixels).
TEST(MetafilePen, GeometricUserStyleScalesWithTheTransform) {
    auto w = PixelWriter(24, 8);
    w.SetWorldTransform(QTransform::fromScale(2, 2));
    const std::uint32_t style[] = {4, 2};
    w.SelectObject(w.ExtCreatePen(kPsGeometric | kPsUserStyle | kPsEndcapFlat, 2, 0, kBsSolid, 0,
                                  style));
    w.Set(kSetBkMode, kTransparent);
    w.MoveTo({0, 2});
    w.LineTo({12, 2});
    const auto image = Play(w, 24, 8);
    std::string row;
    for (int x = 0; x < 24; ++x) row += image->Pixel(x, 4) == 0 ? '#' : '.';
    EXPECT_EQ(row, "########....########....");
}

}  // namespace
}  // namespace corvan::test

namespace corvan::test {
namespace {

// An inside-frame pen draws a wide outline within the box; a solid pen
// centres it on the box's edge.
TEST(MetafilePen, InsideFrameStaysInTheBox) {
    for (std::uint32_t style : {emf::kPsInsideFrame, emf::kPsSolid}) {
        auto w = PixelWriter(16, 16);
        w.SelectObject(w.CreatePen(style, 4, 0));
        w.SelectStock(emf::kNullBrush);
        w.Box(emf::kRectangle, QRect(2, 2, 12, 12));
        const auto image = Play(w, 16, 16);
        const bool inside = style == emf::kPsInsideFrame;
        EXPECT_EQ(image->Pixel(1, 8) == 0, !inside) << style;
        EXPECT_EQ(image->Pixel(2, 8), 0u) << style;
        EXPECT_EQ(image->Pixel(13, 8), 0u) << style;
        EXPECT_EQ(image->Pixel(14, 8) == 0, !inside) << style;
        EXPECT_EQ(image->Pixel(8, 8), 0xFFFFFFu) << style;
    }
}

}  // namespace
}  // namespace corvan::test
