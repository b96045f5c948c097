// Pictures written strip by strip: read back whole by Qt's decoders, never
// under the final name before they are complete, nothing left behind when a
// write fails.
#include "raster/stripsink.h"

#include "support/tempdirs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace corvan {
namespace {

// Every pixel tells where it is: red = x, green = y, blue = x ^ y.
Colour At(int x, int y) {
    return MakeColour(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
}

std::unique_ptr<Bitmap24> Strip(int width, int top, int rows) {
    auto b = Bitmap24::Create(width, rows);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x) b->SetPixel(x, y, At(x, top + y));
    return b;
}

class StripSinkTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files); }
};

TEST_F(StripSinkTest, StripsOfAnySizeMakeTheWholePictureInEachFormat) {
    const char* names[] = {"out.png", "out.tif", "OUT.TIFF", "no-extension"};
    const int width = 70, height = 45;
    for (const char* name : names) {
        SCOPED_TRACE(name);
        std::string error;
        auto sink = StripSink::Create(Path(name), width, height, 300, error);
        ASSERT_TRUE(sink) << error;
        for (int top = 0, rows = 1; top < height; top += rows, rows += 3)
            ASSERT_TRUE(sink->Append(Strip(width, top, std::min(rows, height - top))));
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Path(name)))) << "visible before complete";
        ASSERT_TRUE(sink->Finish(error)) << error;
        const QImage image(QString::fromStdString(Path(name)));
        ASSERT_EQ(image.size(), QSize(width, height));
        EXPECT_EQ(image.dotsPerMeterX(), 11811);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Colour c = At(x, y);
                ASSERT_EQ(image.pixel(x, y), qRgb(RedOf(c), GreenOf(c), BlueOf(c))) << x << "," << y;
            }
    }
    EXPECT_EQ(Files().size(), 4);  // no temporary files left
}

TEST_F(StripSinkTest, AnUnfinishedPictureLeavesTheEarlierFileAndNoTemporary) {
    const std::string out = Path("out.png");
    test::WriteFileBytes(out, "an earlier picture");
    std::string error;
    {
        auto sink = StripSink::Create(out, 10, 10, 0, error);
        ASSERT_TRUE(sink);
        ASSERT_TRUE(sink->Append(Strip(10, 0, 4)));
        EXPECT_FALSE(sink->Append(Strip(9, 4, 4))) << "a strip of another width";
        EXPECT_FALSE(sink->Finish(error));
        EXPECT_NE(error.find("4 of 10 rows"), std::string::npos) << error;
    }
    {
        // The disk fills up while the picture is written.
        auto sink = StripSink::Create(Path("big.tif"), 2000, 2000, 0, error);
        ASSERT_TRUE(sink);
        test::FileSizeLimit limit(64 * 1024);
        bool written = true;
        for (int top = 0; top < 2000 && written; top += 100) written = sink->Append(Strip(2000, top, 100));
        EXPECT_FALSE(written && sink->Finish(error));
    }
    EXPECT_EQ(test::ReadFileBytes(out), "an earlier picture");
    EXPECT_EQ(Files(), QStringList{"out.png"});
    EXPECT_FALSE(StripSink::Create(Path("no/such/folder/x.png"), 10, 10, 0, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace corvan
