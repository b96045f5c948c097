#include "shell/jobcommands.h"

#include "job/projectfile.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/preferences.h"
#include "shell/appcore.h"
#include "support/jobsize_script.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"
#include "support/test_frontend.h"

#include <QImage>

#include <gtest/gtest.h>

namespace corvan {
namespace {

class JobCommands : public ::testing::Test {
protected:
    void SetUp() override { app.CurrentPlotter.MediaWidth = 1000; }
    void WritePrefs(const std::string& text) { test::WriteFileBytes(PreferencesFile(), text); }
    void NewModifiedJob() {
        NewJob(app);
        ASSERT_TRUE(app.CurrentJob);
        app.MarkModified();
    }
    std::string SavedProject(const std::string& name) {
        const std::string path = home.Path(name);
        test::TestApp otherSession;
        AppCore& other = otherSession.app;
        other.CurrentJob = std::make_unique<TemfFile>();
        EXPECT_TRUE(SaveProject(other, path));
        return path;
    }

    test::ScratchHome home;
    test::ScriptedUi ui;
    test::TestApp appSession;
    AppCore& app = appSession.app;
    test::ScriptedJobSize sizes{appSession.front, JobSize{300, 400}};
    std::vector<JobSizeRequest>& requests = sizes.requests;
    std::optional<JobSize>& sizeAnswer = sizes.answer;
};

// A page without pixels (EPS) becomes a picture at the job's own resolution.
TEST_F(JobCommands, VectorBackgroundIsDrawnAtTheJobsResolution) {
    if (!FileExists("/usr/bin/gs")) GTEST_SKIP() << "Ghostscript is not installed";
    NewModifiedJob();
    app.CurrentJob->RenderDPI = 100;
    const std::string eps = home.Path("half inch.eps");
    test::WriteFileBytes(eps,
                         "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 72 36\n"
                         "0 0 1 setrgbcolor 0 0 72 36 rectfill showpage\n%%EOF\n");
    LoadBackgroundImage(app, eps);
    ASSERT_TRUE(app.CurrentJob->BackgroundImage)
        << (ui.messages.empty() ? "" : ui.messages.back().text);
    EXPECT_NEAR(app.CurrentJob->BackgroundImage->Width(), 100, 1);
    EXPECT_NEAR(app.CurrentJob->BackgroundImage->Height(), 50, 1);
}

TEST_F(JobCommands, NewJobWithoutPreferencesUsesTheFactoryProposalAndDefaults) {
    sizeAnswer = JobSize{200, 280};
    NewJob(app);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_FLOAT_EQ(requests[0].width, 200);
    EXPECT_FLOAT_EQ(requests[0].height, 280);
    EXPECT_FALSE(requests[0].pixelSource);
    const TemfFile& job = *app.CurrentJob;
    EXPECT_FLOAT_EQ(job.PageWidth, 200);
    EXPECT_FLOAT_EQ(job.PageHeight, 280);
    EXPECT_FLOAT_EQ(job.XGap, 25);
    EXPECT_FLOAT_EQ(job.YGap, 25);
    EXPECT_EQ(job.RenderDPI, 360);
    EXPECT_TRUE(job.Interpolate);
    EXPECT_EQ(job.Interpolation, 10);
    EXPECT_FALSE(job.CropMarks);
    EXPECT_FALSE(job.Modified);
    EXPECT_FALSE(app.SaveEnabled);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(JobCommands, NewJobAppliesThePreferences) {
    WritePrefs(
        "[settings]\ndef_jobwidth_value=300\ndef_jobHeight_value=150\ndef_xgap_value=10\n"
        "def_ygap_value=12.5\nuse_cropmarks_checked=True\nRIP_DPI_value=150.4\n"
        "RIP_Smooth_checked=False\nRIP_smoothLevel_value=3\n");
    NewJob(app);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_FLOAT_EQ(requests[0].width, 300);
    EXPECT_FLOAT_EQ(requests[0].height, 150);
    const TemfFile& job = *app.CurrentJob;
    EXPECT_FLOAT_EQ(job.XGap, 10);
    EXPECT_FLOAT_EQ(job.YGap, 12.5f);
    EXPECT_TRUE(job.CropMarks);
    EXPECT_EQ(job.RenderDPI, 150);
    EXPECT_FALSE(job.Interpolate);
    EXPECT_EQ(job.Interpolation, 3);
}

TEST_F(JobCommands, CancelledSizeOrSaveQuestionKeepsTheOldJob) {
    NewModifiedJob();
    TemfFile* old = app.CurrentJob.get();
    sizeAnswer.reset();
    NewJob(app);
    EXPECT_EQ(app.CurrentJob.get(), old);
    EXPECT_TRUE(ui.messages.empty());

    sizeAnswer = JobSize{100, 100};
    ui.Answer(ButtonCancel);
    NewJob(app);
    EXPECT_EQ(app.CurrentJob.get(), old);
    EXPECT_TRUE(old->Modified);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Save changes to current job?"});
}

TEST_F(JobCommands, AskSaveChangesAnswers) {
    struct Case {
        const char* name;
        std::vector<Button> answers;
        std::optional<std::string> file;  // the save dialog's answer, when asked
        bool goOn;
        std::vector<std::string> texts;
    };
    const std::string saved = home.Path("answer.RIP");
    const Case cases[] = {
        {"no", {ButtonNo}, {}, true, {"Save changes to current job?"}},
        {"cancel", {ButtonCancel}, {}, false, {"Save changes to current job?"}},
        {"yes and saved", {ButtonYes}, saved, true, {"Save changes to current job?"}},
        {"yes, dialog cancelled, continue",
         {ButtonYes, ButtonYes},
         std::nullopt,
         true,
         {"Save changes to current job?", "Do you wish to continue?"}},
        {"yes, dialog cancelled, stop",
         {ButtonYes, ButtonNo},
         std::nullopt,
         false,
         {"Save changes to current job?", "Do you wish to continue?"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.CurrentJob = std::make_unique<TemfFile>();
        app.CurrentJob->Modified = true;
        ui.messages.clear();
        for (Button b : c.answers) ui.Answer(b);
        if (c.answers[0] == ButtonYes) ui.AnswerFile(c.file);
        EXPECT_EQ(AskSaveChanges(app), c.goOn);
        EXPECT_EQ(ui.Texts(), c.texts);
        EXPECT_EQ(app.CurrentJob->Modified, !c.goOn);
    }
    EXPECT_TRUE(FileExists(saved));
}

TEST_F(JobCommands, CloseCurrentPostsTheStartMessageOnlyWhenAsked) {
    NewJob(app);
    EXPECT_TRUE(CloseJob(app, true));
    EXPECT_FALSE(app.CurrentJob);
    EXPECT_EQ(appSession.front.Count("post"), 1);
    NewJob(app);  // replaces the job through CloseJob(false)
    NewJob(app);
    EXPECT_EQ(appSession.front.Count("post"), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(JobCommands, SaveAsksForANameOnceAndKeepsPrintedTiles) {
    NewJob(app);
    const std::string path = home.Path("first.RIP");
    ui.AnswerFile(path);
    SaveJob(app);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save RIP Project File");
    EXPECT_EQ(app.CurrentJob->FileName, path);
    // A tile printed from this file survives the next save.
    app.CurrentJob->TileNo = 7;
    app.CurrentJob->RecordPrintedTile();
    app.MarkModified();
    SaveJob(app);
    EXPECT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_TRUE(ReadPrintedTiles(path)[7]);
    EXPECT_FALSE(app.CurrentJob->Modified);
    EXPECT_FALSE(app.SaveEnabled);
    EXPECT_EQ(app.DocHist, std::vector<std::string>{path});

    // Save As takes the tile record along to the new name.
    const std::string copy = home.Path("second.RIP");
    ui.AnswerFile(copy);
    SaveJobAs(app);
    EXPECT_TRUE(ReadPrintedTiles(copy)[7]);
    EXPECT_EQ(app.CurrentJob->FileName, copy);
    EXPECT_EQ(app.DocHist, (std::vector<std::string>{copy, path}));
}

TEST_F(JobCommands, ProjectQuestionsAskForProjectFilesWithTheirPreview) {
    NewJob(app);
    const struct {
        void (*command)(AppCore&);
        const char* title;
        FileDialogRequest::Mode mode;
    } cases[] = {{OpenProjectCommand, "Load RIP Project File", FileDialogRequest::Mode::Open},
                 {SaveJobAs, "Save RIP Project File", FileDialogRequest::Mode::Save}};
    for (const auto& c : cases) {
        ui.fileRequests.clear();
        ui.AnswerFile(std::nullopt);
        c.command(app);
        ASSERT_EQ(ui.fileRequests.size(), 1u) << c.title;
        const FileDialogRequest& req = ui.fileRequests[0];
        EXPECT_EQ(req.title, c.title);
        EXPECT_EQ(req.mode, c.mode);
        EXPECT_EQ(req.filter, "RIP Project File (*.RIP)|*.RIP");
        EXPECT_EQ(req.defaultExt, "RIP");
        EXPECT_TRUE(req.projectPreview) << c.title;
    }
}

TEST_F(JobCommands, SaveAsOntoItsOwnNameKeepsTheFile) {
    NewJob(app);
    const std::string path = home.Path("same.RIP");
    ui.AnswerFile(path);
    SaveJob(app);
    app.CurrentJob->TileNo = 3;
    app.CurrentJob->RecordPrintedTile();
    ui.AnswerFile(path);
    SaveJobAs(app);
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(ReadPrintedTiles(path)[3]);
}

TEST_F(JobCommands, RecentListKeepsEightNewestFirstIgnoringCase) {
    for (int i = 1; i <= 5; ++i) AddRecent(app, "/jobs/p" + std::to_string(i) + ".RIP");
    AddRecent(app, "/JOBS/P1.rip");
    ASSERT_EQ(app.DocHist.size(), 5u);
    EXPECT_EQ(app.DocHist[0], "/JOBS/P1.rip");
    EXPECT_EQ(app.DocHist[1], "/jobs/p5.RIP");
    for (int i = 6; i <= 12; ++i) AddRecent(app, "/jobs/p" + std::to_string(i) + ".RIP");
    ASSERT_EQ(app.DocHist.size(), 8u);
    EXPECT_EQ(app.DocHist.front(), "/jobs/p12.RIP");
    EXPECT_EQ(app.DocHist.back(), "/JOBS/P1.rip");
}

TEST_F(JobCommands, BackgroundImageLoadsKeepsPageSizeAndFailsCleanly) {
    NewJob(app);
    const std::string picture = home.Path("bg.png");
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(QString::fromStdString(picture)));
    LoadBackgroundImage(app, picture);
    const TemfFile& job = *app.CurrentJob;
    ASSERT_TRUE(job.BackgroundImage);
    EXPECT_EQ(job.BackgroundImage->Width(), 40);
    EXPECT_TRUE(job.HasImage);
    EXPECT_TRUE(job.Modified);
    EXPECT_FLOAT_EQ(job.PageWidth, 300);
    EXPECT_EQ(app.ImageHist, std::vector<std::string>{picture});

    const std::string broken = home.Path("broken.png");
    test::WriteFileBytes(broken, "not a picture");
    LoadBackgroundImage(app, broken);
    // The background already placed stays.
    ASSERT_TRUE(job.BackgroundImage);
    EXPECT_EQ(job.BackgroundImage->Width(), 40);
    EXPECT_TRUE(job.HasImage);
    EXPECT_EQ(job.BackgroundFile, picture);
    ASSERT_EQ(ui.messages.size(), 1u);
    // The decoder's reason follows the name.
    EXPECT_EQ(ui.messages[0].text.rfind("Unable to load image: " + broken + "\r", 0), 0u)
        << ui.messages[0].text;
    EXPECT_EQ(app.ImageHist, std::vector<std::string>{picture});

    LoadBackgroundImage(app, picture);
    ClearBackgroundImage(app);
    EXPECT_FALSE(job.BackgroundImage);
    EXPECT_FALSE(job.HasImage);
    EXPECT_TRUE(job.BackgroundFile.empty());
}

TEST_F(JobCommands, DrawImageIsIgnoredWhileUpdatingOrWithoutAJob) {
    SetDrawImage(app, false, 0x123456);  // no job: nothing to do
    NewJob(app);
    app.Updating = true;
    SetDrawImage(app, false, 0x123456);
    EXPECT_TRUE(app.CurrentJob->DrawImage);
    app.Updating = false;
    SetDrawImage(app, false, 0x123456);
    EXPECT_FALSE(app.CurrentJob->DrawImage);
    EXPECT_EQ(app.CurrentJob->BackgroundColor, 0x123456u);
    EXPECT_TRUE(app.CurrentJob->Modified);
}

TEST_F(JobCommands, LibraryPickerReturnsOnlyExistingFiles) {
    ui.AnswerFile(home.Path("missing.emf"));
    EXPECT_EQ(PickLibraryFile(app, true), "");
    const std::string project = SavedProject("x.RIP");
    ui.AnswerFile(project);
    EXPECT_EQ(PickLibraryFile(app, false), project);
}

}  // namespace
}  // namespace corvan
