#include "display/outputpreview.h"

#include "colour/spotline.h"
#include "platform/numbers.h"
#include "raster/contours.h"
#include "raster/transforms.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace corvan {
namespace {

constexpr Colour kUnusedMedia = 0xE6E6E6;

int Rnd(double v) {
    return RoundToInt(static_cast<long double>(v));
}

}  // namespace

void SpotHighlight(Bitmap24& image, const std::vector<std::string>& spotLines, int selected,
                   int percent) {
    const auto spot = selected >= 0 && static_cast<std::size_t>(selected) < spotLines.size()
                          ? ParseSpotLine(spotLines[static_cast<std::size_t>(selected)])
                          : std::nullopt;
    if (!spot) {
        FadeBitmap(&image, percent);
        return;
    }
    const int t = std::max(4, spot->tolerance + 3);
    const int k = percent * 128 / 100;
    for (int y = 0; y < image.Height(); ++y) {
        std::uint8_t* p = image.Row(y);
        for (int x = 0; x < image.Width(); ++x, p += 3) {
            if (std::abs(p[2] - spot->red) < t && std::abs(p[1] - spot->green) < t &&
                std::abs(p[0] - spot->blue) < t) {
                p[0] = p[1] = p[2] = 0;
                continue;
            }
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<std::uint8_t>((p[c] * k + 255 * (128 - k)) >> 7);
        }
    }
}

IntRect ZoomWindow(int centreX, int centreY, float overviewScale, int dpi, bool zoom400, int viewW,
                   int viewH) {
    const float d = static_cast<float>(dpi) / 25.4f;
    const int cx = Rnd(static_cast<double>(centreX * d / overviewScale));
    const int cy = Rnd(static_cast<double>(centreY * d / overviewScale));
    if (!zoom400) {
        const int left = cx - viewW / 2, top = cy - viewH / 2;
        return {left, top, left + viewW - 1, top + viewH - 1};
    }
    const float fw = 2 * d * (viewW * 25.4f / 384), fh = 2 * d * (viewH * 25.4f / 384);
    const int left = cx - Rnd(fw / 2), top = cy - Rnd(fh / 2);
    return {left, top, left + std::max(1, Rnd(fw)) - 1, top + std::max(1, Rnd(fh)) - 1};
}

OutputPreview::OutputPreview(TemfFile& job, const CropMarkCorners& corners)
    : job_(job), composer_(job, corners) {}

std::unique_ptr<Bitmap24> OutputPreview::Overview(float s, float mediaWidth, float mediaHeight,
                                                  bool contours) const {
    auto image =
        Bitmap24::Create(std::max(1, Rnd(s * mediaWidth)), std::max(1, Rnd(s * mediaHeight)));
    if (!image) return nullptr;
    image->Fill(kUnusedMedia);
    const IntRect u{Rnd(s * job_.XOffset), Rnd(s * job_.YOffset),
                    Rnd(s * job_.XOffset) + Rnd(s * job_.MediaUsedWidth),
                    Rnd(s * job_.YOffset) + Rnd(s * job_.MediaUsedHeight)};
    if (u.Empty()) return image;
    auto used = composer_.Render({2 * u.left, 2 * u.top, 2 * u.right - 1, 2 * u.bottom - 1}, 2 * s);
    if (used && contours) {
        FadeBitmap(used.get(), 25);
        DrawContours(job_, *used, 0, 0, 2 * s);  // the copies are placed from the used area
    }
    const auto half = HalveBitmap(used.get());
    if (!half) return image;
    for (int y = 0; y < half->Height() && u.top + y < image->Height(); ++y) {
        if (u.top + y < 0) continue;
        const int w = std::min(half->Width(), image->Width() - u.left);
        if (w > 0 && u.left >= 0)
            std::memcpy(image->Row(u.top + y) + 3 * u.left, half->Row(y), 3 * std::size_t(w));
    }
    return image;
}

std::unique_ptr<Bitmap24> OutputPreview::Zoom(const IntRect& window, int dpi,
                                              const ZoomOptions& options) const {
    const float d = static_cast<float>(dpi) / 25.4f;
    auto image = composer_.Render(window, d);
    if (!image) return nullptr;
    if (options.spots)
        SpotHighlight(*image, job_.SpotColorList, options.spot, 25);
    else if (options.contours)
        FadeBitmap(image.get(), 25);
    if (options.contours)
        DrawContours(job_, *image, Rnd(d * job_.XOffset) - window.left,
                     Rnd(d * job_.YOffset) - window.top, d);
    return image;
}

}  // namespace corvan
