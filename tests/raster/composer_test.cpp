// The strip composer: where copies land when turned and mirrored, crop
// marks, the tile number, and strips that join without seams.
#include "raster/stripcomposer.h"

#include "support/composer_fixture.h"
#include "platform/metafile/emf_writer_records.h"
#include "platform/numbers.h"
#include "raster/cropmarkdraw.h"
#include "raster/strippipeline.h"
#include "support/metafile_fixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <set>

namespace corvan {
namespace {

constexpr Colour kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

std::unique_ptr<TemfFile> QuadrantJob(const std::string& layer) {
    auto job = std::make_unique<TemfFile>();
    job->Reset(40, 20);
    job->Layers = {layer};
    job->MediaWidth = 100;
    return job;
}

TEST(StripComposer, TurnedAndMirroredCopiesLandWherePlaced) {
    QTemporaryDir dir;
    const std::string layer = test::WriteQuadrantLayer(dir, 40, 20);
    struct Case {
        bool rotate, mirrorX, mirrorY;
        Colour topLeft, bottomLeft;
    };
    for (const Case& c :
         {Case{false, false, false, kRed, kBlue}, Case{true, false, false, kGreen, kRed},
          Case{true, true, false, kRed, kGreen}, Case{false, true, false, kGreen, 0x00FFFF},
          Case{false, false, true, kBlue, kRed}}) {
        auto job = QuadrantJob(layer);
        job->Rotate = c.rotate;
        job->MirrorX = c.mirrorX;
        job->MirrorY = c.mirrorY;
        job->ComputeLayout();
        const int w = c.rotate ? 20 : 40, h = c.rotate ? 40 : 20;
        auto strip = RenderStrip(*job, {}, {0, 0, w + 4, h + 4}, 1.0f);
        ASSERT_TRUE(strip);
        const std::string what =
            std::to_string(c.rotate) + std::to_string(c.mirrorX) + std::to_string(c.mirrorY);
        EXPECT_EQ(strip->Pixel(0, 0), c.topLeft) << what;
        EXPECT_EQ(strip->Pixel(0, h - 1), c.bottomLeft) << what;
        EXPECT_EQ(strip->Pixel(w, 0), 0xFFFFFFu) << what << ": white beside the copy";
        EXPECT_EQ(strip->Pixel(0, h), 0xFFFFFFu) << what << ": white below the copy";
    }
}

struct MarkCounts {
    int grey = 0, black = 0, white = 0, between = 0;
};

MarkCounts Count(const Bitmap24& image) {
    MarkCounts n;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const Colour c = image.Pixel(x, y);
            if (c == 0x808080)
                ++n.grey;
            else if (c == 0)
                ++n.black;
            else if (c == 0xFFFFFF)
                ++n.white;
            else
                ++n.between;
        }
    return n;
}

// Below half-size 5 (or without a picture) a grey cross of 2c pixels per
// arm pair; above 80 pixels the picture is stretched (pure black lines);
// between, it is drawn large and halved (grey levels at the line edges).
TEST(CropMarks, CrossStretchedOrSmoothedBySize) {
    const auto& corner = DefaultCropMarkCorners()[0];
    struct Case {
        int c;
        bool picture;
        bool cross, smooth;
    };
    for (const Case& k :
         {Case{4, true, true, false}, Case{1, true, true, false}, Case{12, false, true, false},
          Case{10, true, false, true}, Case{45, true, false, false}}) {
        auto canvas = Bitmap24::Create(120, 120);
        canvas->Fill(0xFFFFFF);
        DrawCropMark(
            *canvas, 60, 60,
            k.picture ? std::span<const std::uint8_t>(corner) : std::span<const std::uint8_t>(),
            k.c);
        const MarkCounts n = Count(*canvas);
        const std::string what = "half-size " + std::to_string(k.c);
        if (k.cross) {
            EXPECT_EQ(n.grey, 4 * k.c - 1) << what;
            EXPECT_EQ(canvas->Pixel(60, 60 - k.c), 0x808080u) << what;
            EXPECT_EQ(canvas->Pixel(60, 60 + k.c), 0xFFFFFFu)
                << what << ": the end point is left out";
            continue;
        }
        EXPECT_EQ(n.grey, 0) << what;
        EXPECT_GT(n.black + n.between, 0) << what;
        if (k.smooth)
            EXPECT_GT(n.between, 0) << what;
        else
            EXPECT_EQ(n.between, 0) << what;
        // The default top-left mark lies outside the job: up and to the left.
        for (int y = 61; y < 120; ++y)
            for (int x = 61; x < 120; ++x)
                ASSERT_EQ(canvas->Pixel(x, y), 0xFFFFFFu) << what << " at " << x << "," << y;
    }
}

// The leftmost inked column and the lowest inked row of the tile number in
// a strip showing only that corner.
std::pair<int, int> TileInkExtent(int tileNo) {
    test::EnsureGuiApp();
    TemfFile job;
    job.Reset(100, 60);
    job.MediaWidth = 300;
    job.TileText = true;
    job.TileNo = tileNo;
    job.TextSize = 8;
    job.ComputeLayout();
    auto strip = RenderStrip(job, {}, {0, 0, 119, 69}, 1.0f);
    int left = 1000, bottom = -1;
    for (int y = 0; y < strip->Height(); ++y)
        for (int x = 0; x < strip->Width(); ++x)
            if (strip->Pixel(x, y) == 0) {
                left = std::min(left, x);
                bottom = std::max(bottom, y);
            }
    return {left, bottom};
}

TEST(TileNumber, OneDigitStartsWhereTwoDigitsWould) {
    const auto seven = TileInkExtent(7), seventySeven = TileInkExtent(77);
    EXPECT_EQ(seven.first, seventySeven.first);
    EXPECT_LT(seven.first, 100) << "the number ends at the copy's right edge";
    EXPECT_GT(seven.first, 80);
    EXPECT_LT(seven.second, 60) << "and stands on its bottom edge";
    EXPECT_GT(seven.second, 45);
}

// The demo job with everything the composer draws, at a small scale.
std::unique_ptr<TemfFile> BusyDemoJob() {
    auto job = test::DemoJob();
    if (job->Layers.empty()) return nullptr;
    job->Copies = 3;
    job->Rotate = true;
    job->MirrorX = true;
    job->XOffset = 7;
    job->YOffset = 5;
    job->XGap = 6;
    job->YGap = 4;
    job->MediaWidth = 500;
    job->CropMarks = true;
    job->CropmarkSize = 9;
    job->CropOffset = 2;
    job->Border = true;
    job->TileText = true;
    job->ThickText = true;
    job->TileNo = 7;
    job->TextSize = 12;
    job->PrintJobText = true;
    job->JobText = "seams";
    job->PrintContours = true;
    job->ComputeLayout();
    return job;
}

// The whole output raster's size at `s` pixels per millimetre.
std::pair<int, int> RasterSize(const TemfFile& job, float s) {
    return {RoundToInt(static_cast<long double>(s) * (job.XOffset + job.MediaUsedWidth)),
            RoundToInt(static_cast<long double>(s) * (job.YOffset + job.MediaUsedHeight))};
}

TEST(StripComposer, StripsOfEveryHeightJoinWithoutSeams) {
    test::EnsureGuiApp();
    auto job = BusyDemoJob();
    if (!job) GTEST_SKIP() << "demo samples not found in " << test::SamplesDir();
    const float s = 0.75f;
    const auto [width, height] = RasterSize(*job, s);
    const auto& corners = DefaultCropMarkCorners();
    auto whole = RenderStrip(*job, corners, {0, 0, width - 1, height - 1}, s);
    ASSERT_TRUE(whole);
    ASSERT_GT(test::CountColour(*whole, 0xFF0000), 0) << "the border is drawn";
    for (int rows = 1; rows <= 97; ++rows) {
        for (int top = 0; top < height; top += rows) {
            const int bottom = std::min(height - 1, top + rows - 1);
            auto strip = RenderStrip(*job, corners, {0, top, width - 1, bottom}, s);
            ASSERT_TRUE(strip);
            for (int y = 0; y < strip->Height(); ++y) {
                if (std::memcmp(strip->Row(y), whole->Row(top + y), 3 * std::size_t(width)) != 0)
                    ADD_FAILURE() << "whole raster: " << test::DumpPng(*whole, "seams-whole");
                ASSERT_EQ(std::memcmp(strip->Row(y), whole->Row(top + y), 3 * std::size_t(width)),
                          0)
                    << "strips of " << rows << " rows differ at row " << top + y;
            }
        }
    }
}

// A window to the right of the copies: the same pixels as that part of the
// whole raster (columns join too).
// A picture drawn under a turned world transform: every strip height must
// give the rows of the whole raster (the resampler for upright pictures
// would shear it differently in each strip).
TEST(StripComposer, TurnedPicturesJoinWithoutSeams) {
    test::EnsureGuiApp();
    QTemporaryDir dir;
    emf::EmfWriter w = test::PixelWriter(60, 40);
    emf::DibParts dib;
    const int side = 6;
    // BITMAPINFOHEADER of a 24-bit bottom-up picture.
    for (std::uint32_t v :
         {40u, std::uint32_t(side), std::uint32_t(side), 1u | (24u << 16), 0u, 0u, 0u, 0u, 0u, 0u})
        for (int i = 0; i < 4; ++i) dib.info.push_back(std::uint8_t(v >> (8 * i)));
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x)
            for (std::uint8_t c : {std::uint8_t(40 * x), std::uint8_t(40 * y), std::uint8_t(200)})
                dib.bits.push_back(c);
        dib.bits.resize(dib.bits.size() + (4 - 3 * side % 4) % 4);
    }
    w.SetWorldTransform(QTransform().translate(30, 4).rotate(12));
    emf::WriteStretchDiBits(w, QRect(0, 0, 24, 30), QRect(0, 0, side, side), dib);
    const std::string layer = dir.filePath("turned.emf").toStdString();
    ASSERT_TRUE(w.Save(layer));
    auto job = QuadrantJob(layer);
    job->Reset(60, 40);
    job->Layers = {layer};
    job->ComputeLayout();
    const float s = 3.0f;
    const int width = RoundToInt(s * job->MediaUsedWidth),
              height = RoundToInt(s * job->MediaUsedHeight);
    auto whole = RenderStrip(*job, {}, {0, 0, width - 1, height - 1}, s);
    ASSERT_TRUE(whole);
    ASSERT_LT(test::CountColour(*whole, 0xFFFFFF), width * height / 2 + width * height / 3)
        << "the picture is drawn";
    for (int rows : {7, 16, 29}) {
        for (int top = 0; top < height; top += rows) {
            const int bottom = std::min(height - 1, top + rows - 1);
            auto strip = RenderStrip(*job, {}, {0, top, width - 1, bottom}, s);
            ASSERT_TRUE(strip);
            for (int y = 0; y < strip->Height(); ++y)
                ASSERT_EQ(std::memcmp(strip->Row(y), whole->Row(top + y), 3 * std::size_t(width)),
                          0)
                    << "strips of " << rows << " rows, row " << top + y;
        }
    }
}

TEST(StripComposer, SideWindowsMatchTheWholeRaster) {
    test::EnsureGuiApp();
    auto job = BusyDemoJob();
    if (!job) GTEST_SKIP() << "demo samples not found";
    const float s = 0.75f;
    auto whole = RenderStrip(*job, {}, {0, 0, 399, 299}, s);
    for (const IntRect r :
         {IntRect{37, 11, 150, 90}, IntRect{151, 11, 399, 90}, IntRect{0, 200, 399, 299}}) {
        auto part = RenderStrip(*job, {}, r, s);
        for (int y = r.top; y <= r.bottom; ++y)
            ASSERT_EQ(std::memcmp(part->Row(y - r.top), whole->Row(y) + 3 * r.left,
                                  3 * std::size_t(r.Width() + 1)),
                      0)
                << "row " << y;
    }
}

// Strips handed out by the pipeline equal the composer's own, whether they
// were drawn ahead, asked for out of sequence, or asked for again from the
// top (a second pass); a pipeline left with strips in flight stops cleanly.
TEST(StripPipeline, HandsOutTheComposersStripsWhateverTheOrder) {
    test::EnsureGuiApp();
    auto job = BusyDemoJob();
    if (!job) GTEST_SKIP() << "demo samples not found in " << test::SamplesDir();
    const float s = 0.75f;
    const auto [width, height] = RasterSize(*job, s);
    const StripComposer composer(*job, DefaultCropMarkCorners());
    const int rows = 23;
    const auto rect = [&](int top) { return IntRect{0, top, width - 1, top + rows}; };
    std::vector<int> tops;
    for (int pass = 0; pass < 2; ++pass)
        for (int top = 0; top < height; top += rows) tops.push_back(top);
    tops.insert(tops.begin() + 5, 4 * rows + 7);  // out of sequence
    for (int threads : {1, 3}) {
        SCOPED_TRACE(threads);
        StripPipeline pipeline(composer, threads, {rows, height - 1, INT_MAX});
        for (int top : tops) {
            const auto got = pipeline.Take(rect(top), s);
            const auto want = composer.Render(rect(top), s);
            ASSERT_TRUE(got && want);
            ASSERT_EQ(got->Width(), want->Width());
            ASSERT_EQ(got->Height(), want->Height());
            for (int y = 0; y < want->Height(); ++y)
                ASSERT_EQ(std::memcmp(got->Row(y), want->Row(y), 3 * std::size_t(width)), 0)
                    << "strip at " << top << ", row " << y;
        }
        StripPipeline abandoned(composer, threads, {rows, height - 1, INT_MAX});
        abandoned.Take(rect(0), s);  // leaves strips queued and drawing
    }
}

}  // namespace
}  // namespace corvan
