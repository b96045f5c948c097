#pragma once
// Base64 with the standard alphabet (A-Z, a-z, 0-9, "+", "/") and "="
// padding, as stored in text files that carry small binary blobs such as
// project thumbnails.
#include "platform/outcome.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

// 45 input bytes make one 60-character line.
inline constexpr std::size_t kBase64BytesPerLine = 45;

// The whole encoding as one string, no line breaks.
std::string Base64Encode(std::span<const std::uint8_t> bytes);
// The encoding cut into lines of `bytesPerLine` input bytes each (every line
// but the last holds 4/3 as many characters); no lines for no bytes.
// `bytesPerLine` is rounded up to a multiple of 3 so no line needs padding.
std::vector<std::string> Base64EncodeLines(std::span<const std::uint8_t> bytes,
                                           std::size_t bytesPerLine = kBase64BytesPerLine);
// Decodes text in which line breaks, carriage returns, tabs and blanks may
// appear anywhere; anything else outside the alphabet, misplaced padding or a
// length that is not a whole number of 4-character groups is refused.
Outcome<std::vector<std::uint8_t>> Base64Decode(std::string_view text);

}  // namespace corvan
