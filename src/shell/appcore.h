#pragma once
// The state the main window owns, kept in the engine so that commands run
// the same from the desktop program, the command-line tool and tests. The
// widgets observe it; engine code reaches the operator through the
// UserInterface port.
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "rip/outputoptions.h"
#include "platform/userinterface.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvan {

class CropMarkLibrary;

// What the project file needs of the selected output driver.
class ProjectDriverPort {
public:
    virtual ~ProjectDriverPort() = default;
    // The output is a loaded driver library (not the system printer).
    virtual bool IsValidDriver() const = 0;
    virtual std::string DriverPath() const = 0;
    // The driver's settings as text; empty when it has none or fetching failed.
    virtual std::string SettingsText() = 0;
    // A job was loaded: Plugin_Load_Profile, then Set_Plugin_Datatype(21, "0").
    virtual void JobLoaded() = 0;
    // Selects the driver file and restores its settings from the text.
    virtual void RestoreSettings(const std::string& plugin, const std::string& data) = 0;
};

// The crop-mark list of the main window.
class CropMarkPort {
public:
    virtual ~CropMarkPort() = default;
    // File name (no folder) of the selected crop-mark file; empty for none.
    virtual std::string SelectedFileName() const = 0;
    // Loads DataDir + file-name part of `name` and selects it in the list.
    virtual void SelectCropMarkFile(const std::string& name) = 0;
};

class AppCore {
public:
    AppCore() { CurrentPlotter.IsPlugin = false; }

    std::unique_ptr<TemfFile> CurrentJob;
    TemfPlotter CurrentPlotter;
    // The cached job preview the views render (none until they have).
    std::unique_ptr<Bitmap24> PreviewImage;
    // The save button's enabled state.
    bool SaveEnabled = false;
    bool Updating = false;
    // 10 writes the per-pass and per-row trace lines of a RIP run.
    int RipTrace = 0;

    OutputOptions Output;

    ProjectDriverPort* Driver = nullptr;
    // Asks the selected driver for one of its data texts (empty without one).
    std::function<std::string(int type)> DriverDatatype;
    CropMarkPort* CropMarks = nullptr;
    // The crop-mark file name a project named while no crop-mark list is
    // attached (the command-line tool), so saving carries it over.
    std::string CropMarkFallback;
    // The crop-mark library whose corner pictures the strip composer draws;
    // none means the built-in marks.
    CropMarkLibrary* CropMarkPictures = nullptr;

    // Observers the desktop program sets; all optional.
    std::function<void()> OnBackgroundChanged;
    std::function<void()> OnJobChanged;
    // The layout was recomputed (the position tab refreshes; repaint the view
    // when the flag says so).
    std::function<void(bool repaint)> OnLayoutChanged;
    // A layer entered the job (its fonts are made available here).
    std::function<void(const std::string&)> OnLayerAdded;

    UserInterface& Ui() const { return CurrentUi(); }

    // Sets Modified and enables the save button.
    void MarkModified();

    // ---- The desktop shell: histories, view state and the seams that
    // ---- later parts of the program (or the window) fill in.

    // Recent projects (8), layer and image histories (16), newest first.
    std::vector<std::string> DocHist;
    std::vector<std::string> EmfHist;
    std::vector<std::string> ImageHist;
    // The output driver list as the window state keeps it, and its selection.
    std::vector<std::string> DriverList;
    int DriverIndex = -1;

    // Largest side of the job preview in pixels (at least 10).
    int MaxPreview = 900;
    // The view area's mode; Draft is the plain outline view.
    enum class View { Page, Printer, Draft, Picture };
    View CurrentView = View::Printer;
    bool CutView = false;
    // Set by the first display or the deferred start: their work runs once.
    bool StartupDone = false;

    // The job size question: a proposed size (millimetres, or pixels for a
    // picture source) in, the chosen size in millimetres out; none when
    // cancelled. Without it, the proposal is taken as it is.
    struct JobSizeRequest {
        const Bitmap24* picture = nullptr;
        bool pixelSource = false;
        float width = 0;
        float height = 0;
    };
    struct JobSize {
        float width = 0;
        float height = 0;
    };
    std::function<std::optional<JobSize>(const JobSizeRequest&)> AskJobSize;

    // Window-side services the commands and the start checks need.
    std::function<void()> OnStateChanged;       // EnableByState
    std::function<void()> OnRepaint;            // repaint the view area
    std::function<void()> OnRecentChanged;      // BuildRecentMenus
    std::function<void()> OnActivateProjectTab; // make "Project Settings" current
    std::function<void()> PostStartMessage;     // runs the deferred start later
    std::function<int()> SystemPrinterCount;    // installed system print queues
    std::function<void()> RebuildDriverList;    // "Update Drivers"
    std::function<void()> CreateLargePaperForms;
    std::function<bool()> ShowPathEditor;
    std::function<int()> ShowStartWizard;       // 0 for no choice, else 1..6
    std::function<void()> OpenQuickStart;
    std::function<void()> ShowHelpTopics;
    std::function<bool(int page)> ShowSettings;
};

}  // namespace corvan
