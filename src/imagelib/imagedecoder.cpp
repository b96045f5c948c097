#include "imagelib/imagedecoder.h"

#include "imagelib/bmpdecoder.h"
#include "imagelib/epspreview.h"
#include "imagelib/jpegdecoder.h"
#include "imagelib/pngdecoder.h"
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
    if (LooksLikeTga(head)) return ImageFormat::Tga;
    return ImageFormat::Other;
}

DecodeResult DecodeImage(const ImageSource& source, ProgressReporter& progress) {
    std::uint8_t head[18] = {};
    RangeReader in(source);
    const std::size_t got = in.ReadSome(head, sizeof head);
    switch (SniffImageFormat({head, got})) {
        case ImageFormat::Jpeg:
            return DecodeJpeg(source, progress);
        case ImageFormat::Png:
            return DecodePng(source, progress);
        case ImageFormat::Tiff:
            return DecodeTiff(source, progress);
        case ImageFormat::Psd:
            return DecodePsd(source, progress);
        case ImageFormat::Eps:
            return DecodeEpsPreview(source, progress);
        case ImageFormat::Bmp:
            return DecodeBmpPicture(source, progress);
        case ImageFormat::Tga:
            return DecodeTga(source, progress);
        case ImageFormat::Other:
            break;
    }
    return DecodeWithQt(source, progress);
}

DecodeResult DecodeImageFile(const std::string& path, ProgressReporter& progress) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return DecodeResult::Failed("The picture file cannot be opened: " +
                                    std::string(std::strerror(errno)));
    return DecodeImage({file.get(), 0, FileLength(file.get()), path}, progress);
}

}  // namespace corvan
