// Playback speed of a text-heavy and a bitmap-heavy layer at 360 dpi: the
// page size comes from each file's frame.
#include "platform/bitmap.h"
#include "platform/metafile/emf_player.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>

#include <map>
#include <memory>

namespace {

using namespace corvan;
using namespace corvan::emf;

// Text needs the font system of a GUI application; no window is opened.
void EnsureApp() {
    static int argc = 1;
    static char name[] = "corvan_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

const EmfReader* Open(const std::string& name) {
    static std::map<std::string, std::unique_ptr<EmfReader>> readers;
    auto& slot = readers[name];
    if (!slot) {
        const std::string path = std::string(CORVAN_SHARED_DIR) + "/bench/" + name;
        if (QFile::exists(QString::fromStdString(path))) slot = EmfReader::OpenFile(path);
    }
    return slot.get();
}

QSize PageAt360Dpi(const EmfHeader& h) {
    const double mmW = (double(h.frame.right) - h.frame.left) / 100.0;
    const double mmH = (double(h.frame.bottom) - h.frame.top) / 100.0;
    return QSize(std::max(1, int(mmW / 25.4 * 360)), std::max(1, int(mmH / 25.4 * 360)));
}

void PlayFile(benchmark::State& state, const std::string& name) {
    EnsureApp();
    const EmfReader* reader = Open(name);
    if (!reader) {
        state.SkipWithError(("../shared/bench/" + name + " is not there").c_str());
        return;
    }
    const QSize page = PageAt360Dpi(reader->Header());
    for (auto _ : state) {
        auto image = Bitmap24::Create(page.width(), page.height());
        image->Fill(0xFFFFFF);
        GdiDevice dc(*image);
        PlayMetafile(dc, *reader, QRect(QPoint(0, 0), page));
        dc.Flush();
        benchmark::DoNotOptimize(image->Bits());
    }
    const double n = state.iterations();
    state.counters["pixels/s"] =
        benchmark::Counter(double(page.width()) * page.height() * n, benchmark::Counter::kIsRate);
    state.counters["width"] = page.width();
    state.counters["height"] = page.height();
}

void BM_PlayText(benchmark::State& state) { PlayFile(state, "text.emf"); }
void BM_PlayBitmaps(benchmark::State& state) { PlayFile(state, "bitmap.emf"); }
BENCHMARK(BM_PlayText)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PlayBitmaps)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
