#pragma once
// Cut outlines as points with one type byte each: 6 starts a figure, 2 draws
// a line to the point, and bit value 1 closes the figure after the point.
#include "raster/placement.h"

#include <cstdint>
#include <vector>

namespace corvan {

inline constexpr std::uint8_t kPtMoveTo = 6;
inline constexpr std::uint8_t kPtLineTo = 2;
inline constexpr std::uint8_t kPtCloseFigure = 1;

struct ContourPath {
    std::vector<IntPoint> points;
    std::vector<std::uint8_t> types;

    bool Empty() const { return points.empty(); }
    void Add(IntPoint p, std::uint8_t type) {
        points.push_back(p);
        types.push_back(type);
    }
    void Clear() {
        points.clear();
        types.clear();
    }
};

// Clips the segment to the rectangle with integer arithmetic, moving its end
// points onto the edges; false when nothing of it is visible.
bool ClipSegment(const IntRect& r, IntPoint& p1, IntPoint& p2);
// Replaces the path by its visible pieces (closing segments made explicit),
// joining pieces that touch.
void ClipPolyline(const IntRect& r, ContourPath& path);

}  // namespace corvan
