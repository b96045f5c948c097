#pragma once
// Jobs for the composer tests: the shipped demo layers, and small layers of
// coloured quadrants whose landing places are easy to read.
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "support/gui_app.h"

#include <QTemporaryDir>

#include <string>

namespace corvan::test {

// The folder of the shipped demo job, ending in "/".
std::string SamplesDir();
// The demo job with absolute paths; empty layers when the samples are absent.
std::unique_ptr<TemfFile> DemoJob();

// Writes a page-sized layer (one unit = 1 mm at scale 1) of four quadrants:
// top-left red, top-right green, bottom-left blue, bottom-right yellow.
std::string WriteQuadrantLayer(const QTemporaryDir& dir, int width, int height);

}  // namespace corvan::test
