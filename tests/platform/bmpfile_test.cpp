#include "platform/bmpfile.h"
#include "dib_fixtures.h"
#include "platform/byteorder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace corvan {
namespace {

using test::Bytes;
using test::PixelsOf;

constexpr Colour K = 0x000000;

// Pixels of Qt's own reading of a BMP file, or nothing when Qt refuses it.
std::vector<Colour> QtPixels(const Bytes& file) {
    const QImage image = QImage::fromData(file.data(), static_cast<int>(file.size()), "BMP");
    if (image.isNull()) return {};
    auto copy = Bitmap24::FromQImage(image);
    return PixelsOf(*copy);
}

bool Near(Colour a, Colour b, int tolerance) {
    return std::abs(RedOf(a) - RedOf(b)) <= tolerance &&
           std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
           std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

std::vector<test::DibCase> AllFileCases() {
    auto cases = test::UncompressedCases();
    for (auto& c : test::FullRleCases()) cases.push_back(std::move(c));
    return cases;
}

// The same fixtures wrapped in files decode the same, and agree with Qt's
// reader for the forms it knows (16-bit values differ by Qt's scaling of
// 5-bit channels, which never reaches full white).
TEST(Bmp, FixturesAsFilesMatchTheirPixelsAndQt) {
    for (const auto& c : AllFileCases()) {
        SCOPED_TRACE(c.name);
        const Bytes file = test::MakeBmpFile(c.spec, c.bits);
        const auto result = DecodeBmp(file);
        ASSERT_TRUE(result) << result.Error();
        const auto ours = PixelsOf(*result->pixels);
        EXPECT_EQ(ours, c.pixels);
        if (c.qtTolerance < 0) continue;
        const auto theirs = QtPixels(file);
        ASSERT_EQ(theirs.size(), ours.size()) << "Qt did not read it";
        for (std::size_t i = 0; i < ours.size(); ++i)
            EXPECT_TRUE(Near(ours[i], theirs[i], c.qtTolerance))
                << "pixel " << i << std::hex << ": ours " << ours[i] << ", Qt " << theirs[i];
    }
}

std::unique_ptr<Bitmap24> Sample(int width, int height) {
    auto image = Bitmap24::Create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetPixel(x, y, MakeColour(40 * x, 50 * y, 7 * x + y));
    return image;
}

TEST(Bmp, WrittenFileIsPlain24BitBottomUp) {
    auto image = Sample(5, 3);
    // Dirty padding must not leak into the file.
    for (int y = 0; y < 3; ++y) image->Row(y)[15] = 0xEE;
    const auto file = EncodeBmp(*image);
    ASSERT_TRUE(file) << file.Error();
    const Bytes& f = *file;
    ASSERT_EQ(f.size(), 54u + 16 * 3);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(ReadU32LE(f, 2), f.size());
    EXPECT_EQ(ReadU32LE(f, 10), 54u);
    EXPECT_EQ(ReadU32LE(f, 14), 40u);
    EXPECT_EQ(ReadI32LE(f, 22), 3);  // positive height: bottom-up
    EXPECT_EQ(ReadU16LE(f, 28), 24);
    EXPECT_EQ(ReadU32LE(f, 34), 48u);
    // The first stored row is the bottom one.
    EXPECT_EQ(f[54 + 2], RedOf(image->Pixel(0, 2)));
    for (int row = 0; row < 3; ++row) EXPECT_EQ(f[54 + 16 * row + 15], 0) << row;
}

TEST(Bmp, RoundTripsThroughMemoryDiskAndQt) {
    for (const auto& [w, h] : {std::pair{1, 1}, {4, 2}, {5, 3}, {7, 6}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        auto image = Sample(w, h);
        const auto file = EncodeBmp(*image);
        ASSERT_TRUE(file);
        const auto back = DecodeBmp(*file);
        ASSERT_TRUE(back) << back.Error();
        EXPECT_EQ(PixelsOf(*back->pixels), PixelsOf(*image));
        EXPECT_EQ(QtPixels(*file), PixelsOf(*image));

        QTemporaryDir dir;
        const std::string path = dir.filePath("round trip.bmp").toStdString();
        ASSERT_TRUE(WriteBmpFile(*image, path));
        const auto read = ReadBmpFile(path);
        ASSERT_TRUE(read) << read.Error();
        EXPECT_EQ(PixelsOf(*read->pixels), PixelsOf(*image));
    }
}

TEST(Bmp, FailedWriteLeavesTheOldFileAlone) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("keep.bmp").toStdString();
    ASSERT_TRUE(WriteBmpFile(*Sample(2, 2), path));
    const auto empty = Bitmap24::Create(0, 0);
    const Status status = WriteBmpFile(*empty, path);
    EXPECT_FALSE(status);
    EXPECT_NE(status.Error().find("empty"), std::string::npos) << status.Error();
    const auto read = ReadBmpFile(path);
    ASSERT_TRUE(read) << read.Error();
    EXPECT_EQ(read->pixels->Width(), 2);

    const Status noFolder =
        WriteBmpFile(*Sample(1, 1), dir.filePath("missing/x.bmp").toStdString());
    EXPECT_FALSE(noFolder);
    EXPECT_NE(noFolder.Error().find("Cannot write"), std::string::npos) << noFolder.Error();
}

TEST(Bmp, ReadFailuresExplainThemselves) {
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& data) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return dir.filePath(name).toStdString();
    };
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {dir.filePath("absent.bmp").toStdString(), "Cannot open"},
        {dir.path().toStdString(), "is a folder"},
        {write("empty.bmp", ""), "too short"},
        {write("text.bmp", "Hello, this is not a picture at all"), "no \"BM\" signature"},
        {write("cut.bmp", QByteArray("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02", 19)),
         "header is truncated"},
    };
    for (const auto& c : cases) {
        const auto result = ReadBmpFile(c.path);
        ASSERT_FALSE(result) << c.path;
        EXPECT_NE(result.Error().find(c.message), std::string::npos) << result.Error();
    }
}

// Writers get the pixel offset wrong both ways; the reader keeps the pixels.
TEST(Bmp, PixelOffsetLiesFallBackToTheColourTableEnd) {
    const test::DibSpec spec{.width = 2,
                             .height = 1,
                             .bitCount = 8,
                             .colorsUsed = 2,
                             .table = {MakeColour(255, 0, 0), MakeColour(0, 0, 255)}};
    const Bytes bits{1, 0, 0, 0};
    const std::vector<Colour> expected{MakeColour(0, 0, 255), MakeColour(255, 0, 0)};
    const std::uint32_t truth = 14 + 40 + 8;
    for (const std::uint32_t offset : {truth, 0u, 14u, 54u, 58u, 0xFFFFFFF0u, truth + 3}) {
        SCOPED_TRACE(offset);
        const auto result = DecodeBmp(test::MakeBmpFile(spec, bits, offset));
        ASSERT_TRUE(result) << result.Error();
        EXPECT_EQ(PixelsOf(*result->pixels), expected);
    }
}

TEST(Bmp, GapBeforeThePixelsIsHonoured) {
    const test::DibSpec spec{.width = 1, .height = 1};
    const Bytes bits{9, 9, 9, 9, 1, 2, 3, 0};  // 4 bytes of gap, then the pixel
    const auto result = DecodeBmp(test::MakeBmpFile(spec, bits, 14 + 40 + 4));
    ASSERT_TRUE(result) << result.Error();
    EXPECT_EQ(result->pixels->Pixel(0, 0), MakeColour(3, 2, 1));
}

// Some writers store only the colours they use and leave the count at 0; the
// pixel offset then cuts the table short and the rest reads as black.
TEST(Bmp, OffsetCuttingTheTableShortKeepsTheEntriesPresent) {
    const test::DibSpec spec{.width = 3,
                             .height = 1,
                             .bitCount = 8,
                             .table = {MakeColour(0, 255, 0), MakeColour(9, 9, 9)}};
    const Bytes bits{1, 0, 7, 0};
    const auto result = DecodeBmp(test::MakeBmpFile(spec, bits));
    ASSERT_TRUE(result) << result.Error();
    EXPECT_EQ(PixelsOf(*result->pixels),
              (std::vector<Colour>{MakeColour(9, 9, 9), MakeColour(0, 255, 0), K}));
}

}  // namespace
}  // namespace corvan
