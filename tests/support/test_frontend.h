#pragma once
// The front end of engine tests: the commands run without a window, so this
// records what they ask of one and answers from its fields. Desktop tests use
// the real main window instead.
#include "shell/appcore.h"
#include "support/scripted_ui.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvan::test {

class RecordingFrontEnd final : public FrontEnd {
public:
    // Every call by name, in order ("job", "layout", "background", "state",
    // "repaint", "recent", "projecttab", "post", "drivers", "forms", "paths",
    // "wizard", "quickstart", "help", "settings N").
    std::vector<std::string> calls;
    int printers = 1;
    int wizardChoice = 0;
    bool pathEditorResult = true;
    // Runs when the path editor is asked for (tests store paths there).
    std::function<void()> onPathEditor;
    // The job size answer: the proposal itself unless set.
    std::function<std::optional<JobSize>(const JobSizeRequest&)> askJobSize;
    std::vector<JobSizeRequest> sizeRequests;

    int Count(const std::string& name) const;

    void JobChanged() override { calls.push_back("job"); }
    void LayoutChanged(bool repaint) override {
        calls.push_back(repaint ? "layout+repaint" : "layout");
    }
    void BackgroundChanged() override { calls.push_back("background"); }
    void StateChanged() override { calls.push_back("state"); }
    void Repaint() override { calls.push_back("repaint"); }
    void SettlePreview() override {}
    std::optional<JobSize> AskJobSize(const JobSizeRequest& request) override;
    void RecentChanged() override { calls.push_back("recent"); }
    void ActivateProjectTab() override { calls.push_back("projecttab"); }
    void PostStartMessage() override { calls.push_back("post"); }
    int SystemPrinterCount() override { return printers; }
    void RebuildDriverList() override { calls.push_back("drivers"); }
    void CreateLargePaperForms() override { calls.push_back("forms"); }
    bool ShowPathEditor() override {
        calls.push_back("paths");
        if (onPathEditor) onPathEditor();
        return pathEditorResult;
    }
    int ShowStartWizard() override {
        calls.push_back("wizard");
        return wizardChoice;
    }
    void OpenQuickStart() override { calls.push_back("quickstart"); }
    // The plain file question, answered by the scripted UI.
    std::optional<std::string> ChooseLibraryFile(bool, const FileDialogRequest& plain,
                                                 UserInterface& ui) override {
        calls.push_back("library");
        return ui.ChooseFile(plain);
    }
    void ShowHelpTopics() override { calls.push_back("help"); }
    bool ShowSettings(int page) override {
        calls.push_back("settings " + std::to_string(page));
        return true;
    }
    std::uint64_t HostWindowId() override { return 0; }
};

// Records what the job commands ask of the selected driver; data types
// answer from `datatypes`.
class RecordingDriver : public ProjectDriverPort {
public:
    bool IsValidDriver() const override { return valid; }
    std::string DriverPath() const override { return "/drivers/tiff.drv"; }
    std::string SettingsText() override { return settings; }
    std::string Datatype(int type) override;
    void JobLoaded() override { calls.push_back("JobLoaded"); }
    void RestoreSettings(const std::string& plugin, const std::string& data) override {
        calls.push_back("Restore " + plugin + " " + data);
    }
    bool valid = true;
    std::string settings = "0A0B0C";
    std::map<int, std::string> datatypes;
    std::vector<std::string> calls;
};

// A job session whose driver is the recording one: the job-level contract
// with the driver is checked call by call (the real driver library is
// exercised by the plugin and desktop tests).
class DriverSession final : public JobSession {
public:
    // The driver starts as "no valid driver" (the system printer).
    explicit DriverSession(UserInterface& ui) : ui_(ui) { driver.valid = false; }
    UserInterface& Ui() const override { return ui_; }
    JobEvents& Events() override { return front; }
    ProjectDriverPort& Driver() override { return driver; }
    CropMarkPort& CropMarks() override { return marks; }

    RecordingFrontEnd front;
    RecordingDriver driver;
    CropMarkLibrary marks;

private:
    UserInterface& ui_;
};

// The newest live ScriptedUi, else one that prints and takes safe answers.
inline UserInterface& NewestTestUi() {
    static ConsoleUserInterface console;
    if (ScriptedUi* ui = ScriptedUi::Newest()) return *ui;
    return console;
}

// An engine core on the recording front end and the given UI (by default
// the newest ScriptedUi: construct it after that one).
struct TestApp {
    explicit TestApp(UserInterface& ui = NewestTestUi()) : app(front, ui) {}
    RecordingFrontEnd front;
    AppCore app;
};

}  // namespace corvan::test
