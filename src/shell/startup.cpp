#include "shell/startup.h"

#include "job/units.h"
#include "platform/folders.h"
#include "platform/numbers.h"
#include "platform/preferences.h"
#include "platform/registry.h"
#include "shell/appcore.h"
#include "shell/jobcommands.h"
#include "shell/loading.h"


#include <cctype>

namespace corvan {

namespace {

const char* const kNoPrinter =
    "Before you can Print with CorvanRIP,\ryou will need to set up a CUPS printer\r"
    "to use as a Print Queue.";
const char* const kPathsNotSet =
    "The Default CorvanRIP Paths are not set.\rYou will need to set the Paths so that other\r"
    "Programs can talk to CorvanRIP correctly.";

void CheckNewDriver(AppCore& app) {
    if (TakeNewDriverMarker(app.Ui())) app.Front().RebuildDriverList();
}

}  // namespace

std::string QuickStartGuide() {
    for (const char* name : {"Quick_Start.html", "Quick_Start.pdf"}) {
        const std::string path = ProgramFolder() + name;
        if (FileExists(path)) return path;
    }
    return {};
}

void FirstShow(AppCore& app, const std::string& commandLine) {
    if (app.StartupDone) return;
    app.StartupDone = true;
    if (!commandLine.empty() && FileExists(commandLine)) {
        LoadAnything(app, commandLine);
        return;
    }
    app.Front().PostStartMessage();
}

void DeferredStart(AppCore& app) {
    app.StartupDone = true;
    UserInterface& ui = app.Ui();
    if (app.Front().SystemPrinterCount() == 0) ui.ShowWarning(kNoPrinter);
    CheckNewDriver(app);
    if (ReadRegBool("Make_Large_Page", true)) {
        WriteRegBool("Make_Large_Page", false);
        app.Front().CreateLargePaperForms();
    }
    if (ReadRegRaw("DocumentDir").empty()) {
        ui.ShowPlain(kPathsNotSet);
        app.Front().ShowPathEditor();
    }
    // A guide that is not installed is not offered.
    if (ReadRegBool("DoQuickStart", true) && !QuickStartGuide().empty() &&
        ui.AskYesNo("Would you like to view the Quick Start Guide?")) {
        WriteRegBool("DoQuickStart", false);
        app.Front().OpenQuickStart();
        return;
    }
    const int choice = app.Front().ShowStartWizard();
    ui.ProcessMessages();
    RunWizardChoice(app, choice);
    ui.ProcessMessages();
    app.Events().Repaint();
    ui.ProcessMessages();
}

void RunWizardChoice(AppCore& app, int choice) {
    switch (choice) {
        case 1:
            OpenProjectCommand(app);
            break;
        case 2:
            OpenImageAsNewCommand(app);
            break;
        case 3:
            NewJob(app);
            break;
        case 4:
            app.Front().ShowHelpTopics();
            break;
        case 5:
            if (app.DocHist.empty())
                app.Ui().ShowPlain("No Recent Jobs to open!");
            else
                OpenRecent(app, 0);
            break;
        case 6:
            app.Front().ShowSettings(0);
            break;
        default:
            break;
    }
}

// The same question as before any other change of job: Cancel, or No to
// "Do you wish to continue?" after a cancelled save, keeps the window open.
bool CloseQuery(AppCore& app) {
    return AskSaveChanges(app);
}

bool ApplyPreferences(AppCore& app) {
    const int before = app.MaxPreview;
    app.MaxPreview = RoundToInt(ReadPrefNumber("max_preview", app.MaxPreview));
    if (app.MaxPreview < 10) {
        app.MaxPreview = 10;
        app.Views.DraftView = true;
    }
    app.UseMetric = ReadPrefBool("use_metric", app.UseMetric);
    if (!app.CurrentJob || app.MaxPreview == before) return false;
    app.CurrentJob->PreviewDirty = true;
    app.Events().Repaint();
    return true;
}

DiagnosticAction DiagnosticsCode(const std::string& word) {
    if (word == "quibl") return DiagnosticAction::DivideByZero;
    if (word == "zephyx") return DiagnosticAction::RipTrace;
    if (word == "427") return DiagnosticAction::ShowUpdateBox;
    return DiagnosticAction::None;
}

}  // namespace corvan
