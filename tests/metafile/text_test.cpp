// Text records: placement by every alignment against the font's metrics,
// spacing arrays, escapement, opaque rectangles and text in path brackets.
#include "platform/metafile/emf_writer_records.h"
#include "platform/metafile/gdi_text.h"
#include "support/gui_app.h"
#include "support/metafile_fixture.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QRawFont>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace corvan::test {
namespace {

using namespace corvan::emf;

void App() {
    EnsureGuiApp();
}

struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

// Pixels at least half covered by black (antialiased) glyphs.
Ink InkOf(const Bitmap24& image) {
    Ink b;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (GreenOf(image.Pixel(x, y)) < 128) {
                b.left = std::min(b.left, x), b.right = std::max(b.right, x);
                b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
            }
    return b;
}

LogFont Arial(int height) {
    LogFont f;
    f.height = height;
    f.weight = 400;
    f.faceName = u"Arial";
    return f;
}

std::unique_ptr<Bitmap24> Render(const LogFont& font, std::uint32_t align, const QString& text,
                                 std::span<const std::int32_t> dx = {}, std::uint32_t options = 0) {
    App();
    auto w = PixelWriter(200, 120);
    w.SelectObject(WriteFont(w, font));
    w.Set(kSetTextAlign, std::int32_t(align));
    w.Set(kSetBkMode, kTransparent);
    WriteExtTextOutW(w, QPoint(100, 60), text, options, QRect(), dx);
    return Play(w, 200, 120);
}

TEST(MetafileText, ArialIsTheMetricCompatibleFace) {
    App();
    EXPECT_EQ(SubstituteFace("Arial"), "Liberation Sans");
    EXPECT_EQ(SubstituteFace("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(SubstituteFace("Courier New"), "Liberation Mono");
    EXPECT_EQ(SubstituteFace("Calibri"), "Carlito");
    EXPECT_EQ(QFontInfo(ResolveFont(Arial(-40), 40)).family(), "Liberation Sans");
}

struct AlignCase {
    const char* name;
    std::uint32_t align;
};

class Alignments : public ::testing::TestWithParam<AlignCase> {};

// "H" has flat tops and bottoms: its ink sits between the baseline and the
// cap height, so every vertical alignment can be checked to a pixel.
TEST_P(Alignments, InkFollowsTheFontMetrics) {
    const AlignCase& c = GetParam();
    const auto image = Render(Arial(-40), c.align, "H");
    const Ink ink = InkOf(*image);
    ASSERT_FALSE(ink.Empty());
    const QFontMetricsF fm(ResolveFont(Arial(-40), 40));
    const std::uint32_t v = c.align & kTaVerticalMask, h = c.align & kTaHorizontalMask;
    const double baseline = v == kTaBaseline ? 60
                            : v == kTaBottom ? 60 - fm.descent()
                                             : 60 + fm.ascent();
    EXPECT_NEAR(ink.bottom + 1, baseline, 1.5) << c.name;
    EXPECT_NEAR(ink.bottom + 1 - ink.top, fm.capHeight(), 1.5) << c.name;
    const double advance = fm.horizontalAdvance('H');
    const double start = h == kTaRight ? 100 - advance : h == kTaCenter ? 100 - advance / 2 : 100;
    EXPECT_NEAR(ink.left, start + fm.leftBearing('H'), 1.5) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Metafile, Alignments,
                         ::testing::Values(AlignCase{"left_top", 0},
                                           AlignCase{"left_baseline", kTaBaseline},
                                           AlignCase{"left_bottom", kTaBottom},
                                           AlignCase{"center_top", kTaCenter},
                                           AlignCase{"center_baseline", kTaCenter | kTaBaseline},
                                           AlignCase{"right_bottom", kTaRight | kTaBottom},
                                           AlignCase{"right_baseline", kTaRight | kTaBaseline}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MetafileText, PositiveHeightIsTheCellHeight) {
    App();
    const QFontMetricsF fm(ResolveFont(Arial(-40), 40));
    const double cell = fm.ascent() + fm.descent();
    const Ink em = InkOf(*Render(Arial(-40), kTaBaseline, "H"));
    const Ink byCell = InkOf(*Render(Arial(int(std::lround(cell))), kTaBaseline, "H"));
    EXPECT_NEAR(byCell.bottom - byCell.top, em.bottom - em.top, 1.5);
}

TEST(MetafileText, SpacingArrayPlacesEveryCharacter) {
    const std::int32_t dx[] = {50, 10};
    const Ink both = InkOf(*Render(Arial(-40), kTaBaseline, "II", dx));
    const Ink one = InkOf(*Render(Arial(-40), kTaBaseline, "I"));
    EXPECT_EQ(both.left, one.left);
    EXPECT_EQ(both.right, one.right + 50);
}

// A spacing array may stack characters on one another (a narrow font that is
// missing and replaced by a wider one); where they overlap they stay inked.
TEST(MetafileText, StackedCharactersStayInked) {
    auto inked = [](const QString& text) {
        const std::int32_t dx[] = {0, 0};
        const auto image = Render(Arial(-40), kTaBaseline, text, dx);
        int n = 0;
        for (int y = 0; y < image->Height(); ++y)
            for (int x = 0; x < image->Width(); ++x) n += GreenOf(image->Pixel(x, y)) < 128;
        return n;
    };
    for (const char* pair : {"om", "mo", "eS"})
        EXPECT_GE(inked(pair), inked(QString(pair).left(1))) << pair;
}

TEST(MetafileText, SpacingPairsMoveVertically) {
    const std::int32_t dxy[] = {0, 30, 0, 0};
    const Ink both = InkOf(*Render(Arial(-40), kTaBaseline, "II", dxy, kEtoPdy));
    const Ink one = InkOf(*Render(Arial(-40), kTaBaseline, "I"));
    EXPECT_EQ(both.top, one.top - 30);  // y advances run up the page
    EXPECT_EQ(both.left, one.left);
}

TEST(MetafileText, EscapementRotatesCounterClockwise) {
    LogFont f = Arial(-20);
    f.escapement = f.orientation = 900;  // writers set both alike
    const Ink ink = InkOf(*Render(f, kTaBaseline, "HHHH"));
    ASSERT_FALSE(ink.Empty());
    EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
    EXPECT_LE(ink.bottom, 60);  // the text runs up from the reference point
    EXPECT_LE(ink.right, 100);  // and its glyphs stand left of it
}

TEST(MetafileText, OpaqueRectangleTakesTheBackgroundColour) {
    App();
    auto w = PixelWriter(40, 20);
    w.SelectObject(WriteFont(w, Arial(-10)));
    w.Set(kSetBkColor, 0x0000FF);
    WriteExtTextOutW(w, QPoint(5, 5), "x", kEtoOpaque, QRect(0, 0, 40, 20));
    EXPECT_GT(CountColour(*Play(w, 40, 20), 0x0000FF), 600);
}

TEST(MetafileText, TextInPathIsFilledWithTheBrush) {
    App();
    auto w = PixelWriter(200, 120);
    w.SelectObject(WriteFont(w, Arial(-60)));
    w.SelectObject(w.CreateBrush(kBsSolid, 0x0000FF));
    w.SelectStock(kNullPen);
    w.Plain(kBeginPath);
    WriteExtTextOutW(w, QPoint(20, 20), "HI");
    w.Plain(kEndPath);
    w.Plain(kFillPath);
    const auto image = Play(w, 200, 120);
    EXPECT_GT(CountColour(*image, 0x0000FF), 300);
    EXPECT_EQ(CountColour(*image, 0x000000), 0);
}

// Text is grey-antialiased unless the font asks for plain pixels.
TEST(MetafileText, QualityDecidesAntialiasing) {
    for (const std::uint8_t quality : {0, 3}) {
        emf::LogFont f = Arial(-30);
        f.quality = quality;
        const auto image = Render(f, emf::kTaBaseline, "Sow");
        const int w = image->Width() * image->Height();
        const int plain = CountColour(*image, 0) + CountColour(*image, 0xFFFFFF);
        if (quality == 3)
            EXPECT_EQ(plain, w);
        else
            EXPECT_LT(plain, w);
    }
}

struct GaspCase {
    const char* name;
    const char16_t* face;
    int height;    // logical
    double scale;  // of the world transform
    bool smooth;
    double down = 0;  // the transform's own scale down, when not `scale`
    std::uint32_t mode = kAdvanced;
};

class GaspSizes : public ::testing::TestWithParam<GaspCase> {};

// The font's grid-fitting table decides smoothing by the size the font is
// fitted at: the Liberation faces ask for plain pixels from 9 (Sans) or 11
// (Serif) to 17 pixels per em, Carlito for smoothing at every size. That
// size is the one on the device when the mapping scales both axes alike or
// the text is in the compatible mode (by the mapping's height), else the
// logical one.
TEST_P(GaspSizes, DecideSmoothingBySizeOnTheDevice) {
    const GaspCase& c = GetParam();
    App();
    auto w = PixelWriter(200, 120);
    const double down = c.down > 0 ? c.down : c.scale;
    w.SetWorldTransform(QTransform::fromScale(c.scale, down));
    emf::LogFont f = Arial(c.height);
    f.faceName = c.face;
    w.SelectObject(WriteFont(w, f));
    w.Set(kSetBkMode, kTransparent);
    WriteExtTextOutW(w, QPoint(int(20 / c.scale), int(60 / down)), "Sow Mw", 0, QRect(), {},
                     c.mode);
    const auto image = Play(w, 200, 120);
    const int all = image->Width() * image->Height();
    const int plain = CountColour(*image, 0) + CountColour(*image, 0xFFFFFF);
    ASSERT_GT(CountColour(*image, 0) + (all - plain), 0) << c.name << ": nothing drawn";
    if (c.smooth)
        EXPECT_LT(plain, all) << c.name;
    else
        EXPECT_EQ(plain, all) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, GaspSizes,
    ::testing::Values(
        GaspCase{"sans_8px_smooth", u"Arial", -8, 1, true},
        GaspCase{"sans_12px_plain", u"Arial", -12, 1, false},
        GaspCase{"sans_17px_plain", u"Arial", -17, 1, false},
        GaspCase{"sans_30px_smooth", u"Arial", -30, 1, true},
        GaspCase{"sans_6_units_at_2x_plain", u"Arial", -6, 2, false},
        GaspCase{"mono_14px_plain", u"Courier New", -14, 1, false},
        GaspCase{"carlito_12px_smooth", u"Calibri", -12, 1, true},
        GaspCase{"compatible_by_height_8px_smooth", u"Arial", -18, 1.7, true, 0.45, kCompatible},
        GaspCase{"other_mapping_logical_30px_smooth", u"Arial", -30, 0.5, true, 0.5001}),
    [](const auto& info) { return std::string(info.param.name); });

// With update-current-position the reference point is ignored: text starts at
// the current position and leaves it at the end of the run.
TEST(MetafileText, UpdateCurrentPositionChainsRuns) {
    EnsureGuiApp();
    auto render = [](int runs) {
        auto w = PixelWriter(200, 120);
        w.SelectObject(emf::WriteFont(w, Arial(-40)));
        w.Set(emf::kSetTextAlign, std::int32_t(emf::kTaUpdateCp | emf::kTaBaseline));
        w.MoveTo(QPoint(20, 60));
        for (int i = 0; i < runs; ++i) emf::WriteExtTextOutW(w, QPoint(150, 10), "H");
        return InkOf(*Play(w, 200, 120));
    };
    const Ink one = render(1), two = render(2);
    const double advance = QFontMetricsF(emf::ResolveFont(Arial(-40), 40)).horizontalAdvance('H');
    EXPECT_NEAR(one.left, 20 + QFontMetricsF(emf::ResolveFont(Arial(-40), 40)).leftBearing('H'),
                1.5);
    EXPECT_NEAR(two.right - one.right, advance, 1.5);
    EXPECT_EQ(two.bottom, one.bottom);
}

// Vertical spacing pairs move the current position too: the next run starts
// as high as the last character ended.
TEST(MetafileText, UpdateCurrentPositionKeepsTheRise) {
    EnsureGuiApp();
    auto render = [](std::span<const std::int32_t> dxy) {
        auto w = PixelWriter(200, 120);
        w.SelectObject(emf::WriteFont(w, Arial(-40)));
        w.Set(emf::kSetTextAlign, std::int32_t(emf::kTaUpdateCp | emf::kTaBaseline));
        w.MoveTo(QPoint(20, 80));
        emf::WriteExtTextOutW(w, QPoint(150, 10), "I", emf::kEtoPdy, QRect(), dxy);
        emf::WriteExtTextOutW(w, QPoint(150, 10), "I");
        return InkOf(*Play(w, 200, 120));
    };
    const std::int32_t flat[] = {40, 0}, rising[] = {40, 30};
    EXPECT_EQ(render(rising).top, render(flat).top - 30);
}

// Every text record form draws what EXTTEXTOUTW draws for the same string.
struct FormCase {
    const char* name;
    std::function<void(EmfWriter&)> write;  // "HH" at (100, 60)
};

class TextForms : public ::testing::TestWithParam<FormCase> {};

std::unique_ptr<Bitmap24> RenderWith(const std::function<void(EmfWriter&)>& write,
                                     int height = -20) {
    App();
    auto w = PixelWriter(200, 120);
    w.SelectObject(WriteFont(w, Arial(height)));
    w.Set(kSetBkMode, kTransparent);
    write(w);
    return Play(w, 200, 120);
}

// Antialiased glyphs: the pictures must agree pixel for pixel.
int PixelsApart(const Bitmap24& a, const Bitmap24& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
    return n;
}

TEST_P(TextForms, DrawAsExtTextOut) {
    const auto expected = RenderWith([](EmfWriter& w) { WriteExtTextOutW(w, {100, 60}, "HH"); });
    ASSERT_FALSE(InkOf(*expected).Empty());
    const auto actual = RenderWith(GetParam().write);
    EXPECT_EQ(PixelsApart(*actual, *expected), 0) << DumpPng(*actual, GetParam().name);
}

quint32 GlyphOfH() {
    const QRawFont raw = QRawFont::fromFont(ResolveFont(Arial(-20), 256));
    const auto glyphs = raw.glyphIndexesForString("H");
    return glyphs.isEmpty() ? 0 : glyphs.first();
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, TextForms,
    ::testing::Values(FormCase{"polytextoutw",
                               [](EmfWriter& w) {
                                   const TextItem one[] = {{{100, 60}, "HH", 0, {}}};
                                   WritePolyTextOut(w, true, one);
                               }},
                      FormCase{"polytextouta",
                               [](EmfWriter& w) {
                                   const TextItem one[] = {{{100, 60}, "HH", 0, {}}};
                                   WritePolyTextOut(w, false, one);
                               }},
                      FormCase{"smalltextout_wide",
                               [](EmfWriter& w) {
                                   WriteSmallTextOut(w, {{100, 60}, "HH", 0x100, {}});
                               }},
                      FormCase{"smalltextout_8bit",
                               [](EmfWriter& w) {
                                   WriteSmallTextOut(w, {{100, 60}, "HH", 0x100 | 0x200, {}});
                               }},
                      FormCase{"glyph_indices",
                               [](EmfWriter& w) {
                                   const QChar g{char16_t(GlyphOfH())};
                                   WriteExtTextOutW(w, {100, 60}, QString(2, g), kEtoGlyphIndex);
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MetafileText, PolyTextOutDrawsEveryString) {
    const auto image = RenderWith([](EmfWriter& w) {
        const TextItem items[] = {{{20, 40}, "H", 0, {}}, {{150, 100}, "H", 0, {}}};
        WritePolyTextOut(w, true, items);
    });
    const Ink ink = InkOf(*image);
    ASSERT_FALSE(ink.Empty());
    EXPECT_LT(ink.left, 30);
    EXPECT_GT(ink.right, 150);
    EXPECT_LT(ink.top, 50);
    EXPECT_GT(ink.bottom, 100);
}

// Smoothed (20 px) and plain-pixel (14 px) letters alike.
TEST(MetafileText, ClippedOptionKeepsInkInsideTheRectangle) {
    const QRect clip(95, 30, 20, 40);
    for (const int height : {-20, -14}) {
        const auto image = RenderWith(
            [&](EmfWriter& w) {
                WriteExtTextOutW(w, {100, 60}, "HHHH", kEtoClipped, clip);
            },
            height);
        const Ink ink = InkOf(*image);
        ASSERT_FALSE(ink.Empty()) << height;
        EXPECT_GE(ink.left, clip.left()) << height;
        EXPECT_LE(ink.right, clip.right()) << height;
        EXPECT_GT(InkOf(*RenderWith(
                            [](EmfWriter& w) {
                                WriteExtTextOutW(w, {100, 60}, "HHHH");
                            },
                            height))
                      .right,
                  clip.right() + 20)
            << height;
    }
}

// The opaque background mode paints the character cells (advance by ascent
// plus descent) in the background colour; the transparent mode leaves them.
TEST(MetafileText, OpaqueModePaintsTheCells) {
    for (const std::uint32_t mode : {kOpaque, kTransparent}) {
        App();
        auto w = PixelWriter(200, 120);
        w.SelectObject(WriteFont(w, Arial(-20)));
        w.Set(kSetBkColor, 0x00FF00);
        w.Set(kSetBkMode, std::int32_t(mode));
        WriteExtTextOutW(w, {100, 60}, "HH");
        const auto image = Play(w, 200, 120);
        const QFontMetricsF fm(ResolveFont(Arial(-20), 20));
        const int cells = CountColour(*image, 0x00FF00);
        if (mode == kTransparent) {
            EXPECT_EQ(cells, 0);
            continue;
        }
        const double box = 2 * fm.horizontalAdvance('H') * (fm.ascent() + fm.descent());
        EXPECT_FALSE(InkOf(*image).Empty());
        // The cells minus the glyphs' own pixels.
        EXPECT_GT(cells, box * 0.6);
        EXPECT_LT(cells, box * 1.1);
        EXPECT_EQ(GreenOf(image->Pixel(100, 60 - int(fm.ascent()) + 1)), 255u);
    }
}

// A tall narrow glyph turned by the orientation lies flat in the advanced
// mode; the compatible mode turns glyphs by the escapement only.
TEST(MetafileText, OrientationTurnsGlyphsInTheAdvancedMode) {
    for (const std::uint32_t mode : {kAdvanced, kCompatible}) {
        LogFont f = Arial(-40);
        f.orientation = 900;
        const Ink ink = InkOf(*RenderWith([&](EmfWriter& w) {
            w.SelectObject(WriteFont(w, f));
            WriteExtTextOutW(w, {100, 60}, "l", 0, {}, {}, mode);
        }));
        ASSERT_FALSE(ink.Empty());
        const int wide = ink.right - ink.left, tall = ink.bottom - ink.top;
        if (mode == kAdvanced)
            EXPECT_GT(wide, 3 * tall) << "flat";
        else
            EXPECT_GT(tall, 3 * wide) << "upright";
    }
}

// Text is grid-fitted and placed on whole device pixels, plain or smoothed:
// a letter looks the same wherever it lands, with no stem broken, doubled or
// greyed by a fractional position. 12 units at 1.13 (13.56 pixels to the em)
// the font draws with plain pixels, 30 units smoothed.
TEST(MetafileText, TextIsTheSameWhereverItLands) {
    EnsureGuiApp();
    for (const int height : {-12, -30}) {
        std::set<std::map<Colour, int>> looks;
        for (int eighth = 0; eighth < 8; ++eighth) {
            auto w = PixelWriter(200, 120);
            w.SetWorldTransform(QTransform::fromScale(1.13, 1.13).translate(eighth / 8.0, 0));
            w.SelectObject(emf::WriteFont(w, Arial(height)));
            w.Set(emf::kSetBkMode, emf::kTransparent);
            emf::WriteExtTextOutW(w, QPoint(20, 50), "H");
            const auto image = Play(w, 200, 120);
            std::map<Colour, int> colours;
            for (int y = 0; y < image->Height(); ++y)
                for (int x = 0; x < image->Width(); ++x) ++colours[image->Pixel(x, y)];
            looks.insert(colours);
        }
        EXPECT_EQ(looks.size(), 1u) << height << ": the letter changed with its position";
        EXPECT_GT(looks.begin()->at(0), 20) << height;
    }
}

// One run of `text` in `font` on a 200 x 120 picture, standing on the
// baseline at device (20, y), through a world transform scaling by `sx` and
// `sy`, recorded in `mode`.
std::unique_ptr<Bitmap24> RunAt(const emf::LogFont& font, const QString& text, double sx = 1,
                                double sy = 1, int y = 80, std::uint32_t mode = emf::kAdvanced) {
    auto w = PixelWriter(200, 120);
    w.SetWorldTransform(QTransform::fromScale(sx, sy));
    w.SelectObject(emf::WriteFont(w, font));
    w.Set(emf::kSetTextAlign, emf::kTaBaseline);
    w.Set(emf::kSetBkMode, emf::kTransparent);
    emf::WriteExtTextOutW(w, QPoint(int(20 / sx), int(y / sy)), text, 0, QRect(), {}, mode);
    return Play(w, 200, 120);
}

// The picture of "H" drawn `height` units tall.
std::unique_ptr<Bitmap24> Letter(double sx, double sy, int height,
                                 std::uint32_t mode = emf::kAdvanced) {
    return RunAt(Arial(height), "H", sx, sy, 80, mode);
}

// A mapping that scales both axes alike scales the font, which is fitted at
// its size on the device; any other mapping (here twice across, a hair more
// than twice down) leaves the font fitted at its logical size, 9 pixels, and
// scales the fitted letter: it is the 9-pixel letter twice over. Magnified
// more than three times, letters are fitted on the device again rather than
// turning into blocks of pixels: six times (and a hair) is the 54-pixel letter.
TEST(MetafileText, AnyOtherMappingScalesTheLogicalGlyphs) {
    EnsureGuiApp();
    const auto height = [](const Ink& ink) { return ink.bottom - ink.top + 1; };
    const Ink small = InkOf(*Letter(1, 1, -9)), big = InkOf(*Letter(1, 1, -18));
    const Ink alike = InkOf(*Letter(2, 2, -9)), other = InkOf(*Letter(2, 2.001, -9));
    EXPECT_EQ(height(alike), height(big));
    EXPECT_EQ(height(other), 2 * height(small));
    const Ink huge = InkOf(*Letter(1, 1, -54)), magnified = InkOf(*Letter(6, 6.001, -9));
    EXPECT_NEAR(height(magnified), height(huge), 1);
    EXPECT_NE(height(magnified), 6 * height(small));
}

// In the compatible mode the font is scaled by the mapping's height only and
// glyphs are never stretched across: twice as wide a mapping leaves the
// letter as wide as it is unmapped (as the system documents: only the height
// of the text is scaled).
TEST(MetafileText, CompatibleModeNeverStretchesGlyphs) {
    EnsureGuiApp();
    const Ink plain = InkOf(*Letter(1, 1, -30, emf::kCompatible));
    const Ink wide = InkOf(*Letter(2, 1, -30, emf::kCompatible));
    EXPECT_EQ(wide.right - wide.left, plain.right - plain.left);
    EXPECT_EQ(wide.bottom - wide.top, plain.bottom - plain.top);
    // Without a spacing array the font's own advances are not stretched either:
    // the run is as long as it is unmapped, with no gaps between the letters.
    const Ink run = InkOf(*RunAt(Arial(-30), "HHH", 1, 1, 80, emf::kCompatible));
    const Ink wideRun = InkOf(*RunAt(Arial(-30), "HHH", 2, 1, 80, emf::kCompatible));
    EXPECT_NEAR(wideRun.right - wideRun.left, run.right - run.left, 1);
}

struct RampCase {
    const char* name;
    Colour text, ground;
    std::set<int> greys;  // every grey an edge may show, ends included
};

class GreyRamp : public ::testing::TestWithParam<RampCase> {};

// Smoothed glyph edges take 17 coverage levels through the system's contrast
// ramp rather than a linear blend: black on white gives the ramp's own greys
// (lighter than linear), the faintest level leaves the ground alone, and a
// grey ground scales the ramp towards the text.
TEST_P(GreyRamp, SmoothedEdgesTakeTheRampGreys) {
    const RampCase& c = GetParam();
    App();
    auto w = PixelWriter(200, 120);
    w.SelectObject(emf::WriteFont(w, Arial(-40)));
    w.Set(emf::kSetBkMode, emf::kTransparent);
    w.Set(emf::kSetTextColor, std::int32_t(c.text));
    emf::WriteExtTextOutW(w, QPoint(10, 80), "Sow Mg");
    const auto image = Play(w, 200, 120, c.ground);
    std::set<int> seen;
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x) {
            const Colour p = image->Pixel(x, y);
            ASSERT_TRUE(RedOf(p) == GreenOf(p) && GreenOf(p) == BlueOf(p)) << c.name;
            seen.insert(RedOf(p));
        }
    EXPECT_TRUE(std::includes(c.greys.begin(), c.greys.end(), seen.begin(), seen.end()))
        << c.name << ": a grey off the ramp";
    EXPECT_GE(seen.size(), 10u) << c.name << ": too few levels";
}

INSTANTIATE_TEST_SUITE_P(
    Metafile, GreyRamp,
    ::testing::Values(
        RampCase{"black_on_white",
                 0x000000,
                 0xFFFFFF,
                 {0, 77, 104, 124, 140, 154, 167, 178, 189, 199, 208, 217, 225, 233, 240, 255}},
        RampCase{"white_on_black",
                 0xFFFFFF,
                 0x000000,
                 {0, 104, 124, 140, 154, 167, 178, 189, 199, 208, 217, 225, 233, 240, 248, 255}},
        RampCase{"black_on_grey",
                 0x000000,
                 0x808080,
                 {0, 38, 52, 62, 70, 77, 83, 89, 94, 99, 104, 108, 112, 116, 120, 128}}),
    [](const auto& info) { return std::string(info.param.name); });

// Plain-pixel text is fitted at a whole number of pixels per em, the size on
// the device truncated: 12 units at 1.13 (13.56 pixels) draw the glyphs of a
// 13-pixel font. What the mapping does beyond its scale stretches the fitted
// glyphs: half as wide again across, the letters are half as wide again.
TEST(MetafileText, PlainPixelTextIsFittedAtWholePixels) {
    EnsureGuiApp();
    const auto draw = [](double sx, double sy, int height) {
        return RunAt(Arial(height), "EH", sx, sy, 60);
    };
    const auto scaled = draw(1.13, 1.13, -12);
    const auto whole = draw(1, 1, -13);
    EXPECT_EQ(CountColour(*scaled, 0), CountColour(*whole, 0));
    const Ink a = InkOf(*scaled), b = InkOf(*whole);
    EXPECT_EQ(a.bottom - a.top, b.bottom - b.top);
    EXPECT_EQ(a.right - a.left, b.right - b.left);

    // A giant plain-pixel letter is drawn all the same: the stem of an H
    // 6000 pixels tall covers the whole picture.
    auto w = PixelWriter(100, 100);
    emf::LogFont giant = Arial(-6000);
    giant.quality = 3;
    w.SelectObject(emf::WriteFont(w, giant));
    w.Set(emf::kSetTextAlign, emf::kTaBaseline);
    w.Set(emf::kSetBkMode, emf::kTransparent);
    emf::WriteExtTextOutW(w, QPoint(-500, 3000), "H");
    EXPECT_EQ(CountColour(*Play(w, 100, 100), 0), 100 * 100);

    const auto wide = draw(1.5, 1, -13);
    const Ink c = InkOf(*wide);
    EXPECT_EQ(c.bottom - c.top, b.bottom - b.top);
    EXPECT_NEAR(c.right - c.left, 1.5 * (b.right - b.left), 2);
}

// Underline and strike-out bars are solid, in the text colour, across the
// run, for smoothed (30 px) and plain-pixel (14 px) letters alike: below the
// baseline for the underline, above it for the strike-out, which crosses the
// gap between the letters.
TEST(MetafileText, DecorationsCrossTheRun) {
    App();
    for (const int height : {-30, -14}) {
        const auto draw = [&](bool underline, bool strikeOut) {
            emf::LogFont f = Arial(height);
            f.underline = underline;
            f.strikeOut = strikeOut;
            return RunAt(f, "H H", 1, 1, 60);
        };
        const auto plain = draw(false, false);
        const Ink ink = InkOf(*plain);
        // The rows where the barred picture has black the plain one lacks.
        const auto barRows = [&](const Bitmap24& barred) {
            std::set<int> rows;
            for (int y = 0; y < barred.Height(); ++y)
                for (int x = 0; x < barred.Width(); ++x)
                    if (barred.Pixel(x, y) == 0 && plain->Pixel(x, y) != 0) rows.insert(y);
            return rows;
        };
        const auto underlined = draw(true, false), struck = draw(false, true);
        const std::set<int> under = barRows(*underlined), through = barRows(*struck);
        ASSERT_FALSE(under.empty()) << height;
        ASSERT_FALSE(through.empty()) << height;
        EXPECT_GE(*under.begin(), 60) << height;  // row 60 lies just below the baseline
        EXPECT_LT(*through.rbegin(), 60) << height;
        const Ink bar = InkOf(*underlined);
        EXPECT_GE(bar.right - bar.left, ink.right - ink.left) << height;
        const int row = *through.begin();
        for (int x = ink.left; x <= ink.right; ++x)
            EXPECT_EQ(struck->Pixel(x, row), 0u) << height << " at " << x;
    }
}

}  // namespace
}  // namespace corvan::test
