// Autotrace from the main window: the page traced on a worker thread and
// counted, the layer saved and played back into the outlines shown, the job
// cutting along it after OK; Cancel and the missing curve-edit module leave
// the job alone.
#include "window_fixture.h"

#include "cutting/layer_playback.h"
#include "cutting/ui/autocut.h"
#include "platform/metafile/emf_records.h"
#include "platform/paths.h"
#include "support/metafile_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace corvan::test {
namespace {

using namespace emf;

struct Circle {
    double cx, cy, r;
};

// The circle a picture's black pixels left of `split` fill, from their
// bounding box in pixel edges.
Circle MeasuredDisc(const Bitmap24& picture, int split) {
    int l = split, t = picture.Height(), r = 0, b = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < split; ++x)
            if (picture.Pixel(x, y) == 0) {
                l = std::min(l, x), r = std::max(r, x + 1);
                t = std::min(t, y), b = std::max(b, y + 1);
            }
    return {(l + r) / 2.0, (t + b) / 2.0, (r - l) / 2.0};
}

class AutoTraceWindow : public WindowTest {
protected:
    // A 100 x 50 mm page (traced at 1000 x 500 pixels) with a black disc of
    // radius 150 pixels on the left and a ring (radii 180 and 90) on the right,
    // drawn by a layer over a white picture.
    void OpenTraceJob() {
        OpenOnRoll("trace.RIP", 100);
        EmfWriter w = PixelWriter(1000, 500);
        w.SelectStock(kNullPen);
        w.SelectObject(w.CreateBrush(kBsSolid, 0x000000));
        w.Box(kEllipse, QRect(100, 100, 300, 300));
        w.Box(kEllipse, QRect(520, 70, 360, 360));
        w.SelectObject(w.CreateBrush(kBsSolid, 0xFFFFFF));
        w.Box(kEllipse, QRect(610, 160, 180, 180));
        layer = home.Path("shapes.emf");
        ASSERT_TRUE(w.Save(layer));
        TemfFile& job = *Core().CurrentJob;
        job.PageHeight = 50;
        job.Layers = {layer};
        // The menu traces jobs that have a picture: a white one here.
        job.BackgroundImage = Blank(100, 50);
        job.BackgroundFile = home.Path("white.png");
        job.HasImage = true;
        window->ShowJob();
        window->EnableByState();
        window->show();
        QApplication::processEvents();
    }
    QString Counter(Tfautocut* dlg, const char* name) { return In<QLabel>(dlg, name)->text(); }
    std::string layer;
};

TEST_F(AutoTraceWindow, TracesSavesAndCutsAlongTheLayer) {
    OpenTraceJob();
    const std::string saved = home.Path("traced.LYR");
    ui.AnswerFile(saved);
    std::vector<std::vector<QPointF>> shown;
    Circle disc{};
    int seen = 0;
    WhenModal<Tfautocut>([&](Tfautocut* dlg) {
        ++seen;
        EXPECT_EQ(dlg->windowTitle(), "Auto-Trace");
        dlg->Settle();
        ASSERT_EQ(dlg->Source()->Width(), 1000);
        EXPECT_EQ(Counter(dlg, "labelcontours"), "3");
        // Boundary steps of three outlines run into the thousands.
        EXPECT_TRUE(Counter(dlg, "labelpoints").contains(','))
            << Counter(dlg, "labelpoints").toStdString();
        EXPECT_EQ(Counter(dlg, "labelpoints").remove(QLatin1Char(',')).toLong(),
                  dlg->Shown().totalPoints);
        EXPECT_LT(dlg->Shown().maxPoints, dlg->Shown().totalPoints);
        disc = MeasuredDisc(*dlg->Source(), 500);
        In<QToolButton>(dlg, "dsave")->click();
        dlg->Settle();
        EXPECT_EQ(dlg->ResultFile(), saved);
        shown = dlg->Shown().lines;
        In<QPushButton>(dlg, "dOK")->click();
    });
    Find<QAction>("AutoTrace1")->trigger();
    ASSERT_EQ(seen, 1);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save Vector Layer (*.LYR)");
    EXPECT_EQ(ui.fileRequests[0].filter, "Vector Layer (*.LYR)|*.LYR");
    EXPECT_EQ(ui.fileRequests[0].fileName, ReadPath("EMFDir") + "Untitled.LYR");

    const TemfFile& job = *Core().CurrentJob;
    EXPECT_EQ(job.Layers, (std::vector<std::string>{layer, saved}));
    EXPECT_TRUE(job.ContourCut);
    EXPECT_EQ(job.CutColor, 0xFF0000u);
    EXPECT_TRUE(job.CutLines);
    EXPECT_TRUE(job.Modified);

    // Played back at ten units a picture pixel, the layer gives the
    // outlines the dialog showed, and the disc's lies on its edge.
    const auto figures = CollectLayerFigures(saved, 10000, 5000, 0xFF0000);
    ASSERT_EQ(figures.size(), shown.size());
    ASSERT_EQ(figures.size(), 3u);
    int onDisc = 0;
    for (std::size_t f = 0; f < figures.size(); ++f) {
        ASSERT_EQ(figures[f].size(), shown[f].size()) << f;
        for (std::size_t i = 0; i < figures[f].size(); ++i) {
            const QPointF p(figures[f][i].x / 10.0, figures[f][i].y / 10.0);
            EXPECT_LE(std::hypot(p.x() - shown[f][i].x(), p.y() - shown[f][i].y()), 1.0)
                << f << "/" << i;
            if (p.x() >= 500) continue;
            ++onDisc;
            EXPECT_NEAR(std::hypot(p.x() - disc.cx, p.y() - disc.cy), disc.r, 1.0)
                << p.x() << "," << p.y();
        }
    }
    EXPECT_GT(onDisc, 20);
}

TEST_F(AutoTraceWindow, CancelAndTheMissingModuleChangeNothing) {
    OpenTraceJob();
    setenv("CORVANRIP_CURVE_EDITOR", home.Path("no-such-module").c_str(), 1);
    ui.AnswerFile(std::nullopt);
    int seen = 0;
    WhenModal<Tfautocut>([&](Tfautocut* dlg) {
        ++seen;
        dlg->Settle();
        In<QToolButton>(dlg, "SpeedButton122")->click();
        // OK without a saved layer asks where to save; cancelled, it stays.
        In<QPushButton>(dlg, "dOK")->click();
        EXPECT_TRUE(dlg->isVisible());
        // A newer trace replaces the running one; Cancel does not wait for it.
        In<QSlider>(dlg, "RxSlider1")->setValue(200);
        In<QPushButton>(dlg, "dcancel")->click();
    });
    Find<QAction>("AutoTrace1")->trigger();
    unsetenv("CORVANRIP_CURVE_EDITOR");
    ASSERT_EQ(seen, 1);
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{"Unable to Locate the curve edit module (curvist.exe)"});
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const TemfFile& job = *Core().CurrentJob;
    EXPECT_EQ(job.Layers, std::vector<std::string>{layer});
    EXPECT_FALSE(job.ContourCut);
    EXPECT_FALSE(job.Modified);
}

TEST_F(AutoTraceWindow, OnlyTheNewestRequestIsAnswered) {
    MakeWindow();
    auto picture = Blank(800, 800);
    for (int y = 100; y < 700; ++y)
        for (int x = 100; x < 700; ++x)
            if ((x / 20 + y / 20) % 2) picture->SetPixel(x, y, 0);
    const std::shared_ptr<const Bitmap24> source = std::move(picture);
    std::vector<int> answered;
    {
        TraceWorker worker(window.get());
        AutotraceSettings first, second;
        second.offset = 3;
        worker.Request({source, first, {}}, [&](TraceRun) { answered.push_back(1); });
        worker.Request({source, second, {}}, [&](TraceRun run) {
            answered.push_back(2);
            EXPECT_TRUE(run.ok);
            EXPECT_GT(run.contours, 0);
        });
        worker.WaitIdle();
        QApplication::processEvents();
        worker.Request({source, first, {}}, [&](TraceRun) { answered.push_back(3); });
        worker.Cancel();
        worker.WaitIdle();
        QApplication::processEvents();
    }
    EXPECT_EQ(answered, std::vector<int>{2});
}

}  // namespace
}  // namespace corvan::test
