// The RIP without a real driver: a 1000 x 1000 mm job with the benchmark
// vectors as its layer, 360 DPI in and out, run by the real RIP command into
// an in-process driver whose Plugin_PrintRow takes the rows and discards
// them. What is measured is the engine alone: strips composed, split into
// planes and handed over row by row. Rates are source pixels/s.
#include "platform/userinterface.h"
#include "plugins/pluginobject.h"
#include "raster/stripcomposer.h"
#include "rip/ripcommand.h"
#include "clisession.h"
#include "shell/appcore.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QFileInfo>
#include <QGuiApplication>

#include <cstring>

namespace corvan {
namespace {

const std::string kVectors = std::string(CORVAN_SHARED_DIR) + "/bench/vectors.emf";

void EnsureApp() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QGuiApplication(argc, argv);
}

// The discarding driver: 360 DPI, a "profile" that exists, rows dropped.
std::int64_t g_rows = 0;
void DatatypeOf(std::int32_t type, std::uint8_t* value) {
    MakeShortString(type == 10 ? kVectors : type == 17 || type == 18 ? "360" : "", value);
}
DrvBool Accept(std::int32_t) {
    return 1;
}
void OnePass(TPluginSettings* settings) {
    settings->PassCount = 1;
}
DrvBool TakeRow(const std::uint8_t* p0, const std::uint8_t*, const std::uint8_t*, std::int32_t, std::int32_t,
                std::int32_t, std::int32_t) {
    benchmark::DoNotOptimize(p0[0]);
    ++g_rows;
    return 0;
}

void BM_RipEngineAlone(benchmark::State& state) {
    EnsureApp();
    if (!QFileInfo::exists(QString::fromStdString(kVectors))) {
        state.SkipWithError("benchmark metafiles not found");
        return;
    }
    ConsoleUserInterface ui(true);
    TPluginObject driver("", 0);
    driver.Valid = true;
    driver.Entry.Get_Plugin_Datatype = &DatatypeOf;
    driver.Entry.Choose_Plugin_Data = &Accept;
    driver.Entry.Get_Plugin_Settings = &OnePass;
    driver.Entry.Plugin_PrintRow = &TakeRow;
    cli::CliSession session(ui);
    AppCore& app = session.app;
    app.CurrentPlotter.IsPlugin = true;
    app.CurrentJob = std::make_unique<TemfFile>();
    TemfFile& job = *app.CurrentJob;
    job.Reset(1000, 1000);
    job.Layers = {kVectors};
    job.MediaWidth = 1000;
    job.RenderDPI = 360;
    job.ComputeLayout();
    double pixels = 0;
    bool completed = true;
    for (auto _ : state) {
        cli::CliRip port(app);  // the command-line tool's RIP: the strip composer, no dialogs
        completed = RipNow(app, driver, port).completed && completed;
        pixels += port.SourcePixels();
    }
    if (!completed || g_rows == 0) state.SkipWithError("the RIP did not complete");
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.SetItemsProcessed(static_cast<std::int64_t>(pixels));
    state.counters["source_mpx"] = pixels / 1e6;
    state.counters["device_rows"] = static_cast<double>(g_rows);
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK(BM_RipEngineAlone)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace corvan
