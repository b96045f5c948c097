#pragma once
// The flattened composite image of Photoshop files (.psd, and .psb large
// documents): 8-bit RGB, CMYK (colour-managed, with the file's own ICC
// profile when it has one) and greyscale, raw or PackBits-compressed.
// Layers are skipped; the composite is what Photoshop saved for readers
// like us.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

#include <cstdint>
#include <span>

namespace corvan {

DecodeResult DecodePsd(const ImageSource& source, ProgressReporter& progress);

// PackBits: fills `out` completely from `in`; false when `in` runs out first.
// Output past the end of `out` is dropped.
bool UnpackBits(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

}  // namespace corvan
