// "corvanrip-cli rip": the demo job through real drivers, as a batch run.
#include "driver_fixture.h"

#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/metafile/emf_writer.h"
#include "platform/paths.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include <tiffio.h>

#include <tuple>

namespace corvan {
namespace {

struct Run {
    int exitCode = -1;
    std::string err;
};

Run Cli(const QStringList& args, std::string* out = nullptr) {
    QProcess p;
    p.start(QString(CORVAN_BIN_DIR) + "/corvanrip-cli", args);
    p.waitForFinished(120000);
    if (out) *out = p.readAllStandardOutput().toStdString();
    return {p.exitCode(), p.readAllStandardError().toStdString()};
}

Run Rip(const QStringList& args) {
    return Cli(QStringList{"rip"} + args);
}

TEST(CliRip, DemoJobThroughTheTiffDriverIntoAFile) {
    test::DriverHome home;
    const std::string out = home.Path("demo.tif");
    const auto r = Rip({QString::fromStdString(home.Path("samples/demo.RIP")), "--driver",
                        QString::fromStdString(home.Path("Data/tiffraster.drv")), "--output",
                        QString::fromStdString(out), "--stats"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("RIP Current Job? -> Yes"), std::string::npos) << r.err;
    // --stats: rendered and delivered pixels with their rates, times, memory.
    for (const char* part :
         {"corvanrip: stats: ", " s wall, ", " s CPU ", " Mpx/s, device ", "peak memory "})
        EXPECT_NE(r.err.find(part), std::string::npos) << part << " in " << r.err;
    EXPECT_EQ(r.err.find("source 0.0 Mpx"), std::string::npos) << r.err;
    TIFF* tif = TIFFOpen(out.c_str(), "r");
    ASSERT_TRUE(tif) << "no TIFF written";
    std::uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    TIFFClose(tif);
    // Two 300 x 200 mm copies with their marks at the driver's 360 DPI.
    EXPECT_GT(w, 8000u);
    EXPECT_GT(h, 2800u);
}

TEST(CliRip, CutterGetsTheContoursAsHpgl) {
    test::DriverHome home;
    const std::string out = home.Path("demo.plt");
    const auto r = Rip({QString::fromStdString(home.Path("samples/demo.RIP")), "--driver",
                        QString::fromStdString(home.Path("Data/hpglcutter.drv")), "--output",
                        QString::fromStdString(out), "--no-raster"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string hpgl = test::ReadFileBytes(out);
    EXPECT_EQ(hpgl.rfind("IN;", 0), 0u) << hpgl.substr(0, 80);
    EXPECT_NE(hpgl.find("PD"), std::string::npos);
}

TEST(CliCutfile, WritesTheNextNumberedFileAndDumpsIt) {
    test::DriverHome home;
    std::string out;
    ASSERT_EQ(
        Cli({"cutfile", QString::fromStdString(home.Path("samples/demo.RIP"))}, &out).exitCode, 0);
    EXPECT_EQ(out, home.Path("Cutfiles/0001.tcf") + "\n");
    ASSERT_EQ(
        Cli({"cutfile", QString::fromStdString(home.Path("Cutfiles/0001.tcf")), "--dump"}, &out)
            .exitCode,
        0);
    EXPECT_NE(out.find("thumbnail    "), std::string::npos) << out;
    EXPECT_EQ(out.find("points       0\n"), std::string::npos) << out;
    test::WriteFileBytes(home.Path("junk.tcf"), "not a cut file");
    EXPECT_EQ(Cli({"cutfile", QString::fromStdString(home.Path("junk.tcf")), "--dump"}).exitCode,
              1);
}

// A background that is there but cannot be decoded must not turn into a
// white picture and a success: the run fails with the decoder's reason.
// The demo job with one value changed, saved beside it.
std::string DemoWith(test::ScratchHome& home, const char* section, const char* key,
                     const std::string& value) {
    const std::string path = home.Path("samples/changed.RIP");
    test::WriteFileBytes(path, test::ReadFileBytes(home.Path("samples/demo.RIP")));
    WriteProfileString(path, section, key, value);
    return path;
}

TEST(CliRenderJob, BrokenBackgroundFailsWithItsReason) {
    test::DriverHome home;
    const std::string broken = home.Path("broken background.png");
    test::WriteFileBytes(broken, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const std::string job = DemoWith(home, "Job", "Background Image", broken);
    for (const QStringList& args :
         {QStringList{"render-job", QString::fromStdString(job), "-o",
                      QString::fromStdString(home.Path("out.png")), "--dpi", "10"},
          QStringList{"rip", QString::fromStdString(job), "--driver",
                      QString::fromStdString(home.Path("Data/tiffraster.drv")), "--output",
                      QString::fromStdString(home.Path("out.tif"))}}) {
        const auto r = Cli(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_NE(r.err.find("Unable to load image: "), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(broken), std::string::npos) << r.err;
    }
    EXPECT_FALSE(FileExists(home.Path("out.png")));
    EXPECT_FALSE(FileExists(home.Path("out.tif")));
}

// Fonts that travel with a layer are installed for batch runs too, so the
// CLI draws the same faces as the window.
TEST(CliRenderJob, InstallsTheFontsThatTravelWithTheLayers) {
    test::DriverHome home;
    const std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!FileExists(font)) GTEST_SKIP() << "fonts-dejavu-core is not installed";
    test::WriteFileBytes(ReadPath("CacheDir") + "Corvan Batch Face.TTF", test::ReadFileBytes(font));
    emf::EmfWriter writer({0, 0, 1000, 1000});
    writer.CreateFont(u"Corvan Batch Face", 12);
    const std::string layer = home.Path("batch face.emf");
    ASSERT_TRUE(writer.Save(layer));
    const auto r =
        Cli({"render-job", QString::fromStdString(DemoWith(home, "EMF Layers", "Layer#0", layer)),
             "-o", QString::fromStdString(home.Path("out.png")), "--dpi", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The tool keeps its own debug log beside the program's.
    const std::string log = test::ReadFileBytes(home.Path("corvanrip-cli.log"));
    EXPECT_NE(log.find("Layer font registered: " + ReadPath("CacheDir") + "Corvan Batch Face.TTF"),
              std::string::npos)
        << log;
}

// Every pixel row of the first page of a TIFF, as stored.
std::vector<std::string> TiffRows(const std::string& path) {
    std::vector<std::string> rows;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return rows;
    std::uint32_t h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    std::string row(static_cast<std::size_t>(TIFFScanlineSize(tif)), '\0');
    for (std::uint32_t y = 0; y < h; ++y) {
        if (TIFFReadScanline(tif, row.data(), y) < 0) break;
        rows.push_back(row);
    }
    TIFFClose(tif);
    return rows;
}

// Strips drawn ahead on several threads must give exactly what one thread
// gives: the driver's rows, call by call, and the pixels it writes.
TEST(CliRip, OneThreadAndSeveralGiveTheSameOutput) {
    test::DriverHome home;
    const std::string demo = home.Path("samples/demo.RIP");
    const std::string turned = home.Path("samples/turned.RIP");
    test::WriteFileBytes(turned, test::ReadFileBytes(demo));
    for (const auto& [section, key, value] :
         {std::tuple{"Size", "Copies", "3"}, std::tuple{"Size", "Rotate", "1"},
          std::tuple{"Size", "Mirror-X", "1"}, std::tuple{"CropMarks", "Cropmarks", "1"},
          std::tuple{"CropMarks", "Border", "1"}})
        ASSERT_TRUE(WriteProfileString(turned, section, key, value));
    const std::string recorder =
        home.AddRecorder(home.Folder("drv"), "rec",
                         {"count_ink=1", "data.17=150", "data.18=150",
                          "data.10=" + home.Path("Profiles/CorvanCMYK.icc")});
    for (const std::string& job : {demo, turned}) {
        SCOPED_TRACE(job);
        std::vector<std::string> pixels[2], calls[2];
        for (int i = 0; i < 2; ++i) {
            const QString threads = i == 0 ? "1" : "3";
            const std::string out = home.Path("out" + threads.toStdString() + ".tif");
            const auto r =
                Rip({QString::fromStdString(job), "--driver",
                     QString::fromStdString(home.Path("Data/tiffraster.drv")), "--output",
                     QString::fromStdString(out), "--threads", threads, "--no-cut"});
            ASSERT_EQ(r.exitCode, 0) << r.err;
            pixels[i] = TiffRows(out);
            home.ClearCalls();
            const auto rec = Rip({QString::fromStdString(job), "--driver",
                                  QString::fromStdString(recorder), "--threads", threads});
            ASSERT_EQ(rec.exitCode, 0) << rec.err;
            calls[i] = home.Calls();
        }
        ASSERT_GT(pixels[0].size(), 1000u);
        EXPECT_TRUE(pixels[0] == pixels[1]) << "TIFF pixels differ";
        EXPECT_GT(calls[0].size(), 1000u);
        EXPECT_TRUE(calls[0] == calls[1]) << "driver calls differ";
    }
}

TEST(CliRip, BadUsageAndMissingFiles) {
    test::ScratchHome home;
    EXPECT_EQ(Rip({}).exitCode, 2);
    EXPECT_EQ(Rip({"a.RIP", "--bogus"}).exitCode, 2);
    EXPECT_EQ(Rip({"a.RIP", "--threads", "0"}).exitCode, 2);
    const auto missing = Rip({"/no/such/job.RIP"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("Unable to find file: /no/such/job.RIP"), std::string::npos);
}

// A billboard from a script: the tile list, one tile RIPped and recorded as
// printed, and a tile the job does not have.
TEST(CliTiles, OneTileRippedIsListedAsPrinted) {
    test::DriverHome home;
    const std::string job = home.Path("samples/demo.RIP");
    {
        IniFile ini(job);
        ASSERT_TRUE(ini.Load());
        ini.WriteBool("Crop", "Multi-Tiles", true);
        ini.WriteFloat("Crop", "TileWidth(mm)", 100);
        ini.WriteFloat("Crop", "TileHeight(mm)", 200);
        ASSERT_TRUE(ini.Save());
    }
    std::string out;
    ASSERT_EQ(Cli({"tiles", QString::fromStdString(job)}, &out).exitCode, 0);
    EXPECT_NE(out.find("3 x 1 tiles (3)"), std::string::npos) << out;
    EXPECT_NE(out.find("Tile: 2.  [2,1]  Size: 100.0mm x 200.0mm\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("printed"), std::string::npos) << out;

    const std::string tif = home.Path("tile2.tif");
    const auto r = Rip({QString::fromStdString(job), "--driver",
                        QString::fromStdString(home.Path("Data/tiffraster.drv")), "--output",
                        QString::fromStdString(tif), "--tile", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_EQ(Cli({"tiles", QString::fromStdString(job)}, &out).exitCode, 0);
    EXPECT_NE(out.find("Tile: 2.  [2,1]  Size: 100.0mm x 200.0mm  printed"), std::string::npos)
        << out;
    EXPECT_EQ(out.find("Tile: 1.  [1,1]  Size: 100.0mm x 200.0mm  printed"), std::string::npos);
    TIFF* t = TIFFOpen(tif.c_str(), "r");
    ASSERT_TRUE(t);
    std::uint32_t w = 0;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
    TIFFClose(t);
    // Two copies of a 100 mm tile (not of the 300 mm page) at 360 DPI.
    EXPECT_LT(w, 2u * 300 * 360 / 25.4 / 2);

    const auto none = Rip({QString::fromStdString(job), "--tile", "9"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("the job has tiles 1 to 3, not tile 9"), std::string::npos) << none.err;
}

TEST(CliExport, CropSectionInGreyAndAPictureTooLargeForItsFormat) {
    test::DriverHome home;
    const std::string job = home.Path("samples/demo.RIP");
    const std::string jpg = home.Path("flat.jpg");
    const auto r = Cli({"export", QString::fromStdString(job), "-o", QString::fromStdString(jpg),
                        "--dpi", "50.8", "--grey"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("600 x 400 pixels at 50.8 DPI"), std::string::npos) << r.err;
    const QImage read(QString::fromStdString(jpg));
    EXPECT_EQ(read.size(), QSize(600, 400));
    EXPECT_TRUE(read.isGrayscale());

    const std::string bmp = home.Path("huge.bmp");
    const auto big = Cli({"export", QString::fromStdString(job), "-o", QString::fromStdString(bmp),
                          "--dpi", "5000"});
    EXPECT_EQ(big.exitCode, 1);
    EXPECT_NE(big.err.find("too large for a BMP file"), std::string::npos) << big.err;
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(bmp)));
    EXPECT_EQ(Cli({"export", QString::fromStdString(job)}).exitCode, 2);
}

}  // namespace
}  // namespace corvan
