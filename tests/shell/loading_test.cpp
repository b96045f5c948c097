#include "shell/loading.h"

#include "job/projectfile.h"
#include "platform/folders.h"
#include "platform/metafile/emf_writer.h"
#include "platform/paths.h"
#include "shell/appcore.h"
#include "support/jobsize_script.h"
#include "support/scripted_ui.h"
#include "support/tempdirs.h"
#include "support/test_frontend.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace corvan {
namespace {

class Loading : public ::testing::Test {
protected:
    void SetUp() override { app.CurrentPlotter.MediaWidth = 1000; }
    std::string Picture(const std::string& name, int w, int h) {
        const std::string path = home.Path(name);
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::blue);
        EXPECT_TRUE(img.save(QString::fromStdString(path)));
        return path;
    }
    std::string Project(const std::string& name, float width) {
        const std::string path = home.Path(name);
        test::TestApp otherSession;
        AppCore& other = otherSession.app;
        other.CurrentJob = std::make_unique<TemfFile>();
        other.CurrentJob->PageWidth = width;
        EXPECT_TRUE(SaveProject(other, path));
        return path;
    }
    void ModifiedJob() {
        app.CurrentJob = std::make_unique<TemfFile>();
        app.CurrentJob->Modified = true;
    }

    test::ScratchHome home;
    test::ScriptedUi ui;
    test::TestApp appSession;
    AppCore& app = appSession.app;
    test::ScriptedJobSize sizes{appSession.front, JobSize{250, 125}};
    std::vector<JobSizeRequest>& requests = sizes.requests;
    std::optional<JobSize>& sizeAnswer = sizes.answer;
};

TEST_F(Loading, ProjectOpensShowsStatusAndGoesOnTheRecentList) {
    const std::string path = Project("a.RIP", 123);
    app.Views.CutView = true;
    app.Views.ViewMode = ViewFlags::Artwork;
    ui.statusTexts.clear();
    LoadAnything(app, path);
    ASSERT_TRUE(app.CurrentJob);
    EXPECT_FLOAT_EQ(app.CurrentJob->PageWidth, 123);
    EXPECT_FALSE(app.CurrentJob->Modified);
    EXPECT_FALSE(app.SaveEnabled);
    EXPECT_EQ(app.DocHist, std::vector<std::string>{path});
    EXPECT_EQ(ui.statusTexts, std::vector<std::string>{"Loading Job:   " + path});
    EXPECT_EQ(app.Views.ViewMode, ViewFlags::Printer);
    EXPECT_FALSE(app.Views.CutView);
    EXPECT_EQ(appSession.front.Count("projecttab"), 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Loading, MissingProjectIsReportedAndTheJobKept) {
    ModifiedJob();
    TemfFile* old = app.CurrentJob.get();
    EXPECT_FALSE(OpenProject(app, home.Path("gone.RIP")));
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{"Unable to find file: " + home.Path("gone.RIP")});
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(app.CurrentJob.get(), old);
}

TEST_F(Loading, OpenWhileModifiedThenCancelTheSaveDialogAndStop) {
    const std::string path = Project("b.RIP", 50);
    ModifiedJob();
    TemfFile* old = app.CurrentJob.get();
    ui.Answer(ButtonYes);
    ui.AnswerFile(std::nullopt);
    ui.Answer(ButtonNo);
    EXPECT_FALSE(OpenProject(app, path));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Save changes to current job?",
                                                    "Do you wish to continue?"}));
    EXPECT_EQ(app.CurrentJob.get(), old);
    EXPECT_TRUE(old->Modified);
    EXPECT_TRUE(app.DocHist.empty());
}

TEST_F(Loading, OpenWhileModifiedCancelSaveDialogButContinue) {
    const std::string path = Project("c.RIP", 60);
    ModifiedJob();
    ui.Answer(ButtonYes);
    ui.AnswerFile(std::nullopt);
    ui.Answer(ButtonYes);
    EXPECT_TRUE(OpenProject(app, path));
    EXPECT_FLOAT_EQ(app.CurrentJob->PageWidth, 60);
}

TEST_F(Loading, ImageBecomesTheBackgroundOfANewJob) {
    const std::string path = Picture("pic.png", 300, 200);
    LoadAnything(app, path);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].pixelSource);
    EXPECT_FLOAT_EQ(requests[0].width, 300);
    EXPECT_FLOAT_EQ(requests[0].height, 200);
    ASSERT_NE(requests[0].picture, nullptr);
    ASSERT_TRUE(app.CurrentJob);
    const TemfFile& job = *app.CurrentJob;
    EXPECT_FLOAT_EQ(job.PageWidth, 250);
    EXPECT_FLOAT_EQ(job.PageHeight, 125);
    EXPECT_TRUE(job.HasImage);
    EXPECT_EQ(job.BackgroundFile, path);
    ASSERT_TRUE(job.BackgroundImage);
    EXPECT_EQ(job.BackgroundImage->Width(), 300);
    EXPECT_FALSE(job.Modified);
    EXPECT_EQ(app.ImageHist, std::vector<std::string>{path});
    // The window's progress bar runs from start to end of the load.
    ASSERT_GE(ui.progress.size(), 2u);
    EXPECT_EQ(ui.progress.front().first, 0);
    EXPECT_EQ(ui.progress.back().first, 2);
}

TEST_F(Loading, ImageFailuresLeaveTheJobAlone) {
    ModifiedJob();
    TemfFile* old = app.CurrentJob.get();
    const std::string broken = home.Path("broken.jpg");
    test::WriteFileBytes(broken, "garbage");
    EXPECT_FALSE(LoadImageAsJob(app, broken));
    ASSERT_EQ(ui.messages.size(), 1u);
    // The decoder's reason follows the file name.
    EXPECT_EQ(ui.messages[0].text.rfind("Unable to load image: " + broken + "\r", 0), 0u)
        << ui.messages[0].text;
    EXPECT_GT(ui.messages[0].text.size(), ("Unable to load image: " + broken + "\r").size());
    EXPECT_EQ(app.CurrentJob.get(), old);

    ui.messages.clear();
    sizeAnswer.reset();
    EXPECT_FALSE(LoadImageAsJob(app, Picture("ok.png", 10, 10)));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(app.CurrentJob.get(), old);
    EXPECT_TRUE(app.ImageHist.empty());
}

TEST_F(Loading, LayerNeedsAValidHeader) {
    const std::string broken = home.Path("art.EMF");
    test::WriteFileBytes(broken, "not a metafile");
    LoadAnything(app, broken);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"EMF does not appear to be valid."});
    EXPECT_FALSE(app.CurrentJob);
    EXPECT_TRUE(requests.empty());

    // A reference device of 0 mm is refused the same way.
    ui.messages.clear();
    const std::string flat = home.Path("flat.emf");
    ASSERT_TRUE(emf::EmfWriter({0, 0, 1000, 1000}, {1000, 1000}, {0, 24}).Save(flat));
    LoadAnything(app, flat);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"EMF does not appear to be valid."});

    ui.messages.clear();
    const std::string layer = home.Path("art.lyr");
    ASSERT_TRUE(emf::EmfWriter({0, 0, 31999, 23999}, {1000, 1000}, {32, 24}).Save(layer));
    LoadAnything(app, layer);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_FLOAT_EQ(requests[0].width, 320);
    EXPECT_FLOAT_EQ(requests[0].height, 240);
    EXPECT_FALSE(requests[0].pixelSource);
    ASSERT_TRUE(app.CurrentJob);
    EXPECT_FLOAT_EQ(app.CurrentJob->PageWidth, 250);
    EXPECT_EQ(app.CurrentJob->Layers, std::vector<std::string>{layer});
    EXPECT_EQ(app.EmfHist, std::vector<std::string>{layer});
    EXPECT_FALSE(app.CurrentJob->Modified);
}

// The proposal is ten times the reference device, as the layer driver
// writes it; a file from another program whose device is plainly not its
// picture is proposed at its frame's size, and our own layers carry the
// device the rule expects.
TEST_F(Loading, LayerSizeProposal) {
    const struct {
        const char* name;
        emf::RectL frame;
        emf::SizeL millimetres;
        float width, height;
    } cases[] = {
        {"layer driver", {0, 0, 29999, 19999}, {30, 20}, 300, 200},
        {"screen made", {0, 0, 9999, 4999}, {320, 240}, 100, 50},
        {"slightly off", {0, 0, 35999, 19999}, {30, 20}, 300, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        requests.clear();
        const std::string layer = home.Path(std::string(c.name) + ".emf");
        ASSERT_TRUE(emf::EmfWriter(c.frame, {1000, 1000}, c.millimetres).Save(layer));
        LoadLayerAsJob(app, layer);
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_NEAR(requests[0].width, c.width, 0.01);
        EXPECT_NEAR(requests[0].height, c.height, 0.01);
    }
    requests.clear();
    LoadLayerAsJob(app, ProgramFolder() + "samples/sign.emf");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NEAR(requests[0].width, 300, 0.01);
    EXPECT_NEAR(requests[0].height, 200, 0.01);
}

// A file that is no project is refused before anything is asked or closed.
TEST_F(Loading, AProjectThatCannotBeReadKeepsTheCurrentJob) {
    ModifiedJob();
    TemfFile* old = app.CurrentJob.get();
    const std::string letter = home.Path("letter.RIP");
    test::WriteFileBytes(letter, "Dear customer, your banner is ready.\n");
    EXPECT_FALSE(OpenProject(app, letter));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(ui.messages[0].text, letter + " is not a CorvanRIP job file.");
    EXPECT_EQ(app.CurrentJob.get(), old);
    EXPECT_TRUE(old->Modified);
}

TEST_F(Loading, HistoriesHoldSixteen) {
    const std::string path = Picture("p.png", 4, 4);
    for (int i = 0; i < 20; ++i) app.ImageHist.push_back("/old/" + std::to_string(i));
    app.ImageHist.resize(16);
    LoadImageAsJob(app, path);
    ASSERT_EQ(app.ImageHist.size(), 16u);
    EXPECT_EQ(app.ImageHist.front(), path);
    EXPECT_EQ(app.ImageHist.back(), "/old/14");
}

TEST_F(Loading, LayerFontsFromTheCacheFolderAreRegisteredOnlyWhenMissing) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QGuiApplication gui(argc, argv);
    const std::string cache = ReadPath("CacheDir");
    const std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!FileExists(font)) GTEST_SKIP() << "fonts-dejavu-core is not installed";
    const std::string bytes = test::ReadFileBytes(font);
    // A face the system has is skipped even with files; a new one gets its
    // regular and bold files, the missing styles are passed over.
    test::WriteFileBytes(cache + "DejaVu Sans.TTF", bytes);
    test::WriteFileBytes(cache + "Corvan Test Face.TTF", bytes);
    test::WriteFileBytes(cache + "Corvan Test Face_Bold.TTF", bytes);
    emf::EmfWriter writer({0, 0, 1000, 1000});
    writer.CreateFont(u"DejaVu Sans", 12);
    writer.CreateFont(u"Corvan Test Face", 12);
    const std::string layer = home.Path("fonts.emf");
    ASSERT_TRUE(writer.Save(layer));
    EXPECT_EQ(InstallLayerFonts(layer),
              (std::vector<std::string>{cache + "Corvan Test Face.TTF",
                                        cache + "Corvan Test Face_Bold.TTF"}));
}

}  // namespace
}  // namespace corvan
