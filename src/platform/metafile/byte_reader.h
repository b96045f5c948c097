#pragma once
// Little-endian reads from a byte span that can never leave it: a read past
// the end yields zero and marks the reader failed, so a parser reads all its
// fields and then checks Ok() once before it acts on them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace corvan::emf {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes, std::size_t pos = 0)
        : bytes_(bytes), pos_(pos) {}

    bool Ok() const { return ok_; }
    std::size_t Pos() const { return pos_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Remaining() const { return pos_ <= bytes_.size() ? bytes_.size() - pos_ : 0; }
    void Seek(std::size_t pos) {
        if (pos > bytes_.size()) ok_ = false;
        pos_ = pos;
    }
    void Skip(std::size_t n) { Seek(n <= Remaining() ? pos_ + n : bytes_.size() + 1); }

    std::uint8_t U8() { return Read<std::uint8_t>(); }
    std::uint16_t U16() { return Read<std::uint16_t>(); }
    std::int16_t I16() { return Read<std::int16_t>(); }
    std::uint32_t U32() { return Read<std::uint32_t>(); }
    std::int32_t I32() { return Read<std::int32_t>(); }
    float F32() { return Read<float>(); }

    // The next n bytes, or an empty span (and failure) when they are not there.
    std::span<const std::uint8_t> Bytes(std::size_t n) {
        if (!ok_ || n > Remaining()) {
            ok_ = false;
            return {};
        }
        auto s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }

private:
    template <typename T>
    T Read() {
        T v{};
        if (!ok_ || sizeof(T) > Remaining()) {
            ok_ = false;
            return v;
        }
        std::memcpy(&v, bytes_.data() + pos_, sizeof(T));  // host is little-endian
        pos_ += sizeof(T);
        return v;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// True when [offset, offset + size) lies inside a block of `total` bytes,
// computed without overflow.
constexpr bool RangeInside(std::uint64_t offset, std::uint64_t size, std::uint64_t total) {
    return offset <= total && size <= total - offset;
}

}  // namespace corvan::emf
