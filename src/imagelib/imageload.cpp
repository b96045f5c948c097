#include "imagelib/imageload.h"

#include "platform/folders.h"

namespace corvan {

ImageLoadResult LoadImage24(const std::string& path, const LoadProgress& progress,
                            const DecodeOptions& options) {
    ImageLoadResult result;
    if (path.empty()) return result;
    if (!FileExists(path)) {
        result.missing = true;
        return result;
    }
    ProgressReporter reporter(progress ? progress : LoadProgress([](int, int) {}));
    DecodeResult decoded = DecodeImageFile(path, reporter, options);
    result.image = std::move(decoded.image);
    result.error = std::move(decoded.error);
    result.info = std::move(decoded.info);
    return result;
}

std::string MissingImageText(const std::string& path) {
    return "Cant find image: " + path;
}

}  // namespace corvan
