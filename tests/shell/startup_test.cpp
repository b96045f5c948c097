#include "shell/startup.h"

#include "job/projectfile.h"
#include "job/units.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/registry.h"
#include "shell/appcore.h"
#include "platform/preferences.h"
#include "shell/windowstate.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

const char* const kPaths =
    "The Default CorvanRIP Paths are not set.\rYou will need to set the Paths so that other\r"
    "Programs can talk to CorvanRIP correctly.";
const char* const kQuickStart = "Would you like to view the Quick Start Guide?";

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        app.SystemPrinterCount = [this] { return printers; };
        app.ShowPathEditor = [this] {
            calls.push_back("paths");
            WriteRegString("DocumentDir", home.Home());
            return true;
        };
        app.OpenQuickStart = [this] { calls.push_back("quickstart"); };
        app.ShowStartWizard = [this] {
            calls.push_back("wizard");
            return wizardChoice;
        };
        app.ShowHelpTopics = [this] { calls.push_back("help"); };
        app.ShowSettings = [this](int page) {
            calls.push_back("settings " + std::to_string(page));
            return false;
        };
        app.RebuildDriverList = [this] { calls.push_back("drivers"); };
        app.CreateLargePaperForms = [this] { calls.push_back("forms"); };
        app.AskJobSize = [](const AppCore::JobSizeRequest& r) {
            return std::optional<AppCore::JobSize>(AppCore::JobSize{r.width, r.height});
        };
    }

    test::ScratchHome home;
    test::ScriptedUi ui;
    AppCore app;
    int printers = 1;
    int wizardChoice = 0;
    std::vector<std::string> calls;
};

TEST_F(Startup, FirstStartOnAFreshSystem) {
    // The guide is offered only where it is installed.
    test::WriteFileBytes(ProgramFolder() + "Quick_Start.html", "<p>guide</p>");
    ui.Answer(ButtonNo);
    DeferredStart(app);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kPaths, kQuickStart}));
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Plain);
    EXPECT_EQ(ui.messages[1].kind, MessageKind::Confirmation);
    EXPECT_EQ(calls, (std::vector<std::string>{"forms", "paths", "wizard"}));
    EXPECT_TRUE(app.StartupDone);
    // No keeps the question for the next start; the forms are made once.
    EXPECT_TRUE(ReadRegBool("DoQuickStart", false));
    EXPECT_FALSE(ReadRegBool("Make_Large_Page", true));

    calls.clear();
    ui.messages.clear();
    ui.Answer(ButtonYes);
    DeferredStart(app);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{kQuickStart});
    EXPECT_EQ(calls, std::vector<std::string>{"quickstart"});
    EXPECT_FALSE(ReadRegBool("DoQuickStart", true));
}

TEST_F(Startup, NoSystemPrinterAndNewDriverAreReported) {
    printers = 0;
    ForceFolders(ProgramFolder() + "data");
    test::WriteFileBytes(ProgramFolder() + "data/NewPlugin.txt", "x");
    WriteRegString("DocumentDir", home.Home());
    WriteRegBool("DoQuickStart", false);
    DeferredStart(app);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].text,
              "Before you can Print with CorvanRIP,\ryou will need to set up a CUPS printer\r"
              "to use as a Print Queue.");
    EXPECT_EQ(ui.messages[1].kind, MessageKind::Information);
    EXPECT_EQ(ui.messages[1].text, "A New Driver has been Detected!");
    EXPECT_FALSE(FileExists(ProgramFolder() + "data/NewPlugin.txt"));
    EXPECT_EQ(calls, (std::vector<std::string>{"drivers", "forms", "wizard"}));
}

TEST_F(Startup, WizardChoices) {
    struct Case {
        int choice;
        std::vector<std::string> calls;
        std::vector<std::string> texts;
        bool fileDialog;
        bool newJob;
    };
    const Case cases[] = {
        {0, {}, {}, false, false},
        {1, {}, {}, true, false},
        {2, {}, {}, true, false},
        {3, {}, {}, false, true},
        {4, {"help"}, {}, false, false},
        {5, {}, {"No Recent Jobs to open!"}, false, false},
        {6, {"settings 0"}, {}, false, false},
        {7, {}, {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        app.CurrentJob.reset();
        calls.clear();
        ui.messages.clear();
        ui.fileRequests.clear();
        if (c.fileDialog) ui.AnswerFile(std::nullopt);
        RunWizardChoice(app, c.choice);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(ui.Texts(), c.texts);
        EXPECT_EQ(ui.fileRequests.size(), c.fileDialog ? 1u : 0u);
        EXPECT_EQ(app.CurrentJob != nullptr, c.newJob);
    }
}

TEST_F(Startup, WizardOpensTheMostRecentProject) {
    const std::string path = home.Path("recent.RIP");
    AppCore other;
    other.CurrentJob = std::make_unique<TemfFile>();
    other.CurrentJob->PageWidth = 77;
    ASSERT_TRUE(SaveProject(other, path));
    app.DocHist = {path, home.Path("older.RIP")};
    RunWizardChoice(app, 5);
    ASSERT_TRUE(app.CurrentJob);
    EXPECT_FLOAT_EQ(app.CurrentJob->PageWidth, 77);
}

TEST_F(Startup, CommandLineFileSkipsTheQuestions) {
    const std::string path = home.Path("start.RIP");
    AppCore other;
    other.CurrentJob = std::make_unique<TemfFile>();
    ASSERT_TRUE(SaveProject(other, path));
    int posts = 0;
    app.PostStartMessage = [&] { ++posts; };
    FirstShow(app, path);
    EXPECT_TRUE(app.CurrentJob);
    EXPECT_EQ(posts, 0);
    EXPECT_TRUE(ui.messages.empty());
    FirstShow(app, "");  // runs once only
    EXPECT_EQ(posts, 0);

    AppCore fresh;
    fresh.PostStartMessage = [&] { ++posts; };
    FirstShow(fresh, home.Path("no such file.RIP"));
    EXPECT_EQ(posts, 1);
}

TEST_F(Startup, PreviewSizePreference) {
    struct Case {
        const char* stored;
        int want;
        bool draft;
    };
    const Case cases[] = {{"", 900, false},
                          {"600", 600, false},
                          {"5", 10, true},
                          {"10", 10, false},
                          {"1200.6", 1201, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        test::WriteFileBytes(
            PreferencesFile(),
            *c.stored ? std::string("[settings]\nmax_preview_value=") + c.stored : std::string());
        AppCore fresh;
        ApplyPreferences(fresh);
        EXPECT_EQ(fresh.MaxPreview, c.want);
        EXPECT_EQ(fresh.CurrentView == AppCore::View::Draft, c.draft);
    }
}

TEST_F(Startup, ChangedPreviewSizeRebuildsTheJobPreview) {
    int repaints = 0;
    app.OnRepaint = [&] { ++repaints; };
    app.CurrentJob = std::make_unique<TemfFile>();
    app.CurrentJob->PreviewDirty = false;
    EXPECT_FALSE(ApplyPreferences(app));
    test::WriteFileBytes(PreferencesFile(),
                         "[settings]\nmax_preview_value=500\nuse_metric_checked=True\n");
    EXPECT_TRUE(ApplyPreferences(app));
    EXPECT_TRUE(app.CurrentJob->PreviewDirty);
    EXPECT_EQ(repaints, 1);
    EXPECT_TRUE(UseMetric);
    UseMetric = false;
}

TEST_F(Startup, CloseQueryAnswers) {
    struct Case {
        const char* name;
        std::vector<Button> answers;
        bool saveDialog;
        bool mayClose;
    };
    const Case cases[] = {
        {"unmodified", {}, false, true},
        {"no", {ButtonNo}, false, true},
        {"cancel", {ButtonCancel}, false, false},
        {"yes, saved", {ButtonYes}, true, true},
        {"yes, save cancelled, go on", {ButtonYes, ButtonYes}, true, true},
        {"yes, save cancelled, stay", {ButtonYes, ButtonNo}, true, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.CurrentJob = std::make_unique<TemfFile>();
        app.CurrentJob->Modified = !c.answers.empty();
        for (Button b : c.answers) ui.Answer(b);
        const bool saves = c.answers.size() == 1 && c.answers[0] == ButtonYes;
        if (c.saveDialog)
            ui.AnswerFile(
                saves ? std::optional<std::string>(home.Path("c" + std::to_string(n++) + ".RIP"))
                      : std::nullopt);
        EXPECT_EQ(CloseQuery(app), c.mayClose);
        EXPECT_EQ(app.CurrentJob->Modified, !c.mayClose);
    }
}

TEST_F(Startup, WindowStateRoundTrip) {
    app.DocHist = {"/a.RIP", "/b.RIP"};
    app.EmfHist = {"/l.emf"};
    app.ImageHist = {};
    app.DriverList = {"TIFF,tiff.drv"};
    app.DriverIndex = 0;
    WindowState s;
    s.placement = {10, 20, 1100, 700, true};
    s.proportional = true;
    s.expert = false;
    const std::string file = WindowStateFile();
    ASSERT_TRUE(StoreWindowState(app, s, file));
    EXPECT_EQ(GetProfileString(file, "Cache.strDocHist_Strings", "Item1"), "/b.RIP");
    EXPECT_EQ(GetProfileString(file, "Cache", "cProportional_Checked"), "1");

    AppCore back;
    const WindowState r = RestoreWindowState(back, file);
    EXPECT_EQ(back.DocHist, app.DocHist);
    EXPECT_EQ(back.EmfHist, app.EmfHist);
    EXPECT_TRUE(back.ImageHist.empty());
    EXPECT_EQ(back.DriverList, app.DriverList);
    EXPECT_EQ(back.DriverIndex, 0);
    EXPECT_EQ(r.placement.width, 1100);
    EXPECT_TRUE(r.placement.maximised);
    EXPECT_TRUE(r.proportional);
    EXPECT_FALSE(r.expert);
}

TEST_F(Startup, DiagnosticsCodeWordsAreExact) {
    EXPECT_EQ(DiagnosticsCode("quibl"), DiagnosticAction::DivideByZero);
    EXPECT_EQ(DiagnosticsCode("zephyx"), DiagnosticAction::RipTrace);
    EXPECT_EQ(DiagnosticsCode("Quibl"), DiagnosticAction::None);
    EXPECT_EQ(DiagnosticsCode("zephyx "), DiagnosticAction::None);
    EXPECT_EQ(DiagnosticsCode(""), DiagnosticAction::None);
}

}  // namespace
}  // namespace corvan
