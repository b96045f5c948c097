#pragma once
// The RIP command: checks, the preflight summary, then one print document
// through the selected output driver (or the system printer), strip by strip.
#include "raster/contourpath.h"
#include "raster/placement.h"
#include "platform/bitmap.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace corvan {

class AppCore;
class TPluginObject;

// What the preflight summary shows and lets the operator change.
struct PreflightData {
    std::vector<std::string> memo;  // job report with the warnings on top
    std::string status = "OK";      // status label
    bool statusWarning = false;     // status shown in red
    std::string statusHint;
    std::string jobText;
    bool printJobText = false;
    bool printJobTextEnabled = true;  // the box is usable only with crop marks
};

// What the command needs from the rest of the program. Every member may be
// left empty: the command then does without it (the command-line tool).
struct RipHooks {
    // Renders a rectangle of the output raster (both ends inclusive) at a scale.
    std::function<std::unique_ptr<Bitmap24>(const IntRect&, float scale)> renderStrip;
    // The job's cut path for one copy at `scale` units per mm.
    std::function<ContourPath(float scale)> cutPath;
    // Shows the preflight summary; false when cancelled.
    std::function<bool(PreflightData&)> preflight;
    std::function<void()> redrawGamutPreview;
    std::function<void()> gamutMethodCleared;
    std::function<void(bool visible)> showMainWindow;
    // Output to the system printer instead of a driver; false when nothing
    // was printed (the reason was shown).
    std::function<bool()> printToSystemPrinter;
};

// The run's progress, for a progress line or window.
struct RipProgress {
    int pass = 0, lastPass = 0;
    int row = 0, rows = 0;
};

struct RipResult {
    bool ran = false;        // a print document was started
    bool completed = false;  // ran to its end without an abort or stop
    std::string error;       // a check that failed before anything was sent
};

// "RIP Now" on the current job.
RipResult RipNow(AppCore& app, TPluginObject& plugin, const RipHooks& hooks);

// The preflight contents for the current job (warnings, job text default).
PreflightData BuildPreflight(const AppCore& app);

// The nearest source row of device row r (both end rows aligned).
int SourceRowOf(int deviceRow, int sourceHeight, int deviceHeight);

inline constexpr const char* kProblemPrompt =
    "There was a problem with the current print job.\rDo you wish to continue?";

}  // namespace corvan
