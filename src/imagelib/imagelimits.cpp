#include "imagelib/imagelimits.h"

#include "platform/imagesize.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <sstream>

namespace corvan {

namespace {

std::atomic<std::uint64_t> g_limit{0};

std::uint64_t LimitFromEnvironment() {
    const char* text = std::getenv("CORVANRIP_MAX_IMAGE_BYTES");
    if (!text || !*text) return 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (*end != '\0' || text[0] == '-') return 0;
    return value;
}

std::string Megabytes(std::uint64_t bytes) {
    std::ostringstream out;
    out.precision(1);
    out << std::fixed << static_cast<double>(bytes) / (1024.0 * 1024.0) << " MB";
    return out.str();
}

}  // namespace

std::uint64_t MaxImageBytes() {
    if (const std::uint64_t set = g_limit.load()) return set;
    if (const std::uint64_t env = LimitFromEnvironment()) return env;
    return kDefaultMaxImageBytes;
}

void SetMaxImageBytes(std::uint64_t bytes) {
    g_limit.store(bytes);
}

std::string CheckImageSize(std::int64_t width, std::int64_t height, unsigned extraBytesPerPixel) {
    if (width <= 0 || height <= 0) return "The picture has no pixels";
    const auto layout = CalculateImageLayout(width, height, 24);
    const std::uint64_t limit = MaxImageBytes();
    const std::uint64_t extra =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    // Past 2^62 nothing is representable anyway; saturate instead of wrapping.
    // Bitmaps are addressed with int coordinates.
    const bool huge =
        !layout || extra > (std::uint64_t{1} << 58) || width > INT32_MAX || height > INT32_MAX;
    const std::uint64_t need = huge ? UINT64_MAX : layout->bytes + extra * extraBytesPerPixel;
    if (!huge && need <= limit) return {};
    std::ostringstream msg;
    msg << "The picture is too large to load: " << width << " x " << height << " pixels need "
        << (huge ? std::string("more memory than can be addressed") : Megabytes(need))
        << ", more than the limit of " << Megabytes(limit) << " (CORVANRIP_MAX_IMAGE_BYTES)";
    return msg.str();
}

}  // namespace corvan
