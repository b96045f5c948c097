#include "imagelib/epspreview.h"

#include "imagelib/postscript.h"
#include "imagelib/tiffdecoder.h"

namespace corvan {

DecodeResult DecodeEpsPreview(const ImageSource& source, double dpi, ProgressReporter& progress) {
    // Magic, then offset and length of the PostScript, the WMF preview and
    // the TIFF preview, all little-endian, then a checksum we do not need.
    RangeReader in(source);
    std::uint32_t fields[7] = {};
    for (auto& f : fields)
        if (!in.ReadLE32(f))
            return DecodeResult::Failed(DamagedFile("EPS", "its header is damaged"));
    if (fields[0] != 0xC6D3D0C5u)
        return DecodeResult::Failed(DamagedFile("EPS", "its header is damaged"));
    const auto inside = [&source](std::uint64_t offset, std::uint64_t length) {
        return offset != 0 && length != 0 && offset <= source.length &&
               length <= source.length - offset;
    };
    if (inside(fields[5], fields[6])) {
        DecodeResult preview =
            DecodeTiff({source.file, source.offset + fields[5], fields[6], {}}, progress);
        if (preview.image) preview.info.format = "EPS (TIFF preview)";
        return preview;
    }
    if (fields[5] != 0 || fields[6] != 0)
        return DecodeResult::Failed(
            DamagedFile("EPS", "its preview picture lies outside the file"));
    // No TIFF preview: the PostScript itself is drawn.
    if (!inside(fields[1], fields[2]))
        return DecodeResult::Failed(DamagedFile("EPS", "its PostScript lies outside the file"));
    return RenderPostScript({source.file, source.offset + fields[1], fields[2], {}}, PageKind::Eps,
                            dpi, progress);
}

}  // namespace corvan
