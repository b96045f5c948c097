#pragma once
// BMP pictures through our own DIB reader: every header form, 1 to 32 bits,
// RLE and bit fields. Pixels an RLE stream skips are white, as transparent
// parts of other formats are.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

namespace corvan {

DecodeResult DecodeBmpPicture(const ImageSource& source, ProgressReporter& progress);

}  // namespace corvan
