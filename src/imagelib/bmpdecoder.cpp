#include "imagelib/bmpdecoder.h"

#include "imagelib/imagelimits.h"
#include "platform/bmpfile.h"
#include "platform/dib.h"

#include <limits>
#include <vector>

namespace corvan {

namespace {

// Uncompressed rows are all stored: a file shorter than they need is cut
// off, known before the picture's memory is taken.
bool TooShortForRows(const DibHeader& h, std::uint64_t fileBytes) {
    const auto c = static_cast<DibCompression>(h.compression);
    if (c != DibCompression::Rgb && c != DibCompression::Bitfields &&
        c != DibCompression::AlphaBitfields)
        return false;
    const std::uint64_t rowBytes = (std::uint64_t(h.width) * h.bitCount + 31) / 32 * 4;
    return rowBytes * std::uint64_t(h.height) > fileBytes;
}

std::string Explain(const std::string& text) {
    LogDecoderText("BMP", text);
    return DamagedFile("BMP", text.find("truncated") != std::string::npos
                                  ? "it ends early"
                                  : "its header or data is wrong");
}

}  // namespace

DecodeResult DecodeBmpPicture(const ImageSource& source, ProgressReporter& progress) {
    RangeReader in(source);
    // The reader works on the whole file in memory, so the header decides
    // first whether the picture (and that copy) may be loaded at all.
    std::vector<std::uint8_t> head(kBmpFileHeaderSize + kDibV5HeaderSize);
    head.resize(in.ReadSome(head.data(), head.size()));
    if (head.size() > kBmpFileHeaderSize) {
        const auto header = ParseDibHeader(std::span(head).subspan(kBmpFileHeaderSize));
        if (header) {
            if (std::string tooLarge = CheckImageSize(header->width, header->height, 3);
                !tooLarge.empty())
                return DecodeResult::Failed(tooLarge);
            if (TooShortForRows(*header, source.length))
                return DecodeResult::Failed(DamagedFile("BMP", "it ends early"));
        }
    }
    // A header can lie small in front of a huge file.
    if (source.length > MaxImageBytes())
        return DecodeResult::Failed(
            "The BMP file is too large to load: it is larger than the picture size limit "
            "(CORVANRIP_MAX_IMAGE_BYTES)");
    progress.Start();
    std::vector<std::uint8_t> file;
    try {
        file.resize(static_cast<std::size_t>(source.length));
    } catch (const std::bad_alloc&) {
        return DecodeResult::Failed(kOutOfMemory);
    }
    if (!in.Seek(0) || !in.Read(file.data(), file.size()))
        return DecodeResult::Failed(DamagedFile("BMP", "it cannot be read"));
    DibDecodeOptions options;
    options.unwrittenColour = 0xFFFFFF;
    options.tolerateShortColourTable = true;
    options.maxPixels = std::numeric_limits<std::int64_t>::max();  // judged above
    auto decoded = DecodeBmp(file, options);
    if (!decoded) return DecodeResult::Failed(Explain(decoded.Error()));
    progress.Finish();
    return {std::move(decoded->pixels), {}, {}};
}

}  // namespace corvan
