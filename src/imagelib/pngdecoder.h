#pragma once
// PNG pictures through libpng: palette, greyscale, RGB, 1 to 16 bits,
// interlaced or not; transparency (alpha or a tRNS chunk) is laid on white.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

namespace corvan {

DecodeResult DecodePng(const ImageSource& source, ProgressReporter& progress);

}  // namespace corvan
