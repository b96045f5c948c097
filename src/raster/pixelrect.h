#pragma once
// A rectangle in image pixels: left, top, right, bottom as the drawing
// interface keeps them (right and bottom are whatever the caller means by
// them; nothing here assumes inclusive or exclusive ends).
#include <cstdint>

namespace corvan {

struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace corvan
