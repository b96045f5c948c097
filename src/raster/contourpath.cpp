#include "raster/contourpath.h"

#include <algorithm>

namespace corvan {

bool ClipSegment(const IntRect& r, IntPoint& p1, IntPoint& p2) {
    const std::int64_t L = r.left, T = r.top, R = r.right, B = r.bottom;
    auto outside = [&] {
        const std::int64_t minX = std::min(p1.x, p2.x), maxX = std::max(p1.x, p2.x);
        const std::int64_t minY = std::min(p1.y, p2.y), maxY = std::max(p1.y, p2.y);
        return L >= maxX || minX >= R || minY >= B || T >= maxY;
    };
    if (outside()) return false;
    if (std::min(p1.x, p2.x) >= L && std::min(p1.y, p2.y) >= T && std::max(p1.x, p2.x) <= R &&
        std::max(p1.y, p2.y) <= B)
        return true;
    // Slopes from the original segment; every step sees the points as the
    // previous steps left them.
    const std::int64_t dx = std::int64_t{p2.x} - p1.x, dy = std::int64_t{p2.y} - p1.y;
    auto set = [](std::int32_t& v, std::int64_t n) { v = static_cast<std::int32_t>(n); };
    if (dx < 0) {
        if (p2.x < L) { set(p2.y, dy * (L - p1.x) / dx + p1.y); set(p2.x, L); }
        if (R < p1.x) { set(p1.y, p1.y + dy * (R - p1.x) / dx); set(p1.x, R); }
    } else if (dx > 0) {
        if (R < p2.x) { set(p2.y, dy * (R - p1.x) / dx + p1.y); set(p2.x, R); }
        if (p1.x < L) { set(p1.y, p1.y + dy * (L - p1.x) / dx); set(p1.x, L); }
    }
    if (dy < 0) {
        if (p2.y < T) { set(p2.x, dx * (T - p1.y) / dy + p1.x); set(p2.y, T); }
        if (B < p1.y) { set(p1.x, p1.x + dx * (B - p1.y) / dy); set(p1.y, B); }
    } else if (dy > 0) {
        if (B < p2.y) { set(p2.x, dx * (B - p1.y) / dy + p1.x); set(p2.y, B); }
        if (p1.y < T) { set(p1.x, p1.x + dx * (T - p1.y) / dy); set(p1.y, T); }
    }
    return !outside();
}

void ClipPolyline(const IntRect& r, ContourPath& path) {
    if (path.Empty()) return;
    struct Segment { IntPoint a, b; };
    std::vector<Segment> segments;
    auto clipAdd = [&](IntPoint a, IntPoint b) {
        if (ClipSegment(r, a, b)) segments.push_back({a, b});
    };
    IntPoint prev = path.points[0], start = path.points[0];
    for (std::size_t i = 1; i < path.points.size(); ++i) {
        const IntPoint p = path.points[i];
        const std::uint8_t t = path.types[i];
        if ((t & kPtMoveTo) == kPtMoveTo) {
            start = prev = p;
            continue;
        }
        clipAdd(prev, p);
        prev = p;
        if (t & kPtCloseFigure) {
            clipAdd(p, start);
            prev = start;
        }
    }
    ContourPath out;
    IntPoint lastEnd{-1, -1};
    for (const auto& s : segments) {
        if (!(s.a == lastEnd)) out.Add(s.a, kPtMoveTo);
        out.Add(s.b, kPtLineTo);
        lastEnd = s.b;
    }
    path = std::move(out);
}

}  // namespace corvan
