#pragma once
// The job's output raster, rendered one rectangle at a time: every copy that
// meets the rectangle is rendered only where it shows (a window of the
// upright page), turned and mirrored into place, and framed by its crop
// marks, tile number, border and job text. Nothing is kept between calls,
// so memory follows the rectangle, not the job.
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "raster/cropmarkdraw.h"
#include "raster/placement.h"

#include <memory>

namespace corvan {

class AppCore;

// Rectangle ends are inclusive; `scale` in pixels per millimetre. The image
// is (right - left + 1) x (bottom - top + 1); white where no copy lies. Null
// when that image cannot be made.
std::unique_ptr<Bitmap24> RenderStrip(TemfFile& job, const CropMarkCorners& corners, const IntRect& rect,
                                      float scale);
// With the current job of `app` and its crop-mark library's corners (the
// built-in marks when none is attached or no file was applied).
std::unique_ptr<Bitmap24> RenderStrip(AppCore& app, const IntRect& rect, float scale);

// The upright page mapped onto the play rectangle (page pixels shifted so
// the window's corner is at 0, 0), seen through a width x height image.
std::unique_ptr<Bitmap24> RenderJobWindow(const TemfFile& job, int width, int height, const IntRect& play);

// The corner pictures the composer uses for `app`.
const CropMarkCorners& CurrentCropMarkCorners(const AppCore& app);

}  // namespace corvan
