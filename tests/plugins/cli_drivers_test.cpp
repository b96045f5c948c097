// "corvanrip-cli drivers [DIR]": the driver lines of a folder.
#include "driver_fixture.h"

#include "plugins/driverlist.h"

#include <gtest/gtest.h>
#include <QProcess>
#include <QProcessEnvironment>

namespace corvan {
namespace {

struct CliResult {
    int exitCode = -1;
    std::string out, err;
};

CliResult RunCli(const QStringList& args) {
    QProcess p;
    p.start(QString(CORVAN_BIN_DIR) + "/corvanrip-cli", args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

TEST(CliDrivers, ListsLoadableDriversThenTheSystemPrinter) {
    test::DriverHome home;
    const std::string dir = home.Folder("drv");
    const std::string rec =
        home.AddRecorder(dir, "rec", {"name=Cli Jet", "description=For the CLI"});
    test::WriteFileBytes(dir + "junk.drv", "not a library");
    const auto r = RunCli({"drivers", QString::fromStdString(dir)});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "\"" + rec + "\",\"Cli Jet\",\"For the CLI\"\n" + kWindowsPrinterLine + "\n");

    // Without a folder: the Data folder, where the built drivers are seeded.
    const auto data = RunCli({"drivers"});
    EXPECT_EQ(data.exitCode, 0) << data.err;
    EXPECT_NE(data.out.find("\"TIFF Raster Printer\""), std::string::npos);
    EXPECT_NE(data.out.find("\"HP-GL Cutter\""), std::string::npos);
}

TEST(CliDrivers, BadUsage) {
    test::ScratchHome home;
    const auto missing = RunCli({"drivers", "/no/such/folder"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "corvanrip-cli: no such folder: /no/such/folder\n");
    EXPECT_EQ(RunCli({"drivers", "a", "b"}).exitCode, 2);
}

}  // namespace
}  // namespace corvan
