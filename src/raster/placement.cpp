#include "raster/placement.h"

#include "platform/numbers.h"

#include <algorithm>

namespace corvan {

namespace {
std::int32_t Rnd(long double v) { return RoundToInt(v); }

template <typename MapFn>
IntRect CornerBounds(const IntRect& r, MapFn map) {
    const IntPoint p[4] = {map(r.left, r.top), map(r.right, r.top), map(r.right, r.bottom),
                           map(r.left, r.bottom)};
    IntRect b{p[0].x, p[0].y, p[0].x, p[0].y};
    for (const auto& q : p) {
        b.left = std::min(b.left, q.x);
        b.top = std::min(b.top, q.y);
        b.right = std::max(b.right, q.x);
        b.bottom = std::max(b.bottom, q.y);
    }
    return b;
}
}  // namespace

PlacementMatrix MakePlacement(bool mirrorX, bool mirrorY, bool rotate, const IntRect& crop,
                              std::int32_t targetX, std::int32_t targetY) {
    PlacementMatrix m;
    m.m11 = mirrorX ? -1.0f : 1.0f;
    m.m22 = mirrorY ? -1.0f : 1.0f;
    if (rotate) {
        const PlacementMatrix old = m;
        m.m11 = old.m12;
        m.m21 = old.m22;
        m.m12 = -old.m11;
        m.m22 = -old.m21;
    }
    const IntRect mapped = PlacedBounds(m, crop);
    m.dx = static_cast<float>(targetX - mapped.left);
    m.dy = static_cast<float>(targetY - mapped.top);
    return m;
}

IntPoint ApplyPlacement(const PlacementMatrix& m, std::int32_t x, std::int32_t y) {
    const long double fx = x, fy = y;
    return {Rnd(m.m11 * fx + m.m21 * fy + m.dx), Rnd(m.m12 * fx + m.m22 * fy + m.dy)};
}

IntPoint UnapplyPlacement(const PlacementMatrix& m, std::int32_t x, std::int32_t y) {
    const long double fx = x, fy = y;
    if (m.m11 != 0) return {Rnd((fx - m.dx) / m.m11), Rnd((fy - m.dy) / m.m22)};
    return {Rnd((fy - m.dy) / m.m12), Rnd((fx - m.dx) / m.m21)};
}

IntRect PlacedBounds(const PlacementMatrix& m, const IntRect& r) {
    return CornerBounds(r, [&](std::int32_t x, std::int32_t y) { return ApplyPlacement(m, x, y); });
}

IntRect UnplacedBounds(const PlacementMatrix& m, const IntRect& r) {
    return CornerBounds(r, [&](std::int32_t x, std::int32_t y) { return UnapplyPlacement(m, x, y); });
}

IntRect Intersect(const IntRect& a, const IntRect& b) {
    IntRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    if (r.Empty()) return {};
    return r;
}

}  // namespace corvan
