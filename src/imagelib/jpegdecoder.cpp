#include "imagelib/jpegdecoder.h"

#include "imagelib/cmykconvert.h"
#include "imagelib/imagelimits.h"
#include "imagelib/orientation.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/types.h>

#include <jerror.h>
#include <jpeglib.h>

namespace corvan {

namespace {

// libjpeg reports fatal errors by calling error_exit, which must not return:
// we jump back to the one setjmp in RunDecode. Everything with a destructor
// lives in JpegJob, outside the jumped-over frame.
struct JpegErrors {
    jpeg_error_mgr pub{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};  // the detail for the user
    bool warned = false;
};

struct JpegProgress {
    jpeg_progress_mgr pub{};
    ProgressReporter* reporter = nullptr;
};

struct JpegJob {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors;
    JpegProgress monitor;
    std::unique_ptr<Bitmap24> image;
    std::unique_ptr<CmykConverter> cmyk;
    std::vector<std::uint8_t> row;
    int orientation = 1;
    std::string error;
    PictureInfo info;
};

// Progressive files with thousands of tiny scans take forever to decode
// for no picture worth having; real files have a dozen or so.
constexpr int kMaxScans = 1000;

[[noreturn]] void FailWith(j_common_ptr cinfo, const char* reason) {
    auto* e = reinterpret_cast<JpegErrors*>(cinfo->err);
    std::snprintf(e->message, sizeof e->message, "%s", reason);
    std::longjmp(e->jump, 1);
}

// libjpeg's own words go to the log; the user reads ours.
[[noreturn]] void OnError(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    LogDecoderText("JPEG", text);
    const int code = cinfo->err->msg_code;
    FailWith(cinfo, code == JERR_NO_SOI          ? "it does not start like a JPEG file"
                    : code == JERR_INPUT_EOF     ? "it ends early"
                    : code == JERR_OUT_OF_MEMORY ? "it needs more memory than there is"
                                                 : "its compressed data cannot be decoded");
}

// Warnings are noted except the one for missing data, which fails: a
// truncated file would otherwise decode to a silently grey lower part.
void OnMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;
    if (cinfo->err->msg_code == JWRN_JPEG_EOF) FailWith(cinfo, "it ends early");
    reinterpret_cast<JpegErrors*>(cinfo->err)->warned = true;
}

void OnProgress(j_common_ptr cinfo) {
    auto* p = reinterpret_cast<JpegProgress*>(cinfo->progress);
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) FailWith(cinfo, "it has too many progressive scans");
    const long passes = std::max(1, p->pub.total_passes);
    const long limit = std::max(1L, p->pub.pass_limit);
    p->reporter->Advance(
        static_cast<std::uint64_t>(p->pub.completed_passes) * limit + p->pub.pass_counter,
        static_cast<std::uint64_t>(passes) * limit);
}

void ReadMarkers(JpegJob& job) {
    for (jpeg_saved_marker_ptr m = job.cinfo.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && job.orientation == 1)
            job.orientation = ExifOrientation({m->data, m->data_length});
}

// Picks the output colour space; false (with job.error) for what we cannot show.
bool ChooseOutput(JpegJob& job) {
    jpeg_decompress_struct& c = job.cinfo;
    switch (c.jpeg_color_space) {
        case JCS_GRAYSCALE:
            c.out_color_space = JCS_GRAYSCALE;
            return true;
        case JCS_CMYK:
        case JCS_YCCK: {
            c.out_color_space = JCS_CMYK;
            JOCTET* icc = nullptr;
            unsigned int iccLength = 0;
            const bool hasIcc = jpeg_read_icc_profile(&c, &icc, &iccLength);
            if (hasIcc) job.info.profile = ProfileDescription({icc, iccLength});
            // Photoshop writes CMYK JPEGs with 0 meaning full ink and marks
            // them with an Adobe segment.
            job.cmyk = CmykConverter::Create(hasIcc ? std::span<const std::uint8_t>(icc, iccLength)
                                                    : std::span<const std::uint8_t>{},
                                             {8, c.saw_Adobe_marker != 0, 0}, &job.error);
            std::free(icc);
            return job.cmyk != nullptr;
        }
        default: {
            c.out_color_space = JCS_EXT_BGR;
            JOCTET* icc = nullptr;
            unsigned int iccLength = 0;
            if (jpeg_read_icc_profile(&c, &icc, &iccLength))
                job.info.profile = ProfileDescription({icc, iccLength});
            std::free(icc);
            return true;
        }
    }
}

void Describe(JpegJob& job) {
    const jpeg_decompress_struct& c = job.cinfo;
    job.info.format = "JPEG";
    job.info.bitsPerSample = 8;
    job.info.colourSpace = c.jpeg_color_space == JCS_GRAYSCALE ? "greyscale"
                           : c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK
                               ? "CMYK"
                               : "RGB";
    if (c.saw_JFIF_marker && c.X_density && c.Y_density && c.density_unit != 0) {
        const double perInch = c.density_unit == 2 ? 2.54 : 1.0;
        job.info.dpiX = c.X_density * perInch;
        job.info.dpiY = c.Y_density * perInch;
    }
}

void StoreRow(JpegJob& job, std::uint8_t* dst) {
    const auto width = static_cast<std::size_t>(job.cinfo.output_width);
    if (job.cinfo.out_color_space == JCS_GRAYSCALE) {
        for (std::size_t x = 0; x < width; ++x)
            dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = job.row[x];
    } else {
        job.cmyk->Convert(job.row.data(), dst, static_cast<int>(width));
    }
}

// Has no locals with destructors: a longjmp back into it skips nothing.
bool RunDecode(JpegJob& job, std::FILE* file) {
    if (setjmp(job.errors.jump)) {
        job.error = DamagedFile("JPEG", job.errors.message);
        return false;
    }
    jpeg_decompress_struct& c = job.cinfo;
    jpeg_create_decompress(&c);
    jpeg_stdio_src(&c, file);
    jpeg_save_markers(&c, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&c, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&c, TRUE);
    if (!(job.error = CheckImageSize(c.image_width, c.image_height)).empty()) return false;
    ReadMarkers(job);
    Describe(job);
    if (!ChooseOutput(job)) return false;
    c.progress = &job.monitor.pub;
    jpeg_start_decompress(&c);
    job.image =
        Bitmap24::Create(static_cast<int>(c.output_width), static_cast<int>(c.output_height));
    if (!job.image) {
        job.error = kOutOfMemory;
        return false;
    }
    const bool direct = c.out_color_space == JCS_EXT_BGR;
    if (!direct) job.row.resize(static_cast<std::size_t>(c.output_width) * c.output_components);
    while (c.output_scanline < c.output_height) {
        std::uint8_t* dst = job.image->Row(static_cast<int>(c.output_scanline));
        JSAMPROW target = direct ? dst : job.row.data();
        jpeg_read_scanlines(&c, &target, 1);
        if (!direct) StoreRow(job, dst);
    }
    jpeg_finish_decompress(&c);
    // libjpeg reports before each row, so the last report stops short of 100.
    job.monitor.reporter->Advance(1, 1);
    return true;
}

}  // namespace

DecodeResult DecodeJpeg(const ImageSource& source, ProgressReporter& progress) {
    if (fseeko(source.file, static_cast<off_t>(source.offset), SEEK_SET) != 0)
        return DecodeResult::Failed(DamagedFile("JPEG", "it cannot be read"));
    auto job = std::make_unique<JpegJob>();
    job->cinfo.err = jpeg_std_error(&job->errors.pub);
    job->errors.pub.error_exit = OnError;
    job->errors.pub.emit_message = OnMessage;
    job->monitor.pub.progress_monitor = OnProgress;
    job->monitor.reporter = &progress;
    progress.Start();
    const bool ok = RunDecode(*job, source.file);
    jpeg_destroy_decompress(&job->cinfo);
    if (!ok) return DecodeResult::Failed(job->error.empty() ? DamagedFile("JPEG") : job->error);
    if (job->errors.warned)
        job->info.warnings.push_back("parts of the compressed data are damaged and were guessed");
    progress.Finish();
    return Oriented({std::move(job->image), {}, std::move(job->info)}, job->orientation);
}

}  // namespace corvan
