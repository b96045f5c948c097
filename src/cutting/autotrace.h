#pragma once
// Autotrace: outlines for jobs that have none (photographs, scans). The page
// is rendered, foreground is told from background by its colour distance to
// a trace colour, every region's boundary is walked into a polyline, the
// polylines are smoothed and thinned as `Tdot` lists and written as a vector
// layer (an enhanced metafile drawn in the contour colour) to cut along.
//
// Everything here is free of the user interface and may run on a worker
// thread; AutotraceProgress reports back and asks whether to go on.
#include "platform/bitmap.h"
#include "platform/metafile/emf_writer.h"
#include "platform/outcome.h"

#include <QPoint>
#include <QPointF>

#include <cstdint>
#include <string>
#include <vector>

namespace corvan {

class TemfFile;

struct AutotraceSettings {
    Colour traceColour = 0xFFFFFF;    // reference colour of the mask
    int tolerance = 0;                // colour distance threshold, 0..255
    bool reversed = true;             // foreground = farther than tolerance
    int offset = 0;                   // one-pixel grow passes of the mask
    Colour contourColour = 0xFF0000;  // pen of the written layer (blue)
    int smoothing = 10;               // subdivide-and-average passes
    int minAngle = 3;                 // degrees; flatter turns are thinned away
    int minSize = 5;                  // contours no larger in both directions are dropped
};

// Told how far the work is (0..100) and whether to go on; false cancels.
// Called from the thread that runs the trace.
class AutotraceProgress {
public:
    virtual ~AutotraceProgress() = default;
    virtual bool Step(int percent) = 0;
};

// Mask values: background, foreground, a walked boundary pixel, and the
// start pixel of a walked contour.
inline constexpr std::uint8_t kMaskBack = 0, kMaskFore = 1, kMaskStart = 3, kMaskBoundary = 5;

struct TraceMask {
    int width = 0, height = 0;
    std::vector<std::uint8_t> values;  // row by row from the top

    std::uint8_t& At(int x, int y) { return values[static_cast<std::size_t>(y) * width + x]; }
    std::uint8_t At(int x, int y) const { return values[static_cast<std::size_t>(y) * width + x]; }
};

// Foreground by colour distance (outermost rows and columns background),
// isolated specks removed, then grown `offset` times.
TraceMask MakeTraceMask(const Bitmap24& source, const AutotraceSettings& settings);

// The walked outlines in mask pixels: each polyline starts at its start
// pixel (a move) and runs through the turning points, each half way back
// from the pixel where the walk turned to the pixel before it. The half is
// kept: rounding it down would pull every outline up and left by half a
// pixel on average.
struct TracedContours {
    int width = 0, height = 0;  // of the mask
    std::vector<std::vector<QPointF>> polylines;
    long totalPoints = 0;  // boundary steps of all contours
    long maxPoints = 0;    // steps of the longest contour
};

// Walks every region boundary met by the row scan, marking the mask.
// Cancelled (progress said no) gives a failure.
Outcome<TracedContours> TraceContours(TraceMask& mask, AutotraceProgress* progress = nullptr);

// One point of a contour being smoothed; Flag 1 marks it for removal.
struct Tdot {
    float X = 0, Y = 0;
    std::int32_t Flag = 0;
};
using TdotList = std::vector<Tdot>;

// Closes, drops the small, smooths and thins every traced polyline, in
// the order they are drawn (the last traced first). Failures: an empty
// trace, one too large to smooth, or cancelled.
Outcome<std::vector<TdotList>> SmoothContours(const TracedContours& traced, const AutotraceSettings& settings,
                                              AutotraceProgress* progress = nullptr);

// Turn angle at q between p and r in degrees: 0 straight on, 90 when a
// neighbour coincides with q.
double TurnAngle(const Tdot& p, const Tdot& q, const Tdot& r);
// One subdivide-and-average pass over a closed list.
void SubdivideAndAverage(TdotList& dots);
// Removes points whose turn is flatter than `minAngle` until none is.
void ThinContour(TdotList& dots, double minAngle);

// The layer file: a metafile ten units per mask pixel, each contour one
// polyline drawn with a hairline pen of `colour`, on the outer edge of the
// boundary pixels (the walk ran through their centres).
emf::EmfWriter TracedLayer(const std::vector<TdotList>& contours, int width, int height, Colour colour);

// The job page rendered for tracing: a tenth of a millimetre a pixel,
// fitted into 1500 x 1500.
std::unique_ptr<Bitmap24> RenderAutotraceSource(const TemfFile& job);

struct AutotraceResult {
    int contours = 0;     // written after dropping the small ones
    long totalPoints = 0; // boundary steps traced
    long maxPoints = 0;
};

// Smooths the traced outlines and saves them atomically as the layer at
// `path`; the contours as written.
Outcome<std::vector<TdotList>> SaveTracedLayer(const TracedContours& traced, const AutotraceSettings& settings,
                                               const std::string& path, AutotraceProgress* progress = nullptr);

// The whole run: mask, trace, smooth, then the layer saved atomically at `path`.
Outcome<AutotraceResult> AutotraceToLayer(const Bitmap24& source, const AutotraceSettings& settings,
                                          const std::string& path, AutotraceProgress* progress = nullptr);

}  // namespace corvan
