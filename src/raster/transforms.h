#pragma once
// Whole-image operations on 24-bit images shared by the strip composer, the
// views and the export dialogs. Operations that return an image make a new
// one and never touch their input; FadeBitmap and HatchBitmap change their
// argument. A null image in gives a null image out (or nothing is done).
#include "platform/bitmap.h"
#include "raster/placement.h"

#include <array>
#include <memory>

namespace corvan {

// Mirrors first, then an optional quarter turn counter-clockwise (the
// source's right column becomes the result's top row). Must stay the same
// mapping as the placement transform: the strip composer renders an upright
// window of the job and turns it with this. Null for an empty source.
std::unique_ptr<Bitmap24> TransformBitmap(const Bitmap24* source, bool rotate, bool mirrorX,
                                          bool mirrorY);

// Averages every 2 x 2 block; an odd last column or row is dropped. Null
// when the result would be empty (a source narrower or lower than 2).
std::unique_ptr<Bitmap24> HalveBitmap(const Bitmap24* source);

// Moves every byte towards white so that `percent` of the contrast remains
// (100 leaves the image alone, 0 makes it white). Percent is held to 0..100.
void FadeBitmap(Bitmap24* image, int percent);

// ANDs `colour` into every pixel with x + y even: colour 0 blacks out a
// one-pixel checkerboard.
void HatchBitmap(Bitmap24* image, Colour colour);

// 256 entries, entry i = (i * red, i * green, i * blue); (true, true, true)
// is the grey ramp. The palette-manager flag of the original platform has no
// meaning here and is not stored.
std::array<Colour, 256> MakeRampPalette(bool red, bool green, bool blue);

// Grey index (38 R + 76 G + 14 B) >> 7 with the grey ramp as palette.
std::unique_ptr<Bitmap8> ToGray8(const Bitmap24* source);

// Each value times scale, rounded to nearest with ties to even.
IntRect ScaleRect(float left, float top, float right, float bottom, float scale);
IntRect OffsetRectBy(const IntRect& rect, int dx, int dy);

}  // namespace corvan
