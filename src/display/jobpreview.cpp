#include "display/jobpreview.h"

#include "platform/numbers.h"
#include "raster/placement.h"
#include "raster/stripcomposer.h"
#include "raster/transforms.h"

namespace corvan {

std::unique_ptr<Bitmap24> RenderPlacedCopy(const TemfFile& job, int width, int height) {
    const float cropW = job.CropRight - job.CropLeft, cropH = job.CropBottom - job.CropTop;
    const float placedW = job.Rotate ? cropH : cropW;
    if (width <= 0 || height <= 0 || placedW <= 0 || job.PageWidth <= 0 || job.PageHeight <= 0) return nullptr;
    // One scale for the whole page, so the crop section lands where it prints.
    const float s = static_cast<float>(width) / placedW;
    auto rnd = [s](float mm) { return RoundScaled(s, mm); };
    const IntRect crop{rnd(job.CropLeft), rnd(job.CropTop), rnd(job.CropRight), rnd(job.CropBottom)};
    const IntRect play{-crop.left, -crop.top, rnd(job.PageWidth) - crop.left, rnd(job.PageHeight) - crop.top};
    auto upright = RenderJobWindow(job, crop.Width(), crop.Height(), play);
    if (!upright || !(job.Rotate || job.MirrorX || job.MirrorY)) return upright;
    return TransformBitmap(upright.get(), job.Rotate, job.MirrorX, job.MirrorY);
}

}  // namespace corvan
