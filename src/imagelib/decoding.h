#pragma once
// What every picture decoder gives back: a 24-bit image or the reason there
// is none. Decoders never show anything; the loader decides what to say.
#include "platform/bitmap.h"

#include <memory>
#include <string>

namespace corvan {

struct DecodeResult {
    std::unique_ptr<Bitmap24> image;
    std::string error;  // set exactly when image is null

    static DecodeResult Failed(std::string message) { return {nullptr, std::move(message)}; }
};

inline constexpr const char* kOutOfMemory = "Not enough memory for the picture";

}  // namespace corvan
