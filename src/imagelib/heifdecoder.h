#pragma once
// HEIF pictures (HEIC phone photos, AVIF) through libheif: the primary
// image, turned as the file says, alpha laid on white.
#include "imagelib/decoding.h"
#include "imagelib/imagesource.h"
#include "imagelib/progress.h"

#include <cstdint>
#include <span>

namespace corvan {

// From the first bytes of a file (12 are enough): an ISO media "ftyp" box
// with a HEIF or AVIF brand.
bool LooksLikeHeif(std::span<const std::uint8_t> head);

DecodeResult DecodeHeif(const ImageSource& source, ProgressReporter& progress);

}  // namespace corvan
