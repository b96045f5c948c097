#pragma once
// TIFF pictures through libtiff (first page only): 1 to 16 bits, greyscale,
// palette, RGB, YCbCr, CMYK (colour-managed), strips or tiles, every
// compression libtiff reads, classic and BigTIFF. Alpha is laid on white
// and the orientation tag is honoured.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

namespace corvan {

DecodeResult DecodeTiff(const ImageSource& source, ProgressReporter& progress);

}  // namespace corvan
