#pragma once
// The job's output raster, rendered one rectangle at a time: every copy that
// meets the rectangle is rendered only where it shows (a window of the
// upright page), turned and mirrored into place, and framed by its crop
// marks, tile number, border and job text. Nothing is kept between calls,
// so memory follows the rectangle, not the job.
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "raster/cropmarkdraw.h"
#include "raster/emfdoc.h"
#include "raster/placement.h"

#include <memory>
#include <vector>

namespace corvan {

// Rectangle ends are inclusive; `scale` in pixels per millimetre. The image
// is (right - left + 1) x (bottom - top + 1); white where no copy lies. Null
// when that image cannot be made.
std::unique_ptr<Bitmap24> RenderStrip(TemfFile& job, const CropMarkCorners& corners,
                                      const IntRect& rect, float scale);

// The upright page mapped onto the play rectangle (page pixels shifted so
// the window's corner is at 0, 0), seen through a width x height image.
// What a render or RIP run reads once instead of once per copy and strip:
// the job's layers, parsed, and the playback preferences.
struct RunResources {
    explicit RunResources(const TemfFile& job);
    LayerSet layers;
    bool smoothBitmaps = true;
};

std::unique_ptr<Bitmap24> RenderJobWindow(const TemfFile& job, int width, int height,
                                          const IntRect& play, const RunResources* run = nullptr);

// The strip composer of one run: strips of the job's output raster with the
// layers parsed and the copies placed once. The job must not change while it
// lives; Render may run on several threads at once.
class StripComposer {
public:
    StripComposer(TemfFile& job, const CropMarkCorners& corners);
    std::unique_ptr<Bitmap24> Render(const IntRect& rect, float scale) const;

private:
    struct CopyRect {
        float x1, y1, x2, y2;
    };
    const TemfFile& job_;
    const CropMarkCorners& corners_;
    RunResources run_;
    std::vector<CopyRect> copies_;
};

}  // namespace corvan
