#include "imagelib/imagedecoder.h"

#include "imagelib/bmpdecoder.h"
#include "imagelib/epspreview.h"
#include "imagelib/heifdecoder.h"
#include "imagelib/jpegdecoder.h"
#include "imagelib/pcxdecoder.h"
#include "imagelib/pngdecoder.h"
#include "imagelib/postscript.h"
#include "imagelib/psddecoder.h"
#include "imagelib/qtdecoder.h"
#include "imagelib/tgadecoder.h"
#include "imagelib/tiffdecoder.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace corvan {

namespace {

bool StartsWith(std::span<const std::uint8_t> head, const char* magic, std::size_t n) {
    return head.size() >= n && std::memcmp(head.data(), magic, n) == 0;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

ImageFormat SniffImageFormat(std::span<const std::uint8_t> head) {
    if (StartsWith(head, "\xFF\xD8\xFF", 3)) return ImageFormat::Jpeg;
    if (StartsWith(head, "\x89PNG\r\n\x1A\n", 8)) return ImageFormat::Png;
    // Classic TIFF (42) and BigTIFF (43), either byte order.
    if (StartsWith(head, "II*\0", 4) || StartsWith(head, "MM\0*", 4) ||
        StartsWith(head, "II+\0", 4) || StartsWith(head, "MM\0+", 4))
        return ImageFormat::Tiff;
    if (StartsWith(head, "8BPS", 4)) return ImageFormat::Psd;
    if (StartsWith(head, "\xC5\xD0\xD3\xC6", 4)) return ImageFormat::Eps;
    if (StartsWith(head, "BM", 2)) return ImageFormat::Bmp;
    if (LooksLikeHeif(head)) return ImageFormat::Heif;
    if (LooksLikePdf(head)) return ImageFormat::Pdf;
    if (LooksLikePostScript(head)) return ImageFormat::PostScript;
    if (LooksLikePcx(head)) return ImageFormat::Pcx;
    if (LooksLikeTga(head)) return ImageFormat::Tga;
    return ImageFormat::Other;
}

namespace {

const char* FormatName(ImageFormat format) {
    switch (format) {
        case ImageFormat::Bmp:
            return "BMP";
        case ImageFormat::Tga:
            return "Targa";
        default:
            return "picture";
    }
}

DecodeResult Dispatch(ImageFormat format, const ImageSource& source, ProgressReporter& progress,
                      const DecodeOptions& options, bool eps) {
    switch (format) {
        case ImageFormat::Jpeg:
            return DecodeJpeg(source, progress);
        case ImageFormat::Png:
            return DecodePng(source, progress);
        case ImageFormat::Tiff:
            return DecodeTiff(source, progress);
        case ImageFormat::Psd:
            return DecodePsd(source, progress);
        case ImageFormat::Eps:
            return DecodeEpsPreview(source, options.vectorDpi, progress);
        case ImageFormat::Bmp:
            return DecodeBmpPicture(source, progress);
        case ImageFormat::Tga:
            return DecodeTga(source, progress);
        case ImageFormat::Pcx:
            return DecodePcx(source, progress);
        case ImageFormat::Heif:
            return DecodeHeif(source, progress);
        case ImageFormat::PostScript:
            return RenderPostScript(source, eps ? PageKind::Eps : PageKind::PostScript,
                                    options.vectorDpi, progress);
        case ImageFormat::Pdf:
            return RenderPostScript(source, PageKind::Pdf, options.vectorDpi, progress);
        case ImageFormat::Other:
            break;
    }
    return DecodeWithQt(source, progress);
}

}  // namespace

DecodeResult DecodeImage(const ImageSource& source, ProgressReporter& progress,
                         const DecodeOptions& options) {
    std::uint8_t head[64] = {};
    RangeReader in(source);
    const std::size_t got = in.ReadSome(head, sizeof head);
    const std::span<const std::uint8_t> start(head, got);
    const ImageFormat format = SniffImageFormat(start);
    // "%!PS-Adobe-3.0 EPSF-3.0": drawn to its bounding box, not a whole page.
    const std::string text(reinterpret_cast<const char*>(head), got);
    const bool eps = format == ImageFormat::PostScript && text.find("EPSF") != std::string::npos;
    DecodeResult result = Dispatch(format, source, progress, options, eps);
    if (result.image && result.info.format.empty()) result.info.format = FormatName(format);
    return result;
}

DecodeResult DecodeImageFile(const std::string& path, ProgressReporter& progress,
                             const DecodeOptions& options) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return DecodeResult::Failed("The picture file cannot be opened: " +
                                    std::string(std::strerror(errno)));
    return DecodeImage({file.get(), 0, FileLength(file.get()), path}, progress, options);
}

}  // namespace corvan
