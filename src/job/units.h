#pragma once
// Lengths as the operator sees them: millimetres or inches.
#include "platform/bitmap.h"

#include <string>

namespace corvan {

// true shows millimetres, false inches. False at start; set from the
// "use_metric" preference and by the Metric Units command.
extern bool UseMetric;

// "25.4mm" in metric mode, "1.000in" otherwise (no blank before the unit).
std::string FormatLength(float millimetres);
// Width first: "210.0mm x 297.0mm".
std::string FormatSize(float width, float height);
// "255,0,0" for pure red.
std::string FormatRGB(Colour colour);

}  // namespace corvan
