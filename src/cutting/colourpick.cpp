#include "cutting/colourpick.h"

#include "platform/numbers.h"
#include "platform/preferences.h"
#include "raster/emfdoc.h"
#include "raster/transforms.h"

#include <algorithm>

namespace corvan {
namespace {

constexpr Colour kFrameGrey = 0x808080;

void Frame(Bitmap24& image) {
    const int w = image.Width(), h = image.Height();
    for (int x = 0; x < w; ++x) {
        image.SetPixel(x, 0, kFrameGrey);
        image.SetPixel(x, h - 1, kFrameGrey);
    }
    for (int y = 0; y < h; ++y) {
        image.SetPixel(0, y, kFrameGrey);
        image.SetPixel(w - 1, y, kFrameGrey);
    }
}

}  // namespace

FittedSize FitJobBox(const TemfFile* job, int boxWidth, int boxHeight) {
    if (!job) return {};
    return FitSize(RoundToInt(job->PageWidth) * 100, RoundToInt(job->PageHeight) * 100, boxWidth,
                   boxHeight);
}

std::vector<std::string> LayerColorList(const TemfFile* job, bool lines, bool fills) {
    if (!job) return {};
    Tcolorlist list;
    list.CollectMask =
        (fills ? Tcolorlist::kCollectBrushes : 0u) | (lines ? Tcolorlist::kCollectPens : 0u);
    if (list.CollectMask == 0) return {};
    list.CollectLayerColors(job->Layers);
    return list.Items;
}

std::unique_ptr<Bitmap24> RenderMatched(const TemfFile* job, int width, int height, bool lines,
                                        Colour colour, bool black, bool fills) {
    if (!job) return nullptr;
    TemfDoc doc;
    doc.BackColor = 0xFFFFFF;
    doc.ImageWidth = width;
    doc.ImageHeight = height;
    doc.PlayRect = {0, 0, width, height};
    doc.LayerFiles = job->Layers;
    TemfPreview& p = doc.Preview;
    p.ContourActive = true;
    p.DrawMatched = true;
    p.DrawUnmatched = false;
    p.OutlineMatched = black;
    p.MatchMask = (fills ? 2u : 0u) + (lines ? 1u : 0u);
    p.MatchColor = colour;
    p.SmoothBitmaps = ReadPrefBool("interpolate_DIB", true);
    return doc.Render();
}

std::unique_ptr<Bitmap24> ToleranceMask(const Bitmap24* picture, int width, int height,
                                        int tolerance, Colour colour) {
    if (!picture || picture->Width() < 1 || picture->Height() < 1) return nullptr;
    auto mask = Bitmap24::Create(width, height);
    if (!mask) return nullptr;
    const long t2 = static_cast<long>(tolerance) * tolerance;
    const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
    for (int j = 0; j < height; ++j) {
        const int sy = height > 1 ? j * (picture->Height() - 1) / (height - 1) : 0;
        const std::uint8_t* src = picture->Row(sy);
        std::uint8_t* dst = mask->Row(j);
        for (int i = 0; i < width; ++i) {
            const int sx = width > 1 ? i * (picture->Width() - 1) / (width - 1) : 0;
            const std::uint8_t* s = src + 3 * sx;
            const long dr = s[2] - r, dg = s[1] - g, db = s[0] - b;
            std::uint8_t* d = dst + 3 * i;
            if (dr * dr + dg * dg + db * db <= t2) {
                d[0] = d[1] = d[2] = 0;
            } else {
                for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>((s[c] + 1020) / 5);
            }
        }
    }
    return mask;
}

std::unique_ptr<Bitmap24> VectorColourPreview(const TemfFile* job, int boxWidth, int boxHeight,
                                              bool lines, Colour colour, bool black, bool fills) {
    const FittedSize fit = FitJobBox(job, boxWidth, boxHeight);
    if (fit.width < 1 || fit.height < 1) return nullptr;
    auto big = RenderMatched(job, 4 * fit.width, 4 * fit.height, lines, colour, black, fills);
    auto half = HalveBitmap(big.get());
    auto image = HalveBitmap(half.get());
    if (image) Frame(*image);
    return image;
}

std::unique_ptr<Bitmap24> SelectedColourPreview(const Bitmap24* picture, int frameWidth,
                                                int frameHeight, Colour colour, int tolerance) {
    if (!picture) return nullptr;
    const FittedSize fit = FitSize(picture->Width() * 10, picture->Height() * 10,
                                   2 * (frameWidth - 10), 2 * (frameHeight - 10));
    if (fit.width < 2 || fit.height < 2) return nullptr;
    auto mask = ToleranceMask(picture, fit.width, fit.height, tolerance, colour);
    auto image = HalveBitmap(mask.get());
    if (image) Frame(*image);
    return image;
}

std::unique_ptr<Bitmap24> CutPreviewPicture(const TemfFile* job, int frameWidth, int frameHeight) {
    if (!job || !job->ContourCut) return nullptr;
    const FittedSize fit = FitSize(RoundToInt(job->PageWidth), RoundToInt(job->PageHeight),
                                   frameWidth - 20, frameHeight - 20);
    if (fit.width < 1 || fit.height < 1) return nullptr;
    auto big = RenderMatched(job, 2 * fit.width, 2 * fit.height, job->CutLines, job->CutColor,
                             false, job->CutSolid);
    auto image = HalveBitmap(big.get());
    if (image) Frame(*image);
    return image;
}

}  // namespace corvan
