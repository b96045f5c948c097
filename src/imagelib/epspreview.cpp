#include "imagelib/epspreview.h"

#include "imagelib/tiffdecoder.h"

namespace corvan {

DecodeResult DecodeEpsPreview(const ImageSource& source, ProgressReporter& progress) {
    // Magic, then offset and length of the PostScript, the WMF preview and
    // the TIFF preview, all little-endian, then a checksum we do not need.
    RangeReader in(source);
    std::uint32_t fields[7] = {};
    for (auto& f : fields)
        if (!in.ReadLE32(f))
            return DecodeResult::Failed("The EPS file cannot be read: damaged header");
    if (fields[0] != 0xC6D3D0C5u)
        return DecodeResult::Failed("The EPS file cannot be read: damaged header");
    const std::uint64_t offset = fields[5], length = fields[6];
    if (offset == 0 || length == 0)
        return DecodeResult::Failed("The EPS file has no TIFF preview to show");
    if (offset > source.length || length > source.length - offset)
        return DecodeResult::Failed(
            "The EPS file cannot be read: its TIFF preview lies outside the file");
    return DecodeTiff({source.file, source.offset + offset, length, {}}, progress);
}

}  // namespace corvan
