#pragma once
// The state the main window owns, kept in the engine so that commands run
// the same from the desktop program, the command-line tool and tests. The
// front end observes it and answers through the FrontEnd port, which the
// window and the command-line tool each implement in full.
#include "display/previewbuild.h"
#include "job/jobsession.h"
#include "placement/cropmarks.h"
#include "plugins/driverlist.h"
#include "plugins/printersettings.h"

#include <optional>
#include <string>
#include <vector>

namespace corvan {

// Everything the shell's commands need of the program's front end beyond
// the user-interface questions. Where a front end genuinely lacks a
// capability (the command-line tool has no window) its implementation says
// so in the log.
class FrontEnd : public JobEvents, public DriverHostWindow {
public:
    virtual void RecentChanged() = 0;       // rebuild the recent menus
    virtual void ActivateProjectTab() = 0;  // make "Project Settings" current
    virtual void PostStartMessage() = 0;    // run DeferredStart from the event loop
    virtual int SystemPrinterCount() = 0;   // installed system print queues
    virtual void RebuildDriverList() = 0;   // "Update Drivers"
    virtual void CreateLargePaperForms() = 0;
    virtual bool ShowPathEditor() = 0;
    virtual int ShowStartWizard() = 0;  // 0 for no choice, else 1..6
    virtual void OpenQuickStart() = 0;
    virtual void ShowHelpTopics() = 0;
    virtual bool ShowSettings(int page) = 0;
    // A picture (or, with `layers`, a vector layer) from the image library
    // window; front ends without one ask `ui` the plain file question `plain`.
    virtual std::optional<std::string> ChooseLibraryFile(bool layers,
                                                         const FileDialogRequest& plain,
                                                         UserInterface& ui) = 0;
};

class AppCore final : public JobSession {
public:
    AppCore(FrontEnd& front, UserInterface& ui);
    ~AppCore() override;

    UserInterface& Ui() const override { return ui_; }
    JobEvents& Events() override { return front_; }
    ProjectDriverPort& Driver() override { return driverPort_; }
    CropMarkPort& CropMarks() override { return CropMarkSet; }
    FrontEnd& Front() { return front_; }

    // The crop-mark files of the data folder and the one the output uses.
    CropMarkLibrary CropMarkSet;
    // The output driver list and the device it selects.
    DriverList Drivers;

    // Recent projects (8), layer and image histories (16), newest first.
    std::vector<std::string> DocHist;
    std::vector<std::string> EmfHist;
    std::vector<std::string> ImageHist;

    // Largest side of the job preview in pixels (at least 10).
    int MaxPreview = 900;
    // What the view area shows: the view and its three flags.
    ViewFlags Views;
    // Set by the first display or the deferred start: their work runs once.
    bool StartupDone = false;

private:
    FrontEnd& front_;
    UserInterface& ui_;
    PluginProjectDriver driverPort_;
};

}  // namespace corvan
