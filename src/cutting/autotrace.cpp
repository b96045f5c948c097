// Autotrace from picture to layer file.
#include "cutting/autotrace.h"

#include "job/emffile.h"
#include "platform/metafile/emf_records.h"
#include "platform/numbers.h"
#include "raster/resample.h"
#include "raster/stripcomposer.h"

#include <cmath>

namespace corvan {

namespace {

constexpr int kMaxSourceSide = 1500;
// Layer units per mask pixel (the layer is stretched over the page).
constexpr int kUnitsPerPixel = 10;

QPoint LayerPoint(const Tdot& d) {
    // The mask's pixel x covers [x, x + 1): its centre is where the edge
    // walk ran, so the outline sits half a pixel inside on every side
    // instead of a whole pixel on the right and bottom only.
    return {int(std::lround((d.X + 0.5) * kUnitsPerPixel)), int(std::lround((d.Y + 0.5) * kUnitsPerPixel))};
}

}  // namespace

emf::EmfWriter TracedLayer(const std::vector<TdotList>& contours, int width, int height, Colour colour) {
    const int w = std::max(1, width) * kUnitsPerPixel, h = std::max(1, height) * kUnitsPerPixel;
    // 1000 pixels over 250 mm: one unit is 25 hundredths of a millimetre.
    emf::EmfWriter writer(emf::RectL{0, 0, w * 25, h * 25}, {1000, 1000}, {250, 250});
    writer.SelectObject(writer.CreatePen(emf::kPsSolid, 0, colour));
    writer.SelectStock(emf::kNullBrush);
    for (const TdotList& dots : contours) {
        if (dots.empty()) continue;
        writer.MoveTo(LayerPoint(dots.front()));
        for (std::size_t i = 1; i < dots.size(); ++i) writer.LineTo(LayerPoint(dots[i]));
    }
    return writer;
}

std::unique_ptr<Bitmap24> RenderAutotraceSource(const TemfFile& job) {
    const FittedSize fit = FitSize(RoundToInt(static_cast<long double>(job.PageWidth) * 10),
                                   RoundToInt(static_cast<long double>(job.PageHeight) * 10), kMaxSourceSide,
                                   kMaxSourceSide);
    if (fit.width <= 0 || fit.height <= 0) return nullptr;
    return RenderJobWindow(job, fit.width, fit.height, {0, 0, fit.width, fit.height});
}

Outcome<AutotraceResult> AutotraceToLayer(const Bitmap24& source, const AutotraceSettings& settings,
                                          const std::string& path, AutotraceProgress* progress) {
    TraceMask mask = MakeTraceMask(source, settings);
    auto traced = TraceContours(mask, progress);
    if (!traced) return Failure{traced.Error()};
    auto smoothed = SmoothContours(*traced, settings, progress);
    if (!smoothed) return Failure{smoothed.Error()};
    emf::EmfWriter layer = TracedLayer(*smoothed, traced->width, traced->height, settings.contourColour);
    std::string error;
    if (!layer.Save(path, &error)) return Failure{"Cannot write " + path + ": " + error};
    if (progress) progress->Step(100);
    return AutotraceResult{int(smoothed->size()), traced->totalPoints, traced->maxPoints};
}

}  // namespace corvan
