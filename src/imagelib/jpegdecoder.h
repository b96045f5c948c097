#pragma once
// JPEG pictures through libjpeg-turbo: greyscale, YCbCr/RGB, CMYK and YCCK
// (Adobe's inverted CMYK too), baseline and progressive; the EXIF
// orientation is honoured and an embedded ICC profile drives CMYK.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

namespace corvan {

DecodeResult DecodeJpeg(const ImageSource& source, ProgressReporter& progress);

}  // namespace corvan
