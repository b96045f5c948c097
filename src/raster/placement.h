#pragma once
// The transform that puts an upright crop rectangle onto the media: mirrors,
// then a quarter turn counter-clockwise, then an offset. The coefficients are
// 0, 1 or -1, so the mapping is exact and reversible on whole pixels.
#include <cstdint>

namespace corvan {

struct PlacementMatrix {
    float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

struct IntPoint {
    std::int32_t x = 0, y = 0;
    bool operator==(const IntPoint&) const = default;
};

struct IntRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const IntRect&) const = default;
    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

// Maps the crop rectangle (pixels) so that it starts exactly at the target.
PlacementMatrix MakePlacement(bool mirrorX, bool mirrorY, bool rotate, const IntRect& crop,
                              std::int32_t targetX, std::int32_t targetY);
IntPoint ApplyPlacement(const PlacementMatrix& m, std::int32_t x, std::int32_t y);
IntPoint UnapplyPlacement(const PlacementMatrix& m, std::int32_t x, std::int32_t y);
// Bounding boxes of the four mapped corners.
IntRect PlacedBounds(const PlacementMatrix& m, const IntRect& r);
IntRect UnplacedBounds(const PlacementMatrix& m, const IntRect& r);
// Intersection of half-open rectangles (empty when they do not meet).
IntRect Intersect(const IntRect& a, const IntRect& b);

}  // namespace corvan
