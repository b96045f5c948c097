// The TIFF raster driver, printing for real: pages read back with libtiff,
// colours checked through the shipped ICC profile with lcms2.
#include "driver_fixture.h"
#include "printrun.h"

#include "platform/bitmap.h"
#include "plugins/pluginobject.h"

#include <gtest/gtest.h>
#include <lcms2.h>
#include <tiffio.h>

#include <cmath>
#include <cstring>

#include "platform/folders.h"

namespace corvan {
namespace {

using test::DriverHome;

struct TiffPage {
    std::uint32_t width = 0, height = 0;
    std::uint16_t samples = 0, photometric = 0;
    float xres = 0, yres = 0;
    std::string pageName, inkNames;
    std::vector<std::uint8_t> icc;
    std::vector<std::vector<std::uint8_t>> rows;
    const std::uint8_t* Pixel(std::uint32_t x, std::uint32_t y) const {
        return &rows[y][x * samples];
    }
};

std::vector<TiffPage> ReadTiff(const std::string& path) {
    std::vector<TiffPage> pages;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return pages;
    do {
        TiffPage p;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &p.width);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &p.height);
        TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &p.samples);
        TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &p.photometric);
        TIFFGetField(tif, TIFFTAG_XRESOLUTION, &p.xres);
        TIFFGetField(tif, TIFFTAG_YRESOLUTION, &p.yres);
        char* name = nullptr;
        if (TIFFGetField(tif, TIFFTAG_PAGENAME, &name) && name) p.pageName = name;
        char* inks = nullptr;
        if (TIFFGetField(tif, TIFFTAG_INKNAMES, &inks) && inks) {
            std::uint16_t n = 0;
            TIFFGetField(tif, TIFFTAG_NUMBEROFINKS, &n);
            const char* q = inks;
            for (int i = 0; i < n; ++i, q += std::strlen(q) + 1) p.inkNames += std::string(q) + "|";
        }
        std::uint32_t iccSize = 0;
        void* icc = nullptr;
        if (TIFFGetField(tif, TIFFTAG_ICCPROFILE, &iccSize, &icc))
            p.icc.assign(static_cast<std::uint8_t*>(icc),
                         static_cast<std::uint8_t*>(icc) + iccSize);
        for (std::uint32_t y = 0; y < p.height; ++y) {
            std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tif)));
            TIFFReadScanline(tif, row.data(), y, 0);
            p.rows.push_back(std::move(row));
        }
        pages.push_back(std::move(p));
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return pages;
}

// Colour arithmetic through lcms2, independent of the driver's own code.
class Colorimetry {
public:
    explicit Colorimetry(const std::string& cmykProfile) {
        srgb_ = cmsCreate_sRGBProfile();
        lab_ = cmsCreateLab4Profile(nullptr);
        cmyk_ = cmsOpenProfileFromFile(cmykProfile.c_str(), "r");
        rgbToLab_ = cmsCreateTransform(srgb_, TYPE_RGB_8, lab_, TYPE_Lab_DBL,
                                       INTENT_RELATIVE_COLORIMETRIC, 0);
        cmykToLab_ = cmsCreateTransform(cmyk_, TYPE_CMYK_8, lab_, TYPE_Lab_DBL,
                                        INTENT_RELATIVE_COLORIMETRIC, 0);
    }
    ~Colorimetry() {
        cmsDeleteTransform(rgbToLab_);
        cmsDeleteTransform(cmykToLab_);
        for (auto p : {srgb_, lab_, cmyk_}) cmsCloseProfile(p);
    }
    cmsCIELab FromRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) const {
        const std::uint8_t rgb[3] = {r, g, b};
        cmsCIELab lab;
        cmsDoTransform(rgbToLab_, rgb, &lab, 1);
        return lab;
    }
    cmsCIELab FromCmyk(const std::uint8_t* cmyk) const {
        cmsCIELab lab;
        cmsDoTransform(cmykToLab_, cmyk, &lab, 1);
        return lab;
    }

private:
    cmsHPROFILE srgb_, lab_, cmyk_;
    cmsHTRANSFORM rgbToLab_, cmykToLab_;
};

std::unique_ptr<Bitmap24> Bars(const std::vector<Colour>& colours, int barWidth, int height) {
    auto b = Bitmap24::Create(barWidth * static_cast<int>(colours.size()), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < b->Width(); ++x)
            b->SetPixel(x, y, colours[static_cast<std::size_t>(x / barWidth)]);
    return b;
}

class TiffDriver : public ::testing::Test {
protected:
    DriverHome home;
    std::string cmykProfile = home.Path("Profiles/CorvanCMYK.icc");
    std::string srgbProfile = home.Path("Profiles/CorvansRGB.icc");
    std::string out = home.Path("Ripped/page.tif");
    std::unique_ptr<TPluginObject> plugin =
        std::make_unique<TPluginObject>(home.Path("Data/tiffraster.drv"), 0);

    void Configure(const std::string& extra, const std::string& profile) {
        test::SetDriverSettings(*plugin, "DpiX=254\nDpiY=127\nProfile=" + profile +
                                             "\nOutputFile=" + out + "\n" + extra);
    }
};

// Bars: white, an orange-brown, a light blue, mid grey, each 10 source pixels.
const std::vector<Colour> kBars = {MakeColour(255, 255, 255), MakeColour(200, 120, 80),
                                   MakeColour(120, 160, 200), MakeColour(128, 128, 128)};

TEST_F(TiffDriver, SolidPatternAtDeviceResolutionThroughTheCmykProfile) {
    ASSERT_TRUE(plugin->Valid);
    Configure("", cmykProfile);
    EXPECT_EQ(plugin->Get_Plugin_Datatype(17), "254");
    EXPECT_EQ(plugin->Get_Plugin_Datatype(18), "127");
    EXPECT_EQ(plugin->Get_Plugin_Datatype(10), cmykProfile);
    auto src = Bars(kBars, 10, 20);
    auto run = test::PrintRun::Of(*src, 100, 50);  // 4 mm at 254 dpi from 40 source pixels
    run.spotCalls = [](TPluginObject& p) {
        // Planes of another width than announced are refused, never read.
        std::uint8_t plane[2] = {};
        EXPECT_TRUE(p.Plugin_PrintRow(plane, plane, plane, 2, 100, -1));
        EXPECT_EQ(p.Plugin_Status(), 0);
    };
    test::Print(*plugin, run);
    EXPECT_TRUE(run.problems.empty());
    EXPECT_FALSE(FileExists(out + ".part"));

    const auto pages = ReadTiff(out);
    ASSERT_EQ(pages.size(), 1u);
    const TiffPage& p = pages[0];
    EXPECT_EQ(p.width, 100u);
    EXPECT_EQ(p.height, 50u);
    EXPECT_EQ(p.samples, 4);
    EXPECT_EQ(p.photometric, PHOTOMETRIC_SEPARATED);
    EXPECT_FLOAT_EQ(p.xres, 254.0f);
    EXPECT_FLOAT_EQ(p.yres, 127.0f);
    const std::string profileBytes = test::ReadFileBytes(cmykProfile);
    EXPECT_EQ(p.icc, std::vector<std::uint8_t>(profileBytes.begin(), profileBytes.end()));
    // Every device pixel belongs to the bar its centre falls in.
    const Colorimetry cm(cmykProfile);
    for (std::uint32_t y : {0u, 25u, 49u})
        for (std::uint32_t x = 0; x < 100; ++x) {
            const Colour c = kBars[x / 25];
            const std::uint8_t* px = p.Pixel(x, y);
            ASSERT_EQ(std::memcmp(px, p.Pixel(x / 25 * 25, 0), 4), 0) << x << "," << y;
            if (x / 25 == 0) {
                EXPECT_EQ(px[0] + px[1] + px[2] + px[3], 0) << "white is paper";
                continue;
            }
            const cmsCIELab want = cm.FromRgb(RedOf(c), GreenOf(c), BlueOf(c));
            const cmsCIELab got = cm.FromCmyk(px);
            EXPECT_LT(cmsDeltaE(&want, &got), 3.0) << "bar " << x / 25;
        }
}

TEST_F(TiffDriver, RgbProfileGivesRgbPages) {
    Configure("Method=1\n", srgbProfile);
    auto src = Bars(kBars, 10, 2);
    auto run = test::PrintRun::Of(*src, 40, 2);
    test::Print(*plugin, run);
    const auto pages = ReadTiff(out);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].samples, 3);
    EXPECT_EQ(pages[0].photometric, PHOTOMETRIC_RGB);
    for (int bar = 0; bar < 4; ++bar) {
        const std::uint8_t* px = pages[0].Pixel(static_cast<std::uint32_t>(bar * 10 + 5), 1);
        const Colour c = kBars[static_cast<std::size_t>(bar)];
        EXPECT_NEAR(px[0], RedOf(c), 1);
        EXPECT_NEAR(px[1], GreenOf(c), 1);
        EXPECT_NEAR(px[2], BlueOf(c), 1);
    }
}

// The same colours under each gamut method: the methods are real intents.
std::vector<std::uint8_t> PrintWithMethod(TPluginObject& p, int method, const Bitmap24& src,
                                          const std::string& out) {
    p.Set_Plugin_Datatype(21, std::to_string(method));
    auto run = test::PrintRun::Of(src, src.Width(), 1);
    test::Print(p, run);
    const auto pages = ReadTiff(out);
    return pages.empty() ? std::vector<std::uint8_t>{} : pages[0].rows[0];
}

TEST_F(TiffDriver, GamutMethodsMapToDifferentIntents) {
    Configure("", cmykProfile);
    // dark grey, mid grey, saturated red
    auto src =
        Bars({MakeColour(40, 40, 40), MakeColour(128, 128, 128), MakeColour(255, 0, 0)}, 1, 1);
    std::vector<std::vector<std::uint8_t>> byMethod;
    for (int m = 0; m <= 5; ++m) byMethod.push_back(PrintWithMethod(*plugin, m, *src, out));
    for (const auto& r : byMethod) ASSERT_EQ(r.size(), 12u);
    auto px = [&](int method, int i) {
        return std::vector<std::uint8_t>(&byMethod[method][4 * i], &byMethod[method][4 * i + 4]);
    };
    EXPECT_NE(px(1, 0), px(4, 0)) << "black-point compensation lifts dark tones";
    EXPECT_NE(px(1, 1), px(5, 1)) << "absolute colorimetric simulates the paper";
}

TEST_F(TiffDriver, SpotTargetsInkChannelsAndInkPages) {
    const Colour spot = MakeColour(10, 200, 10), ink = MakeColour(0, 0, 255),
                 other = MakeColour(128, 128, 128);
    auto src = Bars({spot, ink, other}, 2, 2);
    const Colorimetry cm(cmykProfile);

    // Target colour and an ink channel within the colour pass.
    Configure("", cmykProfile);
    auto run = test::PrintRun::Of(*src, 6, 2);
    run.spotCalls = [](TPluginObject& p) {
        EXPECT_FALSE(p.Force_InkColor(1, 0, 12, 198, 12, 4));
        p.Insert_SpotColor(12, 198, 12, 4, 50, 0, 0);
        EXPECT_TRUE(p.Force_InkColor(1, 11, 0, 0, 255, 4));
        EXPECT_TRUE(p.Force_InkColor(2, 11, 0, 0, 255, 4));
        EXPECT_TRUE(p.Force_InkColor(3, 11, 0, 0, 255, 4));
    };
    test::Print(*plugin, run);
    auto pages = ReadTiff(out);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].samples, 5);
    EXPECT_EQ(pages[0].inkNames, "Cyan|Magenta|Yellow|Black|Spot White|");
    const cmsCIELab target{50, 0, 0};
    const cmsCIELab got = cm.FromCmyk(pages[0].Pixel(0, 0));
    EXPECT_LT(cmsDeltaE(&target, &got), 3.0);
    EXPECT_EQ(pages[0].Pixel(0, 0)[4], 0);
    EXPECT_EQ(std::vector<std::uint8_t>(pages[0].Pixel(2, 1), pages[0].Pixel(2, 1) + 5),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 255}));
    EXPECT_EQ(pages[0].Pixel(4, 0)[4], 0);
    EXPECT_GT(pages[0].Pixel(4, 0)[3] + pages[0].Pixel(4, 0)[0], 0);

    // The ink printed in a pass of its own: two colour passes, then a mask.
    Configure("InkPages=1\nPasses=2\n", cmykProfile);
    EXPECT_EQ(plugin->Get_Plugin_Settings(), 2);
    run.lastPass = 3;
    run.spotCalls = [](TPluginObject& p) {
        EXPECT_TRUE(p.Force_InkColor(1, 11, 0, 0, 255, 4));
        EXPECT_FALSE(p.Force_InkColor(2, 11, 0, 0, 255, 4));
        p.Force_InkColor(3, 0, 0, 0, 255, 4);
    };
    run.beforePass = [](TPluginObject& p, int pass) {
        if (pass <= 2) return;
        p.Force_InkColor(4, 11, 0, 0, 255, 4);
        p.Force_InkColor(5, 11, 0, 0, 255, 4);
    };
    test::Print(*plugin, run);
    pages = ReadTiff(out);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].samples, 4);
    EXPECT_EQ(std::vector<std::uint8_t>(pages[1].Pixel(2, 0), pages[1].Pixel(2, 0) + 4),
              (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(pages[2].samples, 1);
    EXPECT_EQ(pages[2].pageName, "Spot White");
    EXPECT_EQ(pages[2].photometric, PHOTOMETRIC_MINISWHITE);
    EXPECT_EQ((std::vector<int>{pages[2].Pixel(0, 0)[0], pages[2].Pixel(2, 0)[0],
                                pages[2].Pixel(5, 1)[0]}),
              (std::vector<int>{0, 255, 0}));
}

TEST_F(TiffDriver, GamutPreviewComesBackThroughTheProfile) {
    Configure("", cmykProfile);
    auto preview = Bars({MakeColour(200, 120, 80), MakeColour(0, 0, 255)}, 4, 4);
    plugin->Plugin_Load_Profile();
    plugin->Set_Plugin_Preview(*preview, 500);
    plugin->Set_Plugin_Datatype(21, "1");
    auto gma = plugin->Get_GMA_Data(4, 2);
    plugin->Plugin_Free_Profile();
    ASSERT_TRUE(gma);
    EXPECT_EQ(gma->Width(), 4);
    EXPECT_EQ(gma->Height(), 2);
    auto distance = [](Colour a, Colour b) {
        return std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
               std::abs(BlueOf(a) - BlueOf(b));
    };
    EXPECT_LT(distance(gma->Pixel(0, 0), MakeColour(200, 120, 80)), 12)
        << "in gamut: nearly unchanged";
    EXPECT_GT(distance(gma->Pixel(3, 1), MakeColour(0, 0, 255)), 40)
        << "out of gamut: as the press prints it";
}

TEST_F(TiffDriver, SettingsBlobRestoresEverySetting) {
    Configure("Passes=3\nMediaWidth=914.4\nMediaLength=1200\n", srgbProfile);
    const std::int32_t n = plugin->Get_Plugin_Data(nullptr);
    std::vector<std::uint8_t> blob(static_cast<std::size_t>(n));
    ASSERT_EQ(plugin->Get_Plugin_Data(blob.data()), n);
    plugin = std::make_unique<TPluginObject>("", 0);
    auto copy = home.Path("Data/tiffcopy.drv");
    test::WriteFileBytes(copy, test::ReadFileBytes(home.Path("Data/tiffraster.drv")));
    TPluginObject fresh(copy, 0);
    EXPECT_EQ(fresh.Get_Plugin_Datatype(10), home.Path("Data/../Profiles/CorvanCMYK.icc"));
    fresh.Set_Plugin_Data(blob.data(), n);
    EXPECT_EQ(fresh.Get_Plugin_Datatype(10), srgbProfile);
    EXPECT_EQ(fresh.Get_Plugin_Datatype(19), "914.4");
    EXPECT_EQ(fresh.Get_Plugin_Datatype(20), "1200");
    EXPECT_EQ(fresh.Get_Plugin_Datatype(14), out);
    EXPECT_EQ(fresh.Get_Plugin_Settings(), 3);
    const PrinterQuery q = fresh.Query_Printer();
    EXPECT_EQ(q.Name, "TIFF Raster Printer");
    EXPECT_DOUBLE_EQ(q.PrintableWidth, 914.4);
    EXPECT_DOUBLE_EQ(q.PrintableLength, 1200);
}

TEST_F(TiffDriver, UnwritableOutputIsAProblemAndLeavesNothing) {
    out = home.Path("no/such/folder/page.tif");
    Configure("", cmykProfile);
    auto src = Bars(kBars, 1, 1);
    auto run = test::PrintRun::Of(*src, 4, 1);
    test::Print(*plugin, run);
    EXPECT_EQ(run.problems.front(), "Plugin_OpenPrinter");
    EXPECT_FALSE(FileExists(out));
    // A profile that is not there is a problem too.
    out = home.Path("Ripped/x.tif");
    Configure("", home.Path("Profiles/missing.icc"));
    run.problems.clear();
    test::Print(*plugin, run);
    EXPECT_EQ(run.problems.front(), "Plugin_OpenPrinter");
    EXPECT_FALSE(FileExists(out));
}

}  // namespace
}  // namespace corvan
