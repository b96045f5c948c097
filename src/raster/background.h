#pragma once
// Drawing the job's background image into a render target with integer
// interpolation weights, and the source-coordinate rule shared with the
// smoothing of bitmaps embedded in layers.
#include "platform/bitmap.h"
#include "raster/placement.h"

#include <array>
#include <cstdint>

namespace corvan {

// Entry f: weight (0 to 128) of the lower of two neighbouring source pixels
// when the sample lies f/256 past the lower pixel's centre; the upper pixel
// gets 128 minus that.
using WeightTable = std::array<std::int32_t, 256>;

// 128 - f * 128 / 255: a linear ramp, 64 at the middle.
const WeightTable& DefaultWeightTable();
// The default table snapped to 0 or 128 (128 for f <= 129): nearest pixel.
const WeightTable& NearestWeightTable();
// The blending library's table for `param`, each entry halved (truncating).
WeightTable BlendWeightTable(float param);

struct SourceCoord {
    std::int32_t fraction = 0;  // 0..255 for offsets >= 0 (negative offsets give a negative one)
    std::int32_t upper = 0;
    std::int32_t lower = 0;
};

// Maps destination offset 0..extent onto a source of maxIndex + 1 pixels:
// the sample sits at offset * (maxIndex + 1) / extent, between the pixel
// centres lower and upper (both clamped to 0..maxIndex). Extent 0 gives
// fraction 128 and both indices 0.
SourceCoord MapSourceCoord(std::int32_t offset, std::int32_t extent, std::int32_t maxIndex);

// Stretches `source` onto `rect` of `target` (rect may reach outside the
// target; only columns max(left, 0)..min(right, width - 1) and the matching
// rows are written, both ends included). Without a table the default one is
// used, or its nearest variant when `smooth` is false. Nothing is drawn for
// a missing image, an empty area, or a source narrower or lower than 2.
void StretchBackground(const Bitmap24* source, Bitmap24* target, const IntRect& rect,
                       const WeightTable* table, bool smooth);

}  // namespace corvan
