// Clipping by rectangle, region, path and meta region: a black fill of the
// whole picture shows which pixels the clip lets through.
#include "support/metafile_fixture.h"

// Expected pictures are written one pixel row per line; keep them so.
// clang-format off
namespace corvan::test {
namespace {

using namespace corvan::emf;

void FillAll(EmfWriter& w) {
    w.SelectStock(kNullPen);
    w.SelectStock(kBlackBrush);
    w.Box(kRectangle, QRect(-1, -1, 12, 12));
}

struct ClipCase {
    const char* name;
    void (*record)(EmfWriter& w);
    std::vector<std::string> expected;
};

class Clipping : public ::testing::TestWithParam<ClipCase> {};

TEST_P(Clipping, FillThroughClip) {
    const ClipCase& c = GetParam();
    auto w = PixelWriter(8, 8);
    c.record(w);
    FillAll(w);
    EXPECT_TRUE(Matches(*Play(w, 8, 8), c.expected, c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, Clipping,
    ::testing::Values(
        ClipCase{"intersect_rect", [](EmfWriter& w) { w.Box(kIntersectClipRect, QRect(2, 1, 4, 3)); },
                 {"........", "..####..", "..####..", "..####..", "........", "........",
                  "........", "........"}},
        ClipCase{"exclude_rect", [](EmfWriter& w) { w.Box(kExcludeClipRect, QRect(2, 2, 4, 4)); },
                 {"########", "########", "##....##", "##....##", "##....##", "##....##",
                  "########", "########"}},
        ClipCase{"region_copy",
                 [](EmfWriter& w) { w.SelectClipRegion({QRect(0, 0, 3, 2), QRect(5, 5, 3, 3)}, kRgnCopy); },
                 {"###.....", "###.....", "........", "........", "........", ".....###",
                  ".....###", ".....###"}},
        ClipCase{"region_xor",
                 [](EmfWriter& w) {
                     w.Box(kIntersectClipRect, QRect(0, 0, 6, 6));
                     w.SelectClipRegion({QRect(3, 3, 5, 5)}, kRgnXor);
                 },
                 {"######..", "######..", "######..", "###...##", "###...##", "###...##",
                  "...#####", "...#####"}},
        ClipCase{"region_none_resets",
                 [](EmfWriter& w) {
                     w.Box(kIntersectClipRect, QRect(0, 0, 2, 2));
                     w.SelectClipRegion({}, kRgnCopy, true);
                 },
                 {"########", "########", "########", "########", "########", "########",
                  "########", "########"}},
        ClipCase{"offset",
                 [](EmfWriter& w) {
                     w.Box(kIntersectClipRect, QRect(0, 0, 2, 2));
                     w.SetPoint(kOffsetClipRgn, {5, 1});
                 },
                 {"........", ".....##.", ".....##.", "........", "........", "........",
                  "........", "........"}},
        ClipCase{"path",
                 [](EmfWriter& w) {
                     // Nested squares: the alternate fill mode makes the inner one a hole.
                     w.Plain(kBeginPath);
                     w.PolyPoly(kPolyPolygon, {{{1, 1}, {7, 1}, {7, 7}, {1, 7}},
                                               {{3, 3}, {5, 3}, {5, 5}, {3, 5}}});
                     w.Plain(kEndPath);
                     w.Set(kSelectClipPath, kRgnCopy);
                 },
                 {"........", ".######.", ".######.", ".##..##.", ".##..##.", ".######.",
                  ".######.", "........"}},
        // A clip path becomes a region by the polygon scanline rules: a row
        // takes the pixels from where the edges cross its top, so the row of
        // a side tip is full width and the row of the top tip stays empty.
        ClipCase{"path_tips",
                 [](EmfWriter& w) {
                     w.Plain(kBeginPath);
                     w.PolyPoly(kPolyPolygon, {{{4, 0}, {0, 4}, {4, 8}, {8, 4}}});
                     w.Plain(kEndPath);
                     w.Set(kSelectClipPath, kRgnCopy);
                 },
                 {"........", "...##...", "..####..", ".######.", "########", ".######.",
                  "..####..", "...##..."}},
        // The meta region stays when the clip is reset, and bounds later clips.
        ClipCase{"meta_region",
                 [](EmfWriter& w) {
                     w.Box(kIntersectClipRect, QRect(0, 0, 5, 5));
                     w.Plain(kSetMetaRgn);
                     w.SelectClipRegion({}, kRgnCopy, true);
                     w.Box(kIntersectClipRect, QRect(3, 3, 5, 5));
                 },
                 {"........", "........", "........", "...##...", "...##...", "........",
                  "........", "........"}},
        ClipCase{"restore_dc",
                 [](EmfWriter& w) {
                     w.Box(kIntersectClipRect, QRect(0, 0, 4, 8));
                     w.Plain(kSaveDc);
                     w.Box(kIntersectClipRect, QRect(0, 0, 1, 1));
                     w.Set(kRestoreDc, -1);
                 },
                 {"####....", "####....", "####....", "####....", "####....", "####....",
                  "####....", "####...."}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace corvan::test
