// The job views drawn from the cached preview: its size and the four ways
// it is rendered, the scene fit, the copy pictures, and what each view
// shows of a job that fits, does not fit, or has no device to show.
#include "display/jobviews.h"
#include "display/previewbuild.h"

#include "raster/emfdoc.h"
#include "support/composer_fixture.h"
#include "support/gui_app.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstring>

namespace corvan {
namespace {

constexpr Colour kRed = 0x0000FF, kYellow = 0x00FFFF, kGreen = 0x00FF00;

// A page of coloured quadrants (top-left red, bottom-right yellow).
struct QuadrantJob {
    QuadrantJob(int w = 200, int h = 100) {
        test::EnsureGuiApp();
        job.Reset(static_cast<float>(w), static_cast<float>(h));
        job.Layers = {test::WriteQuadrantLayer(dir, w, h)};
        job.ComputeLayout();
    }
    QTemporaryDir dir;
    TemfFile job;
};

int CountColour(const Bitmap24& b, Colour c, const QRect& area) {
    int n = 0;
    for (int y = std::max(0, area.top()); y <= std::min(b.Height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(b.Width() - 1, area.right()); ++x)
            n += b.Pixel(x, y) == c;
    return n;
}

TEST(JobPreview, SizeIsFittedNeverEnlargedAndBoundedByMaxPreview) {
    const struct {
        float w, h;
        int box, wantW, wantH;
    } cases[] = {{2000, 1000, 900, 900, 450}, {5, 5, 900, 500, 500}, {300, 200, 5000, 5000, 3333}};
    for (const auto& c : cases) {
        const FittedSize s = PreviewSize(c.w, c.h, c.box);
        EXPECT_EQ(s.width, c.wantW) << c.w;
        EXPECT_EQ(s.height, c.wantH) << c.w;
    }
}

TEST(JobPreview, DraftCutAndRasterRenderings) {
    QuadrantJob q;
    ViewFlags flags;
    PreviewInput in = SnapshotPreview(q.job, flags, 400, nullptr);

    in.DraftView = true;
    auto draft = BuildPreview(in);
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->Width(), 300);
    EXPECT_EQ(draft->Height(), 150);
    EXPECT_GE(CountColour(*draft, 0x808080, QRect(150, 70, 1, 10)), 1)
        << "the diagonals cross in the middle";
    EXPECT_EQ(draft->Pixel(290, 20), 0xFFFFFFu);

    in.DraftView = false;
    auto art = BuildPreview(in);
    ASSERT_TRUE(art);
    EXPECT_EQ(art->Width(), 400);
    EXPECT_EQ(art->Pixel(50, 25), kRed);
    EXPECT_EQ(art->Pixel(350, 150), kYellow);

    // Cut view on a contour job cutting red fills: only the red quadrant, on white.
    in.ContourCut = true;
    in.CutView = true;
    in.RasterView = false;
    in.MatchMask = 2;
    in.MatchColor = kRed;
    auto cut = BuildPreview(in);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->Pixel(50, 25), kRed);
    EXPECT_EQ(cut->Pixel(350, 150), 0xFFFFFFu);
    // With the raster: the cut shape in black over the faded artwork.
    in.RasterView = true;
    auto raster = BuildPreview(in);
    ASSERT_TRUE(raster);
    EXPECT_EQ(raster->Pixel(50, 25), 0u);
    const Colour faded = raster->Pixel(350, 150);
    EXPECT_NE(faded, kYellow);
    EXPECT_GT(BlueOf(faded), 0) << "faded towards white";

    in.MaxPreview = 0;
    EXPECT_FALSE(BuildPreview(in)) << "below one pixel there is no picture";
}

TEST(JobPreview, BuilderDeliversOnlyTheLatestBuildAndCancelsStaleOnes) {
    QuadrantJob q;
    QObject context;
    int ready = 0;
    PreviewBuilder builder(&context, [&ready] { ++ready; });
    PreviewInput in = SnapshotPreview(q.job, ViewFlags{}, 600, nullptr);
    builder.Start(in);
    in.MaxPreview = 300;
    builder.Start(in);
    EXPECT_EQ(builder.Builds(), 2);
    QElapsedTimer t;
    t.start();
    while (ready == 0 && t.elapsed() < 10000) QCoreApplication::processEvents();
    ASSERT_EQ(ready, 1);
    auto picture = builder.Take();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 300) << "the first build was abandoned";
    QCoreApplication::processEvents();
    EXPECT_EQ(ready, 1);

    // Waiting hands the picture over without the notice.
    builder.Start(in);
    EXPECT_TRUE(builder.Pending());
    auto waited = builder.Wait();
    ASSERT_TRUE(waited);
    EXPECT_FALSE(builder.Pending());
    QCoreApplication::processEvents();
    EXPECT_EQ(ready, 1);
}

TEST(JobPreview, CancelledRenderStopsAndGivesNothing) {
    QuadrantJob q;
    std::atomic<bool> cancel{true};
    TemfDoc doc;
    doc.ImageWidth = doc.ImageHeight = 50;
    doc.PlayRect = {0, 0, 50, 50};
    doc.BackColor = 0xFFFFFF;
    doc.LayerFiles = q.job.Layers;
    doc.Preview.DrawUnmatched = true;
    doc.Preview.Cancel = &cancel;
    auto image = doc.Render();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixel(10, 10), 0xFFFFFFu) << "no record was played";
    PreviewInput in = SnapshotPreview(q.job, ViewFlags{}, 100, nullptr);
    in.ContourCut = in.CutView = in.RasterView = true;
    EXPECT_FALSE(BuildPreview(in, &cancel));
}

TEST(SceneFitting, MarginsCentringZoomAndRulerScale) {
    const SceneFit f = FitScene(200, 100, 440, 400);
    ASSERT_TRUE(f.valid);
    EXPECT_FLOAT_EQ(f.s, 2.0f);
    EXPECT_EQ(f.x0, 20);
    EXPECT_EQ(f.y0, (400 - 40 - 200) / 2 + 20);
    EXPECT_EQ(f.RulerScale(), 53);  // 2 px/mm is 53 % of 96 px/in
    EXPECT_FALSE(FitScene(0, 100, 440, 400).valid);
    const SceneFit z = ZoomScene(f, 4, 120, 140);
    EXPECT_FLOAT_EQ(z.s, 8.0f);
    // The scene point under the anchor stays there.
    EXPECT_NEAR((120 - f.x0) / f.s, (120 - z.x0) / z.s, 0.2);
    EXPECT_NEAR((140 - f.y0) / f.s, (140 - z.y0) / z.s, 0.2);
}

TEST(CopyPictures, CroppedTurnedAndBoundedToAMillionPixels) {
    QuadrantJob q;
    auto preview = BuildPreview(SnapshotPreview(q.job, ViewFlags{}, 400, nullptr));
    ASSERT_TRUE(preview);
    EXPECT_FALSE(CroppedPreview(preview.get(), q.job, 0, 10));
    EXPECT_FALSE(CroppedPreview(preview.get(), q.job, 1000, 1000));
    EXPECT_FALSE(CroppedPreview(nullptr, q.job, 10, 10));
    // The right half of the page, turned a quarter: 51 x 101 becomes 101 x 51.
    q.job.CropLeft = 100;
    q.job.Rotate = true;
    auto turned = CroppedPreview(preview.get(), q.job, 50, 100);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->Width(), 101);
    EXPECT_EQ(turned->Height(), 51);
    int green = 0, yellow = 0, red = 0;
    for (int y = 0; y < 51; ++y)
        for (int x = 0; x < 101; ++x) {
            const Colour c = turned->Pixel(x, y);
            green += c == kGreen;
            yellow += c == kYellow;
            red += c == kRed;
        }
    EXPECT_GT(green, 1500);
    EXPECT_GT(yellow, 1500);
    EXPECT_EQ(red, 0) << "the left half is cropped away";
}

class Views : public ::testing::Test {
protected:
    Views() {
        device.MediaWidth = 1000;
        device.PrintableWidth = 1000;
        q.job.MediaWidth = 1000;
        q.job.ComputeLayout();
        preview = BuildPreview(SnapshotPreview(q.job, ViewFlags{}, 400, nullptr));
    }
    std::unique_ptr<Bitmap24> Paint(int mode, bool draft = false, ViewPictures* cache = nullptr) {
        auto canvas = Bitmap24::Create(800, 600);
        ViewScene v;
        v.cache = cache;
        v.job = &q.job;
        v.device = &device;
        v.preview = preview.get();
        v.flags.ViewMode = mode;
        v.flags.DraftView = draft;
        const QSizeF scene = SceneSize(q.job, device, mode);
        fit = FitScene(static_cast<float>(scene.width()), static_cast<float>(scene.height()), 800,
                       600);
        PaintJobView(*canvas, v, fit);
        return canvas;
    }
    QRect CopyPixels(float x1, float y1, float x2, float y2) const {
        return {QPoint(fit.X(x1), fit.Y(y1)), QPoint(fit.X(x2) - 1, fit.Y(y2) - 1)};
    }
    static bool AllBackground(const Bitmap24& b) {
        return CountColour(b, 0xDCDCDC, QRect(0, 0, b.Width(), b.Height())) ==
               b.Width() * b.Height();
    }
    QuadrantJob q;
    TemfPlotter device;
    std::unique_ptr<Bitmap24> preview;
    SceneFit fit;
};

TEST_F(Views, NoMediaWidthOrPrintableWidthShowsNothing) {
    device.MediaWidth = 0;
    EXPECT_TRUE(AllBackground(*Paint(ViewFlags::Layout)));
    device.MediaWidth = 1000;
    device.PrintableWidth = 0;
    EXPECT_TRUE(AllBackground(*Paint(ViewFlags::Printer)));
    EXPECT_FALSE(AllBackground(*Paint(ViewFlags::Artwork)));
}

TEST_F(Views, LayoutPlacesTheCopyPictureAtItsOffset) {
    auto canvas = Paint(ViewFlags::Layout);
    float x1, y1, x2, y2;
    q.job.GetCopyRect(1, x1, y1, x2, y2);
    const QRect copy = CopyPixels(x1, y1, x2, y2);
    const QRect topLeft(copy.topLeft() + QPoint(2, 2), copy.size() / 3);
    EXPECT_GT(CountColour(*canvas, kRed, topLeft), topLeft.width() * topLeft.height() / 2);
}

TEST_F(Views, FromTheFrontTheJobsTopLeftIsAtTheCopysBottomRight) {
    auto canvas = Paint(ViewFlags::Printer);
    float x1, y1, x2, y2;
    q.job.GetCopyRect(1, x1, y1, x2, y2);
    const PrinterFrame fr = PrinterFrameFor(q.job, device);
    const float ox = fr.mediaRight - q.job.XOffset, oy = fr.sceneHeight - q.job.YOffset;
    const QRect copy = CopyPixels(ox - x2, oy - y2, ox - x1, oy - y1);
    ASSERT_GT(copy.width(), 20);
    const QRect corner(copy.bottomRight() - QPoint(copy.width() / 4, copy.height() / 4),
                       copy.bottomRight() - QPoint(2, 2));
    EXPECT_GT(CountColour(*canvas, kRed, corner), corner.width() * corner.height() / 2);
}

TEST_F(Views, AJobThatDoesNotFitIsMarkedInEveryView) {
    q.job.XOffset = 900;
    q.job.ComputeLayout();
    ASSERT_FALSE(q.job.FitsMedia);
    const QRect all(0, 0, 800, 600);
    EXPECT_GT(CountColour(*Paint(ViewFlags::Layout, true), 0x0000FF, all), 50)
        << "red outlines in draft view";
    // Faded copies ANDed onto the white media: the red quadrant stays reddish.
    auto layout = Paint(ViewFlags::Layout);
    EXPECT_EQ(CountColour(*layout, kRed, all), 0);
    // Hatched copies in black from the front.
    EXPECT_GT(CountColour(*Paint(ViewFlags::Printer), 0, all), 200);
}

TEST_F(Views, ScaledPicturesAreKeptUntilTheirSourceOrShapeChanges) {
    ViewPictures cache;
    const auto uncached = Paint(ViewFlags::Layout);
    const auto first = Paint(ViewFlags::Layout, false, &cache);
    // Held here, so a new picture cannot take the old one's address.
    const std::shared_ptr<const Bitmap24> kept = cache.copies.picture;
    ASSERT_NE(kept, nullptr);
    const auto second = Paint(ViewFlags::Layout, false, &cache);
    EXPECT_EQ(cache.copies.picture, kept);
    EXPECT_EQ(std::memcmp(first->Bits(), uncached->Bits(), first->Stride() * 600), 0);
    EXPECT_EQ(std::memcmp(second->Bits(), uncached->Bits(), second->Stride() * 600), 0);
    q.job.MirrorX = true;
    Paint(ViewFlags::Layout, false, &cache);
    EXPECT_NE(cache.copies.picture, kept) << "a mirrored copy needs its own picture";
    Paint(ViewFlags::Artwork, false, &cache);
    EXPECT_TRUE(cache.artwork.picture);
}

TEST_F(Views, CropSectionIsFramedByThreeDottedRectangles) {
    const auto framePixels = [this] {
        auto canvas = Paint(ViewFlags::Artwork);
        const QRect crop = CopyPixels(50, 25, 150, 75);
        int inverted = 0;
        for (int x = crop.left(); x < crop.right(); ++x)
            for (const int y : {crop.top() - 2, crop.top() - 1, crop.top()}) {
                const Colour c = canvas->Pixel(x, y);
                inverted += c == (kRed ^ 0xFFFFFF) || c == (kGreen ^ 0xFFFFFF);
            }
        return inverted;
    };
    q.job.CropLeft = 50;
    q.job.CropTop = 25;
    q.job.CropRight = 150;
    q.job.CropBottom = 75;
    EXPECT_EQ(framePixels(), 0);
    q.job.CropSection = true;
    EXPECT_GT(framePixels(), 100);
}

}  // namespace
}  // namespace corvan
