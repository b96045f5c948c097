#include "platform/imagesize.h"

#include <limits>

namespace corvan {

std::optional<std::size_t> PaddedStride(std::int64_t width, int bitsPerPixel) {
    if (width < 0 || bitsPerPixel <= 0 || bitsPerPixel > 64) return std::nullopt;
    // width < 2^62 keeps width * 64 + 31 inside 64 bits.
    if (width > (std::int64_t{1} << 40)) return std::nullopt;
    const std::uint64_t bits = static_cast<std::uint64_t>(width) * static_cast<unsigned>(bitsPerPixel);
    const std::uint64_t stride = ((bits + 31) / 32) * 4;
    if (stride > std::numeric_limits<std::size_t>::max()) return std::nullopt;
    return static_cast<std::size_t>(stride);
}

std::optional<ImageLayout> CalculateImageLayout(std::int64_t width, std::int64_t height,
                                                int bitsPerPixel) {
    if (height < 0) return std::nullopt;
    auto stride = PaddedStride(width, bitsPerPixel);
    if (!stride) return std::nullopt;
    const std::uint64_t h = static_cast<std::uint64_t>(height);
    if (h != 0 && *stride > std::numeric_limits<std::size_t>::max() / h) return std::nullopt;
    // Keep every buffer addressable with a signed 64-bit offset.
    const std::uint64_t total = *stride * h;
    if (total > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        return std::nullopt;
    return ImageLayout{*stride, static_cast<std::size_t>(total)};
}

}  // namespace corvan
