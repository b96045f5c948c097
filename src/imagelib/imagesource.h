#pragma once
// Where a picture's bytes are: a span of an open file. A picture may be a
// whole file or a part of one (the TIFF preview inside an EPS file); every
// read through RangeReader stays inside the span.
#include <cstdint>
#include <cstdio>
#include <string>

namespace corvan {

struct ImageSource {
    std::FILE* file = nullptr;
    std::uint64_t offset = 0;  // first byte of the picture in the file
    std::uint64_t length = 0;  // bytes that belong to the picture
    std::string path;          // the file's name when the span is the whole file, else empty
};

// Bounded reads from an ImageSource. A read that would cross the end of the
// span fails and reads nothing; positions are relative to the span's start.
class RangeReader {
public:
    explicit RangeReader(const ImageSource& source) : source_(source) {}

    bool Read(void* buffer, std::size_t bytes);
    // Reads up to `bytes`, stopping at the end of the span; returns the count.
    std::size_t ReadSome(void* buffer, std::size_t bytes);
    bool Seek(std::uint64_t position);
    bool Skip(std::uint64_t bytes) { return bytes <= Remaining() && Seek(position_ + bytes); }
    std::uint64_t Tell() const { return position_; }
    std::uint64_t Size() const { return source_.length; }
    std::uint64_t Remaining() const { return source_.length - position_; }

    bool ReadU8(std::uint8_t& v) { return Read(&v, 1); }
    bool ReadBE16(std::uint16_t& v);
    bool ReadBE32(std::uint32_t& v);
    bool ReadBE64(std::uint64_t& v);
    bool ReadLE32(std::uint32_t& v);

private:
    ImageSource source_;
    std::uint64_t position_ = 0;
    bool positioned_ = false;  // the file's own position equals ours
};

// The length of an open file, or 0 when it cannot be told.
std::uint64_t FileLength(std::FILE* file);

}  // namespace corvan
