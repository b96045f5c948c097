// Hatched brushes (opaque and transparent background, anchored at the brush
// origin) and the sixteen ROP2 codes.
#include "support/metafile_fixture.h"

// Expected pictures are written one pixel row per line; keep them so.
// clang-format off
namespace corvan::test {
namespace {

using namespace corvan::emf;

struct HatchCase {
    const char* name;
    std::uint32_t hatch;
    std::uint32_t bkMode;
    std::vector<std::string> expected;  // 8 x 8, hatch red, background blue, picture grey
};

class Hatches : public ::testing::TestWithParam<HatchCase> {};

TEST_P(Hatches, OneTile) {
    const HatchCase& c = GetParam();
    auto w = PixelWriter(8, 8);
    w.SelectStock(kNullPen);
    w.SelectObject(w.CreateBrush(kBsHatched, 0x0000FF, c.hatch));
    w.Set(kSetBkMode, std::int32_t(c.bkMode));
    w.Set(kSetBkColor, 0xFF0000);
    const QPoint square[] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
    w.Poly(kPolygon, square);
    EXPECT_TRUE(Matches(*Play(w, 8, 8, 0x808080), c.expected, c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, Hatches,
    ::testing::Values(
        HatchCase{"horizontal_opaque", kHsHorizontal, kOpaque,
                  {"bbbbbbbb", "bbbbbbbb", "bbbbbbbb", "bbbbbbbb", "bbbbbbbb", "bbbbbbbb",
                   "bbbbbbbb", "rrrrrrrr"}},
        HatchCase{"vertical_transparent", kHsVertical, kTransparent,
                  {"kkkkrkkk", "kkkkrkkk", "kkkkrkkk", "kkkkrkkk", "kkkkrkkk", "kkkkrkkk",
                   "kkkkrkkk", "kkkkrkkk"}},
        HatchCase{"fdiagonal_transparent", kHsFDiagonal, kTransparent,
                  {"rkkkkkkk", "krkkkkkk", "kkrkkkkk", "kkkrkkkk", "kkkkrkkk", "kkkkkrkk",
                   "kkkkkkrk", "kkkkkkkr"}},
        HatchCase{"bdiagonal_opaque", kHsBDiagonal, kOpaque,
                  {"bbbbbbbr", "bbbbbbrb", "bbbbbrbb", "bbbbrbbb", "bbbrbbbb", "bbrbbbbb",
                   "brbbbbbb", "rbbbbbbb"}},
        HatchCase{"cross_transparent", kHsCross, kTransparent,
                  {"kkkkrkkk", "kkkkrkkk", "kkkkrkkk", "kkkkrkkk", "kkkkrkkk", "kkkkrkkk",
                   "kkkkrkkk", "rrrrrrrr"}},
        HatchCase{"diagcross_opaque", kHsDiagCross, kOpaque,
                  {"rbbbbbbr", "brbbbbrb", "bbrbbrbb", "bbbrrbbb", "bbbrrbbb", "bbrbbrbb",
                   "brbbbbrb", "rbbbbbbr"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Moving the brush origin moves the pattern with it.
TEST(MetafileBrush, HatchFollowsBrushOrigin) {
    auto w = PixelWriter(8, 8);
    w.SelectStock(kNullPen);
    w.SelectObject(w.CreateBrush(kBsHatched, 0x000000, kHsVertical));
    w.Set(kSetBkMode, kTransparent);
    w.SetPoint(kSetBrushOrgEx, {2, 0});
    const QPoint square[] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
    w.Poly(kPolygon, square);
    const auto image = Play(w, 8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(image->Pixel(x, y) == 0, x == 6) << x << "," << y;
}

// The result of each ROP2 code for pen P and destination D, per bit.
std::uint32_t Expected(std::uint32_t rop, std::uint32_t p, std::uint32_t d) {
    switch (rop) {
        case kR2Black: return 0;
        case kR2NotMergePen: return ~(p | d);
        case kR2MaskNotPen: return ~p & d;
        case kR2NotCopyPen: return ~p;
        case kR2MaskPenNot: return p & ~d;
        case kR2Not: return ~d;
        case kR2XorPen: return p ^ d;
        case kR2NotMaskPen: return ~(p & d);
        case kR2MaskPen: return p & d;
        case kR2NotXorPen: return ~(p ^ d);
        case kR2Nop: return d;
        case kR2MergeNotPen: return ~p | d;
        case kR2CopyPen: return p;
        case kR2MergePenNot: return p | ~d;
        case kR2MergePen: return p | d;
        default: return 0xFFFFFF;
    }
}

class Rop2Codes : public ::testing::TestWithParam<std::uint32_t> {};

// A brush of 0x3C5AF0 over a picture of 0x0FF05A, and a pen line of
// 0xA53C0F across it: fill and line combine with the destination alike.
TEST_P(Rop2Codes, FillAndLine) {
    const std::uint32_t rop = GetParam();
    const Colour brush = 0x3C5AF0, pen = 0xA53C0F, dest = 0x0FF05A;
    auto w = PixelWriter(6, 6);
    w.Set(kSetRop2, std::int32_t(rop));
    w.SelectStock(kNullPen);
    w.SelectObject(w.CreateBrush(kBsSolid, brush));
    const QPoint square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    w.Poly(kPolygon, square);
    w.SelectObject(w.CreatePen(kPsSolid, 0, pen));
    w.MoveTo({0, 5});
    w.LineTo({6, 5});
    const auto image = Play(w, 6, 6, dest);
    EXPECT_EQ(image->Pixel(1, 1), Expected(rop, brush, dest) & 0xFFFFFF) << "fill, ROP2 " << rop;
    EXPECT_EQ(image->Pixel(2, 5), Expected(rop, pen, dest) & 0xFFFFFF) << "line, ROP2 " << rop;
    EXPECT_EQ(image->Pixel(5, 1), dest) << "untouched, ROP2 " << rop;
}

INSTANTIATE_TEST_SUITE_P(Metafile, Rop2Codes, ::testing::Range<std::uint32_t>(1, 17));

// Drawing twice with XOR restores the picture, also for a hatched brush
// with a transparent background.
TEST(MetafileRop2, XorTwiceRestores) {
    auto w = PixelWriter(8, 8);
    w.Set(kSetRop2, kR2XorPen);
    w.Set(kSetBkMode, kTransparent);
    w.SelectObject(w.CreateBrush(kBsHatched, 0x00FF00, kHsDiagCross));
    w.SelectObject(w.CreatePen(kPsSolid, 0, 0x0000FF));
    for (int i = 0; i < 2; ++i) w.Box(kEllipse, QRect(0, 0, 8, 8));
    EXPECT_EQ(CountColour(*Play(w, 8, 8, 0x808080), 0x808080), 64);
}

}  // namespace
}  // namespace corvan::test
