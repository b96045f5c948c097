#pragma once
// Encapsulated PostScript files in the DOS binary form (header C5 D0 D3 C6)
// carry a TIFF preview next to the PostScript; we show that preview. One
// without a TIFF preview has its PostScript drawn by Ghostscript at `dpi`.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

namespace corvan {

DecodeResult DecodeEpsPreview(const ImageSource& source, double dpi, ProgressReporter& progress);

}  // namespace corvan
