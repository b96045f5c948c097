// Autotrace from picture to layer file.
#include "cutting/autotrace.h"

#include "job/emffile.h"
#include "platform/metafile/emf_records.h"
#include "platform/numbers.h"
#include "imagelib/resample.h"
#include "raster/stripcomposer.h"

#include <cmath>

namespace corvan {

namespace {

constexpr int kMaxSourceSide = 1500;
// Layer units per mask pixel (the layer is stretched over the page).
constexpr int kUnitsPerPixel = 10;

QPoint LayerPoint(double x, double y) {
    return {int(std::lround(x * kUnitsPerPixel)), int(std::lround(y * kUnitsPerPixel))};
}

// The contour moved from the centres of the boundary pixels, where the walk
// ran, out onto the pixels' outer edges: half a pixel to the left of the
// way it runs, where the walk always keeps the background. A pixel x covers
// [x, x + 1), so its centre is x + 0.5.
std::vector<QPoint> EdgeLine(const TdotList& dots) {
    const bool closed = dots.size() > 2 && dots.front().X == dots.back().X && dots.front().Y == dots.back().Y;
    const std::size_t n = closed ? dots.size() - 1 : dots.size();
    std::vector<QPoint> line;
    line.reserve(dots.size());
    for (std::size_t i = 0; i < n; ++i) {
        const Tdot& prev = i > 0 ? dots[i - 1] : (closed ? dots[n - 1] : dots[i]);
        const Tdot& next = i + 1 < n ? dots[i + 1] : (closed ? dots[0] : dots[i]);
        const double dx = double(next.X) - prev.X, dy = double(next.Y) - prev.Y, len = std::hypot(dx, dy);
        const double ox = len > 0 ? 0.5 * dy / len : 0, oy = len > 0 ? -0.5 * dx / len : 0;
        line.push_back(LayerPoint(dots[i].X + 0.5 + ox, dots[i].Y + 0.5 + oy));
    }
    if (closed) line.push_back(line.front());
    return line;
}

}  // namespace

emf::EmfWriter TracedLayer(const std::vector<TdotList>& contours, int width, int height, Colour colour) {
    const int w = std::max(1, width) * kUnitsPerPixel, h = std::max(1, height) * kUnitsPerPixel;
    // 1000 pixels over 250 mm: one unit is 25 hundredths of a millimetre.
    emf::EmfWriter writer(emf::RectL{0, 0, w * 25, h * 25}, {1000, 1000}, {250, 250});
    writer.SelectObject(writer.CreatePen(emf::kPsSolid, 0, colour));
    writer.SelectStock(emf::kNullBrush);
    // One polyline a contour draws what a move and its lines draw, in a
    // quarter of the bytes, and is collected back as one figure.
    for (const TdotList& dots : contours)
        if (dots.size() >= 2) writer.Poly(emf::kPolyline16, EdgeLine(dots));
    return writer;
}

std::unique_ptr<Bitmap24> RenderAutotraceSource(const TemfFile& job) {
    const FittedSize fit = FitSize(RoundToInt(static_cast<long double>(job.PageWidth) * 10),
                                   RoundToInt(static_cast<long double>(job.PageHeight) * 10), kMaxSourceSide,
                                   kMaxSourceSide);
    if (fit.width <= 0 || fit.height <= 0) return nullptr;
    return RenderJobWindow(job, fit.width, fit.height, {0, 0, fit.width, fit.height});
}

Outcome<std::vector<TdotList>> SaveTracedLayer(const TracedContours& traced, const AutotraceSettings& settings,
                                               const std::string& path, AutotraceProgress* progress) {
    auto smoothed = SmoothContours(traced, settings, progress);
    if (!smoothed) return Failure{smoothed.Error()};
    emf::EmfWriter layer = TracedLayer(*smoothed, traced.width, traced.height, settings.contourColour);
    std::string error;
    if (!layer.Save(path, &error)) return Failure{"Cannot write " + path + ": " + error};
    if (progress) progress->Step(100);
    return smoothed;
}

Outcome<AutotraceResult> AutotraceToLayer(const Bitmap24& source, const AutotraceSettings& settings,
                                          const std::string& path, AutotraceProgress* progress) {
    TraceMask mask = MakeTraceMask(source, settings);
    auto traced = TraceContours(mask, progress);
    if (!traced) return Failure{traced.Error()};
    auto saved = SaveTracedLayer(*traced, settings, path, progress);
    if (!saved) return Failure{saved.Error()};
    return AutotraceResult{int(saved->size()), traced->totalPoints, traced->maxPoints};
}

}  // namespace corvan
