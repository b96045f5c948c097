#include "imagelib/qtdecoder.h"

#include "imagelib/imagelimits.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <memory>

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
    if (picture.isNull())
        return DecodeResult::Failed("The picture cannot be read: " +
                                    reader.errorString().toStdString());
    if (std::string tooLarge = CheckImageSize(picture.width(), picture.height()); !tooLarge.empty())
        return DecodeResult::Failed(tooLarge);
    auto image = Bitmap24::FromQImage(OnWhite(picture));
    if (!image) return DecodeResult::Failed(kOutOfMemory);
    progress.Finish();
    return {std::move(image), {}};
}

}  // namespace corvan
