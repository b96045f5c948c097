// Whole BMP files from untrusted sources: every input must decode or fail
// with a message, without reading outside the buffer.
#include "platform/bmpfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    corvan::DibDecodeOptions options;
    options.wantAlpha = true;
    options.unwrittenColour = 0xFFFFFF;
    // Keeps each run small; the limit itself is covered by the unit tests.
    options.maxPixels = std::int64_t{1} << 22;
    const auto image = corvan::DecodeBmp({data, size}, options);
    if (image) {
        // Touch the result so a wrong size shows up as a bad access.
        volatile std::uint8_t sink = image->pixels->Row(image->pixels->Height() - 1)[0];
        if (!image->alpha.empty()) sink = image->alpha.back();
        (void)sink;
    } else if (image.Error().empty()) {
        __builtin_trap();
    }
    return 0;
}
