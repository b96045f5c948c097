// The strip composer as the RIP drives it: a 1500 x 1000 mm job of the demo
// layers at 360 DPI, rendered in full-width strips of about one million
// pixels. Rates are pixels/s; peak_rss_mb is the process's peak resident
// size after the case (getrusage), which must not grow with the job's length.
#include "imagelib/imageload.h"
#include "raster/stripcomposer.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QFileInfo>
#include <QGuiApplication>

namespace corvan {
namespace {

std::string Samples() {
    return CORVAN_SAMPLES_DIR;
}

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void EnsureApp() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QGuiApplication(argc, argv);
}

// One copy per metre of roll: `metres` copies of the 1500 x 1000 mm page
// one below the other.
std::unique_ptr<TemfFile> LongJob(int metres, const std::string& dir) {
    auto job = std::make_unique<TemfFile>();
    job->Reset(1500, 1000);
    job->Layers = {dir + "sign.emf", dir + "cut.emf"};
    job->BackgroundImage = LoadImage24(dir + "background.png").image;
    job->ContourCut = true;
    job->Copies = metres;
    job->YGap = 0;
    job->MediaWidth = 1500;
    job->CropMarks = true;
    job->CropmarkSize = 10;
    job->TileText = true;
    job->ComputeLayout();
    return job;
}

enum class Load { kDemo, kBackgroundOnly, kTenLayers };

// A 20-megapixel photo-like background.
std::unique_ptr<Bitmap24> BigBackground() {
    auto img = Bitmap24::Create(5472, 3648);
    for (int y = 0; y < img->Height(); ++y) {
        std::uint8_t* p = img->Row(y);
        for (int x = 0; x < img->Width(); ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(x * 255 / img->Width());
            p[1] = static_cast<std::uint8_t>(y * 255 / img->Height());
            p[2] = static_cast<std::uint8_t>((x * 7 + y * 13) ^ (x >> 3));
        }
    }
    return img;
}

// Renders every `every`-th strip of the job (1 = all of them).
void RenderJob(benchmark::State& state, int metres, int every, Load load = Load::kDemo) {
    EnsureApp();
    const std::string dir = Samples();
    if (!QFileInfo::exists(QString::fromStdString(dir + "sign.emf"))) {
        state.SkipWithError("demo samples not found");
        return;
    }
    auto job = LongJob(metres, dir);
    if (load == Load::kBackgroundOnly) {
        job->Layers.clear();
        job->BackgroundImage = BigBackground();
    } else if (load == Load::kTenLayers) {
        job->Layers.assign(10, dir + "sign.emf");
    }
    const float s = 360.0f / 25.4f;
    const int width = static_cast<int>(std::lround(s * job->MediaUsedWidth));
    const int height = static_cast<int>(std::lround(s * job->MediaUsedHeight));
    const int rows = std::max(1, 1'000'000 / width);
    std::int64_t pixels = 0;
    for (auto _ : state) {
        for (int top = 0, n = 0; top < height; top += rows, ++n) {
            if (n % every) continue;
            auto strip =
                RenderStrip(*job, DefaultCropMarkCorners(), {0, top, width - 1, top + rows - 1}, s);
            benchmark::DoNotOptimize(strip->Row(0));
            pixels += std::int64_t(strip->Width()) * strip->Height();
        }
    }
    state.SetItemsProcessed(pixels);
    state.counters["megapixels"] = static_cast<double>(pixels) / 1e6;
    state.counters["peak_rss_mb"] = PeakRssMb();
}

void BM_Composer1m(benchmark::State& state) {
    RenderJob(state, 1, 1);
}
// Every 10th strip of a 10 m job: the same number of strips as 1 m, spread
// over ten times the length.
void BM_Composer10mSampled(benchmark::State& state) {
    RenderJob(state, 10, 10);
}
void BM_Composer10m(benchmark::State& state) {
    RenderJob(state, 10, 1);
}

// The background stretch alone (20 megapixels onto the page), and ten
// layers over each other; every 4th strip of 1 m.
void BM_ComposerBackgroundOnly(benchmark::State& state) {
    RenderJob(state, 1, 4, Load::kBackgroundOnly);
}
void BM_ComposerTenLayers(benchmark::State& state) {
    RenderJob(state, 1, 4, Load::kTenLayers);
}

BENCHMARK(BM_ComposerBackgroundOnly)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_ComposerTenLayers)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_Composer1m)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_Composer10mSampled)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_Composer10m)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace corvan
