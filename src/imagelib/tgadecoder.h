#pragma once
// Targa pictures: colour-mapped, true-colour and greyscale, raw or RLE,
// 8 to 32 bits, any corner as origin. Our own reader, because Qt's plug-in
// reads only version 2 files (with the footer) and many tools write version 1.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

#include <cstdint>
#include <span>

namespace corvan {

// Targa has no signature: true when the first 18 bytes make a header we
// can read. Other formats' signatures all fail it.
bool LooksLikeTga(std::span<const std::uint8_t> head);

DecodeResult DecodeTga(const ImageSource& source, ProgressReporter& progress);

}  // namespace corvan
