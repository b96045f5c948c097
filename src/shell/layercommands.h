#pragma once
// Layers joining the current job.
#include "platform/bitmap.h"

#include <string>

namespace corvan {

class AppCore;

// The layer file goes on top of the job's layers, to the top of the layer
// history, and its fonts are made available; the job counts as changed and
// its preview is rebuilt. Nothing without a job.
void AppendLayer(AppCore& app, const std::string& path);

// A traced outline layer joins the job and becomes what is cut: contour
// cutting on, its colour the cut colour, lines in that colour cut.
void AppendTracedLayer(AppCore& app, const std::string& path, Colour contourColour);

}  // namespace corvan
