// "corvanrip-cli autotrace": the demo job's page traced into a layer file.
#include "raster/emfdoc.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace corvan {
namespace {

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

CliRun Autotrace(const QStringList& args) {
    QProcess p;
    p.start(QString(CORVAN_BIN_DIR) + "/corvanrip-cli", QStringList{"autotrace"} + args);
    p.waitForFinished(120000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

// The demo sign against white with a threshold that leaves its pale
// background out: the panel, the sun, and the waves' outline with the gaps
// enclosed between their strokes come back as five figures, in blue.
TEST(CliAutotrace, DemoJobIntoALayer) {
    QTemporaryDir dir;
    const QString out = dir.filePath("demo.LYR");
    const CliRun r = Autotrace({QString(CORVAN_SAMPLES_DIR) + "demo.RIP", "-o", out, "--threshold", "128"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Contours: 5\n"), std::string::npos) << r.out;
    TemfDoc doc;
    doc.ImageWidth = 300;
    doc.ImageHeight = 200;
    doc.PlayRect = {0, 0, 300, 200};
    doc.LayerFiles = {out.toStdString()};
    doc.Preview.ContourActive = true;
    doc.Preview.MatchMask = 1;
    doc.Preview.MatchColor = 0xFF0000;
    doc.Preview.CollectContours = true;
    doc.CollectPaths();
    int figures = 0;
    for (std::uint8_t t : doc.Preview.PathTypes) figures += (t & 6) == 6;
    EXPECT_EQ(figures, 5);
}

TEST(CliAutotrace, BadUsageAndMissingProject) {
    QTemporaryDir dir;
    const QString out = dir.filePath("x.LYR");
    struct Case {
        QStringList args;
        int exitCode;
    };
    for (const Case& c : {Case{{}, 2}, Case{{QString(CORVAN_SAMPLES_DIR) + "demo.RIP"}, 2},
                          Case{{QString(CORVAN_SAMPLES_DIR) + "demo.RIP", "-o", out, "--threshold", "256"}, 2},
                          Case{{dir.filePath("none.RIP"), "-o", out}, 1}}) {
        const CliRun r = Autotrace(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << ": " << r.err;
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}

}  // namespace
}  // namespace corvan
