// Picture files from untrusted sources through the whole loader: sniffing,
// every decoder (HEIF and PCX too) and the size guard. Each input must
// decode or fail with a message, without reading outside its bytes.
// Ghostscript is left out: it is a separate program, and starting it for
// every input would stall the run.
#include "imagelib/imagedecoder.h"
#include "imagelib/imagelimits.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;  // fmemopen refuses an empty buffer
    // Keeps each run small; the limit itself is covered by the unit tests.
    corvan::SetMaxImageBytes(std::uint64_t{48} << 20);
    setenv("CORVANRIP_GS", "none", 1);
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!file) return 0;
    corvan::ProgressReporter progress;
    const auto result = corvan::DecodeImage({file, 0, size, {}}, progress);
    std::fclose(file);
    if (result.image) {
        // Touch the last row so a wrong size shows up as a bad access.
        const auto& img = *result.image;
        volatile std::uint8_t sink = img.Row(img.Height() - 1)[3 * img.Width() - 1];
        (void)sink;
    } else if (result.error.empty()) {
        __builtin_trap();
    }
    return 0;
}
