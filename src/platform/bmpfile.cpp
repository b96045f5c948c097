#include "platform/bmpfile.h"

#include "platform/byteorder.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <limits>
#include <new>

namespace corvan {

namespace {

constexpr std::uint32_t kWrittenHeaderSize = kDibInfoHeaderSize;
constexpr std::size_t kPixelOffset = kBmpFileHeaderSize + kWrittenHeaderSize;
// The file header stores the file size in 32 bits.
constexpr std::uint64_t kMaxBmpBytes = std::numeric_limits<std::uint32_t>::max();

struct OffsetChoice {
    std::uint64_t headerEnd;  // file header, DIB header and stored masks
    std::uint64_t tableEnd;   // ... and the colour table as declared
    std::uint64_t bitsNeeded;
    std::uint64_t fileSize;

    bool Fits(std::uint64_t offset) const {
        return offset >= headerEnd && offset <= fileSize && fileSize - offset >= bitsNeeded;
    }
};

// Where the pixels start. Writers get the stored offset wrong in both
// directions, so it is trusted only when the pixels then fit in the file; a
// stored offset inside the colour table loses to the table's declared end.
std::uint64_t PixelOffset(const OffsetChoice& c, std::uint64_t stored) {
    if (stored >= c.tableEnd && c.Fits(stored)) return stored;
    if (c.Fits(c.tableEnd)) return c.tableEnd;
    if (c.Fits(stored)) return stored;
    return std::min(c.tableEnd, c.fileSize);
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

}  // namespace

Outcome<DibImage> DecodeBmp(std::span<const std::uint8_t> file, const DibDecodeOptions& options) {
    if (file.size() < kBmpFileHeaderSize + 4) return Failure{"File is too short to be a BMP image"};
    if (file[0] != 'B' || file[1] != 'M') return Failure{"Not a BMP file: no \"BM\" signature"};
    const auto dib = file.subspan(kBmpFileHeaderSize);
    const auto header = ParseDibHeader(dib);
    if (!header) return Failure{header.Error()};
    const OffsetChoice choice{kBmpFileHeaderSize + header->headerSize + header->maskBytes,
                              kBmpFileHeaderSize + DibInfoSize(*header, DibColours::Rgb),
                              DibRequiredBitsSize(*header).value_or(0), file.size()};
    const std::uint64_t offset = PixelOffset(choice, ReadU32LE(file, 10));
    DibDecodeOptions fileOptions = options;
    fileOptions.colours = DibColours::Rgb;
    fileOptions.tolerateShortColourTable = offset < choice.tableEnd;
    const std::size_t infoBytes = static_cast<std::size_t>(offset) - kBmpFileHeaderSize;
    return DecodeDib(dib.first(infoBytes), file.subspan(static_cast<std::size_t>(offset)),
                     fileOptions);
}

Outcome<DibImage> ReadBmpFile(const std::string& path, const DibDecodeOptions& options) {
    const QString name = QString::fromStdString(path);
    if (QFileInfo(name).isDir()) return Failure{Quoted(path) + " is a folder, not a BMP file"};
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{"Cannot open " + Quoted(path) + ": " + file.errorString().toStdString()};
    if (static_cast<std::uint64_t>(file.size()) > kMaxBmpBytes)
        return Failure{Quoted(path) + " is too large to be a BMP file"};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failure{"Cannot read " + Quoted(path) + ": " + file.errorString().toStdString()};
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    auto image = DecodeBmp({data, static_cast<std::size_t>(bytes.size())}, options);
    if (!image) return Failure{Quoted(path) + ": " + image.Error()};
    return image;
}

Outcome<std::vector<std::uint8_t>> EncodeBmp(const Bitmap24& image) {
    const int width = image.Width();
    const int height = image.Height();
    if (width <= 0 || height <= 0) return Failure{"An empty image cannot be written as BMP"};
    const auto bitsSize = DibBitsSize(width, height, 24);
    if (!bitsSize || *bitsSize > kMaxBmpBytes - kPixelOffset)
        return Failure{"Image is too large for a BMP file"};
    const std::size_t stride = *DibStride(width, 24);
    std::vector<std::uint8_t> out;
    try {
        out.reserve(kPixelOffset + *bitsSize);
    } catch (const std::bad_alloc&) {
        return Failure{"Not enough memory to encode the BMP image"};
    }
    out.push_back('B');
    out.push_back('M');
    AppendU32LE(out, static_cast<std::uint32_t>(kPixelOffset + *bitsSize));
    AppendU32LE(out, 0);  // reserved
    AppendU32LE(out, static_cast<std::uint32_t>(kPixelOffset));
    AppendU32LE(out, kWrittenHeaderSize);
    AppendU32LE(out, static_cast<std::uint32_t>(width));
    AppendU32LE(out, static_cast<std::uint32_t>(height));  // positive: bottom-up
    AppendU16LE(out, 1);                                   // planes
    AppendU16LE(out, 24);
    AppendU32LE(out, static_cast<std::uint32_t>(DibCompression::Rgb));
    AppendU32LE(out, static_cast<std::uint32_t>(*bitsSize));
    for (int i = 0; i < 4; ++i) AppendU32LE(out, 0);  // resolution, colours used, important
    // Bitmap24 rows already have the BMP row layout; only their order and
    // the padding bytes (which we do not trust to be zero) differ.
    out.resize(kPixelOffset + *bitsSize, 0);
    const std::size_t used = 3 * static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y)
        std::memcpy(out.data() + kPixelOffset + static_cast<std::size_t>(height - 1 - y) * stride,
                    image.Row(y), used);
    return out;
}

Status WriteBmpFile(const Bitmap24& image, const std::string& path) {
    const auto bytes = EncodeBmp(image);
    if (!bytes) return Failure{bytes.Error()};
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return Failure{"Cannot write " + Quoted(path) + ": " + file.errorString().toStdString()};
    const auto size = static_cast<qint64>(bytes->size());
    if (file.write(reinterpret_cast<const char*>(bytes->data()), size) != size) {
        const std::string why = file.errorString().toStdString();
        file.cancelWriting();
        return Failure{"Cannot write " + Quoted(path) + ": " + why};
    }
    if (!file.commit())
        return Failure{"Cannot write " + Quoted(path) + ": " + file.errorString().toStdString()};
    return Status{};
}

}  // namespace corvan
