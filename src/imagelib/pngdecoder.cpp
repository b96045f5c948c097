#include "imagelib/pngdecoder.h"

#include "imagelib/imagelimits.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <png.h>
#include <sys/types.h>

namespace corvan {

namespace {

// libpng reports fatal errors with a longjmp to the setjmp in RunDecode;
// everything with a destructor lives here, outside the jumped-over frame.
struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::unique_ptr<Bitmap24> image;
    std::vector<std::uint8_t> rgba;  // one row, or every row of an interlaced picture
    std::string error;
    ProgressReporter* progress = nullptr;
};

void OnError(png_structp png, png_const_charp message) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    job->error = message ? message : "damaged data";
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

// Blue, green, red, alpha laid on white.
void StoreRow(const std::uint8_t* src, std::uint8_t* dst, png_uint_32 width) {
    for (png_uint_32 x = 0; x < width; ++x, src += 4, dst += 3) {
        const unsigned a = src[3], veil = 255 * (255 - a);
        for (int ch = 0; ch < 3; ++ch)
            dst[ch] = static_cast<std::uint8_t>((src[ch] * a + veil + 127) / 255);
    }
}

// Every form becomes 8-bit blue, green, red, alpha.
void RequestBgra(png_structp png, png_infop info) {
    png_set_expand(png);  // palette to RGB, low-bit grey to 8 bits, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!(png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) &&
        !png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
}

bool RunDecode(PngJob& job, std::FILE* file) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_init_io(job.png, file);
    // Our own size guard decides; libpng's default refuses rows over a million pixels.
    png_set_user_limits(job.png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_read_info(job.png, job.info);
    const png_uint_32 width = png_get_image_width(job.png, job.info);
    const png_uint_32 height = png_get_image_height(job.png, job.info);
    const int passes = png_set_interlace_handling(job.png);
    // An interlaced picture needs every 32-bit row at once.
    if (!(job.error = CheckImageSize(width, height, passes > 1 ? 4 : 0)).empty()) return false;
    RequestBgra(job.png, job.info);
    png_read_update_info(job.png, job.info);
    job.image = Bitmap24::Create(static_cast<int>(width), static_cast<int>(height));
    const std::size_t rowBytes = std::size_t{width} * 4;
    job.rgba.resize(passes > 1 ? rowBytes * height : rowBytes);
    if (!job.image || png_get_rowbytes(job.png, job.info) != rowBytes) {
        job.error = kOutOfMemory;
        return false;
    }
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y) {
            std::uint8_t* row = job.rgba.data() + (passes > 1 ? rowBytes * y : 0);
            png_read_row(job.png, row, nullptr);
            if (pass == passes - 1) StoreRow(row, job.image->Row(static_cast<int>(y)), width);
            job.progress->Advance(std::uint64_t{height} * pass + y + 1,
                                  std::uint64_t{height} * passes);
        }
    }
    png_read_end(job.png, nullptr);
    return true;
}

}  // namespace

DecodeResult DecodePng(const ImageSource& source, ProgressReporter& progress) {
    if (fseeko(source.file, static_cast<off_t>(source.offset), SEEK_SET) != 0)
        return DecodeResult::Failed("The PNG file cannot be read");
    auto job = std::make_unique<PngJob>();
    job->progress = &progress;
    job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job.get(), OnError, OnWarning);
    if (job->png) job->info = png_create_info_struct(job->png);
    if (!job->info) {
        png_destroy_read_struct(&job->png, nullptr, nullptr);
        return DecodeResult::Failed(kOutOfMemory);
    }
    progress.Start();
    bool ok = false;
    try {
        ok = RunDecode(*job, source.file);
    } catch (const std::bad_alloc&) {
        job->error = kOutOfMemory;
    }
    png_destroy_read_struct(&job->png, &job->info, nullptr);
    if (!ok) return DecodeResult::Failed("The PNG file cannot be read: " + job->error);
    progress.Finish();
    return {std::move(job->image), {}};
}

}  // namespace corvan
