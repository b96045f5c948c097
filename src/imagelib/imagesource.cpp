#include "imagelib/imagesource.h"

#include <sys/types.h>

namespace corvan {

bool RangeReader::Seek(std::uint64_t position) {
    if (position > source_.length) return false;
    if (position != position_) positioned_ = false;
    position_ = position;
    return true;
}

std::size_t RangeReader::ReadSome(void* buffer, std::size_t bytes) {
    if (bytes > Remaining()) bytes = static_cast<std::size_t>(Remaining());
    if (bytes == 0) return 0;
    if (!positioned_) {
        if (fseeko(source_.file, static_cast<off_t>(source_.offset + position_), SEEK_SET) != 0)
            return 0;
        positioned_ = true;
    }
    const std::size_t got = std::fread(buffer, 1, bytes, source_.file);
    position_ += got;
    if (got != bytes) positioned_ = false;
    return got;
}

bool RangeReader::Read(void* buffer, std::size_t bytes) {
    if (bytes > Remaining()) return false;
    return ReadSome(buffer, bytes) == bytes;
}

bool RangeReader::ReadBE16(std::uint16_t& v) {
    std::uint8_t b[2];
    if (!Read(b, 2)) return false;
    v = static_cast<std::uint16_t>(b[0] << 8 | b[1]);
    return true;
}

bool RangeReader::ReadBE32(std::uint32_t& v) {
    std::uint8_t b[4];
    if (!Read(b, 4)) return false;
    v = std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
    return true;
}

bool RangeReader::ReadBE64(std::uint64_t& v) {
    std::uint32_t hi = 0, lo = 0;
    if (!ReadBE32(hi) || !ReadBE32(lo)) return false;
    v = std::uint64_t{hi} << 32 | lo;
    return true;
}

bool RangeReader::ReadLE32(std::uint32_t& v) {
    std::uint8_t b[4];
    if (!Read(b, 4)) return false;
    v = std::uint32_t{b[3]} << 24 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[1]} << 8 | b[0];
    return true;
}

std::uint64_t FileLength(std::FILE* file) {
    const off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0) return 0;
    const off_t end = ftello(file);
    fseeko(file, here, SEEK_SET);
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

}  // namespace corvan
