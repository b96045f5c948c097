#pragma once
// The texts the composer writes beside each copy, as filled glyph outlines
// in "Arial" (the size in points at 96 pixels per inch).
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "raster/placement.h"

#include <string>

namespace corvan {

// The tile number, bold, its left edge where a two-digit number would start
// (at K.right minus the width of "22") and its top at K.bottom minus the
// height of "22". White with a black outline (reversed with ReverseText),
// outline 2 pixels wide with ThickText.
void DrawTileNumber(Bitmap24& image, const TemfFile& job, const IntRect& k, int points);
// Regular black text with its top-left corner at (x, y).
void DrawJobText(Bitmap24& image, const std::string& text, int x, int y, int points);

}  // namespace corvan
