#pragma once
// Overflow-checked sizes for every image buffer we allocate. An empty result
// means the request cannot be represented (negative, zero-free overflow, or
// larger than the address space), never a wrapped small number.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace corvan {

struct ImageLayout {
    std::size_t stride = 0;  // bytes per row, padded to 4 bytes
    std::size_t bytes = 0;   // stride * height
};

// Row bytes for `width` pixels of `bitsPerPixel`, padded to a multiple of 4.
std::optional<std::size_t> PaddedStride(std::int64_t width, int bitsPerPixel);

// Stride and total size of a width x height image. Zero width or height is
// allowed (an empty image); negative values are not.
std::optional<ImageLayout> CalculateImageLayout(std::int64_t width, std::int64_t height,
                                                int bitsPerPixel);

}  // namespace corvan
