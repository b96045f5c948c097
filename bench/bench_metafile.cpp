// Playback speed of a vector-heavy layer: the whole page at 360 dpi, and one
// strip of it as the strip renderer plays it (every layer once per strip),
// with and without skipping shapes that miss the strip.
#include "platform/bitmap.h"
#include "platform/metafile/emf_player.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <memory>

namespace {

using namespace corvan;
using namespace corvan::emf;

constexpr int kSide = 7101;      // 501 mm at 360 dpi
constexpr int kStripRows = 142;  // about one million pixels

const EmfReader* Vectors() {
    static const std::unique_ptr<EmfReader> reader = [] {
        const std::string path = std::string(CORVAN_SHARED_DIR) + "/bench/vectors.emf";
        return QFile::exists(QString::fromStdString(path)) ? EmfReader::OpenFile(path) : nullptr;
    }();
    return reader.get();
}

std::uint32_t RecordCount(const EmfReader& reader) {
    RecordCursor cursor(reader);
    EmfRecord rec;
    std::uint32_t n = 0;
    while (cursor.Next(rec)) ++n;
    return n;
}

void Report(benchmark::State& state, const EmfReader& reader, double pixels) {
    const double n = state.iterations();
    state.counters["records/s"] =
        benchmark::Counter(RecordCount(reader) * n, benchmark::Counter::kIsRate);
    state.counters["pixels/s"] = benchmark::Counter(pixels * n, benchmark::Counter::kIsRate);
}

void BM_PlayWholePage(benchmark::State& state) {
    const EmfReader* reader = Vectors();
    if (!reader) {
        state.SkipWithError("../shared/bench/vectors.emf is not there");
        return;
    }
    for (auto _ : state) {
        auto image = Bitmap24::Create(kSide, kSide);
        image->Fill(0xFFFFFF);
        GdiDevice dc(*image);
        PlayMetafile(dc, *reader, QRect(0, 0, kSide, kSide));
        dc.Flush();
        benchmark::DoNotOptimize(image->Bits());
    }
    Report(state, *reader, double(kSide) * kSide);
}
BENCHMARK(BM_PlayWholePage)->Unit(benchmark::kMillisecond)->Iterations(2);

// One strip from the middle of the page; state.range(0) switches culling.
void BM_PlayStrip(benchmark::State& state) {
    const EmfReader* reader = Vectors();
    if (!reader) {
        state.SkipWithError("../shared/bench/vectors.emf is not there");
        return;
    }
    const int top = kSide / 2;
    for (auto _ : state) {
        auto image = Bitmap24::Create(kSide, kStripRows);
        image->Fill(0xFFFFFF);
        GdiDevice dc(*image);
        dc.GetCanvas().SetCulling(state.range(0) != 0);
        PlayMetafile(dc, *reader, QRect(0, -top, kSide, kSide));
        dc.Flush();
        benchmark::DoNotOptimize(image->Bits());
    }
    Report(state, *reader, double(kSide) * kStripRows);
}
BENCHMARK(BM_PlayStrip)->Arg(1)->Arg(0)->ArgName("culling")->Unit(benchmark::kMillisecond);

}  // namespace
