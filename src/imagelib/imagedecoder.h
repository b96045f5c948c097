#pragma once
// Reads a picture file of any format we know into a 24-bit bitmap. The
// format is told from the first bytes, not from the file name: sign-shop
// files travel with wrong or missing extensions.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

#include <cstdint>
#include <span>
#include <string>

namespace corvan {

enum class ImageFormat { Other, Jpeg, Png, Tiff, Psd, Eps, Bmp, Tga, Pcx, Heif, PostScript, Pdf };

// From the first bytes of a file (18 are enough); Other for formats left to Qt.
ImageFormat SniffImageFormat(std::span<const std::uint8_t> head);

struct DecodeOptions {
    // Resolution at which pages without pixels (EPS, PostScript, PDF) are drawn.
    double vectorDpi = 150;
};

DecodeResult DecodeImage(const ImageSource& source, ProgressReporter& progress,
                         const DecodeOptions& options = {});
DecodeResult DecodeImageFile(const std::string& path, ProgressReporter& progress,
                             const DecodeOptions& options = {});

}  // namespace corvan
