// "corvanrip-cli rip": the demo job through real drivers, as a batch run.
#include "driver_fixture.h"

#include <gtest/gtest.h>
#include <QProcess>

#include <tiffio.h>

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

Run Rip(const QStringList& args) { return Cli(QStringList{"rip"} + args); }

TEST(CliRip, DemoJobThroughTheTiffDriverIntoAFile) {
    test::DriverHome home;
    const std::string out = home.Path("demo.tif");
    const auto r = Rip({QString::fromStdString(home.Path("samples/demo.RIP")), "--driver",
                        QString::fromStdString(home.Path("Data/tiffraster.drv")), "--output",
                        QString::fromStdString(out), "--stats"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("RIP Current Job? -> Yes"), std::string::npos) << r.err;
    // --stats: rendered and delivered pixels with their rates, times, memory.
    for (const char* part : {"corvanrip: stats: ", " s wall, ", " s CPU ", " Mpx/s, device ", "peak memory "})
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
    ASSERT_EQ(Cli({"cutfile", QString::fromStdString(home.Path("samples/demo.RIP"))}, &out).exitCode, 0);
    EXPECT_EQ(out, home.Path("Cutfiles/0001.tcf") + "\n");
    ASSERT_EQ(Cli({"cutfile", QString::fromStdString(home.Path("Cutfiles/0001.tcf")), "--dump"}, &out).exitCode, 0);
    EXPECT_NE(out.find("thumbnail    "), std::string::npos) << out;
    EXPECT_EQ(out.find("points       0\n"), std::string::npos) << out;
    test::WriteFileBytes(home.Path("junk.tcf"), "not a cut file");
    EXPECT_EQ(Cli({"cutfile", QString::fromStdString(home.Path("junk.tcf")), "--dump"}).exitCode, 1);
}

TEST(CliRip, BadUsageAndMissingFiles) {
    test::ScratchHome home;
    EXPECT_EQ(Rip({}).exitCode, 2);
    EXPECT_EQ(Rip({"a.RIP", "--bogus"}).exitCode, 2);
    const auto missing = Rip({"/no/such/job.RIP"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("Unable to find file: /no/such/job.RIP"), std::string::npos);
}

}  // namespace
}  // namespace corvan
