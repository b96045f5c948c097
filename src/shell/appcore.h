#pragma once
// The state the main window owns, kept in the engine so that commands run
// the same from the desktop program, the command-line tool and tests. The
// widgets observe it; engine code reaches the operator through the
// UserInterface port.
#include "job/emffile.h"
#include "platform/bitmap.h"
#include "rip/outputoptions.h"
#include "shell/userinterface.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

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
};

}  // namespace corvan
