#include "command.h"

#include "imagelib/imageload.h"

#include <iostream>
#include <sstream>

namespace corvan::cli {
namespace {

std::string Resolution(const PictureInfo& info) {
    if (info.dpiX <= 0 || info.dpiY <= 0) return "not given";
    std::ostringstream out;
    out.precision(6);
    out << info.dpiX << " x " << info.dpiY << " dpi";
    return out.str();
}

// What the loader sees in a picture file, as the engine would load it.
int RunImageInfo(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("image-info takes one picture file");
    const ImageLoadResult r = LoadImage24(args[0], [](int, int) {});
    if (r.missing) return kFailed;  // the loader has said so
    if (!r.image) return Failure(r.error);
    const PictureInfo& i = r.info;
    std::cout << "Format:        " << i.format << "\n"
              << "Size:          " << r.image->Width() << " x " << r.image->Height() << " pixels\n"
              << "Resolution:    " << Resolution(i) << "\n"
              << "Colour space:  " << (i.colourSpace.empty() ? "RGB" : i.colourSpace);
    if (i.bitsPerSample > 0) std::cout << ", " << i.bitsPerSample << " bits per sample";
    std::cout << "\nProfile:       " << (i.profile.empty() ? "none" : i.profile) << "\n"
              << "Orientation:   " << i.orientation
              << (i.orientation == 1 ? " (as stored)" : " (turned for viewing)") << "\n";
    for (const auto& w : i.warnings) std::cout << "Warning:       " << w << "\n";
    return kOk;
}

CommandRegistrar reg({"image-info", "FILE             what the image loader sees in a picture file",
                      &RunImageInfo});

}  // namespace
}  // namespace corvan::cli
