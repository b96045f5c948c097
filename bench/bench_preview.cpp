// The view area's job preview: the shipped demo project at the default
// longest side of 900 pixels (and 2000), and a layer of 2000 filled
// polygons. The latency case builds the demo preview on the worker while the
// event loop runs a 2 ms timer and reports the longest gap between its
// ticks (max_gap_ms): the time the window could not answer.
#include "clisession.h"
#include "display/jobviews.h"
#include "display/previewbuild.h"
#include "job/projectfile.h"
#include "platform/metafile/emf_writer.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>

namespace corvan {
namespace {

void EnsureApp() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QGuiApplication(argc, argv);
}

struct DemoSession {
    DemoSession() : session(ui) {
        ok = LoadProject(session.app, std::string(CORVAN_SAMPLES_DIR) + "demo.RIP").Ok() &&
             session.app.CurrentJob;
    }
    PreviewInput Input(int maxPreview) {
        const TemfFile& job = *session.app.CurrentJob;
        const FittedSize size = PreviewSize(job.PageWidth, job.PageHeight, maxPreview);
        auto background =
            builder.PreviewBackground(job.BackgroundImage.get(), size.width, size.height);
        return SnapshotPreview(job, ViewFlags{}, maxPreview, background);
    }
    ConsoleUserInterface ui{true};
    cli::CliSession session;
    QObject context;
    PreviewBuilder builder{&context, nullptr};
    bool ok = false;
};

void BM_PreviewDemo(benchmark::State& state) {
    EnsureApp();
    DemoSession demo;
    if (!demo.ok) return state.SkipWithError("demo project not found");
    const PreviewInput in = demo.Input(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto picture = BuildPreview(in);
        benchmark::DoNotOptimize(picture->Row(0));
    }
}

// 2000 star-shaped polygons in 40 colours over a 1000 x 1000 mm page.
std::string WritePolygonLayer(const QTemporaryDir& dir) {
    emf::EmfWriter w({0, 0, 100000, 100000}, {10000, 10000}, {1000, 1000});
    std::vector<std::uint32_t> brushes;
    for (int c = 0; c < 40; ++c)
        brushes.push_back(w.CreateBrush(emf::kBsSolid, MakeColour(c * 6, 255 - c * 6, c * 3)));
    for (int i = 0; i < 2000; ++i) {
        w.SelectObject(brushes[static_cast<std::size_t>(i % 40)]);
        const QPoint centre(100 + (i % 50) * 200, 100 + (i / 50) * 250);
        std::vector<QPoint> star;
        for (int k = 0; k < 10; ++k) {
            const double a = k * M_PI / 5, r = k % 2 ? 40 : 100;
            star.emplace_back(centre.x() + static_cast<int>(r * std::cos(a)),
                              centre.y() + static_cast<int>(r * std::sin(a)));
        }
        w.Poly(emf::kPolygon, star);
    }
    const std::string path = dir.filePath("polygons.emf").toStdString();
    w.Save(path);
    return path;
}

void BM_Preview2000Polygons(benchmark::State& state) {
    EnsureApp();
    QTemporaryDir dir;
    TemfFile job;
    job.Reset(1000, 1000);
    job.Layers = {WritePolygonLayer(dir)};
    const PreviewInput in = SnapshotPreview(job, ViewFlags{}, 900, nullptr);
    for (auto _ : state) {
        auto picture = BuildPreview(in);
        benchmark::DoNotOptimize(picture->Row(0));
    }
}

void BM_PreviewGuiLatency(benchmark::State& state) {
    EnsureApp();
    DemoSession demo;
    if (!demo.ok) return state.SkipWithError("demo project not found");
    const PreviewInput in = demo.Input(static_cast<int>(state.range(0)));
    double worst = 0;
    for (auto _ : state) {
        bool done = false;
        PreviewBuilder builder(&demo.context, [&done] { done = true; });
        QElapsedTimer since;
        QTimer tick;
        tick.setInterval(2);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            worst = std::max(worst, since.nsecsElapsed() / 1e6);
            since.restart();
        });
        since.start();
        tick.start();
        builder.Start(in);
        while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        auto picture = builder.Take();
        benchmark::DoNotOptimize(picture.get());
    }
    state.counters["max_gap_ms"] = worst;
}

// The Job Layout of the demo job painted from its preview at 1280 x 800.
void BM_PaintLayoutView(benchmark::State& state) {
    EnsureApp();
    DemoSession demo;
    if (!demo.ok) return state.SkipWithError("demo project not found");
    auto preview = BuildPreview(demo.Input(900));
    TemfPlotter device;
    device.MediaWidth = device.PrintableWidth = 1370;
    AppCore& app = demo.session.app;
    app.CurrentJob->MediaWidth = 1370;
    app.CurrentJob->Copies = 6;
    app.CurrentJob->ComputeLayout();
    auto canvas = Bitmap24::Create(1280, 800);
    ViewScene v{app.CurrentJob.get(), &device, preview.get(), {}, &DefaultCropMarkCorners()};
    v.flags.ViewMode = ViewFlags::Layout;
    const QSizeF scene = SceneSize(*v.job, device, ViewFlags::Layout);
    const SceneFit fit =
        FitScene(static_cast<float>(scene.width()), static_cast<float>(scene.height()), 1280, 800);
    for (auto _ : state) PaintJobView(*canvas, v, fit);
}

BENCHMARK(BM_PreviewDemo)->Arg(900)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Preview2000Polygons)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PreviewGuiLatency)->Arg(900)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PaintLayoutView)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace corvan
