#pragma once
// The cut paths of a job: the outlines of every shape in the cut colour,
// moved into the crop section, with the optional box around the tile,
// clipped to the crop section plus one pixel and turned like the printed copy.
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "raster/contourpath.h"
#include "raster/cropmarkdraw.h"

#include <memory>

namespace corvan {

// Plays the layers through the window like RenderJobWindow, collecting the
// matched outlines (all of them, also outside the window) in pixels of the
// play rectangle, appended to `path`.
void CollectWindowPaths(const TemfFile& job, int width, int height, const IntRect& play,
                        ContourPath& path);

// One copy's path at `scale` pixels per mm, relative to the top-left corner
// of the placed crop box, oriented like the output.
ContourPath CollectJobContours(const TemfFile& job, float scale);

// Draws every copy's frame (grey) and contours (blue) onto `image`, whose
// copy positions are offset by (ox, oy) pixels, as the output preview shows them.
void DrawContours(TemfFile& job, Bitmap24& image, int ox, int oy, float scale);

// The small picture of the used media stored with a cut file (at most
// 350 x 77, the media's length running across); null without a job or with
// a media width of 0.
std::unique_ptr<Bitmap24> RenderCutThumbnail(TemfFile& job, const CropMarkCorners& corners,
                                             float mediaWidth);

}  // namespace corvan
