#pragma once
// The RIP command: checks, the preflight summary, then one print document
// through the selected output driver (or the system printer), strip by strip.
#include "platform/bitmap.h"
#include "raster/contourpath.h"
#include "raster/placement.h"

#include <memory>
#include <string>
#include <vector>

namespace corvan {

class JobSession;
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

// What the command needs from the rest of the program: the shell provides
// the rendering half, each front end the rest.
class RipPort {
public:
    virtual ~RipPort() = default;
    // Renders a rectangle of the output raster (both ends inclusive) at a scale.
    virtual std::unique_ptr<Bitmap24> RenderStrip(const IntRect& rect, float scale) = 0;
    // The job's cut path for one copy at `scale` units per mm.
    virtual ContourPath CutPath(float scale) = 0;
    // Output to the system printer instead of a driver; false when nothing
    // was printed (the reason was shown).
    virtual bool PrintToSystemPrinter() = 0;
    // Shows the preflight summary; false when cancelled.
    virtual bool Preflight(PreflightData& data) = 0;
    virtual void RedrawGamutPreview() = 0;
    virtual void GamutMethodCleared() = 0;
    virtual void ShowMainWindow(bool visible) = 0;
    // The output has been sent and closed: progress windows go away before
    // the closing question.
    virtual void RunEnded() = 0;
};

// The run's progress, for a progress line or window.
struct RipProgress {
    int pass = 0, lastPass = 0;
    int row = 0, rows = 0;
};

struct RipResult {
    bool ran = false;        // a print document was started
    bool completed = false;  // ran to its end without an abort or stop
    bool cancelled = false;  // the operator pressed Cancel
    std::string error;       // a check that failed before anything was sent
};

// "RIP Now" on the current job.
RipResult RipNow(JobSession& app, TPluginObject& plugin, RipPort& port);

// The preflight contents for the current job (warnings, job text default).
PreflightData BuildPreflight(JobSession& app);

// The nearest source row of device row r (both end rows aligned).
int SourceRowOf(int deviceRow, int sourceHeight, int deviceHeight);

inline constexpr const char* kProblemPrompt =
    "There was a problem with the current print job.\rDo you wish to continue?";

}  // namespace corvan
