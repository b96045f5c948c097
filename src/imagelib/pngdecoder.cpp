#include "imagelib/pngdecoder.h"

#include "imagelib/imagelimits.h"
#include "imagelib/orientation.h"

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
    std::string error;               // libpng's words, or a complete message of ours
    bool ours = false;               // error is already in the user's words
    bool warned = false;
    PictureInfo about;
    int orientation = 1;
    ProgressReporter* progress = nullptr;
};

void OnError(png_structp png, png_const_charp message) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    job->error = message ? message : "damaged data";
    png_longjmp(png, 1);
}
void OnWarning(png_structp png, png_const_charp) {
    static_cast<PngJob*>(png_get_error_ptr(png))->warned = true;
}

// libpng's error texts in the user's words; the original goes to the log.
std::string Explain(const std::string& text) {
    LogDecoderText("PNG", text);
    if (text.find("Read Error") != std::string::npos ||
        text.find("Not enough image data") != std::string::npos ||
        text.find("unexpected end") != std::string::npos)
        return DamagedFile("PNG", "it ends early");
    if (text.find("CRC") != std::string::npos)
        return DamagedFile("PNG", "a checksum does not match");
    if (text.find("Not a PNG") != std::string::npos)
        return DamagedFile("PNG", "its signature is wrong");
    return DamagedFile("PNG", "its data is out of order or unreadable");
}

// eXIf holds a bare TIFF structure, without the "Exif" prefix of JPEG's APP1.
int PngOrientation(png_structp png, png_infop info) {
    png_uint_32 length = 0;
    png_bytep exif = nullptr;
    if (!png_get_eXIf_1(png, info, &length, &exif) || !exif) return 1;
    return TiffOrientation({exif, length});
}

void Describe(PngJob& job) {
    static constexpr const char* kSpaces[] = {
        "greyscale", "", "RGB", "palette", "greyscale with alpha", "", "RGB with alpha"};
    const int type = png_get_color_type(job.png, job.info);
    job.about.format = "PNG";
    job.about.colourSpace = type >= 0 && type <= 6 ? kSpaces[type] : "";
    job.about.bitsPerSample = png_get_bit_depth(job.png, job.info);
    png_uint_32 xres = 0, yres = 0;
    int unit = 0;
    if (png_get_pHYs(job.png, job.info, &xres, &yres, &unit) && unit == PNG_RESOLUTION_METER) {
        job.about.dpiX = xres * 0.0254;
        job.about.dpiY = yres * 0.0254;
    }
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (png_get_iCCP(job.png, job.info, &name, &compression, &profile, &length) && profile)
        job.about.profile = ProfileDescription({profile, length});
}

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
    if (!(job.error = CheckImageSize(width, height, passes > 1 ? 4 : 0)).empty()) {
        job.ours = true;
        return false;
    }
    Describe(job);
    RequestBgra(job.png, job.info);
    png_read_update_info(job.png, job.info);
    job.image = Bitmap24::Create(static_cast<int>(width), static_cast<int>(height));
    const std::size_t rowBytes = std::size_t{width} * 4;
    job.rgba.resize(passes > 1 ? rowBytes * height : rowBytes);
    if (!job.image || png_get_rowbytes(job.png, job.info) != rowBytes) {
        job.error = kOutOfMemory;
        job.ours = true;
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
    // eXIf may come before or after the pixels.
    png_read_end(job.png, job.info);
    job.orientation = PngOrientation(job.png, job.info);
    return true;
}

}  // namespace

DecodeResult DecodePng(const ImageSource& source, ProgressReporter& progress) {
    if (fseeko(source.file, static_cast<off_t>(source.offset), SEEK_SET) != 0)
        return DecodeResult::Failed(DamagedFile("PNG", "it cannot be read"));
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
        job->ours = true;
    }
    png_destroy_read_struct(&job->png, &job->info, nullptr);
    if (!ok) return DecodeResult::Failed(job->ours ? job->error : Explain(job->error));
    if (job->warned) job->about.warnings.push_back("the file has minor faults that were skipped");
    progress.Finish();
    return Oriented({std::move(job->image), {}, std::move(job->about)}, job->orientation);
}

}  // namespace corvan
