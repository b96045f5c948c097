#pragma once
// Bitmap records for callers that draw them their own way: the fields of a
// STRETCHDIBITS record with its bitmap decoded, and a 24-bit block written
// at pixel coordinates with a ternary raster operation through the clip.
#include "platform/bitmap.h"
#include "platform/metafile/emf_reader.h"
#include "platform/metafile/gdi_device.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace corvan::emf {

struct StretchDibFields {
    std::int32_t destX = 0, destY = 0, destWidth = 0, destHeight = 0;
    std::int32_t srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;
    std::uint32_t usage = 0;  // 0 RGB colours, 1 palette indices
    std::uint32_t rop = 0;    // ternary raster operation
};

// The fields of a STRETCHDIBITS record; none when it is too short.
std::optional<StretchDibFields> ReadStretchDibFields(const EmfRecord& record);
// The record's whole bitmap as 24 bits, rows top down; null when it cannot
// be decoded (the reason goes to *error).
std::unique_ptr<Bitmap24> DecodeStretchDibBitmap(const EmfRecord& record, std::string* error = nullptr);

// Combines `block` with the device's pixels at `at` (device pixels) by the
// ternary raster operation `rop` (pattern = the current brush colour),
// inside the device's clip. The mapping plays no part.
void BlitBlock(GdiDevice& dc, const Bitmap24& block, QPoint at, std::uint32_t rop);

}  // namespace corvan::emf
