#pragma once
// The largest picture we agree to decode, judged from its header before any
// pixel memory is taken, so that a huge or lying file is refused with a
// message instead of exhausting memory.
#include <cstdint>
#include <string>

namespace corvan {

inline constexpr std::uint64_t kDefaultMaxImageBytes = std::uint64_t{2} << 30;  // 2 GiB

// The limit in bytes of the decoded 24-bit image: the value given to
// SetMaxImageBytes, else the environment variable CORVANRIP_MAX_IMAGE_BYTES
// (a positive decimal number of bytes), else 2 GiB.
std::uint64_t MaxImageBytes();
// 0 goes back to the environment variable or the default.
void SetMaxImageBytes(std::uint64_t bytes);

// Empty when a width x height picture may be decoded, else the message to
// show. `extraBytesPerPixel` counts what a decoder holds besides the 24-bit
// result (a CMYK plane set, a 32-bit work image).
std::string CheckImageSize(std::int64_t width, std::int64_t height,
                           unsigned extraBytesPerPixel = 0);

}  // namespace corvan
