#pragma once
// Crop marks at the corners of each copy: a corner picture (a metafile)
// stretched into the mark's square, or a grey cross when there is no
// picture or the mark is too small to show one.
#include "platform/bitmap.h"
#include "raster/placement.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace corvan {

// Metafile bytes of the top-left, top-right, bottom-left and bottom-right
// pictures; an empty one is drawn as a grey cross.
using CropMarkCorners = std::array<std::vector<std::uint8_t>, 4>;

// Draws one mark centred on (x, y) with half side `c` (the square runs from
// x - c to x + c). Below half-size 5, or without a readable picture, a grey
// cross; a square wider than 80 pixels takes the picture stretched; smaller
// ones are drawn four times as large, halved and ANDed onto the canvas so
// thin lines stay visible. White parts of a picture leave the canvas as it is.
void DrawCropMark(Bitmap24& canvas, int x, int y, std::span<const std::uint8_t> picture, int c);

// The four marks at the corners of `k` (right and bottom edges on the
// frame), each corner's own picture.
void DrawCropMarks(Bitmap24& canvas, const IntRect& k, const CropMarkCorners& corners, int c);

// The built-in marks used until a crop-mark file is applied: two parallel
// short lines along each edge, outside the job, stopping short of the corner.
const CropMarkCorners& DefaultCropMarkCorners();

}  // namespace corvan
