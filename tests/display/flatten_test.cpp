// The flattened picture: its sizes and names as the export dialog shows
// them, and a picture written in strips that equals the crop section
// rendered at once and turned as it prints, in every format and depth.
#include "display/flatten.h"

#include "imagelib/imageload.h"
#include "platform/numbers.h"
#include "raster/stripcomposer.h"
#include "raster/transforms.h"
#include "support/composer_fixture.h"
#include "support/metafile_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace corvan {
namespace {

// The picture as the export dialog makes it in one piece: the crop section
// rendered as one window, then turned.
std::unique_ptr<Bitmap24> WholeFlattened(const TemfFile& job, double dpi) {
    const float e = static_cast<float>(dpi / 25.4);
    const IntRect c = ScaleRect(job.CropLeft, job.CropTop, job.CropRight, job.CropBottom, e);
    const IntRect play{-c.left, -c.top, RoundToInt(e * job.PageWidth) - c.left,
                       RoundToInt(e * job.PageHeight) - c.top};
    auto image = RenderJobWindow(job, c.Width(), c.Height(), play);
    return TransformBitmap(image.get(), job.Rotate, job.MirrorX, job.MirrorY);
}

Colour Converted(Colour c, SinkPixels pixels) {
    if (pixels == SinkPixels::Colour) return c;
    if (pixels == SinkPixels::Mono) return c == 0xFFFFFF ? 0xFFFFFF : 0;
    const unsigned g = (38 * RedOf(c) + 76 * GreenOf(c) + 14 * BlueOf(c)) >> 7;
    return MakeColour(g, g, g);
}

TEST(Flatten, DialogSizesPresetsAndWebSafeNames) {
    TemfFile job;
    job.Reset(1000, 500);
    const FlattenSize s = FlattenSizeFor(job, PresetDpi(job, 640, 480), SinkPixels::Colour);
    EXPECT_NEAR(PresetDpi(job, 640, 480), 16.256, 1e-9);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 320);
    EXPECT_DOUBLE_EQ(s.bytes, 640.0 * 320 * 3);
    EXPECT_DOUBLE_EQ(FlattenSizeFor(job, 25.4, SinkPixels::Mono).bytes, 1000.0 * 500 / 8);
    EXPECT_EQ(FlattenSizeFor(job, 0, SinkPixels::Grey).width, 0);  // 0.01 DPI at least
    EXPECT_EQ(WebSafeFileName("/tmp/my job (v2)/Sign [big] #3.jpg"),
              "/tmp/my job (v2)/Sign__big___3.jpg");
}

TEST(Flatten, StripsWrittenToEveryFormatEqualThePictureMadeAtOnce) {
    test::EnsureGuiApp();
    auto job = test::DemoJob();
    if (job->Layers.empty()) GTEST_SKIP() << "demo samples not found in " << test::SamplesDir();
    QTemporaryDir dir;
    job->CropLeft = 37;
    job->CropTop = 21;
    job->CropRight = 251;
    job->CropBottom = 180;
    job->CropSection = true;
    const double dpi = 61;
    for (int turn = 0; turn < 8; ++turn) {
        job->Rotate = turn & 1;
        job->MirrorX = turn & 2;
        job->MirrorY = turn & 4;
        SCOPED_TRACE(turn);
        const auto want = WholeFlattened(*job, dpi);
        ASSERT_TRUE(want);
        const FlattenRenderer renderer(*job, dpi, false);
        ASSERT_EQ(renderer.Width(), want->Width());
        ASSERT_EQ(renderer.Height(), want->Height());
        // Strips of an odd height, so each turned case crosses strip edges.
        for (int top = 0; top < renderer.Height(); top += 37) {
            const auto strip = renderer.Rows(top, top + 36);
            ASSERT_TRUE(strip);
            for (int y = 0; y < strip->Height(); ++y)
                ASSERT_EQ(
                    std::memcmp(strip->Row(y), want->Row(top + y), 3 * std::size_t(want->Width())),
                    0)
                    << "row " << top + y << ": " << test::DumpPng(*strip, "flatten-strip");
        }
    }
    // Every lossless format and depth holds exactly those pixels, at its resolution.
    const auto want = WholeFlattened(*job, dpi);
    for (const char* ext : {".png", ".tif", ".bmp"})
        for (SinkPixels pixels : {SinkPixels::Colour, SinkPixels::Grey, SinkPixels::Mono}) {
            SCOPED_TRACE(std::string(ext) + " depth " + std::to_string(int(pixels)));
            const std::string path = dir.filePath("flat").toStdString() + ext;
            std::string error;
            ASSERT_TRUE(ExportFlattened(*job, path, dpi, pixels, false, error)) << error;
            const auto read = LoadImage24(path).image;
            ASSERT_TRUE(read);
            ASSERT_EQ(read->Width(), want->Width());
            ASSERT_EQ(read->Height(), want->Height());
            for (int y = 0; y < read->Height(); y += 3)
                for (int x = 0; x < read->Width(); x += 3)
                    ASSERT_EQ(read->Pixel(x, y), Converted(want->Pixel(x, y), pixels))
                        << x << "," << y;
        }
    std::string error;
    const std::string jpeg = dir.filePath("flat.jpg").toStdString();
    ASSERT_TRUE(ExportFlattened(*job, jpeg, dpi, SinkPixels::Colour, false, error)) << error;
    const auto read = LoadImage24(jpeg);
    ASSERT_TRUE(read.image);
    EXPECT_EQ(read.image->Width(), want->Width());
    // A format that cannot hold the picture says so and leaves no file.
    EXPECT_FALSE(ExportFlattened(*job, dir.filePath("huge.jpg").toStdString(), 25400,
                                 SinkPixels::Colour, false, error));
    EXPECT_NE(error.find("at most 65500 pixels"), std::string::npos) << error;
    EXPECT_EQ(QDir(dir.path()).entryList({"huge*"}, QDir::Files | QDir::Hidden).size(), 0);
}

TEST(Flatten, AntialiasedPictureIsTheDoubleRenderHalved) {
    test::EnsureGuiApp();
    auto job = test::DemoJob();
    if (job->Layers.empty()) GTEST_SKIP() << "demo samples not found in " << test::SamplesDir();
    const double dpi = 40;  // 472 x 315 pixels: under the one-million limit
    const FlattenRenderer smooth(*job, dpi, true);
    const auto got = smooth.Render();
    const auto doubled = WholeFlattened(*job, 2 * dpi);
    const auto want = HalveBitmap(doubled.get());
    ASSERT_TRUE(got && want);
    ASSERT_EQ(got->Width(), want->Width());
    for (int y = 0; y < got->Height(); ++y)
        ASSERT_EQ(std::memcmp(got->Row(y), want->Row(y), 3 * std::size_t(got->Width())), 0) << y;
    // Above a million pixels the picture is rendered as it is.
    EXPECT_EQ(FlattenRenderer(*job, 200, true).Width(), FlattenRenderer(*job, 200, false).Width());
}

}  // namespace
}  // namespace corvan
