#include "display/flatten.h"

#include "imagelib/resample.h"
#include "platform/numbers.h"
#include "raster/stripcomposer.h"
#include "raster/transforms.h"

#include <algorithm>
#include <cmath>

namespace corvan {
namespace {

constexpr double kAntialiasLimit = 1'000'000;  // pixels: larger pictures are not doubled
constexpr std::int64_t kStripPixels = 1'000'000;

int Rnd(double v) {
    return RoundToInt(static_cast<long double>(v));
}

}  // namespace

FlattenSize FlattenSizeFor(const TemfFile& job, double dpi, SinkPixels pixels) {
    dpi = std::max(dpi, 0.01);
    const double perPixel = pixels == SinkPixels::Colour ? 3
                            : pixels == SinkPixels::Grey ? 1
                                                         : 0.125;
    FlattenSize s;
    s.width = Rnd(dpi * (job.CropRight - job.CropLeft) / 25.4);
    s.height = Rnd(dpi * (job.CropBottom - job.CropTop) / 25.4);
    s.bytes = static_cast<double>(s.height) * perPixel * s.width;
    return s;
}

double PresetDpi(const TemfFile& job, int boxWidth, int boxHeight) {
    const int w = Rnd((job.CropRight - job.CropLeft) * 300.0);
    const int h = Rnd((job.CropBottom - job.CropTop) * 300.0);
    if (w <= 0 || h <= 0) return 0;
    const FittedSize fit = FitSize(w, h, boxWidth, boxHeight);
    return fit.width * 7620.0 / w;
}

std::string WebSafeFileName(const std::string& path) {
    std::string out = path;
    const std::size_t slash = out.find_last_of('/');
    for (std::size_t i = slash == std::string::npos ? 0 : slash + 1; i < out.size(); ++i) {
        const char c = out[i];
        const bool keep = c == '-' || c == '.' || (c >= '0' && c <= '9') ||
                          (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!keep) out[i] = '_';
    }
    return out;
}

FlattenRenderer::FlattenRenderer(const TemfFile& job, double dpi, bool antialias)
    : job_(job), run_(std::make_unique<RunResources>(job)) {
    double e = dpi / 25.4;
    const FlattenSize size = FlattenSizeFor(job, dpi, SinkPixels::Colour);
    halve_ = antialias && static_cast<double>(size.width) * size.height <= kAntialiasLimit;
    if (halve_) e *= 2;
    scale_ = static_cast<float>(e);
    const IntRect c = ScaleRect(job.CropLeft, job.CropTop, job.CropRight, job.CropBottom, scale_);
    play_ = {-c.left, -c.top, Rnd(e * job.PageWidth) - c.left, Rnd(e * job.PageHeight) - c.top};
    srcWidth_ = std::max(0, c.Width());
    srcHeight_ = std::max(0, c.Height());
    const int w = halve_ ? srcWidth_ / 2 : srcWidth_, h = halve_ ? srcHeight_ / 2 : srcHeight_;
    outWidth_ = job.Rotate ? h : w;
    outHeight_ = job.Rotate ? w : h;
}

FlattenRenderer::~FlattenRenderer() = default;

std::unique_ptr<Bitmap24> FlattenRenderer::Rows(int top, int bottom) const {
    top = std::max(top, 0);
    bottom = std::min(bottom, outHeight_ - 1);
    if (bottom < top) return nullptr;
    // The upright picture's part that turns into these rows: rows of it, or
    // columns when the output is turned a quarter.
    const int upW = job_.Rotate ? outHeight_ : outWidth_,
              upH = job_.Rotate ? outWidth_ : outHeight_;
    IntRect part{0, 0, upW, upH};  // right and bottom exclusive
    if (!job_.Rotate) {
        part.top = job_.MirrorY ? upH - 1 - bottom : top;
        part.bottom = part.top + (bottom - top + 1);
    } else {
        part.left = job_.MirrorX ? top : upW - 1 - bottom;
        part.right = part.left + (bottom - top + 1);
    }
    const int k = halve_ ? 2 : 1;
    const IntRect play = OffsetRectBy(play_, -k * part.left, -k * part.top);
    auto image = RenderJobWindow(job_, k * part.Width(), k * part.Height(), play, run_.get());
    if (image && halve_) image = HalveBitmap(image.get());
    if (!image) return nullptr;
    if (!job_.Rotate && !job_.MirrorX && !job_.MirrorY) return image;
    return TransformBitmap(image.get(), job_.Rotate, job_.MirrorX, job_.MirrorY);
}

bool ExportFlattened(const TemfFile& job, const std::string& path, double dpi, SinkPixels pixels,
                     bool antialias, std::string& error, const std::function<bool(int)>& progress) {
    const FlattenRenderer renderer(job, dpi, antialias);
    if (renderer.Width() < 1 || renderer.Height() < 1) {
        error = "the crop section has no pixels at " + std::to_string(dpi) + " DPI";
        return false;
    }
    auto sink = StripSink::Create(path, renderer.Width(), renderer.Height(), dpi, error, pixels);
    if (!sink) return false;
    const int rows = static_cast<int>(std::max<std::int64_t>(1, kStripPixels / renderer.Width()));
    for (int top = 0; top < renderer.Height(); top += rows) {
        if (progress && !progress(static_cast<int>(100LL * top / renderer.Height()))) {
            error = "stopped";
            return false;
        }
        auto strip = renderer.Rows(top, top + rows - 1);
        if (!strip) {
            error = "not enough memory for a strip";
            return false;
        }
        if (!sink->Append(std::move(strip))) {
            error = sink->Error();
            return false;
        }
    }
    if (progress) progress(100);
    return sink->Finish(error);
}

bool SaveFlattened(const Bitmap24& image, const std::string& path, double dpi, SinkPixels pixels,
                   std::string& error) {
    auto sink = StripSink::Create(path, image.Width(), image.Height(), dpi, error, pixels);
    if (!sink) return false;
    auto copy = image.Clone();
    if (!copy) {
        error = "not enough memory";
        return false;
    }
    if (!sink->Append(std::move(copy))) {
        error = sink->Error();
        return false;
    }
    return sink->Finish(error);
}

}  // namespace corvan
