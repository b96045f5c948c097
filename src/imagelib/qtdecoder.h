#pragma once
// Every other format Qt's image plug-ins read: GIF, Targa, WebP, ICO,
// PBM/PGM/PPM, XPM and more with the image-formats plug-ins installed.
// Transparent pixels are laid on white.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

namespace corvan {

DecodeResult DecodeWithQt(const ImageSource& source, ProgressReporter& progress);

}  // namespace corvan
