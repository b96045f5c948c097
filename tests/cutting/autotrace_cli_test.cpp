// "corvanrip-cli autotrace": the demo job's page traced into a layer file.
#include "layer_playback.h"

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
    EXPECT_EQ(test::CollectLayerFigures(out.toStdString(), 300, 200, 0xFF0000).size(), 5u);
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
