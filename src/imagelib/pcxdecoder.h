#pragma once
// ZSoft PCX pictures: 1, 2, 4 and 8 bits in one to four planes (black and
// white, CGA, EGA, VGA palette) and 24-bit RGB in three planes, run-length
// encoded or raw.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

#include <cstdint>
#include <span>

namespace corvan {

// From the first bytes of a file (4 are enough).
bool LooksLikePcx(std::span<const std::uint8_t> head);

DecodeResult DecodePcx(const ImageSource& source, ProgressReporter& progress);

}  // namespace corvan
