#pragma once
// Loads a picture file as a 24-bit bitmap.
#include "platform/bitmap.h"

#include <functional>
#include <memory>
#include <string>

namespace corvan {

// stage: 0 starting, 1 running (percent valid), 2 ending.
using LoadProgress = std::function<void(int stage, int percent)>;

struct ImageLoadResult {
    std::unique_ptr<Bitmap24> image;  // none for an empty name, a missing file or an error
    std::string error;                // set when loading failed with an error
};

// An empty name gives nothing; a missing file shows "Cant find image: " and
// the name through the UI and gives nothing; a file that cannot be decoded
// gives an error text.
ImageLoadResult LoadImage24(const std::string& path, const LoadProgress& progress = {});

}  // namespace corvan
