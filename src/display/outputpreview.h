#pragma once
// What the high-resolution preview shows, apart from its window: the used
// media in small, and any window of the output raster rendered by the strip
// composer exactly as the RIP renders it, optionally faded with the contours
// or a spot colour marked.
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "raster/cropmarkdraw.h"
#include "raster/placement.h"
#include "raster/stripcomposer.h"

#include <memory>
#include <string>
#include <vector>

namespace corvan {

// Marks the pixels of spot line `selected` (0-based) black and fades the
// rest to `percent` of their contrast; a selection outside the list (or
// below 0) only fades.
void SpotHighlight(Bitmap24& image, const std::vector<std::string>& spotLines, int selected,
                   int percent);

struct ZoomOptions {
    bool contours = false;
    bool spots = false;  // mark the spot line `spot` (0-based; none when out of range)
    int spot = -1;
};

// The output raster window shown for a zoom centre (pixels of the overview,
// at `overviewScale` pixels per mm) in a view of viewW x viewH pixels: the
// view's size at `dpi`, or with `zoom400` twice the area that 400 % shows.
// Ends included, as the strip composer takes them.
IntRect ZoomWindow(int centreX, int centreY, float overviewScale, int dpi, bool zoom400, int viewW,
                   int viewH);

// One preview session of a job. The composer is made at construction (on
// the thread that owns the job); the render calls only read the job and may
// run on another thread while the job does not change.
class OutputPreview {
public:
    OutputPreview(TemfFile& job, const CropMarkCorners& corners);

    // The media at `scale` pixels per mm, grey where unused, rendered at
    // twice that and halved.
    std::unique_ptr<Bitmap24> Overview(float scale, float mediaWidth, float mediaHeight,
                                       bool contours) const;
    // The window at `dpi`, marked as the options ask.
    std::unique_ptr<Bitmap24> Zoom(const IntRect& window, int dpi,
                                   const ZoomOptions& options) const;

private:
    TemfFile& job_;
    StripComposer composer_;
};

}  // namespace corvan
