// The view area of the real main window: the view buttons and the View menu
// that mirrors them, the preview rebuilt once per change of the job and
// never on a repaint, "Set Max Preview", and a window that stays responsive
// while the preview is built.
#include "window_fixture.h"

#include "display/ui/jobview.h"
#include "platform/folders.h"
#include "shell/layercommands.h"
#include "shell/loading.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QSplitter>
#include <QToolButton>

namespace corvan::test {
namespace {

class JobViews : public WindowTest {
protected:
    void OpenDemo() {
        MakeWindow();
        window->show();
        LoadAnything(Core(), ProgramFolder() + "samples/demo.RIP");
        ASSERT_NE(Core().CurrentJob, nullptr);
        window->EnableByState();
        WaitForPreview();
    }
    JobView* View() const { return window->View(); }
    // Lets the window paint and the worker finish.
    void WaitForPreview() {
        View()->repaint();
        QElapsedTimer t;
        t.start();
        while (!View()->PreviewCurrent() && t.elapsed() < 20000) {
            QApplication::processEvents();
            // Only a paint starts a build, as in the running program.
            if (!View()->PreviewPending()) View()->repaint();
        }
        QApplication::processEvents();
    }
    bool Down(const char* button) const { return Find<QToolButton>(button)->isChecked(); }
    bool Checked(const char* action) const { return Find<QAction>(action)->isChecked(); }
};

TEST_F(JobViews, MenuItemsAndButtonsChooseTheViewAndItsFlags) {
    OpenDemo();
    EXPECT_EQ(Core().Views.ViewMode, ViewFlags::Printer);
    EXPECT_TRUE(Down("dviewprinter"));
    const struct {
        const char* action;
        const char* button;
        Qt::Key key;
        int mode;
    } modes[] = {{"JobView1", "dviewpic", Qt::Key_F2, ViewFlags::Artwork},
                 {"PageView1", "dviewpage", Qt::Key_F3, ViewFlags::Layout},
                 {"PrinterView1", "dviewprinter", Qt::Key_F4, ViewFlags::Printer}};
    const int builds = View()->PreviewBuilds();
    for (const auto& m : modes) {
        SCOPED_TRACE(m.action);
        EXPECT_EQ(Find<QAction>(m.action)->shortcut(), QKeySequence(m.key));
        Find<QAction>(m.action)->trigger();
        // Choosing it again keeps it chosen.
        Find<QAction>(m.action)->trigger();
        EXPECT_EQ(Core().Views.ViewMode, m.mode);
        EXPECT_TRUE(Down(m.button));
        for (const auto& other : modes) EXPECT_EQ(Checked(other.action), other.mode == m.mode);
    }
    EXPECT_FALSE(Core().CurrentJob->PreviewDirty) << "switching views renders nothing";

    Find<QAction>("DraftView1")->trigger();
    EXPECT_TRUE(Core().Views.DraftView);
    EXPECT_TRUE(Down("dviewNone"));
    EXPECT_TRUE(Core().CurrentJob->PreviewDirty);
    Find<QToolButton>("dviewNone")->click();
    EXPECT_FALSE(Core().Views.DraftView);
    EXPECT_FALSE(Checked("DraftView1"));

    // The cut view is off after loading; the raster flag follows it.
    EXPECT_FALSE(Down("dviewcut"));
    EXPECT_FALSE(Find<QToolButton>("dviewimage")->isEnabled());
    Find<QAction>("ViewCutfile1")->trigger();
    EXPECT_TRUE(Core().Views.CutView);
    EXPECT_TRUE(Down("dviewcut"));
    EXPECT_TRUE(Find<QToolButton>("dviewimage")->isEnabled());
    EXPECT_TRUE(Find<QAction>("ViewRaster1")->isEnabled());
    Find<QToolButton>("dviewimage")->click();
    EXPECT_FALSE(Core().Views.RasterView);
    EXPECT_FALSE(Checked("ViewRaster1"));
    WaitForPreview();
    EXPECT_EQ(View()->PreviewBuilds(), builds + 1) << "one build for all the flag changes";
}

TEST_F(JobViews, PreviewIsBuiltOncePerChangeAndNeverForARepaint) {
    OpenDemo();
    ASSERT_TRUE(Core().PreviewImage);
    int builds = View()->PreviewBuilds();
    for (const char* action : {"JobView1", "PageView1", "PrinterView1"}) {
        Find<QAction>(action)->trigger();
        window->resize(1000 + builds % 7, 700);
        View()->repaint();
        QApplication::processEvents();
    }
    EXPECT_EQ(View()->PreviewBuilds(), builds);

    const std::string layer = ProgramFolder() + "samples/cut.emf";
    const struct {
        const char* change;
        std::function<void()> act;
    } changes[] = {
        {"layer added", [&] { AppendLayer(Core(), layer); }},
        {"background drawn or not", [&] { Find<QCheckBox>("cBackgroundImage")->click(); }},
        {"contour cutting", [&] { Find<QCheckBox>("cCanCut")->click(); }},
        {"max preview",
         [&] {
             ui.AnswerInput("600");
             Find<QAction>("MaxPreview1")->trigger();
         }},
        {"view raster", [&] { Find<QAction>("DraftView1")->trigger(); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        c.act();
        EXPECT_TRUE(Core().CurrentJob->PreviewDirty);
        View()->repaint();
        View()->repaint();
        WaitForPreview();
        View()->repaint();
        EXPECT_EQ(View()->PreviewBuilds(), ++builds);
    }
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().front();
}

TEST_F(JobViews, SetMaxPreviewTakesWholeNumbersUpTo5000) {
    OpenDemo();
    const struct {
        std::optional<std::string> answer;
        int want;
        bool error;
    } cases[] = {{"7000", 5000, false},
                 {"1200", 1200, false},
                 {"", 1200, false},
                 {std::nullopt, 1200, false},
                 {"12.5", 1200, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.value_or("(cancelled)"));
        ui.messages.clear();
        ui.AnswerInput(c.answer);
        Find<QAction>("MaxPreview1")->trigger();
        EXPECT_EQ(Core().MaxPreview, c.want);
        EXPECT_EQ(ui.messages.size(), c.error ? 1u : 0u);
    }
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.Texts().front(), "'12.5' is not a valid integer value");
    WaitForPreview();
    ASSERT_TRUE(Core().PreviewImage);
    EXPECT_EQ(std::max(Core().PreviewImage->Width(), Core().PreviewImage->Height()), 1200);
}

TEST_F(JobViews, TheWindowGoesOnWhileThePreviewIsBuilt) {
    OpenDemo();
    const Bitmap24* before = Core().PreviewImage.get();
    ASSERT_NE(before, nullptr);
    ui.AnswerInput("5000");
    Find<QAction>("MaxPreview1")->trigger();
    QElapsedTimer t;
    t.start();
    View()->repaint();
    // The paint only starts the build and shows the last picture meanwhile.
    EXPECT_TRUE(View()->PreviewBusy());
    EXPECT_EQ(Core().PreviewImage.get(), before);
    // A change during the build abandons it for a new one.
    Find<QCheckBox>("cBackgroundImage")->click();
    WaitForPreview();
    ASSERT_TRUE(Core().PreviewImage);
    EXPECT_EQ(std::max(Core().PreviewImage->Width(), Core().PreviewImage->Height()), 5000);
}

TEST_F(JobViews, ZoomKeepsThePointUnderThePointerAndFitsAgain) {
    OpenDemo();
    Find<QAction>("JobView1")->trigger();
    View()->resize(600, 500);
    const SceneFit fit = View()->Mapping();
    ASSERT_TRUE(fit.valid);
    const QPoint at(200, 150);
    View()->ZoomBy(3, at);
    const SceneFit zoomed = View()->Mapping();
    EXPECT_NEAR(zoomed.s, 3 * fit.s, 0.01);
    EXPECT_NEAR((at.x() - zoomed.x0) / zoomed.s, (at.x() - fit.x0) / fit.s, 0.5);
    Find<QToolButton>("dzoom100")->click();
    EXPECT_EQ(View()->Mapping().RulerScale(), 100);
    Find<QToolButton>("dzoomfit")->click();
    EXPECT_EQ(View()->Mapping().x0, fit.x0);
}

}  // namespace
}  // namespace corvan::test

namespace corvan::test {
namespace {

TEST_F(JobViews, AWiderWindowWidensTheViewNotThePanel) {
    OpenDemo();
    auto* split = Find<QSplitter>("Splitter1");
    window->resize(1280, 800);
    QApplication::processEvents();
    const QList<int> before = split->sizes();
    window->resize(1600, 900);
    QApplication::processEvents();
    const QList<int> after = split->sizes();
    // Of 320 more pixels the view takes nearly all.
    EXPECT_GE(after.value(0) - before.value(0), 280);
    EXPECT_LE(after.value(1) - before.value(1), 40);
    // The page stays centred in the bigger view.
    Find<QAction>("JobView1")->trigger();
    const SceneFit page = View()->Mapping();
    EXPECT_NEAR(page.x0, View()->width() - page.X(Core().CurrentJob->PageWidth), 3);
}

}  // namespace
}  // namespace corvan::test
