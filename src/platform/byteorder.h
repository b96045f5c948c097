#pragma once
// Little-endian fields of Windows file formats. Readers take a span and an
// offset the caller has already checked against the span's size.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace corvan {

inline std::uint16_t ReadU16LE(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

inline std::uint32_t ReadU32LE(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
           (static_cast<std::uint32_t>(d[at + 2]) << 16) |
           (static_cast<std::uint32_t>(d[at + 3]) << 24);
}

inline std::int32_t ReadI32LE(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32LE(d, at));
}

inline void AppendU16LE(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void AppendU32LE(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

}  // namespace corvan
