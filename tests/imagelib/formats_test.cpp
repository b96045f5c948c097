// Pictures as customers send them: the formats added beside the classic
// ones, damaged files refused in the user's words, and turned phone photos.
#include "imagelib/imagedecoder.h"
#include "imagelib/imagelimits.h"
#include "picturefiles.h"

#include <gtest/gtest.h>
#include <png.h>
#include <tiffio.h>

#include <QStandardPaths>

#include <cstdlib>
#include <cstring>

namespace corvan {
namespace {

using namespace test;

Bytes Cut(const Bytes& b, double fraction) {
    return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(b.size() * fraction));
}

TiffSpec Spec(int bits, int samples, int photometric) {
    TiffSpec spec;
    spec.bitsPerSample = bits;
    spec.samplesPerPixel = samples;
    spec.photometric = photometric;
    return spec;
}

Bytes Samples16(std::initializer_list<std::uint16_t> values) {
    Bytes b(values.size() * 2);
    std::memcpy(b.data(), std::data(values), b.size());
    return b;
}

// Every refusal names the format and what is wrong, never a library's words.
TEST(PictureRefusals, SayWhatIsWrongInTheUsersWords) {
    const Bytes rgb = QuadrantSamples(24, 24);
    Bytes badChunk = MakePng(24, 24, rgb, {});
    badChunk[37] = 0xF4;  // the type of the chunk after IHDR
    TiffSpec fourRows;
    fourRows.rowsPerStrip = 4;
    fourRows.compression = COMPRESSION_LZW;
    Bytes strips = MakeTiff(24, 24, rgb, fourRows);
    TiffSpec separate;
    separate.separatePlanes = true;
    PatchTiffTag(strips, TIFFTAG_ROWSPERSTRIP, 0xFFFFFFF0u);
    Bytes bmp57(57, 0);  // a header asking for 451 MB, and three bytes of pixels
    const Bytes head = {
        'B', 'M', 57, 0,    0,    0, 0, 0,    0,    0, 54, 0, 0, 0,  40,
        0,   0,   0,  0x30, 0x75, 0, 0, 0x10, 0x27, 0, 0,  1, 0, 24, 0};  // 30000 x 10000
    std::copy(head.begin(), head.end(), bmp57.begin());
    Bytes tiffHeaderOnly = MakeTiff(24, 24, rgb, {});
    PatchTiffTag(tiffHeaderOnly, TIFFTAG_IMAGEWIDTH, 20000);
    PatchTiffTag(tiffHeaderOnly, TIFFTAG_IMAGELENGTH, 20000);
    const struct {
        const char* what;
        Bytes file;
        const char* message;
    } cases[] = {
        {"PNG cut short", Cut(MakePng(24, 24, rgb, {}), 0.6),
         "The PNG file is damaged (it ends early)"},
        {"PNG with a bad chunk", badChunk, "The PNG file is damaged ("},
        {"JPEG cut short", Cut(MakeJpeg(24, 24, rgb, {}), 0.6),
         "The JPEG file is damaged (it ends early)"},
        {"TIFF planes cut at 60 %", Cut(MakeTiff(24, 24, rgb, separate), 0.6),
         "The TIFF file is damaged ("},
        {"TIFF rows per strip overflowing", strips, "The TIFF file is damaged ("},
        {"TIFF larger than its file", tiffHeaderOnly, "The TIFF file is damaged (it ends early)"},
        {"57-byte BMP", bmp57, "The BMP file is damaged (it ends early)"},
        {"PCX cut short", Cut(MakePcx(4, 4, 8, 3, Bytes(48, 9), {}, false), 0.9),
         "The PCX file is damaged (it ends early)"},
        {"not a picture", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'},
         "The file is not a picture in a format that can be read"},
    };
    PictureFiles files;
    for (const auto& c : cases) {
        const auto r = files.Load(c.file);
        EXPECT_FALSE(r.image) << c.what;
        EXPECT_EQ(r.error.rfind(c.message, 0), 0u) << c.what << ": " << r.error;
        for (const char* raw : {"[", "IEND", "Read error", "strip", "Unsupported image format"})
            EXPECT_EQ(r.error.find(raw), std::string::npos) << c.what << ": " << r.error;
    }
}

TEST(NewFormats, PcxLayouts) {
    const int w = 10, h = 6;
    const Bytes rgb = QuadrantSamples(w, h);
    Bytes indices(w * h), bits(w * h);
    std::vector<Colour> palette;
    for (int i = 0; i < 256; ++i) palette.push_back(MakeColour(i, 255 - i, i / 2));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            indices[y * w + x] = static_cast<std::uint8_t>((x * 7 + y) % 16);
            bits[y * w + x] = (x + y) % 2;
        }
    PictureFiles files;
    for (bool rle : {true, false}) {
        ExpectQuadrants(files.Load(MakePcx(w, h, 8, 3, rgb, {}, rle)), w, h, 0, "24-bit PCX");
        for (const auto& [b, planes] : {std::pair{8, 1}, {4, 1}, {1, 4}, {2, 2}}) {
            const auto r = files.Load(MakePcx(w, h, b, planes, indices, palette, rle));
            ASSERT_TRUE(r.image) << r.error;
            for (int x = 0; x < w; ++x)
                EXPECT_EQ(r.image->Pixel(x, 3), palette[indices[3 * w + x]])
                    << b << " bits x " << planes << " planes, x " << x;
        }
        const auto mono = files.Load(MakePcx(w, h, 1, 1, bits, {}, rle));
        ASSERT_TRUE(mono.image) << mono.error;
        EXPECT_EQ(mono.image->Pixel(0, 0), MakeColour(0, 0, 0));
        EXPECT_EQ(mono.image->Pixel(1, 0), MakeColour(255, 255, 255));
    }
}

TEST(NewFormats, HeifAndAvifPhotos) {
    const int w = 64, h = 48;
    PictureFiles files;
    for (bool avif : {false, true}) {
        const Bytes file = MakeHeif(w, h, QuadrantSamples(w, h), avif);
        if (file.empty()) {
            ADD_FAILURE() << "libheif has no " << (avif ? "AV1" : "HEVC") << " encoder";
            continue;
        }
        const auto r = files.Load(file);
        ExpectQuadrants(r, w, h, 6, avif ? "AVIF" : "HEIC");
        EXPECT_EQ(r.info.format, avif ? "AVIF" : "HEIF");
    }
}

// 16-bit samples are rounded to the nearest 8-bit level, not truncated.
TEST(NewFormats, SixteenBitTiffAndPhotoshopRound) {
    PictureFiles files;
    // Truncation would give 0, 1, 63, 127, 192, 255.
    const Bytes grey = Samples16({0, 0x01A0, 0x3FC0, 0x7F7F, 0xC0C0, 0xFFFF});
    const int expected[] = {0, 2, 64, 127, 192, 255};
    const auto t = files.Load(MakeTiff(6, 1, grey, Spec(16, 1, PHOTOMETRIC_MINISBLACK)));
    ASSERT_TRUE(t.image) << t.error;
    Bytes bigEndian(grey.size());
    for (std::size_t i = 0; i < grey.size(); i += 2) {
        bigEndian[i] = grey[i + 1];
        bigEndian[i + 1] = grey[i];
    }
    const auto p = files.Load(MakePsd(6, 1, 1, {bigEndian}, true, {}, 16));
    ASSERT_TRUE(p.image) << p.error;
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(t.image->Pixel(x, 0), MakeColour(expected[x], expected[x], expected[x])) << x;
        EXPECT_EQ(p.image->Pixel(x, 0), MakeColour(expected[x], expected[x], expected[x])) << x;
    }
    std::vector<Bytes> planes16;
    for (const Bytes& plane : Planes(QuadrantSamples(8, 8), 3)) planes16.push_back(Widen16(plane));
    ExpectQuadrants(files.Load(MakePsd(8, 8, 3, planes16, true, {}, 16)), 8, 8, 0,
                    "16-bit RGB PSD");
}

// L* = 100 is white and L* = 0 black, through the D50 white Lab files use.
TEST(NewFormats, LabTiffAndPhotoshop) {
    PictureFiles files;
    const TiffSpec lab8 = Spec(8, 3, PHOTOMETRIC_CIELAB);
    // White, black, mid grey, and a red (a* = +60).
    const auto t8 = files.Load(MakeTiff(4, 1, {255, 0, 0, 0, 0, 0, 128, 0, 0, 128, 60, 30}, lab8));
    const TiffSpec lab16 = Spec(16, 3, PHOTOMETRIC_CIELAB);
    const auto t16 = files.Load(MakeTiff(
        4, 1, Samples16({0xFFFF, 0, 0, 0, 0, 0, 0x8080, 0, 0, 0x8080, 60 * 256, 30 * 256}), lab16));
    // Photoshop: a* and b* offset by 128.
    const auto p8 = files.Load(
        MakePsd(4, 1, 9, {{255, 0, 128, 128}, {128, 128, 128, 188}, {128, 128, 128, 158}}, true));
    for (const auto* r : {&t8, &t16, &p8}) {
        ASSERT_TRUE(r->image) << r->error;
        EXPECT_EQ(r->image->Pixel(0, 0), MakeColour(255, 255, 255));
        EXPECT_EQ(r->image->Pixel(1, 0), MakeColour(0, 0, 0));
        EXPECT_LE(ColourDistance(r->image->Pixel(2, 0), MakeColour(119, 119, 119)), 2);
        const Colour red = r->image->Pixel(3, 0);
        EXPECT_GT(RedOf(red), GreenOf(red) + 60) << std::hex << red;
    }
}

TEST(Alpha, PhotoshopTransparencyLiesOnWhite) {
    PictureFiles files;
    auto planes = Planes(QuadrantSamples(4, 2), 3);
    for (auto& p : planes) std::fill(p.begin(), p.end(), 0);  // black
    planes.push_back({255, 128, 0, 0, 255, 255, 255, 255});
    const auto r = files.Load(MakePsd(4, 2, 3, planes, true));
    ASSERT_TRUE(r.image) << r.error;
    EXPECT_EQ(r.image->Pixel(0, 0), MakeColour(0, 0, 0));
    EXPECT_LE(ColourDistance(r.image->Pixel(1, 0), MakeColour(127, 127, 127)), 1);
    EXPECT_EQ(r.image->Pixel(2, 0), MakeColour(255, 255, 255));
}

// The EXIF orientation of PNG (eXIf) and WebP turns the picture as JPEG's does.
TEST(Orientation, PngAndWebpExif) {
    const int w = 8, h = 4;
    const Bytes rgb = QuadrantSamples(w, h);
    PictureFiles files;
    PngSpec png;
    png.exif = TiffWithOrientation(6);
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"PNG eXIf", MakePng(w, h, rgb, png)},
        {"WebP EXIF", MakeWebpWithExif(w, h, rgb, TiffWithOrientation(6))},
    };
    for (const auto& c : cases) {
        const auto r = files.Load(c.file);
        ASSERT_TRUE(r.image) << c.what << ": " << r.error;
        ASSERT_EQ(r.image->Width(), h) << c.what;
        ASSERT_EQ(r.image->Height(), w) << c.what;
        // Orientation 6: the stored top-left (red) lands at the top right.
        EXPECT_EQ(r.image->Pixel(h - 1, 0), MakeColour(255, 0, 0)) << c.what;
        EXPECT_EQ(r.info.orientation, 6) << c.what;
    }
}

class Ghostscript : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("CORVANRIP_GS"); }
};

TEST_F(Ghostscript, MissingProgramIsNamed) {
    setenv("CORVANRIP_GS", "/nonexistent/gs", 1);
    PictureFiles files;
    const struct {
        Bytes file;
        const char* message;
    } cases[] = {
        {MakeEps({}), "This EPS file has no preview picture"},
        {Bytes{'%', 'P', 'D', 'F', '-', '1', '.', '4', '\n'}, "This PDF file needs Ghostscript"},
        {Bytes{'%', '!', 'P', 'S', '\n'}, "This PostScript file needs Ghostscript"},
    };
    for (const auto& c : cases) {
        const auto r = files.Load(c.file);
        EXPECT_FALSE(r.image);
        EXPECT_EQ(r.error.rfind(c.message, 0), 0u) << r.error;
        EXPECT_NE(r.error.find("Ghostscript is not installed"), std::string::npos) << r.error;
    }
}

TEST_F(Ghostscript, DrawsPagesWithoutPreviewAtTheGivenResolution) {
    if (QStandardPaths::findExecutable("gs").isEmpty()) {
        if (std::getenv("CI")) FAIL() << "Ghostscript (gs) is not installed";
        GTEST_SKIP() << "Ghostscript (gs) is not installed";
    }
    const std::string eps =
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 72 36\n"
        "1 0 0 setrgbcolor 0 0 36 36 rectfill 0 0 1 setrgbcolor 36 0 36 36 rectfill showpage\n";
    PictureFiles files;
    const std::string path = files.Write("page.eps", Bytes(eps.begin(), eps.end()));
    ProgressReporter progress;
    const auto r = DecodeImageFile(path, progress, {.vectorDpi = 100});
    ASSERT_TRUE(r.image) << r.error;
    EXPECT_NEAR(r.image->Width(), 100, 1);
    EXPECT_NEAR(r.image->Height(), 50, 1);
    EXPECT_EQ(r.image->Pixel(20, 25), MakeColour(255, 0, 0));
    EXPECT_EQ(r.image->Pixel(80, 25), MakeColour(0, 0, 255));
    const auto none =
        files.Load(MakeEps({}));  // a DOS EPS without preview: its PostScript is drawn
    EXPECT_TRUE(none.image) << none.error;
}

}  // namespace
}  // namespace corvan
