// Raster kernels and picture decoding. Pixel rates are items/s; the
// memcpy case copies the same bytes as the background stretch writes, as
// the yardstick for "as fast as memory allows".
#include "imagelib/imagedecoder.h"
#include "imagelib/resample.h"
#include "raster/background.h"
#include "raster/transforms.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <tiffio.h>

namespace corvan {
namespace {

// Smooth gradients with some texture: compresses like a photo, not like a flat fill.
std::unique_ptr<Bitmap24> Photo(int w, int h) {
    auto img = Bitmap24::Create(w, h);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = img->Row(y);
        for (int x = 0; x < w; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(x * 255 / w);
            p[1] = static_cast<std::uint8_t>(y * 255 / h);
            p[2] = static_cast<std::uint8_t>((x * 7 + y * 13) ^ (x >> 3));
        }
    }
    return img;
}

const Bitmap24& TwentyMegapixels() {
    static const auto img = Photo(5472, 3648);
    return *img;
}

// A 1-megapixel strip (4096 x 256) out of the middle of a job whose
// background spans 4096 x 2731 pixels.
void BM_StretchBackground(benchmark::State& state) {
    auto strip = Bitmap24::Create(4096, 256);
    const IntRect rect{0, -1200, 4096, 1531};
    for (auto _ : state) {
        StretchBackground(&TwentyMegapixels(), strip.get(), rect, nullptr, state.range(0) != 0);
        benchmark::DoNotOptimize(strip->Bits());
    }
    state.SetItemsProcessed(state.iterations() * 4096 * 256);
    state.SetBytesProcessed(state.iterations() * 4096 * 256 * 3);
}
BENCHMARK(BM_StretchBackground)->Arg(1)->Arg(0)->ArgName("smooth")->Unit(benchmark::kMillisecond);

void BM_MemcpyStrip(benchmark::State& state) {
    auto strip = Bitmap24::Create(4096, 256);
    const std::uint8_t* src = TwentyMegapixels().Bits();
    for (auto _ : state) {
        std::memcpy(strip->Bits(), src, strip->Stride() * 256);
        benchmark::DoNotOptimize(strip->Bits());
    }
    state.SetItemsProcessed(state.iterations() * 4096 * 256);
    state.SetBytesProcessed(state.iterations() * 4096 * 256 * 3);
}
BENCHMARK(BM_MemcpyStrip)->Unit(benchmark::kMillisecond);

// Items are source pixels.
void BM_AreaResample(benchmark::State& state) {
    const Bitmap24& src = TwentyMegapixels();
    const int divisor = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto out = AreaResample(&src, src.Width() / divisor, src.Height() / divisor);
        benchmark::DoNotOptimize(out.get());
    }
    state.SetItemsProcessed(state.iterations() * src.Width() * src.Height());
}
BENCHMARK(BM_AreaResample)->Arg(2)->Arg(5)->ArgName("divisor")->Unit(benchmark::kMillisecond);

void BM_TransformBitmap(benchmark::State& state) {
    const Bitmap24& src = TwentyMegapixels();
    const bool rotate = state.range(0) != 0;
    for (auto _ : state) {
        auto out = TransformBitmap(&src, rotate, true, false);
        benchmark::DoNotOptimize(out.get());
    }
    state.SetItemsProcessed(state.iterations() * src.Width() * src.Height());
}
BENCHMARK(BM_TransformBitmap)->Arg(0)->Arg(1)->ArgName("rotate")->Unit(benchmark::kMillisecond);

// 12-megapixel test pictures, written once per run.
struct DecodeFixtures {
    QTemporaryDir dir;
    std::string jpeg = dir.filePath("photo.jpg").toStdString();
    std::string tiff = dir.filePath("photo.tif").toStdString();
    DecodeFixtures() {
        const auto img = Photo(4000, 3000);
        WriteJpeg(*img);
        WriteTiff(*img);
    }
    void WriteJpeg(const Bitmap24& img) const {
        std::FILE* f = std::fopen(jpeg.c_str(), "wb");
        jpeg_compress_struct c{};
        jpeg_error_mgr err{};
        c.err = jpeg_std_error(&err);
        jpeg_create_compress(&c);
        jpeg_stdio_dest(&c, f);
        c.image_width = static_cast<JDIMENSION>(img.Width());
        c.image_height = static_cast<JDIMENSION>(img.Height());
        c.input_components = 3;
        c.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, 90, TRUE);
        jpeg_start_compress(&c, TRUE);
        while (c.next_scanline < c.image_height) {
            JSAMPROW row = const_cast<std::uint8_t*>(img.Row(static_cast<int>(c.next_scanline)));
            jpeg_write_scanlines(&c, &row, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        std::fclose(f);
    }
    void WriteTiff(const Bitmap24& img) const {
        TIFF* t = TIFFOpen(tiff.c_str(), "w");
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, img.Width());
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, img.Height());
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 32);
        std::vector<std::uint8_t> rgb(3 * static_cast<std::size_t>(img.Width()));
        for (int y = 0; y < img.Height(); ++y) {
            const std::uint8_t* p = img.Row(y);
            for (std::size_t i = 0; i < rgb.size(); i += 3)
                rgb[i] = p[i + 2], rgb[i + 1] = p[i + 1], rgb[i + 2] = p[i];
            TIFFWriteScanline(t, rgb.data(), static_cast<std::uint32_t>(y), 0);
        }
        TIFFClose(t);
    }
};

const DecodeFixtures& Fixtures() {
    static const DecodeFixtures f;
    return f;
}

void Decode(benchmark::State& state, const std::string& path) {
    const bool report = state.range(0) != 0;
    long calls = 0;
    for (auto _ : state) {
        ProgressReporter progress(report ? LoadProgress([&calls](int, int) { ++calls; })
                                         : LoadProgress{});
        auto r = DecodeImageFile(path, progress);
        if (!r.image) state.SkipWithError(r.error.c_str());
        benchmark::DoNotOptimize(r.image.get());
    }
    state.SetItemsProcessed(state.iterations() * 4000 * 3000);
    state.counters["progress_calls"] =
        benchmark::Counter(static_cast<double>(calls), benchmark::Counter::kAvgIterations);
}

void BM_DecodeJpeg(benchmark::State& state) {
    Decode(state, Fixtures().jpeg);
}
void BM_DecodeTiffLzw(benchmark::State& state) {
    Decode(state, Fixtures().tiff);
}
BENCHMARK(BM_DecodeJpeg)->Arg(0)->Arg(1)->ArgName("progress")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeTiffLzw)->Arg(0)->Arg(1)->ArgName("progress")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvan
