#include "raster/emfdoc.h"

#include "platform/debuglog.h"
#include "platform/metafile/emf_player.h"
#include "platform/metafile/emf_reader.h"
#include "raster/background.h"
#include "raster/layerplay.h"

namespace corvan {
namespace {

QRect ToQRect(const IntRect& r) {
    return QRect(QPoint(r.left, r.top), QSize(r.Width(), r.Height()));
}

}  // namespace

LayerSet::LayerSet() = default;
LayerSet::LayerSet(LayerSet&&) noexcept = default;
LayerSet& LayerSet::operator=(LayerSet&&) noexcept = default;
LayerSet::~LayerSet() = default;

LayerSet::LayerSet(const std::vector<std::string>& files) {
    for (const std::string& name : files) {
        std::string error;
        auto metafile = emf::EmfReader::OpenFile(name, &error);
        if (metafile)
            readers_.push_back(std::move(metafile));
        else  // an unreadable layer plays nothing
            LogLine("Layer not played: " + name + ": " + error);
    }
}

void TemfDoc::PlayLayers(Bitmap24& image) {
    emf::GdiDevice dc(image);
    const LayerSet owned = Layers ? LayerSet() : LayerSet(LayerFiles);
    const LayerSet& layers = Layers ? *Layers : owned;
    for (const auto& metafile : layers.Readers()) {
        if (Preview.Cancel && Preview.Cancel->load(std::memory_order_relaxed)) break;
        Preview.InPath = false;
        const emf::PlaybackResult played =
            emf::Enumerate(dc, *metafile, ToQRect(PlayRect), &PlayLayerRecord, &Preview);
        if (!played.complete && !played.reason.empty())
            LogLine("Layer playback ended early: " + played.reason);
    }
    dc.Flush();
}

std::unique_ptr<Bitmap24> TemfDoc::Render() {
    if (ImageWidth <= 0 || ImageHeight <= 0) return nullptr;
    auto image = Bitmap24::Create(ImageWidth, ImageHeight);
    if (!image) return nullptr;
    Preview.Target = image.get();
    const IntRect fill =
        Intersect({PlayRect.left, PlayRect.top, PlayRect.right + 1, PlayRect.bottom + 1},
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
        StretchBackground(Background, image.get(), PlayRect,
                          Preview.SmoothBackground ? &table : nullptr, Preview.SmoothBackground);
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
