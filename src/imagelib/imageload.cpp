#include "imagelib/imageload.h"

#include "platform/folders.h"
#include "platform/userinterface.h"

namespace corvan {

ImageLoadResult LoadImage24(const std::string& path, const LoadProgress& progress,
                            const DecodeOptions& options) {
    ImageLoadResult result;
    if (path.empty()) return result;
    if (!FileExists(path)) {
        result.missing = true;
        CurrentUi().ShowError("Cant find image: " + path);
        return result;
    }
    ProgressReporter reporter(progress ? progress : LoadProgress([](int stage, int percent) {
        CurrentUi().Progress(stage, percent, "Loading image");
    }));
    DecodeResult decoded = DecodeImageFile(path, reporter, options);
    result.image = std::move(decoded.image);
    result.error = std::move(decoded.error);
    result.info = std::move(decoded.info);
    return result;
}

}  // namespace corvan
