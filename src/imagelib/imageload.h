#pragma once
// Loads a picture file as a 24-bit bitmap.
#include "imagelib/decoding.h"
#include "imagelib/imagedecoder.h"
#include "imagelib/progress.h"
#include "platform/bitmap.h"

#include <memory>
#include <string>

namespace corvan {

struct ImageLoadResult {
    std::unique_ptr<Bitmap24> image;  // none for an empty name, a missing file or an error
    std::string error;                // why there is no image, in the user's words
    bool missing = false;             // the file does not exist (no error text)
    PictureInfo info;                 // what the file says about the picture
};

// An empty name gives nothing; a missing file gives nothing but `missing`
// (callers tell the user "Cant find image: " and the name); a file that
// cannot be decoded, or whose picture is larger than MaxImageBytes()
// allows, gives an error text meant for the user (the libraries' own words
// go to the debug log). While the picture decodes,
// `progress` receives stage 0 (starting), 1 (running, with percent) and 2
// (ending).
// Pages without pixels (EPS, PostScript, PDF) are drawn at options.vectorDpi.
ImageLoadResult LoadImage24(const std::string& path, const LoadProgress& progress = {},
                            const DecodeOptions& options = {});

// What the user is told about a picture file that is not there.
std::string MissingImageText(const std::string& path);

}  // namespace corvan
