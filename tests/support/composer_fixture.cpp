#include "support/composer_fixture.h"

#include "imagelib/imageload.h"
#include "platform/metafile/emf_records.h"
#include "support/metafile_fixture.h"

#include <QFileInfo>

namespace corvan::test {

std::string SamplesDir() {
    return CORVAN_SAMPLES_DIR;
}

std::unique_ptr<TemfFile> DemoJob() {
    auto job = std::make_unique<TemfFile>();
    job->Reset(300, 200);
    const std::string dir = SamplesDir();
    if (!QFileInfo::exists(QString::fromStdString(dir + "sign.emf"))) return job;
    job->Layers = {dir + "sign.emf", dir + "cut.emf"};
    job->BackgroundImage = LoadImage24(dir + "background.png").image;
    job->ContourCut = true;
    return job;
}

std::string WriteQuadrantLayer(const QTemporaryDir& dir, int width, int height) {
    emf::EmfWriter w = PixelWriter(width, height);
    w.SelectStock(emf::kNullPen);
    const int hw = width / 2, hh = height / 2;
    const struct {
        QRect box;
        Colour colour;
    } parts[] = {{QRect(0, 0, hw, hh), 0x0000FF},
                 {QRect(hw, 0, width - hw, hh), 0x00FF00},
                 {QRect(0, hh, hw, height - hh), 0xFF0000},
                 {QRect(hw, hh, width - hw, height - hh), 0x00FFFF}};
    for (const auto& p : parts) {
        w.SelectObject(w.CreateBrush(emf::kBsSolid, p.colour));
        // Rectangles leave out their right and bottom edge: reach one further.
        w.Box(emf::kRectangle, p.box.adjusted(0, 0, 1, 1));
    }
    const std::string path = dir.filePath("quadrants.emf").toStdString();
    w.Save(path);
    return path;
}

}  // namespace corvan::test
