#pragma once
// Reading enhanced metafiles: the header and a cursor over the records. Every
// record the cursor hands out has been checked in full first (size, alignment,
// place in the file, the counts and offsets inside it, the handle indices it
// names), so code that plays records may trust their layout. A record whose
// inside is damaged is skipped with a note, as the Windows player skips it; a
// record whose size leaves the data ends the walk with a reason; a file that
// is not a metafile is refused.
#include "platform/metafile/bitmap_cache.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace corvan::emf {

struct RectL {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const RectL&, const RectL&) = default;
};
struct SizeL {
    std::int32_t cx = 0, cy = 0;
    friend bool operator==(const SizeL&, const SizeL&) = default;
};

struct EmfHeader {
    RectL bounds;  // device units of the reference device, inclusive
    RectL frame;   // .01 millimetres, inclusive
    std::uint32_t version = 0;
    std::uint32_t bytes = 0;         // as the header states it
    std::uint32_t records = 0;       // as the header states it
    std::uint16_t handles = 0;       // size of the object table, slot 0 included
    std::uint32_t paletteCount = 0;  // entries in the palette of the end record
    SizeL devicePixels;              // reference device size in pixels
    SizeL deviceMillimetres;         // reference device size in millimetres
    SizeL deviceMicrometres;         // present in newer headers, else zero
    std::u16string description;
};

// One record: its type and all of its bytes, type and size fields included.
struct EmfRecord {
    std::uint32_t type = 0;
    std::uint32_t index = 0;  // 0 for the header
    std::size_t offset = 0;   // in the file
    std::span<const std::uint8_t> bytes;
    std::uint32_t Size() const { return static_cast<std::uint32_t>(bytes.size()); }
};

class EmfReader {
public:
    // Null with a reason in *error when the data is not an enhanced metafile.
    static std::unique_ptr<EmfReader> OpenFile(const std::string& path,
                                               std::string* error = nullptr);
    static std::unique_ptr<EmfReader> OpenMemory(std::span<const std::uint8_t> data,
                                                 std::string* error = nullptr);

    const EmfHeader& Header() const { return header_; }
    // The bytes that hold records: the stated length, cut to the data present.
    std::span<const std::uint8_t> Data() const { return {bytes_.data(), length_}; }
    // Palette entries (0x00BBGGRR, flags dropped) stored with the end record.
    const std::vector<std::uint32_t>& PaletteEntries() const { return palette_; }
    // The decoded bitmaps of this metafile's records, shared by its playbacks.
    BitmapCache& Bitmaps() const { return bitmaps_; }

private:
    explicit EmfReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    bool Parse(std::string* error);
    void ReadPalette();

    std::vector<std::uint8_t> bytes_;
    std::size_t length_ = 0;
    EmfHeader header_;
    std::vector<std::uint32_t> palette_;
    mutable BitmapCache bitmaps_;
};

// Walks the records of a metafile from the header on. Next() returns false at
// the end-of-file record (included in the walk: it is handed out first) or
// at a record whose size cannot be trusted, in which case Reason() says what
// is wrong. Records whose size is sound but whose inside is not are passed
// over; Skipped() says which and why.
class RecordCursor {
public:
    explicit RecordCursor(const EmfReader& reader) : reader_(reader) {}
    bool Next(EmfRecord& out);
    const std::string& Reason() const { return reason_; }
    bool Damaged() const { return !reason_.empty(); }
    const std::vector<std::string>& Skipped() const { return skipped_; }

private:
    bool NextFramed(EmfRecord& out);

    const EmfReader& reader_;
    std::size_t offset_ = 0;
    std::uint32_t index_ = 0;
    bool done_ = false;
    std::string reason_;
    std::vector<std::string> skipped_;
};

// Checks the inside of one record against its type: minimum size, counts and
// offsets inside the record, object indices inside a table of `handles`
// slots. Empty when the record is sound, else the reason.
std::string ValidateRecord(const EmfRecord& record, std::uint32_t handles);

}  // namespace corvan::emf
