#include "display/layerpreview.h"

#include "imagelib/resample.h"
#include "platform/metafile/emf_reader.h"
#include "raster/emfdoc.h"
#include "raster/transforms.h"

#include <cstdint>

namespace corvan {

namespace {

constexpr Colour kOutline = 0xC0C0C0;
constexpr int kMargin = 20;  // both sides together
// A one-pixel dotted pen: three pixels drawn, three left, along the outline.
constexpr int kDotOn = 3, kDotPeriod = 6;

// The outline of a w x h rectangle drawn with a one-pixel pen covers the
// pixels from 0 to w - 1 and 0 to h - 1; the dots run on around the corners.
void DottedOutline(Bitmap24& image) {
    const int w = image.Width(), h = image.Height();
    int step = 0;
    const auto dot = [&](int x, int y) {
        if (step++ % kDotPeriod < kDotOn) image.SetPixel(x, y, kOutline);
    };
    for (int x = 0; x < w - 1; ++x) dot(x, 0);
    for (int y = 0; y < h - 1; ++y) dot(w - 1, y);
    for (int x = w - 1; x > 0; --x) dot(x, h - 1);
    for (int y = h - 1; y > 0; --y) dot(0, y);
}

}  // namespace

LayerPreviewSize LayerPreviewSizeFor(const std::string& file, int frameWidth, int frameHeight) {
    const auto reader = emf::EmfReader::OpenFile(file);
    if (!reader) return {};
    const emf::RectL& f = reader->Header().frame;
    // The frame is inclusive.
    const std::int64_t fw = (static_cast<std::int64_t>(f.right) - f.left + 1) * 10;
    const std::int64_t fh = (static_cast<std::int64_t>(f.bottom) - f.top + 1) * 10;
    if (fw < 1 || fh < 1 || fw > INT32_MAX || fh > INT32_MAX) return {};
    const FittedSize fit = FitSize(static_cast<int>(fw), static_cast<int>(fh), frameWidth - kMargin,
                                   frameHeight - kMargin);
    if (fit.width < 1 || fit.height < 1) return {};
    return {fit.width, fit.height};
}

std::unique_ptr<Bitmap24> RenderLayerPreview(const std::string& file, int frameWidth,
                                             int frameHeight, Colour background) {
    const LayerPreviewSize size = LayerPreviewSizeFor(file, frameWidth, frameHeight);
    if (size.width < 1 || size.height < 1) return nullptr;
    TemfDoc doc;
    const auto big = doc.RenderFile(2 * size.width, 2 * size.height, background, file);
    auto image = HalveBitmap(big.get());
    if (image) DottedOutline(*image);
    return image;
}

}  // namespace corvan
