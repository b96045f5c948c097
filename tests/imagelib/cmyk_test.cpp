#include "imagelib/cmykconvert.h"
#include "picturefiles.h"

#include <gtest/gtest.h>
#include <lcms2.h>
#include <tiffio.h>

namespace corvan {
namespace {

using namespace test;

// 32 x 32 CMYK in four quadrants: cyan, magenta / yellow, black; and a
// 4-pixel-high band of bare paper along the top.
Bytes CmykQuadrants(bool inverted) {
    Bytes out;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            std::uint8_t ink[4] = {0, 0, 0, 0};
            if (y >= 4) ink[(y >= 16) * 2 + (x >= 16)] = 255;
            for (std::uint8_t v : ink) out.push_back(inverted ? 255 - v : v);
        }
    return out;
}

// Where each ink should land on screen: generous boxes around offset-print
// colours, tight enough to catch swapped channels or inverted ink.
void ExpectInkHues(const Bitmap24& img, const std::string& what) {
    const struct {
        int x, y;
        int rMin, rMax, gMin, gMax, bMin, bMax;
        const char* ink;
    } checks[] = {
        {8, 1, 245, 255, 245, 255, 245, 255, "paper"}, {8, 10, 0, 80, 120, 200, 180, 255, "cyan"},
        {24, 10, 190, 255, 0, 80, 80, 180, "magenta"}, {8, 24, 230, 255, 200, 255, 0, 90, "yellow"},
        {24, 24, 0, 70, 0, 70, 0, 70, "black"},
    };
    for (const auto& c : checks) {
        const Colour p = img.Pixel(c.x, c.y);
        EXPECT_TRUE(RedOf(p) >= c.rMin && RedOf(p) <= c.rMax && GreenOf(p) >= c.gMin &&
                    GreenOf(p) <= c.gMax && BlueOf(p) >= c.bMin && BlueOf(p) <= c.bMax)
            << what << " " << c.ink << ": " << int(RedOf(p)) << "," << int(GreenOf(p)) << ","
            << int(BlueOf(p));
    }
}

TEST(CmykPictures, EveryFileFormGivesTheSameColours) {
    PictureFiles files;
    const Bytes plain = CmykQuadrants(false), inverted = CmykQuadrants(true);
    JpegSpec jpegPlain, jpegAdobe;
    jpegPlain.space = jpegAdobe.space = JpegSpace::Cmyk;
    jpegPlain.adobeMarker = false;
    TiffSpec tiff8, tiff16, tiffTiled;
    tiff8.samplesPerPixel = tiff16.samplesPerPixel = tiffTiled.samplesPerPixel = 4;
    tiff8.photometric = tiff16.photometric = tiffTiled.photometric = PHOTOMETRIC_SEPARATED;
    tiff16.bitsPerSample = 16;
    tiffTiled.tileSize = 16;
    tiffTiled.compression = COMPRESSION_LZW;
    const struct {
        const char* what;
        Bytes file;
        int tolerance;
    } forms[] = {
        {"TIFF 8-bit", MakeTiff(32, 32, plain, tiff8), 0},
        {"TIFF 16-bit", MakeTiff(32, 32, Widen16(plain), tiff16), 1},
        {"TIFF tiled LZW", MakeTiff(32, 32, plain, tiffTiled), 0},
        {"Photoshop RLE", MakePsd(32, 32, 4, Planes(inverted, 4), true), 0},
        {"Photoshop raw", MakePsd(32, 32, 4, Planes(inverted, 4), false), 0},
        {"JPEG plain CMYK", MakeJpeg(32, 32, plain, jpegPlain), 10},
        {"JPEG Adobe inverted CMYK", MakeJpeg(32, 32, inverted, jpegAdobe), 10},
    };
    const auto reference = files.Load(forms[0].file, "reference");
    ASSERT_TRUE(reference.image) << reference.error;
    ExpectInkHues(*reference.image, "reference");
    for (const auto& f : forms) {
        const auto r = files.Load(f.file);
        ASSERT_TRUE(r.image) << f.what << ": " << r.error;
        for (int y = 1; y < 32; y += 8)
            for (int x = 4; x < 32; x += 8)
                EXPECT_LE(ColourDistance(r.image->Pixel(x, y), reference.image->Pixel(x, y)),
                          f.tolerance)
                    << f.what << " at " << x << "," << y;
    }
}

// A CMYK profile that maps every ink mix to one Lab colour: if the
// decoder uses the embedded profile, the whole picture comes out in it.
Bytes ConstantCmykProfile(const cmsCIELab& lab) {
    cmsHPROFILE p = cmsCreateProfilePlaceholder(nullptr);
    cmsSetDeviceClass(p, cmsSigOutputClass);
    cmsSetColorSpace(p, cmsSigCmykData);
    cmsSetPCS(p, cmsSigLabData);
    cmsPipeline* lut = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, 2, 4, 3, nullptr);
    cmsStageSampleCLut16bit(
        clut,
        [](const cmsUInt16Number*, cmsUInt16Number out[], void* cargo) -> cmsInt32Number {
            cmsFloat2LabEncoded(out, static_cast<const cmsCIELab*>(cargo));
            return 1;
        },
        const_cast<cmsCIELab*>(&lab), 0);
    cmsPipelineInsertStage(lut, cmsAT_BEGIN, clut);
    cmsWriteTag(p, cmsSigAToB0Tag, lut);
    cmsWriteTag(p, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipelineFree(lut);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(p, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(p, bytes.data(), &size);
    cmsCloseProfile(p);
    return bytes;
}

TEST(CmykPictures, EmbeddedProfileWinsOverTheDefault) {
    const Bytes green = ConstantCmykProfile({60.0, -60.0, 40.0});
    PictureFiles files;
    JpegSpec jpeg;
    jpeg.space = JpegSpace::Cmyk;
    jpeg.icc = green;
    TiffSpec tiff;
    tiff.samplesPerPixel = 4;
    tiff.photometric = PHOTOMETRIC_SEPARATED;
    tiff.icc = green;
    const struct {
        const char* what;
        Bytes file;
    } forms[] = {
        {"JPEG", MakeJpeg(32, 32, CmykQuadrants(true), jpeg)},
        {"TIFF", MakeTiff(32, 32, CmykQuadrants(false), tiff)},
        {"Photoshop", MakePsd(32, 32, 4, Planes(CmykQuadrants(true), 4), true, green)},
    };
    for (const auto& f : forms) {
        const auto r = files.Load(f.file);
        ASSERT_TRUE(r.image) << f.what << ": " << r.error;
        for (auto [x, y] : {std::pair{8, 1}, std::pair{24, 24}}) {
            const Colour p = r.image->Pixel(x, y);
            EXPECT_TRUE(GreenOf(p) > RedOf(p) + 60 && GreenOf(p) > BlueOf(p) + 40)
                << f.what << " " << int(RedOf(p)) << "," << int(GreenOf(p)) << ","
                << int(BlueOf(p));
        }
    }
}

TEST(CmykPictures, AnRgbProfileInACmykFileIsIgnored) {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(srgb, nullptr, &size);
    Bytes icc(size);
    cmsSaveProfileToMem(srgb, icc.data(), &size);
    cmsCloseProfile(srgb);
    std::string error;
    auto converter = CmykConverter::Create(icc, {}, &error);
    ASSERT_TRUE(converter) << error;
    EXPECT_FALSE(converter->UsesEmbeddedProfile());
    auto damaged = CmykConverter::Create(Bytes(100, 7), {}, &error);
    ASSERT_TRUE(damaged);
    EXPECT_FALSE(damaged->UsesEmbeddedProfile());
    EXPECT_FALSE(CmykConverter::Create({}, {12, false, 0}, &error));
    EXPECT_FALSE(DefaultCmykProfileBytes().empty());
}

}  // namespace
}  // namespace corvan
