#pragma once
// Loads a picture file as a 24-bit bitmap.
#include "imagelib/progress.h"
#include "platform/bitmap.h"

#include <memory>
#include <string>

namespace corvan {

struct ImageLoadResult {
    std::unique_ptr<Bitmap24> image;  // none for an empty name, a missing file or an error
    std::string error;                // set when loading failed with an error
};

// An empty name gives nothing; a missing file shows "Cant find image: " and
// the name through the UI and gives nothing; a file that cannot be decoded,
// or whose picture is larger than MaxImageBytes() allows, gives an error
// text. While the picture decodes, `progress` receives stage 0 (starting),
// 1 (running, with percent) and 2 (ending); without a callback the stages
// go to the UI's progress handler.
ImageLoadResult LoadImage24(const std::string& path, const LoadProgress& progress = {});

}  // namespace corvan
