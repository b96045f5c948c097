#include "platform/metafile/emf_reader.h"

#include "platform/metafile/byte_reader.h"
#include "platform/metafile/emf_records.h"

#include <QFile>

namespace corvan::emf {
namespace {

constexpr std::size_t kMinHeaderSize = 88;
// A metafile larger than this is refused rather than read into memory.
constexpr qint64 kMaxFileBytes = qint64{1} << 31;

void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

RectL ReadRect(ByteReader& r) {
    RectL rc;
    rc.left = r.I32();
    rc.top = r.I32();
    rc.right = r.I32();
    rc.bottom = r.I32();
    return rc;
}

SizeL ReadSize(ByteReader& r) {
    SizeL s;
    s.cx = r.I32();
    s.cy = r.I32();
    return s;
}

}  // namespace

std::unique_ptr<EmfReader> EmfReader::OpenFile(const std::string& path, std::string* error) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, "cannot open " + path + ": " + file.errorString().toStdString());
        return nullptr;
    }
    if (file.size() > kMaxFileBytes) {
        SetError(error, path + " is too large for a metafile");
        return nullptr;
    }
    const QByteArray data = file.readAll();
    auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                           static_cast<std::size_t>(data.size()));
    return OpenMemory(bytes, error);
}

std::unique_ptr<EmfReader> EmfReader::OpenMemory(std::span<const std::uint8_t> data,
                                                 std::string* error) {
    std::unique_ptr<EmfReader> reader(
        new EmfReader(std::vector<std::uint8_t>(data.begin(), data.end())));
    if (!reader->Parse(error)) return nullptr;
    return reader;
}

bool EmfReader::Parse(std::string* error) {
    ByteReader r(bytes_);
    const std::uint32_t type = r.U32();
    const std::uint32_t size = r.U32();
    if (bytes_.size() < kMinHeaderSize || type != kHeader) {
        SetError(error, "not an enhanced metafile (no header record)");
        return false;
    }
    header_.bounds = ReadRect(r);
    header_.frame = ReadRect(r);
    const std::uint32_t signature = r.U32();
    header_.version = r.U32();
    header_.bytes = r.U32();
    header_.records = r.U32();
    header_.handles = r.U16();
    r.U16();
    const std::uint32_t descChars = r.U32();
    const std::uint32_t descOffset = r.U32();
    header_.paletteCount = r.U32();
    header_.devicePixels = ReadSize(r);
    header_.deviceMillimetres = ReadSize(r);
    if (signature != kSignature) {
        SetError(error, "not an enhanced metafile (bad signature)");
        return false;
    }
    if (size < kMinHeaderSize || size % 4 != 0 || size > bytes_.size()) {
        SetError(error, "damaged metafile header (size " + std::to_string(size) + ")");
        return false;
    }
    if (header_.bytes < size) {
        SetError(error,
                 "damaged metafile header (file length " + std::to_string(header_.bytes) + ")");
        return false;
    }
    // A file cut short keeps what is there; the walk reports where it ends.
    length_ = std::min<std::size_t>(header_.bytes, bytes_.size()) & ~std::size_t{3};
    if (size >= 108) {
        r.Seek(100);
        header_.deviceMicrometres = ReadSize(r);
    }
    if (descChars > 0 && descOffset >= kMinHeaderSize &&
        RangeInside(descOffset, std::uint64_t{descChars} * 2, size)) {
        ByteReader d(std::span<const std::uint8_t>(bytes_).first(size), descOffset);
        for (std::uint32_t i = 0; i < descChars; ++i) header_.description.push_back(d.U16());
    }
    ReadPalette();
    return true;
}

void EmfReader::ReadPalette() {
    RecordCursor cursor(*this);
    EmfRecord rec;
    while (cursor.Next(rec)) {
        if (rec.type != kEof) continue;
        ByteReader r(rec.bytes, 8);
        const std::uint32_t count = r.U32();
        const std::uint32_t offset = r.U32();
        if (!RangeInside(offset, std::uint64_t{count} * 4, rec.bytes.size())) return;
        r.Seek(offset);
        for (std::uint32_t i = 0; i < count; ++i) palette_.push_back(r.U32() & 0xFFFFFF);
    }
}

bool RecordCursor::Next(EmfRecord& out) {
    while (!done_) {
        if (NextFramed(out)) return true;
    }
    return false;
}

// One step of the walk: true with a sound record in `out`; false either at
// the end (done_) or after passing over a record whose inside is damaged.
bool RecordCursor::NextFramed(EmfRecord& out) {
    const auto data = reader_.Data();
    if (offset_ == data.size()) {
        reason_ = "metafile ends without an end-of-file record";
        done_ = true;
        return false;
    }
    ByteReader r(data, offset_);
    const std::uint32_t type = r.U32();
    const std::uint32_t size = r.U32();
    auto where = [&] {
        return "record " + std::to_string(index_) + " at byte " + std::to_string(offset_) +
               " (type " + std::to_string(type) + ")";
    };
    if (!r.Ok() || size < 8 || size % 4 != 0 || !RangeInside(offset_, size, data.size())) {
        reason_ = where() + ": bad record size " + std::to_string(size);
        done_ = true;
        return false;
    }
    out.type = type;
    out.index = index_;
    out.offset = offset_;
    out.bytes = data.subspan(offset_, size);
    if (index_ > 0 && type == kHeader) {
        reason_ = where() + ": a second header";
        done_ = true;
        return false;
    }
    const std::string why = ValidateRecord(out, reader_.Header().handles);
    // The size is sound, so the walk can step over a record it cannot trust;
    // the header and the end record have no such second chance.
    if (!why.empty() && (index_ == 0 || type == kEof)) {
        reason_ = where() + ": " + why;
        done_ = true;
        return false;
    }
    if (!why.empty()) skipped_.push_back(where() + ": " + why);
    offset_ += size;
    ++index_;
    if (type == kEof) done_ = true;
    return why.empty();
}

}  // namespace corvan::emf
