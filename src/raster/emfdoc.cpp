#include "raster/emfdoc.h"

#include "platform/metafile/emf_player.h"
#include "raster/background.h"
#include "raster/layerplay.h"

namespace corvan {
namespace {

QRect ToQRect(const IntRect& r) { return QRect(QPoint(r.left, r.top), QSize(r.Width(), r.Height())); }

}  // namespace

void TemfDoc::PlayLayers(Bitmap24& image) {
    emf::GdiDevice dc(image);
    for (const std::string& name : LayerFiles) {
        auto metafile = emf::EmfReader::OpenFile(name);
        if (!metafile) continue;  // an unreadable layer plays nothing
        Preview.InPath = false;
        emf::Enumerate(dc, *metafile, ToQRect(PlayRect), &PlayLayerRecord, &Preview);
    }
    dc.Flush();
}

std::unique_ptr<Bitmap24> TemfDoc::Render() {
    if (ImageWidth <= 0 || ImageHeight <= 0) return nullptr;
    auto image = Bitmap24::Create(ImageWidth, ImageHeight);
    if (!image) return nullptr;
    Preview.Target = image.get();
    const IntRect fill = Intersect({PlayRect.left, PlayRect.top, PlayRect.right + 1, PlayRect.bottom + 1},
                                   {0, 0, ImageWidth, ImageHeight});
    if (fill == IntRect{0, 0, ImageWidth, ImageHeight}) {
        image->Fill(BackColor);
    } else {
        image->Fill(0);  // a new platform bitmap starts black
        for (int y = fill.top; y < fill.bottom; ++y)
            for (int x = fill.left; x < fill.right; ++x) image->SetPixel(x, y, BackColor);
    }
    if (Background) {
        WeightTable table{};
        if (Preview.SmoothBackground) table = BlendWeightTable(Preview.BlendParam);
        StretchBackground(Background, image.get(), PlayRect, Preview.SmoothBackground ? &table : nullptr,
                          Preview.SmoothBackground);
    }
    PlayLayers(*image);
    return image;
}

void TemfDoc::CollectPaths() {
    auto scratch = Bitmap24::Create(10, 10);
    if (!scratch) return;
    PlayLayers(*scratch);
}

std::unique_ptr<Bitmap24> TemfDoc::RenderFile(int width, int height, Colour background,
                                              const std::string& fileName) {
    BackColor = background;
    ImageWidth = width;
    ImageHeight = height;
    PlayRect = {0, 0, width, height};
    Preview.SmoothBitmaps = true;
    Preview.SmoothBackground = true;
    LayerFiles.push_back(fileName);
    return Render();
}

}  // namespace corvan
