// Bitmap records: every DIB depth and compression through STRETCHDIBITS,
// the raster operations of the block transfers, alpha blending and the
// transparent colour.
#include "platform/metafile/emf_writer_records.h"
#include "support/metafile_fixture.h"

#include <array>
#include <map>

namespace corvan::test {
namespace {

using namespace corvan::emf;

void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
}

// A 40-byte info header plus `table` (BGRX entries) and `masks`.
std::vector<std::uint8_t> Info(int w, int h, int bpp, std::uint32_t compression,
                               std::vector<std::uint32_t> table = {}, std::uint32_t sizeImage = 0) {
    std::vector<std::uint8_t> v;
    Put32(v, 40), Put32(v, std::uint32_t(w)), Put32(v, std::uint32_t(h));
    Put32(v, 1u | (std::uint32_t(bpp) << 16)), Put32(v, compression), Put32(v, sizeImage);
    Put32(v, 0), Put32(v, 0), Put32(v, std::uint32_t(table.size())), Put32(v, 0);
    for (std::uint32_t c : table) Put32(v, c);
    return v;
}

// Colour-table entries (0x00RRGGBB as stored) for red, green, blue, white.
const std::vector<std::uint32_t> kRgbw = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

struct DibCase {
    const char* name;
    DibParts dib;
    std::vector<std::string> expected;  // the 2 x 2 DIB stretched to 4 x 4
};

class DibForms : public ::testing::TestWithParam<DibCase> {};

TEST_P(DibForms, StretchedTwice) {
    const DibCase& c = GetParam();
    auto w = PixelWriter(4, 4);
    WriteStretchDiBits(w, QRect(0, 0, 4, 4), QRect(0, 0, 2, 2), c.dib);
    EXPECT_TRUE(Matches(*Play(w, 4, 4, 0x808080), c.expected, c.name));
}

// Bottom-up 2 x 2: bottom row red, green; top row blue, white.
const std::vector<std::string> kQuad = {"bb..", "bb..", "rrgg", "rrgg"};

INSTANTIATE_TEST_SUITE_P(
    Metafile, DibForms,
    ::testing::Values(
        DibCase{"bpp1",
                {Info(2, 2, 1, 0, {0x000000, 0xFFFFFF}), {0x40, 0, 0, 0, 0x80, 0, 0, 0}},
                {"..##", "..##", "##..", "##.."}},
        DibCase{"bpp4", {Info(2, 2, 4, 0, kRgbw), {0x01, 0, 0, 0, 0x23, 0, 0, 0}}, kQuad},
        DibCase{"bpp8", {Info(2, 2, 8, 0, kRgbw), {0, 1, 0, 0, 2, 3, 0, 0}}, kQuad},
        DibCase{
            "bpp16", {Info(2, 2, 16, 0), {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0x7F}}, kQuad},
        DibCase{"bpp24",
                {Info(2, 2, 24, 0), {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}},
                kQuad},
        DibCase{"bpp32",
                {Info(2, 2, 32, 0), {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0}},
                kQuad},
        DibCase{"rle8", {Info(2, 2, 8, 1, kRgbw, 12), {1, 0, 1, 1, 0, 0, 1, 2, 1, 3, 0, 1}}, kQuad},
        DibCase{"rle4", {Info(2, 2, 4, 2, kRgbw, 8), {2, 0x01, 0, 0, 2, 0x23, 0, 1}}, kQuad},
        DibCase{"top_down",
                {Info(2, -2, 8, 0, kRgbw), {0, 1, 0, 0, 2, 3, 0, 0}},
                {"rrgg", "rrgg", "bb..", "bb.."}}),
    [](const auto& info) { return std::string(info.param.name); });

// One 2 x 1 source: blue then white, so each ROP shows its effect on both a
// coloured and a white source pixel. Destination red, brush green.
struct RopCase {
    const char* name;
    std::uint32_t rop;
    std::string expected;
};

class Rops : public ::testing::TestWithParam<RopCase> {};

TEST_P(Rops, CombinesPatternSourceDestination) {
    const RopCase& c = GetParam();
    auto w = PixelWriter(2, 1);
    w.SelectObject(w.CreateBrush(kBsSolid, 0x00FF00));
    const DibParts src{Info(2, 1, 24, 0), {255, 0, 0, 255, 255, 255, 0, 0}};
    WriteStretchBlt(w, kStretchBlt, QRect(0, 0, 2, 1), QRect(0, 0, 2, 1), src, c.rop);
    EXPECT_TRUE(Matches(*Play(w, 2, 1, 0x0000FF), {c.expected}, c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, Rops,
    ::testing::Values(
        RopCase{"srccopy", 0x00CC0020, "b."}, RopCase{"srcpaint", 0x00EE0086, "m."},
        RopCase{"srcand", 0x008800C6, "#r"}, RopCase{"srcinvert", 0x00660046, "mc"},
        RopCase{"srcerase", 0x00440328, "bc"}, RopCase{"notsrccopy", 0x00330008, "y#"},
        RopCase{"notsrcerase", 0x001100A6, "g#"}, RopCase{"mergecopy", 0x00C000CA, "#g"},
        RopCase{"mergepaint", 0x00BB0226, "yr"}, RopCase{"patcopy", 0x00F00021, "gg"},
        RopCase{"patpaint", 0x00FB0A09, "yy"}, RopCase{"patinvert", 0x005A0049, "yy"},
        RopCase{"dstinvert", 0x00550009, "cc"}, RopCase{"blackness", 0x00000042, "##"},
        RopCase{"whiteness", 0x00FF0062, ".."},
        // DSPDxax, computed from the ternary code: the pattern
        // where the source has bits, the destination elsewhere.
        RopCase{"generic_dspdxax", 0x00E20746, "rg"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MetafileBitmaps, TransparentColourIsLeftOut) {
    auto w = PixelWriter(2, 1);
    const DibParts src{Info(2, 1, 24, 0), {255, 0, 0, 255, 255, 255, 0, 0}};
    WriteStretchBlt(w, kTransparentBlt, QRect(0, 0, 2, 1), QRect(0, 0, 2, 1), src, 0xFFFFFF);
    EXPECT_TRUE(Matches(*Play(w, 2, 1, 0x0000FF), {"br"}, "transparent"));
}

TEST(MetafileBitmaps, ConstantAlphaBlendsHalfway) {
    auto w = PixelWriter(1, 1);
    const DibParts src{Info(1, 1, 24, 0), {255, 255, 255, 0}};
    WriteStretchBlt(w, kAlphaBlend, QRect(0, 0, 1, 1), QRect(0, 0, 1, 1), src, 0x00800000);
    const Colour c = Play(w, 1, 1, 0x000000)->Pixel(0, 0);
    EXPECT_NEAR(int(RedOf(c)), 128, 2);
    EXPECT_NEAR(int(BlueOf(c)), 128, 2);
}

TEST(MetafileBitmaps, MirroredDestinationFlipsThePicture) {
    auto w = PixelWriter(2, 1);
    const DibParts src{Info(2, 1, 24, 0), {255, 0, 0, 255, 255, 255, 0, 0}};
    // A negative width runs back from the start pixel: x 1, width -2 covers 1 and 0.
    WriteStretchDiBits(w, QRect(1, 0, -2, 1), QRect(0, 0, 2, 1), src);
    EXPECT_TRUE(Matches(*Play(w, 2, 1, 0x0000FF), {".b"}, "mirrored"));
}

// A 2 x 1 source (red, green) and a mask that is set over its first pixel.
const DibParts kRedGreen{Info(2, 1, 24, 0), {0, 0, 255, 0, 255, 0, 0, 0}};
const DibParts kFirstSet{Info(2, 1, 1, 0, {0x000000, 0xFFFFFF}), {0x80, 0, 0, 0}};

TEST(MetafileBitmaps, MaskBltTakesTheForegroundOpWhereTheMaskIsSet) {
    auto w = PixelWriter(2, 1);
    // Foreground: copy the source; background: keep the destination.
    WriteMaskBlt(w, QRect(0, 0, 2, 1), QRect(0, 0, 2, 1), kRedGreen, kFirstSet, 0xAACC0020);
    EXPECT_TRUE(Matches(*Play(w, 2, 1, 0xFF0000), {"rb"}, "maskblt"));
}

struct PlgCase {
    const char* name;
    QPoint corners[3];
    bool masked;
    std::string expected;
};

class PlgBlts : public ::testing::TestWithParam<PlgCase> {};

TEST_P(PlgBlts, MapTheSourceOntoTheParallelogram) {
    const PlgCase& c = GetParam();
    auto w = PixelWriter(2, 2);
    WritePlgBlt(w, c.corners, QRect(0, 0, 2, 1), kRedGreen, c.masked ? kFirstSet : DibParts{});
    EXPECT_TRUE(Matches(*Play(w, 2, 2, 0xFF0000), {c.expected, "bb"}, c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, PlgBlts,
    ::testing::Values(PlgCase{"upright", {{0, 0}, {2, 0}, {0, 1}}, false, "rg"},
                      PlgCase{"mirrored", {{1, 0}, {-1, 0}, {1, 1}}, false, "gr"},
                      PlgCase{"masked", {{0, 0}, {2, 0}, {0, 1}}, true, "rb"}),
    [](const auto& info) { return std::string(info.param.name); });

struct StretchCase {
    const char* name;
    std::uint32_t mode;
    std::string expected;  // 4 x 1 black/white stripes shrunk to 2 x 1
};

class StretchModes : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchModes, ShrinkingKeepsWhatTheModeFavours) {
    const StretchCase& c = GetParam();
    auto w = PixelWriter(2, 1);
    w.Set(kSetStretchBltMode, std::int32_t(c.mode));
    const DibParts src{Info(4, 1, 24, 0), {0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255}};
    WriteStretchDiBits(w, QRect(0, 0, 2, 1), QRect(0, 0, 4, 1), src);
    EXPECT_TRUE(Matches(*Play(w, 2, 1, 0x0000FF), {c.expected}, c.name));
}

INSTANTIATE_TEST_SUITE_P(Metafile, StretchModes,
                         ::testing::Values(StretchCase{"blackonwhite", 1, "##"},
                                           StretchCase{"whiteonblack", 2, ".."}),
                         [](const auto& info) { return std::string(info.param.name); });

// 24-bit top-down rows of red, green, blue and white pixels, `w` x `h`.
DibParts Colours(int w, int h, const std::string& pixels) {
    std::vector<std::uint8_t> bits;
    const std::map<char, std::array<std::uint8_t, 3>> bgr = {
        {'r', {0, 0, 255}}, {'g', {0, 255, 0}}, {'b', {255, 0, 0}}, {'.', {255, 255, 255}}};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const auto& c = bgr.at(pixels[std::size_t(y * w + x)]);
            bits.insert(bits.end(), c.begin(), c.end());
        }
        bits.resize((bits.size() + 3) / 4 * 4);
    }
    return {Info(w, -h, 24, 0), bits};
}

// Colour-on-colour stretches step in whole pixels: each device pixel's centre
// maps into the source, an exact tie going to the lower pixel; a shrink keeps
// the last pixel of each run across and the first of each run down.
struct PickCase {
    const char* name;
    QRect dest, src;
    DibParts dib;
    std::vector<std::string> expected;
};

class StretchPicks : public ::testing::TestWithParam<PickCase> {};

TEST_P(StretchPicks, WholePixelStepping) {
    const PickCase& c = GetParam();
    const int w = int(c.expected[0].size()), h = int(c.expected.size());
    auto writer = PixelWriter(w, h);
    writer.Set(kSetStretchBltMode, 3);
    WriteStretchDiBits(writer, c.dest, c.src, c.dib);
    EXPECT_TRUE(Matches(*Play(writer, w, h, 0x808080), c.expected, c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, StretchPicks,
    ::testing::Values(
        PickCase{"ties_go_low", QRect(0, 0, 3, 1), QRect(0, 0, 2, 1), Colours(2, 1, "rg"), {"rrg"}},
        PickCase{"shrink_keeps_last_across",
                 QRect(0, 0, 2, 1),
                 QRect(0, 0, 4, 1),
                 Colours(4, 1, "rgb."),
                 {"g."}},
        PickCase{"shrink_keeps_first_down",
                 QRect(0, 0, 1, 2),
                 QRect(0, 0, 1, 4),
                 Colours(1, 4, "rgb."),
                 {"r", "b"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Halftone steps across the visible part only: the destination cut to the
// clip's bounding box, mapped back to whole source pixels with a pixel of
// slack. A ramp of 0, 60, 120, 180 doubled: unclipped, device pixel 2 falls
// on the second source pixel; clipped from pixel 2 on, the visible part
// starts again at the first source pixel and steps 4/6 of a pixel.
TEST(MetafileBitmaps, HalftoneStepsFromTheClipBox) {
    const DibParts ramp{Info(4, 1, 24, 0), {0, 0, 0, 60, 60, 60, 120, 120, 120, 180, 180, 180}};
    for (const bool clipped : {false, true}) {
        auto w = PixelWriter(8, 1);
        w.Set(kSetStretchBltMode, 4);
        if (clipped) w.Box(kIntersectClipRect, QRect(2, 0, 6, 1));
        WriteStretchDiBits(w, QRect(0, 0, 8, 1), QRect(0, 0, 4, 1), ramp);
        const auto image = Play(w, 8, 1);
        EXPECT_EQ(RedOf(image->Pixel(2, 0)), clipped ? 0 : 60);
        EXPECT_EQ(RedOf(image->Pixel(3, 0)), clipped ? 40 : 90);
    }
}

// A picture blown up far past the device in either mode still covers it with
// its colour: the stretch arithmetic must not overflow.
TEST(MetafileBitmaps, HugeStretchCoversTheDevice) {
    for (const std::int32_t mode : {3, 4}) {
        auto w = PixelWriter(2, 2);
        w.Set(kSetStretchBltMode, mode);
        w.SetWorldTransform(QTransform::fromScale(100, 100));
        WriteStretchDiBits(w, QRect(-500000000, -500000000, 1000000000, 1000000000),
                           QRect(0, 0, 2, 1), Colours(2, 1, "rr"));
        EXPECT_TRUE(Matches(*Play(w, 2, 2), {"rr", "rr"}, "huge")) << mode;
    }
}

// A strip of the page samples a halftone picture as the whole page does:
// where the picture reaches past the strip does not move its steps.
TEST(MetafileBitmaps, HalftoneStripsJoinTheWholePicture) {
    const DibParts ramp{Info(4, 1, 24, 0), {0, 0, 0, 60, 60, 60, 120, 120, 120, 180, 180, 180}};
    auto w = PixelWriter(7, 2);
    w.Set(kSetStretchBltMode, 4);
    WriteStretchDiBits(w, QRect(0, 0, 7, 2), QRect(0, 0, 4, 1), ramp);
    const std::vector<std::uint8_t> bytes = w.Finish();
    auto reader = EmfReader::OpenMemory(bytes);
    ASSERT_TRUE(reader);
    auto page = Bitmap24::Create(7, 2), strip = Bitmap24::Create(3, 2);
    {
        GdiDevice dc(*page);
        PlayMetafile(dc, *reader, QRect(0, 0, 7, 2));
    }
    {
        GdiDevice dc(*strip);  // columns 4 to 6 of the page
        PlayMetafile(dc, *reader, QRect(-4, 0, 7, 2));
    }
    for (int x = 0; x < 3; ++x) EXPECT_EQ(strip->Pixel(x, 0), page->Pixel(x + 4, 0)) << x;
}

// Halftone on one row of grey levels: a bilinear filter stepping from the
// first source pixel by source width / destination width. Shrinking black,
// white, black onto two pixels gives the first pixel itself, then the mean of
// the other two. Enlarging a black pixel between white ones by 1.5 darkens
// the two device pixels that step into it by two thirds.
struct HalftoneCase {
    const char* name;
    std::vector<int> source;    // grey levels
    std::vector<int> expected;  // grey levels on the device
};

class HalftoneRows : public ::testing::TestWithParam<HalftoneCase> {};

TEST_P(HalftoneRows, WeighWhatEachDevicePixelTakes) {
    const HalftoneCase& c = GetParam();
    const int from = int(c.source.size()), to = int(c.expected.size());
    auto w = PixelWriter(to, 1);
    w.Set(kSetStretchBltMode, 4);
    std::vector<std::uint8_t> bits;
    for (const int v : c.source) bits.insert(bits.end(), 3, std::uint8_t(v));
    bits.resize((bits.size() + 3) / 4 * 4, 0);
    WriteStretchDiBits(w, QRect(0, 0, to, 1), QRect(0, 0, from, 1),
                       DibParts{Info(from, 1, 24, 0), bits});
    const auto image = Play(w, to, 1, 0x0000FF);
    for (int x = 0; x < to; ++x) EXPECT_NEAR(RedOf(image->Pixel(x, 0)), c.expected[x], 2) << x;
}

INSTANTIATE_TEST_SUITE_P(Metafile, HalftoneRows,
                         ::testing::Values(HalftoneCase{"shrink_by_1_5", {0, 255, 0}, {0, 128}},
                                           HalftoneCase{"enlarge_by_1_5",
                                                        {255, 0, 255, 255},
                                                        {255, 85, 85, 255, 255, 255}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The destination is turned into whole device pixels before the picture is
// stretched onto it: logical 1 to 3 at a scale of 1.5 is device 1.5 to 4.5,
// rounded to the pixels 2, 3 and 4.
TEST(MetafileBitmaps, DestinationSnapsToWholeDevicePixels) {
    auto w = PixelWriter(8, 1);
    w.SetWorldTransform(QTransform::fromScale(1.5, 1));
    w.Set(kSetStretchBltMode, 3);
    const DibParts src{Info(2, 1, 24, 0), {0, 0, 255, 0, 0, 255, 0, 0}};
    WriteStretchDiBits(w, QRect(1, 0, 2, 1), QRect(0, 0, 2, 1), src);
    EXPECT_TRUE(Matches(*Play(w, 8, 1), {"..rrr..."}, "snapped"));
}

// Halftone enlargement interpolates: between a black and a white source
// pixel the picture ramps through greys instead of stepping.
TEST(MetafileBitmaps, HalftoneEnlargementRamps) {
    auto w = PixelWriter(8, 1);
    w.Set(kSetStretchBltMode, 4);
    const DibParts src{Info(2, 1, 24, 0), {0, 0, 0, 255, 255, 255, 0, 0}};
    WriteStretchDiBits(w, QRect(0, 0, 8, 1), QRect(0, 0, 2, 1), src);
    const auto image = Play(w, 8, 1);
    EXPECT_EQ(image->Pixel(0, 0), 0x000000u);
    EXPECT_EQ(image->Pixel(7, 0), 0xFFFFFFu);
    int previous = -1;
    for (int x = 0; x < 8; ++x) {
        const int v = RedOf(image->Pixel(x, 0));
        EXPECT_GE(v, previous) << x;
        previous = v;
    }
    EXPECT_GT(RedOf(image->Pixel(3, 0)), 20);
    EXPECT_LT(RedOf(image->Pixel(3, 0)), 235);
}

}  // namespace
}  // namespace corvan::test
