#include "imagelib/imagelimits.h"
#include "picturefiles.h"
#include "platform/bmpfile.h"
#include "support/scripted_ui.h"

#include <QImage>

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <cstdlib>

namespace corvan {
namespace {

using namespace test;

TEST(LoadImage24, EmptyNameAndMissingFile) {
    EXPECT_FALSE(LoadImage24("").image);
    EXPECT_FALSE(LoadImage24("").missing);
    const auto r = LoadImage24("/nonexistent/photo.jpg");
    EXPECT_FALSE(r.image);
    EXPECT_TRUE(r.error.empty());
    EXPECT_TRUE(r.missing);
}

// Stage 0 once, running percentages that only rise, stage 2 once at the end.
void ExpectStages(const std::vector<std::pair<int, int>>& calls, const std::string& what) {
    ASSERT_GE(calls.size(), 3u) << what;
    EXPECT_EQ(calls.front().first, 0) << what;
    EXPECT_EQ(calls.back(), (std::pair{2, 100})) << what;
    int last = -1;
    for (std::size_t i = 1; i + 1 < calls.size(); ++i) {
        EXPECT_EQ(calls[i].first, 1) << what;
        EXPECT_GT(calls[i].second, last) << what;
        last = calls[i].second;
    }
    EXPECT_EQ(last, 100) << what;
}

TEST(LoadImage24, ProgressStagesWhileDecoding) {
    PictureFiles files;
    const int w = 64, h = 300;
    const Bytes samples = QuadrantSamples(w, h);
    JpegSpec progressive;
    progressive.progressive = true;
    TiffSpec tiled;
    tiled.tileSize = 16;
    TiffSpec strips;
    strips.rowsPerStrip = 2;
    PngSpec png;
    const std::vector<Bytes> planes = Planes(samples, 3);
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"JPEG", MakeJpeg(w, h, samples, {})},
        {"progressive JPEG", MakeJpeg(w, h, samples, progressive)},
        {"TIFF strips", MakeTiff(w, h, samples, strips)},
        {"TIFF tiles", MakeTiff(w, h, samples, tiled)},
        {"PNG", MakePng(w, h, samples, png)},
        {"Photoshop", MakePsd(w, h, 3, planes, true)},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<int, int>> calls;
        const auto r = LoadImage24(files.Write("p", c.file), [&](int stage, int percent) {
            calls.emplace_back(stage, percent);
        });
        ASSERT_TRUE(r.image) << c.what << ": " << r.error;
        ExpectStages(calls, c.what);
    }
    ASSERT_TRUE(LoadImage24(files.Write("p", cases[0].file)).image);  // no callback needed
}

class SizeGuard : public ::testing::Test {
protected:
    void TearDown() override {
        SetMaxImageBytes(0);
        unsetenv("CORVANRIP_MAX_IMAGE_BYTES");
    }
};

TEST_F(SizeGuard, RefusesBeforeDecodingWithAClearMessage) {
    PictureFiles files;
    const Bytes samples = QuadrantSamples(100, 100);  // 30,000 bytes at 24 bits
    const std::vector<Bytes> planes = Planes(samples, 3);
    const Bytes forms[] = {MakeJpeg(100, 100, samples, {}), MakeTiff(100, 100, samples, {}),
                           MakePng(100, 100, samples, {}), MakePsd(100, 100, 3, planes, true),
                           MakeEps(MakeTiff(100, 100, samples, {}))};
    SetMaxImageBytes(29999);
    for (const auto& f : forms) {
        bool decodedRows = false;
        const auto r =
            LoadImage24(files.Write("big", f), [&](int stage, int) { decodedRows |= stage == 1; });
        EXPECT_FALSE(r.image);
        EXPECT_NE(r.error.find("too large"), std::string::npos) << r.error;
        EXPECT_NE(r.error.find("100 x 100"), std::string::npos) << r.error;
        EXPECT_FALSE(decodedRows) << "refused only after decoding: " << r.error;
    }
    SetMaxImageBytes(30000);
    for (const auto& f : forms) EXPECT_TRUE(LoadImage24(files.Write("big", f)).image);
}

TEST_F(SizeGuard, LimitComesFromSetterThenEnvironmentThenDefault) {
    EXPECT_EQ(MaxImageBytes(), kDefaultMaxImageBytes);
    setenv("CORVANRIP_MAX_IMAGE_BYTES", "5000", 1);
    EXPECT_EQ(MaxImageBytes(), 5000u);
    setenv("CORVANRIP_MAX_IMAGE_BYTES", "lots", 1);
    EXPECT_EQ(MaxImageBytes(), kDefaultMaxImageBytes);
    setenv("CORVANRIP_MAX_IMAGE_BYTES", "5000", 1);
    SetMaxImageBytes(7000);
    EXPECT_EQ(MaxImageBytes(), 7000u);
    EXPECT_TRUE(CheckImageSize(10, 100).empty());      // 32-byte rows x 100 = 3,200
    EXPECT_FALSE(CheckImageSize(10, 100, 4).empty());  // plus 4,000 of work memory
    EXPECT_NE(CheckImageSize(3'000'000'000LL, 2).find("too large"), std::string::npos);
    EXPECT_FALSE(CheckImageSize(0, 5).empty());
}

Bytes QuadrantBmp(int w, int h) {
    auto img = Bitmap24::Create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img->SetPixel(x, y, QuadrantColour(x, y, w, h));
    return *EncodeBmp(*img);
}

TEST(LoadImage24, BmpThroughOurOwnReader) {
    PictureFiles files;
    ExpectQuadrants(files.Load(QuadrantBmp(13, 6)), 13, 6, 0, "BMP");
    SetMaxImageBytes(100);
    const auto r = files.Load(QuadrantBmp(13, 6));
    SetMaxImageBytes(0);
    EXPECT_NE(r.error.find("13 x 6 pixels"), std::string::npos) << r.error;
}

TEST(LoadImage24, FormatsReadThroughQt) {
    PictureFiles files;
    QImage picture(12, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x) {
            const Colour c = QuadrantColour(x, y, 12, 6);
            picture.setPixel(x, y, qRgb(RedOf(c), GreenOf(c), BlueOf(c)));
        }
    for (const char* format : {"ppm", "webp"}) {
        const std::string path = files.Write(std::string("q.") + format, {});
        ASSERT_TRUE(picture.save(QString::fromStdString(path), format, 100)) << format;
        ExpectQuadrants(LoadImage24(path), 12, 6, 0, format);
    }
    // Qt writes no GIF; a tiny one is easily written by hand.
    // 2 x 1 GIF, palette red and blue, LZW codes clear, 0, 1, end.
    const Bytes gif = {'G', 'I',  'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, 255,  0,    0, 0,   0,
                       255, 0x2C, 0,   0,   0,   0,   2, 0, 1, 0, 0,    2, 2, 0x44, 0x0A, 0, 0x3B};
    const auto g = files.Load(gif, "q.gif");
    ASSERT_TRUE(g.image) << g.error;
    EXPECT_EQ(g.image->Pixel(0, 0), MakeColour(255, 0, 0));
    EXPECT_EQ(g.image->Pixel(1, 0), MakeColour(0, 0, 255));
    // A transparent Qt-read picture lies on white.
    QImage clear(2, 1, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const std::string path = files.Write("clear.webp", {});
    ASSERT_TRUE(clear.save(QString::fromStdString(path), "webp", 100));
    const auto r = LoadImage24(path);
    ASSERT_TRUE(r.image) << r.error;
    EXPECT_EQ(r.image->Pixel(1, 0), MakeColour(255, 255, 255));
}

// Every prefix and a set of bit flips of every format must give a picture
// or an error, never a crash (the sanitizer build checks the reads).
TEST(LoadImage24, TruncatedAndDamagedFilesFailCleanly) {
    PictureFiles files;
    const Bytes samples = QuadrantSamples(24, 24);
    const std::vector<Bytes> planes = Planes(samples, 3);
    TiffSpec tiled;
    tiled.tileSize = 16;
    tiled.compression = COMPRESSION_LZW;
    TiffSpec lab;
    lab.photometric = PHOTOMETRIC_CIELAB;
    const struct {
        const char* what;
        Bytes file;
    } forms[] = {
        {"JPEG", MakeJpeg(24, 24, samples, {})},
        {"TIFF", MakeTiff(24, 24, samples, tiled)},
        {"PNG", MakePng(24, 24, samples, {})},
        {"PSD", MakePsd(24, 24, 3, planes, true)},
        {"EPS", MakeEps(MakeTiff(24, 24, samples, tiled))},
        {"BMP", QuadrantBmp(24, 24)},
        {"PCX", MakePcx(24, 24, 8, 3, samples, {}, true)},
        {"HEIC", MakeHeif(24, 24, samples, false)},
        {"16-bit PSD", MakePsd(24, 24, 3, Planes(Widen16(samples), 3), true, {}, 16)},
        {"Lab TIFF", MakeTiff(24, 24, samples, lab)},
    };
    ScriptedUi ui;
    for (const auto& f : forms) {
        for (std::size_t cut = 0; cut < f.file.size();
             cut += std::max<std::size_t>(1, f.file.size() / 40)) {
            const auto r =
                LoadImage24(files.Write("cut", Bytes(f.file.begin(), f.file.begin() + cut)));
            EXPECT_NE(r.image != nullptr, !r.error.empty()) << f.what << " cut at " << cut;
            if (cut < f.file.size() / 2) {
                EXPECT_FALSE(r.image) << f.what << " cut at " << cut;
            }
        }
        for (std::size_t at = 0; at < f.file.size(); at += 7) {
            Bytes damaged = f.file;
            damaged[at] ^= 0xA5;
            const auto r = LoadImage24(files.Write("flip", damaged));
            EXPECT_NE(r.image != nullptr, !r.error.empty()) << f.what << " flipped at " << at;
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace corvan
