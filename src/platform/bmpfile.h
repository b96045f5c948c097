#pragma once
// BMP files: a 14-byte file header ("BM", file size, offset of the pixels) in
// front of a DIB. Reading accepts every DIB form the decoder knows; writing
// makes the plainest file every reader accepts: 24 bits per pixel, bottom-up,
// uncompressed.
#include "platform/dib.h"
#include "platform/outcome.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace corvan {

inline constexpr std::size_t kBmpFileHeaderSize = 14;

// Decodes a whole BMP file held in memory. A pixel offset that points into
// the headers or past the data is replaced by the position right after the
// colour table; an offset that cuts the table short is honoured when the
// pixels then fit, and the missing entries read as black. The colour use of
// `options` is ignored: BMP files always hold colours.
Outcome<DibImage> DecodeBmp(std::span<const std::uint8_t> file,
                            const DibDecodeOptions& options = {});
// Reads and decodes the BMP file at `path` (UTF-8).
Outcome<DibImage> ReadBmpFile(const std::string& path, const DibDecodeOptions& options = {});

// The complete 24-bit BMP file of a non-empty image.
Outcome<std::vector<std::uint8_t>> EncodeBmp(const Bitmap24& image);
// Writes EncodeBmp's bytes to `path` atomically: the old file, if any, stays
// untouched unless the new one was written completely.
Status WriteBmpFile(const Bitmap24& image, const std::string& path);

}  // namespace corvan
