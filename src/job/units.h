#pragma once
// Lengths as the operator sees them: millimetres or inches.
#include "platform/bitmap.h"

#include <string>

namespace corvan {

// "25.4mm" when `metric`, "1.000in" otherwise (no blank before the unit).
std::string FormatLength(float millimetres, bool metric);
// Width first: "210.0mm x 297.0mm".
std::string FormatSize(float width, float height, bool metric);
// "255,0,0" for pure red.
std::string FormatRGB(Colour colour);

}  // namespace corvan
