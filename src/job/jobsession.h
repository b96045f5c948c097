#pragma once
// The one current job and device record and the ports through which
// job-level commands reach the selected driver, the crop-mark list and the
// front end. The shell's application core implements the ports; a front end
// that lacks a port does not compile.
#include "job/emffile.h"
#include "job/outputoptions.h"
#include "platform/bitmap.h"
#include "platform/userinterface.h"

#include <memory>
#include <optional>
#include <string>

namespace corvan {

// The job size question: a proposed size (millimetres, or pixels for a
// picture source) in, the chosen size in millimetres out.
struct JobSizeRequest {
    const Bitmap24* picture = nullptr;
    bool pixelSource = false;
    float width = 0;
    float height = 0;
    bool metric = false;  // the session's display unit (the front end fills it in)
};
struct JobSize {
    float width = 0;
    float height = 0;
};

// What the front end shows when the job changes. The window repaints and
// refreshes its controls; the command-line tool has nothing to refresh.
class JobEvents {
public:
    virtual ~JobEvents() = default;
    // The job's values changed (ShowJob).
    virtual void JobChanged() = 0;
    // The layout was recomputed; repaint the view when the flag says so.
    virtual void LayoutChanged(bool repaint) = 0;
    // The background picture changed or was reloaded.
    virtual void BackgroundChanged() = 0;
    // Job, device or state changed: re-enable the controls (EnableByState).
    virtual void StateChanged() = 0;
    // The view area must be drawn again.
    virtual void Repaint() = 0;
    // The job preview must be current now (a project's thumbnail is made
    // from it): a build in progress or due is finished before returning.
    virtual void SettlePreview() = 0;
    // The job size question; none when cancelled.
    virtual std::optional<JobSize> AskJobSize(const JobSizeRequest& request) = 0;
};

// What the project file needs of the selected output driver.
class ProjectDriverPort {
public:
    virtual ~ProjectDriverPort() = default;
    // The output is a loaded driver library (not the system printer).
    virtual bool IsValidDriver() const = 0;
    virtual std::string DriverPath() const = 0;
    // The driver's settings as text; empty when it has none or fetching failed.
    virtual std::string SettingsText() = 0;
    // One of the driver's data texts; empty without a driver.
    virtual std::string Datatype(int type) = 0;
    // A job was loaded or made: Plugin_Load_Profile, then Set_Plugin_Datatype(21, "0").
    virtual void JobLoaded() = 0;
    // Selects the driver file and restores its settings from the text.
    virtual void RestoreSettings(const std::string& plugin, const std::string& data) = 0;
};

// The crop-mark selection the project file stores.
class CropMarkPort {
public:
    virtual ~CropMarkPort() = default;
    // File name (no folder) of the crop-mark file the output uses; empty
    // while the built-in marks are drawn.
    virtual std::string SelectedFileName() const = 0;
    // Loads DataDir + file-name part of `name` and selects it.
    virtual void SelectCropMarkFile(const std::string& name) = 0;
};

class JobSession {
public:
    JobSession() { CurrentPlotter.IsPlugin = false; }
    virtual ~JobSession() = default;
    JobSession(const JobSession&) = delete;
    JobSession& operator=(const JobSession&) = delete;

    std::unique_ptr<TemfFile> CurrentJob;
    TemfPlotter CurrentPlotter;
    // The cached job preview the views render (none until they have).
    std::unique_ptr<Bitmap24> PreviewImage;
    // The save button's enabled state.
    bool SaveEnabled = false;
    bool Updating = false;
    // 10 writes the per-pass and per-row trace lines of a RIP run.
    int RipTrace = 0;
    // Lengths are shown in millimetres, else in inches; from the
    // "use_metric" preference and the Metric Units command.
    bool UseMetric = false;
    OutputOptions Output;

    // Sets Modified and enables the save button.
    void MarkModified();

    virtual UserInterface& Ui() const = 0;
    virtual JobEvents& Events() = 0;
    virtual ProjectDriverPort& Driver() = 0;
    virtual CropMarkPort& CropMarks() = 0;
};

}  // namespace corvan
