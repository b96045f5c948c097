#include "support/metafile_fixture.h"

#include "platform/metafile/emf_records.h"

#include <QDir>
#include <QImageWriter>

#include <sstream>

namespace corvan::test {

emf::EmfWriter PixelWriter(int w, int h) {
    // 1000 pixels over 250 mm: a pixel is 0.25 mm, 25 hundredths of a millimetre.
    return emf::EmfWriter(emf::RectL{0, 0, w * 25, h * 25}, {1000, 1000}, {250, 250});
}

std::unique_ptr<Bitmap24> Blank(int w, int h, Colour colour) {
    auto image = Bitmap24::Create(w, h);
    image->Fill(colour);
    return image;
}

std::unique_ptr<Bitmap24> Play(emf::EmfWriter& writer, int w, int h, Colour bg) {
    const std::vector<std::uint8_t> bytes = writer.Finish();
    std::string error;
    auto reader = emf::EmfReader::OpenMemory(bytes, &error);
    EXPECT_TRUE(reader) << error;
    auto image = Blank(w, h, bg);
    if (!reader) return image;
    emf::GdiDevice dc(*image);
    const auto result = emf::PlayMetafile(dc, *reader, QRect(0, 0, w, h));
    EXPECT_TRUE(result.complete) << result.reason;
    return image;
}

const std::map<char, Colour>& Legend() {
    static const std::map<char, Colour> legend = {
        {'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0x0000FF}, {'g', 0x00FF00}, {'b', 0xFF0000},
        {'y', 0x00FFFF}, {'c', 0xFFFF00}, {'m', 0xFF00FF}, {'k', 0x808080},
    };
    return legend;
}

std::vector<std::string> Drawing(const Bitmap24& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.Height(); ++y) {
        std::string row;
        for (int x = 0; x < image.Width(); ++x) {
            char ch = '?';
            for (const auto& [k, c] : Legend())
                if (image.Pixel(x, y) == c) ch = k;
            row.push_back(ch);
        }
        rows.push_back(row);
    }
    return rows;
}

std::string DumpPng(const Bitmap24& image, const std::string& name) {
    const QString dir = QDir::temp().filePath("corvan-test-pictures");
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QString::fromStdString(name) + ".png");
    QImageWriter writer(path, "png");
    writer.write(image.View());
    return path.toStdString();
}

::testing::AssertionResult Matches(const Bitmap24& image, const std::vector<std::string>& rows,
                                   const std::string& name) {
    bool same = static_cast<int>(rows.size()) == image.Height();
    for (int y = 0; same && y < image.Height(); ++y) {
        same = static_cast<int>(rows[y].size()) == image.Width();
        for (int x = 0; same && x < image.Width(); ++x) {
            const auto it = Legend().find(rows[y][x]);
            same = it != Legend().end() && it->second == image.Pixel(x, y);
        }
    }
    if (same) return ::testing::AssertionSuccess();
    std::ostringstream msg;
    msg << name << " differs; actual picture in " << DumpPng(image, name) << "\n";
    const auto actual = Drawing(image);
    for (std::size_t y = 0; y < actual.size(); ++y)
        msg << "  " << actual[y] << "   " << (y < rows.size() ? rows[y] : "") << "\n";
    return ::testing::AssertionFailure() << msg.str();
}

int CountColour(const Bitmap24& image, Colour c) {
    int n = 0;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) n += image.Pixel(x, y) == c;
    return n;
}

std::string WriteThreeColourLayer(const std::string& path) {
    emf::EmfWriter w = PixelWriter(100, 50);
    w.SelectObject(w.CreatePen(emf::kPsSolid, 3, 0x0000FF));
    w.SelectObject(w.CreateBrush(emf::kBsSolid, 0xFF0000));
    w.Box(emf::kRectangle, QRect(10, 10, 30, 30));
    w.SelectStock(emf::kNullPen);
    w.SelectObject(w.CreateBrush(emf::kBsSolid, 0x00FF00));
    w.Box(emf::kRectangle, QRect(60, 10, 30, 30));
    EXPECT_TRUE(w.Save(path));
    return path;
}

namespace {

emf::EmfWriter SizedLayer(int records, std::size_t comment) {
    emf::EmfWriter w = PixelWriter(10, 10);
    for (int i = 0; i < records - 3; ++i) w.MoveTo(QPoint(i % 10, 0));
    std::vector<std::uint8_t> body(4 + comment, 0);
    for (int b = 0; b < 4; ++b) body[static_cast<std::size_t>(b)] = (comment >> (8 * b)) & 0xFF;
    w.RawRecord(emf::kGdiComment, body);
    return w;
}

}  // namespace

std::string WriteLayerOfSize(const std::string& path, int records, std::size_t bytes) {
    const std::size_t bare = SizedLayer(records, 0).Finish().size();
    EXPECT_TRUE(SizedLayer(records, bytes - bare).Save(path));
    return path;
}

std::string WriteFramedLayer(const std::string& path, int widthMm, int heightMm) {
    // The frame is inclusive, in hundredths of a millimetre.
    emf::EmfWriter w(emf::RectL{0, 0, widthMm * 100 - 1, heightMm * 100 - 1});
    EXPECT_TRUE(w.Save(path));
    return path;
}

}  // namespace corvan::test
