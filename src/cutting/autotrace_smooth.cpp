// Contour smoothing and thinning on `Tdot` lists.
#include "cutting/autotrace.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>

namespace corvan {

namespace {

constexpr int kMaxSmoothSize = 3199;
constexpr auto kThinLimit = std::chrono::seconds(30);

// Closes the list and empties it when it is too small to cut.
void CloseOrDrop(TdotList& dots, int minSize) {
    if (dots.size() < 2) {
        dots.clear();
        return;
    }
    dots.push_back(dots.front());
    const auto [minX, maxX] = std::minmax_element(dots.begin(), dots.end(),
                                                  [](const Tdot& a, const Tdot& b) { return a.X < b.X; });
    const auto [minY, maxY] = std::minmax_element(dots.begin(), dots.end(),
                                                  [](const Tdot& a, const Tdot& b) { return a.Y < b.Y; });
    if (maxX->X - minX->X <= float(minSize) && maxY->Y - minY->Y <= float(minSize)) dots.clear();
}

TdotList ToDots(const std::vector<QPointF>& line) {
    TdotList dots;
    dots.reserve(line.size() + 1);
    for (const QPointF p : line) dots.push_back({float(p.x()), float(p.y()), 0});
    return dots;
}

void Subdivide(TdotList& dots) {
    TdotList out{dots.front()};
    for (std::size_t i = 1; i < dots.size(); ++i) {
        const Tdot a = dots[i - 1], b = dots[i];
        const double length = std::hypot(double(b.X) - a.X, double(b.Y) - a.Y);
        if (length + 1 > 2) {
            const long n = std::lrint((length + 1) / 2);  // halves to even
            for (long k = 1; k <= n; ++k) {
                const double f = double(k) / double(n + 1);
                out.push_back({float(a.X + (b.X - a.X) * f), float(a.Y + (b.Y - a.Y) * f), 0});
            }
        }
        out.push_back(b);
    }
    dots = std::move(out);
}

// Averaged round the loop: the closing copy of the start is set aside and
// made again afterwards, so the smoothed contour still closes (averaging
// the copy like any other point would leave a gap for the knife).
void Average(TdotList& dots) {
    if (dots.size() < 3) return;
    dots.pop_back();
    const Tdot first = dots.front();
    for (std::size_t i = 0; i < dots.size(); ++i) {
        const Tdot& next = i + 1 < dots.size() ? dots[i + 1] : first;
        dots[i].X = (dots[i].X + next.X) / 2;
        dots[i].Y = (dots[i].Y + next.Y) / 2;
    }
    dots.push_back(dots.front());
}

}  // namespace

double TurnAngle(const Tdot& p, const Tdot& q, const Tdot& r) {
    const double ux = double(q.X) - p.X, uy = double(q.Y) - p.Y;
    const double vx = double(r.X) - q.X, vy = double(r.Y) - q.Y;
    const double g = std::hypot(ux, uy) * std::hypot(vx, vy);
    if (g == 0) return 90;
    const double a = std::acos(std::clamp((ux * vx + uy * vy) / g, -1.0, 1.0)) * 180 / std::numbers::pi;
    return std::isfinite(a) ? a : 0;
}

void SubdivideAndAverage(TdotList& dots) {
    if (dots.empty()) return;
    Subdivide(dots);
    Average(dots);
}

void ThinContour(TdotList& dots, double minAngle) {
    const auto until = std::chrono::steady_clock::now() + kThinLimit;
    for (bool removed = true; removed && std::chrono::steady_clock::now() < until;) {
        for (Tdot& d : dots) d.Flag = 0;
        for (std::size_t i = 1; i + 1 < dots.size(); ++i)
            if (dots[i - 1].Flag == 0 && TurnAngle(dots[i - 1], dots[i], dots[i + 1]) < minAngle) dots[i].Flag = 1;
        const auto end = std::remove_if(dots.begin(), dots.end(), [](const Tdot& d) { return d.Flag == 1; });
        removed = end != dots.end();
        dots.erase(end, dots.end());
    }
}

Outcome<std::vector<TdotList>> SmoothContours(const TracedContours& traced, const AutotraceSettings& s,
                                              AutotraceProgress* progress) {
    if (traced.width < 1) return Failure{"No valid metafile to smooth!"};
    if (traced.width > kMaxSmoothSize || traced.height > kMaxSmoothSize) return Failure{"Image too large to smooth"};
    std::vector<TdotList> out;
    const std::size_t n = traced.polylines.size();
    for (std::size_t i = n; i-- > 0;) {
        if (progress && !progress->Step(50 + int(50 * (n - i) / n))) return Failure{"Cancelled"};
        TdotList dots = ToDots(traced.polylines[i]);
        CloseOrDrop(dots, s.minSize);
        if (dots.empty()) continue;
        for (int pass = 0; pass < s.smoothing; ++pass) SubdivideAndAverage(dots);
        ThinContour(dots, s.minAngle);
        out.push_back(std::move(dots));
    }
    return out;
}

}  // namespace corvan
