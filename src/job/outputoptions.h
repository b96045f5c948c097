#pragma once
// What a RIP run produces and where it goes: window state of the output tab,
// not saved with the job.
#include <string>

namespace corvan {

struct OutputOptions {
    bool DoRaster = true;      // "Print Raster"
    bool DoVector = true;      // "Cut Contours"
    bool VectorEnabled = true; // "Cut Contours" can be used (the job has contour cutting)
    bool RipToFile = false;    // "Rip to File"
    std::string FileName;      // its file name edit
    std::string QueueText;     // the selected print queue's text
    bool OnlyExtraSpots = false;  // "Only Print Extra Spot Colors"
};

}  // namespace corvan
