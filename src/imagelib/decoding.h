#pragma once
// What every picture decoder gives back: a 24-bit image or the reason there
// is none, and what the file says about the picture. Decoders never show
// anything; the loader decides what to say.
#include "platform/bitmap.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace corvan {

// What the file tells about its picture, as far as the decoder learnt it.
struct PictureInfo {
    std::string format;                 // "JPEG", "TIFF", ...
    std::string colourSpace;            // "RGB", "greyscale", "CMYK", "L*a*b*", "palette", ...
    int bitsPerSample = 0;              // 0 when not told
    double dpiX = 0, dpiY = 0;          // 0 when the file gives no resolution
    std::string profile;                // the embedded ICC profile's description, empty for none
    int orientation = 1;                // EXIF/TIFF orientation that was applied
    std::vector<std::string> warnings;  // damage the decoder worked around, in the user's words
};

struct DecodeResult {
    std::unique_ptr<Bitmap24> image;
    std::string error;  // set exactly when image is null, in the user's words
    PictureInfo info;

    static DecodeResult Failed(std::string message) { return {nullptr, std::move(message), {}}; }
};

inline constexpr const char* kOutOfMemory = "Not enough memory for the picture";

// "The <format> file is damaged" with the detail in brackets when there is one.
std::string DamagedFile(const std::string& format, const std::string& detail = {});
// The file's own words go to the debug log only; the user sees ours.
void LogDecoderText(const std::string& format, const std::string& text);

// The description an ICC profile gives itself; empty when unreadable.
std::string ProfileDescription(std::span<const std::uint8_t> icc);

// A decoded picture that stores its pixels as captured, turned for viewing
// (EXIF/TIFF orientation 1 to 8), with the orientation noted in `info`.
DecodeResult Oriented(DecodeResult result, int orientation);

}  // namespace corvan
