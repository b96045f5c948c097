// corvanrip-cli render: a layer to a PNG of the asked size, one side alone
// keeping the frame's shape; a clear message and status for bad input.
#include "support/metafile_fixture.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace corvan::test {
namespace {

using namespace corvan::emf;

struct CliResult {
    int status;
    QString error;
};

CliResult Render(const QStringList& args) {
    QProcess p;
    p.start(QString(CORVAN_BIN_DIR) + "/corvanrip-cli", QStringList{"render"} + args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

class MetafileRenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        // A 40 x 20 frame: red fill in the left half.
        auto w = PixelWriter(40, 20);
        w.SelectStock(kNullPen);
        w.SelectObject(w.CreateBrush(kBsSolid, 0x0000FF));
        w.Box(kRectangle, QRect(0, 0, 20, 20));
        layer = dir.filePath("layer.emf");
        ASSERT_TRUE(w.Save(layer.toStdString()));
    }
    QTemporaryDir dir;
    QString layer;
};

TEST_F(MetafileRenderCommand, WidthAloneKeepsTheFrameShape) {
    const QString out = dir.filePath("out.png");
    const CliResult r = Render({layer, "-o", out, "--width", "80", "--bg", "00FF00", "--plain"});
    ASSERT_EQ(r.status, 0) << r.error.toStdString();
    const QImage image(out);
    EXPECT_EQ(image.size(), QSize(80, 40));
    EXPECT_EQ(image.pixel(10, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(70, 20), qRgb(0, 255, 0));
}

TEST_F(MetafileRenderCommand, BothSidesAsGiven) {
    const QString out = dir.filePath("out.png");
    ASSERT_EQ(Render({layer, "-o", out, "--width", "30", "--height", "50"}).status, 0);
    EXPECT_EQ(QImage(out).size(), QSize(30, 50));
}

// Pictures of several strips: the strips meet without a seam, in both
// formats and with and without the layer preview rules.
TEST_F(MetafileRenderCommand, TallPicturesComeInStripsWithoutSeams) {
    for (const char* name : {"tall.png", "tall.tif"})
        for (bool plain : {true, false}) {
            SCOPED_TRACE(std::string(name) + (plain ? " plain" : ""));
            const QString out = dir.filePath(name);
            QStringList args{layer, "-o", out, "--width", "4000", "--stats"};
            if (plain) args << "--plain";
            const CliResult r = Render(args);
            ASSERT_EQ(r.status, 0) << r.error.toStdString();
            EXPECT_TRUE(r.error.contains("Mpx/s")) << r.error.toStdString();
            const QImage image(out);
            ASSERT_EQ(image.size(), QSize(4000, 2000));
            for (int y : {0, 999, 1000, 1001, 1999}) {
                EXPECT_EQ(image.pixel(1990, y), qRgb(255, 0, 0)) << y;
                EXPECT_EQ(image.pixel(2010, y), qRgb(255, 255, 255)) << y;
            }
        }
}

TEST_F(MetafileRenderCommand, BadInputAndUsage) {
    const QString out = dir.filePath("out.png");
    QFile junk(dir.filePath("junk.emf"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(200, 'x'));
    junk.close();
    const CliResult notEmf = Render({junk.fileName(), "-o", out, "--width", "10"});
    EXPECT_EQ(notEmf.status, 1);
    EXPECT_TRUE(notEmf.error.contains("not an enhanced metafile")) << notEmf.error.toStdString();
    EXPECT_EQ(notEmf.error.count("corvanrip-cli:"), 1) << "one line";
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(Render({dir.filePath("missing.emf"), "-o", out, "--width", "10"}).status, 1);
    EXPECT_EQ(Render({layer, "-o", out}).status, 2);        // no size
    EXPECT_EQ(Render({layer, "--width", "10"}).status, 2);  // no output
    EXPECT_EQ(Render({layer, "-o", out, "--width", "0"}).status, 2);
    EXPECT_EQ(Render({layer, "-o", out, "--width", "10", "--bg", "red"}).status, 2);
    EXPECT_EQ(Render({layer, "-o", out, "--width", "10", "--frob"}).status, 2);
    EXPECT_EQ(Render({layer, "-o", out, "--width"}).status, 2);
    EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
}  // namespace corvan::test
