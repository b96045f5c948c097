// Writes the crop-mark files and the demo job shipped in share/data:
//   make_samples SHARE_DATA_DIR
// The output is data and is committed; run this again only to change it.
#include "clisession.h"
#include "job/projectfile.h"
#include "placement/cropmarkfile.h"
#include "platform/bmpfile.h"
#include "platform/metafile/emf_player.h"
#include "platform/metafile/emf_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>

using namespace corvan;
using namespace corvan::emf;

namespace {

// A corner picture: 2000 x 2000 units with the corner point at (1000, 1000);
// `draw` gets the signs that point away from the job (sx, sy).
using CornerDraw = std::function<void(EmfWriter&, int sx, int sy)>;

std::vector<std::uint8_t> Corner(int index, const CornerDraw& draw) {
    EmfWriter w(RectL{0, 0, 2000, 2000}, {200, 200}, {2, 2});
    const int sx = (index % 2 == 0) ? -1 : 1, sy = index < 2 ? -1 : 1;
    draw(w, sx, sy);
    return w.Finish();
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return bool(out);
}

bool WriteMarkFile(const std::string& path, float size, const CornerDraw& draw) {
    CropMarkFile file;
    file.size = size;
    for (int i = 0; i < 4; ++i) file.corners[static_cast<std::size_t>(i)] = Corner(i, draw);
    auto preview = Bitmap24::Create(40, 40);
    preview->Fill(0xFFFFFF);
    {
        auto reader = EmfReader::OpenMemory(file.corners[0]);
        GdiDevice dc(*preview);
        PlayMetafile(dc, *reader, QRect(0, 0, 39, 39));
    }
    auto bmp = EncodeBmp(*preview);
    if (!bmp) return false;
    file.preview = std::move(*bmp);
    return WriteBytes(path, BuildCropMarkFile(file));
}

// Registration target: a ring and a cross hair on the corner point.
void DrawTarget(EmfWriter& w, int, int) {
    w.SelectObject(w.CreatePen(kPsSolid, 30, 0x000000));
    w.SelectStock(kNullBrush);
    w.Box(kEllipse, QRect(QPoint(600, 600), QPoint(1400, 1400)));
    w.MoveTo({1000, 200});
    w.LineTo({1000, 1800});
    w.MoveTo({200, 1000});
    w.LineTo({1800, 1000});
}

// A solid L in the quarter outside the job, clear of the corner point.
void DrawCornerL(EmfWriter& w, int sx, int sy) {
    w.SelectStock(kNullPen);
    w.SelectStock(kBlackBrush);
    const auto box = [&](int x0, int y0, int x1, int y1) {
        w.Box(kRectangle,
              QRect(QPoint(1000 + sx * x0, 1000 + sy * y0), QPoint(1000 + sx * x1, 1000 + sy * y1))
                  .normalized());
    };
    box(150, 150, 950, 260);
    box(150, 150, 260, 950);
}

std::vector<QPoint> Star(QPoint c, int outer, int inner) {
    std::vector<QPoint> pts;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const int r = i % 2 ? inner : outer;
        pts.emplace_back(c.x() + int(std::lround(r * std::cos(a))),
                         c.y() + int(std::lround(r * std::sin(a))));
    }
    return pts;
}

// The sign: 300 x 200 mm, one unit = 0.25 mm. The reference device is a
// tenth of the picture, as layers printed through the layer driver carry it,
// so "Layer as New Job" proposes the sign's own size.
EmfWriter SignWriter() {
    return EmfWriter(RectL{0, 0, 29999, 19999}, {120, 80}, {30, 20});
}

bool WriteSign(const std::string& path) {
    EmfWriter w = SignWriter();
    w.SelectStock(kNullPen);
    w.SelectObject(w.CreateBrush(kBsSolid, 0x2020C0));  // red panel, left
    w.RoundRect(QRect(40, 40, 540, 720), QSize(80, 80));
    w.SelectObject(w.CreateBrush(kBsSolid, 0x00C0FF));  // amber disc
    w.Box(kEllipse, QRect(640, 80, 440, 440));
    w.SelectObject(w.CreateBrush(kBsSolid, 0x30A030));  // green star
    w.Poly(kPolygon, Star({290, 380}, 220, 90));
    w.SelectObject(w.CreatePen(kPsSolid, 24, 0x903010));  // dark blue waves
    for (int i = 0; i < 3; ++i) {
        const int y = 600 + 50 * i;
        const std::vector<QPoint> wave{{620, y},      {720, y - 60},  {820, y + 60},
                                       {920, y - 60}, {1020, y + 60}, {1120, y}};
        w.Poly(kPolyline, wave);
    }
    return w.Save(path);
}

// Cut paths in the cut colour $C0C0C0: around the disc and the star, and a
// rounded outline around the whole sign.
bool WriteCut(const std::string& path) {
    EmfWriter w = SignWriter();
    w.SelectObject(w.CreatePen(kPsSolid, 0, 0xC0C0C0));
    w.SelectStock(kNullBrush);
    w.Box(kEllipse, QRect(630, 70, 460, 460));
    w.Poly(kPolygon, Star({290, 380}, 240, 100));
    w.RoundRect(QRect(12, 12, 1176, 776), QSize(120, 120));
    return w.Save(path);
}

bool WriteBackground(const std::string& path) {
    QImage image(96, 64, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor(235 - y, 225 + x / 8, 200 + (x + y) / 4));
    return image.save(QString::fromStdString(path), "PNG");
}

bool WriteProject(const std::string& path) {
    cli::CliSession session;
    AppCore& app = session.app;
    app.CurrentJob = std::make_unique<TemfFile>();
    TemfFile& job = *app.CurrentJob;
    job.Reset(300, 200);
    job.Layers = {"sign.emf", "cut.emf"};
    job.BackgroundFile = "background.png";
    job.JobText = "CorvanRIP demo sign";
    job.PrintJobText = true;
    job.Copies = 2;
    job.XOffset = 10;
    job.YOffset = 10;
    job.MediaWidth = 800;
    job.CropMarks = true;
    job.CropmarkSize = 8;
    job.CropOffset = 3;
    job.Border = true;
    job.TileText = true;
    job.TileNo = 7;
    job.TextSize = 6;
    job.ContourCut = true;
    job.TileBox = true;
    job.ComputeLayout();
    job.TileNo = 7;  // after the layout, which resets it for a job without tiles
    app.CropMarkSet.SelectCropMarkFile("Target.mrk");
    // Written from inside its folder so the file names no folder of ours.
    const QString previous = QDir::currentPath();
    const QFileInfo info(QString::fromStdString(path));
    QDir::setCurrent(info.absolutePath());
    const bool ok = SaveProject(app, info.fileName().toStdString());
    QDir::setCurrent(previous);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: make_samples SHARE_DATA_DIR\n";
        return 2;
    }
    const std::string root = argv[1];
    QDir().mkpath(QString::fromStdString(root + "/Data"));
    QDir().mkpath(QString::fromStdString(root + "/samples"));
    const bool ok = WriteMarkFile(root + "/Data/Target.mrk", 10, &DrawTarget) &&
                    WriteMarkFile(root + "/Data/Corner L.mrk", 8, &DrawCornerL) &&
                    WriteSign(root + "/samples/sign.emf") && WriteCut(root + "/samples/cut.emf") &&
                    WriteBackground(root + "/samples/background.png") &&
                    WriteProject(root + "/samples/demo.RIP");
    if (!ok) std::cerr << "make_samples: writing failed\n";
    return ok ? 0 : 1;
}
