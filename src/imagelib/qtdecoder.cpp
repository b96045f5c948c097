#include "imagelib/qtdecoder.h"

#include "imagelib/imagelimits.h"
#include "imagelib/orientation.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace corvan {

namespace {

std::unique_ptr<QIODevice> OpenDevice(const ImageSource& source) {
    if (!source.path.empty() && source.offset == 0)
        return nullptr;  // the reader opens the file itself
    RangeReader in(source);
    // Only small embedded pictures come this way; the size guard bounds it.
    const std::uint64_t length = std::min<std::uint64_t>(source.length, MaxImageBytes());
    QByteArray bytes(static_cast<qsizetype>(length), Qt::Uninitialized);
    bytes.resize(static_cast<qsizetype>(in.ReadSome(bytes.data(), bytes.size())));
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

// WebP keeps EXIF in a RIFF chunk that Qt's plugin does not apply. The
// chunk holds a bare TIFF structure, sometimes behind an "Exif" prefix.
int WebpOrientation(const ImageSource& source) {
    RangeReader in(source);
    std::uint8_t riff[12];
    if (!in.Read(riff, 12) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WEBP", 4) != 0)
        return 1;
    std::uint8_t chunk[8];
    while (in.Read(chunk, 8)) {
        const std::uint32_t size =
            chunk[4] | chunk[5] << 8 | chunk[6] << 16 | static_cast<std::uint32_t>(chunk[7]) << 24;
        if (std::memcmp(chunk, "EXIF", 4) != 0) {
            if (!in.Skip(size + (size & 1))) return 1;
            continue;
        }
        if (size > in.Remaining() || size > (1u << 24)) return 1;
        std::vector<std::uint8_t> exif(size);
        if (!in.Read(exif.data(), size)) return 1;
        const bool prefixed = size >= 6 && std::memcmp(exif.data(), "Exif\0\0", 6) == 0;
        return prefixed ? ExifOrientation(exif) : TiffOrientation(exif);
    }
    return 1;
}

// Qt's reasons in the user's words; Qt's own text goes to the log.
std::string Explain(const QImageReader& reader, const std::string& format) {
    LogDecoderText("Qt image reader", reader.errorString().toStdString());
    switch (reader.error()) {
        case QImageReader::UnsupportedFormatError:
            return "The file is not a picture in a format that can be read";
        case QImageReader::InvalidDataError:
            return DamagedFile(format.empty() ? "picture" : format,
                               "its picture data cannot be read");
        default:
            return "The picture file cannot be read";
    }
}

QImage OnWhite(const QImage& picture) {
    if (!picture.hasAlphaChannel()) return picture;
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, picture);
    return flat;
}

}  // namespace

DecodeResult DecodeWithQt(const ImageSource& source, ProgressReporter& progress) {
    const auto device = OpenDevice(source);
    QImageReader reader;
    if (device)
        reader.setDevice(device.get());
    else
        reader.setFileName(QString::fromStdString(source.path));
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    // Formats that cannot tell their size before decoding are judged after.
    if (size.isValid())
        if (std::string tooLarge = CheckImageSize(size.width(), size.height(), 4);
            !tooLarge.empty())
            return DecodeResult::Failed(tooLarge);
    // Qt's own cap (in MB, for its 32-bit work image) follows ours.
    QImageReader::setAllocationLimit(
        static_cast<int>(std::min<std::uint64_t>(MaxImageBytes() / (3 << 20) * 4 + 1, 1 << 30)));
    progress.Start();
    const QImage picture = reader.read();
    const std::string format = reader.format().toUpper().toStdString();
    if (picture.isNull()) return DecodeResult::Failed(Explain(reader, format));
    if (std::string tooLarge = CheckImageSize(picture.width(), picture.height()); !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    auto image = Bitmap24::FromQImage(OnWhite(picture));
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    PictureInfo info;
    info.format = format;
    info.colourSpace = picture.isGrayscale()       ? "greyscale"
                       : picture.hasAlphaChannel() ? "RGB with alpha"
                                                   : "RGB";
    progress.Finish();
    const bool qtTurns = reader.supportsOption(QImageIOHandler::ImageTransformation);
    const int orientation = format == "WEBP" && !qtTurns ? WebpOrientation(source) : 1;
    return Oriented({std::move(image), {}, std::move(info)}, orientation);
}

}  // namespace corvan
