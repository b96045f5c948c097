#include "shell/startup.h"

#include "job/projectfile.h"
#include "job/units.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/preferences.h"
#include "platform/registry.h"
#include "shell/appcore.h"
#include "shell/windowstate.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"
#include "support/test_frontend.h"

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
        front.onPathEditor = [this] { WriteRegString("DocumentDir", home.Home()); };
    }
    // What the start asked of the window, repaints left out.
    std::vector<std::string> Calls() const {
        std::vector<std::string> out;
        for (const std::string& c : front.calls)
            if (c != "repaint") out.push_back(c);
        return out;
    }

    test::ScratchHome home;
    test::ScriptedUi ui;
    test::TestApp t;
    AppCore& app = t.app;
    test::RecordingFrontEnd& front = t.front;
};

TEST_F(Startup, FirstStartOnAFreshSystem) {
    // The guide is offered only where it is installed.
    test::WriteFileBytes(ProgramFolder() + "Quick_Start.html", "<p>guide</p>");
    ui.Answer(ButtonNo);
    DeferredStart(app);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{kPaths, kQuickStart}));
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Plain);
    EXPECT_EQ(ui.messages[1].kind, MessageKind::Confirmation);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"forms", "paths", "wizard"}));
    EXPECT_TRUE(app.StartupDone);
    // No keeps the question for the next start; the forms are made once.
    EXPECT_TRUE(ReadRegBool("DoQuickStart", false));
    EXPECT_FALSE(ReadRegBool("Make_Large_Page", true));

    front.calls.clear();
    ui.messages.clear();
    ui.Answer(ButtonYes);
    DeferredStart(app);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{kQuickStart});
    EXPECT_EQ(Calls(), std::vector<std::string>{"quickstart"});
    EXPECT_FALSE(ReadRegBool("DoQuickStart", true));
}

TEST_F(Startup, NoSystemPrinterAndNewDriverAreReported) {
    front.printers = 0;
    // The marker lies where driver installers write it (names are case-sensitive here).
    ForceFolders(ProgramFolder() + "Data");
    test::WriteFileBytes(ProgramFolder() + "Data/NewPlugin.txt", "x");
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
    EXPECT_FALSE(FileExists(ProgramFolder() + "Data/NewPlugin.txt"));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"drivers", "forms", "wizard"}));
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
        front.calls.clear();
        ui.messages.clear();
        ui.fileRequests.clear();
        if (c.fileDialog) ui.AnswerFile(std::nullopt);
        RunWizardChoice(app, c.choice);
        std::vector<std::string> asked;
        for (const std::string& call : Calls())
            if (call == "help" || call.rfind("settings", 0) == 0) asked.push_back(call);
        EXPECT_EQ(asked, c.calls);
        EXPECT_EQ(ui.Texts(), c.texts);
        EXPECT_EQ(ui.fileRequests.size(), c.fileDialog ? 1u : 0u);
        EXPECT_EQ(app.CurrentJob != nullptr, c.newJob);
    }
}

TEST_F(Startup, WizardOpensTheMostRecentProject) {
    const std::string path = home.Path("recent.RIP");
    test::TestApp other;
    other.app.CurrentJob = std::make_unique<TemfFile>();
    other.app.CurrentJob->PageWidth = 77;
    ASSERT_TRUE(SaveProject(other.app, path));
    app.DocHist = {path, home.Path("older.RIP")};
    RunWizardChoice(app, 5);
    ASSERT_TRUE(app.CurrentJob);
    EXPECT_FLOAT_EQ(app.CurrentJob->PageWidth, 77);
}

TEST_F(Startup, CommandLineFileSkipsTheQuestions) {
    const std::string path = home.Path("start.RIP");
    test::TestApp other;
    other.app.CurrentJob = std::make_unique<TemfFile>();
    ASSERT_TRUE(SaveProject(other.app, path));
    FirstShow(app, path);
    EXPECT_TRUE(app.CurrentJob);
    EXPECT_EQ(front.Count("post"), 0);
    EXPECT_TRUE(ui.messages.empty());
    FirstShow(app, "");  // runs once only
    EXPECT_EQ(front.Count("post"), 0);

    test::TestApp fresh;
    FirstShow(fresh.app, home.Path("no such file.RIP"));
    EXPECT_EQ(fresh.front.Count("post"), 1);
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
        test::TestApp fresh;
        ApplyPreferences(fresh.app);
        EXPECT_EQ(fresh.app.MaxPreview, c.want);
        EXPECT_EQ(fresh.app.Views.DraftView, c.draft);
    }
}

TEST_F(Startup, ChangedPreviewSizeRebuildsTheJobPreview) {
    app.CurrentJob = std::make_unique<TemfFile>();
    app.CurrentJob->PreviewDirty = false;
    EXPECT_FALSE(ApplyPreferences(app));
    test::WriteFileBytes(PreferencesFile(),
                         "[settings]\nmax_preview_value=500\nuse_metric_checked=True\n");
    EXPECT_TRUE(ApplyPreferences(app));
    EXPECT_TRUE(app.CurrentJob->PreviewDirty);
    EXPECT_EQ(front.Count("repaint"), 1);
    EXPECT_TRUE(app.UseMetric);
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
    app.Drivers.Lines = {"TIFF,tiff.drv"};
    app.Drivers.Index = 0;
    WindowState s;
    s.placement = {10, 20, 1100, 700, true};
    s.proportional = true;
    s.expert = false;
    const std::string file = WindowStateFile();
    ASSERT_TRUE(StoreWindowState(app, s, file));
    EXPECT_EQ(GetProfileString(file, "Cache.strDocHist_Strings", "Item1"), "/b.RIP");
    EXPECT_EQ(GetProfileString(file, "Cache", "cProportional_Checked"), "1");

    test::TestApp t2;
    AppCore& back = t2.app;
    const WindowState r = RestoreWindowState(back, file);
    EXPECT_EQ(back.DocHist, app.DocHist);
    EXPECT_EQ(back.EmfHist, app.EmfHist);
    EXPECT_TRUE(back.ImageHist.empty());
    EXPECT_EQ(back.Drivers.Lines, app.Drivers.Lines);
    EXPECT_EQ(back.Drivers.Index, 0);
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
