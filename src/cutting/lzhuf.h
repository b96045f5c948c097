#pragma once
// LZHUF: LZSS over a 4096-byte ring buffer (preset to blanks, coding from
// position 4036, look-ahead 60, matches of 3 or more bytes) with adaptive
// Huffman coding of 314 symbols (rescaled at 32768) and 12-bit positions
// whose upper 6 bits use a fixed prefix code. Bits run most significant
// first; the last byte is padded with zero bits. This is the coding the vinyl
// spooler reads inside cut files.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvan {

std::vector<std::uint8_t> LzhufEncode(std::span<const std::uint8_t> data);
// Decodes exactly `length` bytes; empty with a reason when the stream ends
// early or the length is impossible for the input.
std::optional<std::vector<std::uint8_t>> LzhufDecode(std::span<const std::uint8_t> coded,
                                                     std::size_t length, std::string* reason = nullptr);

}  // namespace corvan
