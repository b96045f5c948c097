#pragma once
// Camera and scanner pictures store their pixels as captured and say in a
// tag how to turn them for viewing (EXIF/TIFF orientation 1 to 8).
#include "platform/bitmap.h"

#include <cstdint>
#include <memory>
#include <span>

namespace corvan {

// The orientation from the body of a JPEG APP1 marker ("Exif\0\0" and a
// TIFF structure); 1 (as stored) when absent or unreadable.
int ExifOrientation(std::span<const std::uint8_t> app1);
// The same from a bare TIFF structure (PNG eXIf, WebP EXIF without the prefix).
int TiffOrientation(std::span<const std::uint8_t> tiff);

// The picture turned and mirrored for viewing; orientation 1 or an unknown
// value gives the picture back unchanged. Null only when memory runs out.
std::unique_ptr<Bitmap24> ApplyOrientation(std::unique_ptr<Bitmap24> image, int orientation);

}  // namespace corvan
