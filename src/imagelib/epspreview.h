#pragma once
// Encapsulated PostScript files in the DOS binary form (header C5 D0 D3 C6)
// carry a TIFF preview next to the PostScript; we show that preview. We do
// not interpret PostScript, so an EPS without a TIFF preview is refused.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

namespace corvan {

DecodeResult DecodeEpsPreview(const ImageSource& source, ProgressReporter& progress);

}  // namespace corvan
