// JPEG and PNG images carried as DIB bits (BI_JPEG, BI_PNG), decoded by Qt's
// readers, which bound their own allocations as well.
#include "platform/dibinternal.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstring>
#include <new>
#include <string>

namespace corvan::dib {

namespace {

bool ExtractAlpha(const QImage& image, std::vector<std::uint8_t>& plane) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const std::size_t width = static_cast<std::size_t>(argb.width());
    try {
        plane.resize(width * static_cast<std::size_t>(argb.height()));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (std::size_t x = 0; x < width; ++x)
            plane[y * width + x] = static_cast<std::uint8_t>(qAlpha(line[x]));
    }
    return true;
}

}  // namespace

Outcome<DibImage> DecodeEmbedded(std::span<const std::uint8_t> bits, DibCompression compression,
                                 const DibDecodeOptions& options) {
    const bool jpeg = compression == DibCompression::Jpeg;
    const std::string name = jpeg ? "JPEG" : "PNG";
    if (bits.empty()) return Failure{"Embedded " + name + " image is empty"};
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bits.data()),
                                              static_cast<qsizetype>(bits.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, jpeg ? "jpeg" : "png");
    const QSize size = reader.size();
    if (size.isValid() && std::int64_t{size.width()} * size.height() > options.maxPixels)
        return Failure{"Embedded " + name + " image is larger than the limit of " +
                       std::to_string(options.maxPixels) + " pixels"};
    QImage image;
    if (!reader.read(&image))
        return Failure{"Embedded " + name +
                       " image could not be decoded: " + reader.errorString().toStdString()};
    DibImage result;
    if (options.wantAlpha && image.hasAlphaChannel() && !ExtractAlpha(image, result.alpha))
        return Failure{"Not enough memory for the alpha plane of the embedded " + name + " image"};
    result.pixels = Bitmap24::FromQImage(image);
    if (!result.pixels) return Failure{"Not enough memory for the embedded " + name + " image"};
    return result;
}

}  // namespace corvan::dib
