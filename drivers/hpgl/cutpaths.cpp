#include "hpgl/cutpaths.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace drv {

namespace {

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
    double Area() const { return (right - left) * (bottom - top); }
    bool Holds(const Box& b) const { return b.left >= left && b.right <= right && b.top >= top && b.bottom <= bottom; }
};

Box BoundsOf(const std::vector<CutPoint>& pts) {
    Box b{pts.front().x, pts.front().y, pts.front().x, pts.front().y};
    for (const CutPoint& p : pts) {
        b.left = std::min(b.left, p.x), b.right = std::max(b.right, p.x);
        b.top = std::min(b.top, p.y), b.bottom = std::max(b.bottom, p.y);
    }
    return b;
}

double Distance(CutPoint a, CutPoint b) { return std::hypot(b.x - a.x, b.y - a.y); }

// Even-odd rule over the closed polygon.
bool Inside(const std::vector<CutPoint>& poly, CutPoint p) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const CutPoint a = poly[i], b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

// Whether `outer` (closed) contains `inner`: a smaller box within its box
// and most of the inner figure's points inside it (points on a shared edge
// count either way).
bool Contains(const CutFigure& outer, const Box& ob, const CutFigure& inner, const Box& ib) {
    if (!outer.closed || outer.points.size() < 3 || !ob.Holds(ib) || !(ib.Area() < ob.Area())) return false;
    std::size_t in = 0;
    for (const CutPoint& p : inner.points) in += Inside(outer.points, p);
    return 2 * in > inner.points.size();
}

// Turns the figure to start as near `from` as it can: a closed one at its
// nearest vertex, an open one from its nearer end. Returns that distance.
double StartNear(CutFigure& f, CutPoint from, bool apply) {
    std::vector<CutPoint>& p = f.points;
    if (!f.closed) {
        const bool reverse = Distance(from, p.back()) < Distance(from, p.front());
        if (apply && reverse) std::reverse(p.begin(), p.end());
        return std::min(Distance(from, p.front()), Distance(from, p.back()));
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i + 1 < p.size(); ++i)
        if (Distance(from, p[i]) < Distance(from, p[best])) best = i;
    const double d = Distance(from, p[best]);
    if (apply && best > 0) {
        p.pop_back();  // the closing copy of the old start
        std::rotate(p.begin(), p.begin() + static_cast<std::ptrdiff_t>(best), p.end());
        p.push_back(p.front());
    }
    return d;
}

CutPoint Along(CutPoint a, CutPoint b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// The unit direction of a -> b.
CutPoint Direction(CutPoint a, CutPoint b) {
    const double d = Distance(a, b);
    return {(b.x - a.x) / d, (b.y - a.y) / d};
}

CutPoint Ahead(CutPoint p, CutPoint u, double r) { return {p.x + r * u.x, p.y + r * u.y}; }

// The axis swivelling about `centre` from direction u to v, the short way
// round, in steps of at most ten degrees (the end point included).
void Swivel(std::vector<CutPoint>& out, CutPoint centre, CutPoint u, CutPoint v, double r) {
    const double a0 = std::atan2(u.y, u.x);
    double sweep = std::atan2(v.y, v.x) - a0;
    while (sweep > std::numbers::pi) sweep -= 2 * std::numbers::pi;
    while (sweep < -std::numbers::pi) sweep += 2 * std::numbers::pi;
    if (std::abs(sweep) * 180 / std::numbers::pi < kSwivelMinTurn) {
        out.push_back(Ahead(centre, v, r));
        return;
    }
    const int steps = std::max(1, int(std::ceil(std::abs(sweep) / (10 * std::numbers::pi / 180))));
    for (int k = 1; k <= steps; ++k) {
        const double a = a0 + sweep * k / steps;
        out.push_back({centre.x + r * std::cos(a), centre.y + r * std::sin(a)});
    }
}

std::vector<CutPoint> WithoutRepeats(const std::vector<CutPoint>& pts) {
    std::vector<CutPoint> out;
    for (const CutPoint& p : pts)
        if (out.empty() || Distance(out.back(), p) > 1e-9) out.push_back(p);
    return out;
}

}  // namespace

CutFigure WeedingBorder(const std::vector<CutFigure>& figures, double margin) {
    std::vector<CutPoint> all;
    for (const CutFigure& f : figures) all.insert(all.end(), f.points.begin(), f.points.end());
    if (all.empty()) return {};
    const Box b = BoundsOf(all);
    const double l = b.left - margin, t = b.top - margin, r = b.right + margin, d = b.bottom + margin;
    return {{{l, t}, {r, t}, {r, d}, {l, d}, {l, t}}, true};
}

std::vector<CutFigure> OrderFigures(std::vector<CutFigure> figures) {
    const std::size_t n = figures.size();
    std::vector<Box> boxes;
    for (const CutFigure& f : figures) boxes.push_back(f.points.empty() ? Box{} : BoundsOf(f.points));
    // holds[i]: the figures that i contains; i waits until they are cut.
    std::vector<std::vector<std::size_t>> holds(n);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            if (i != j && !figures[j].points.empty() && Contains(figures[i], boxes[i], figures[j], boxes[j]))
                holds[i].push_back(j);
    std::vector<bool> done(n, false);
    std::vector<CutFigure> out;
    CutPoint at{0, 0};
    for (std::size_t left = n; left > 0; --left) {
        std::size_t pick = n;
        double best = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < n; ++i) {
            if (done[i] || figures[i].points.empty()) continue;
            if (std::any_of(holds[i].begin(), holds[i].end(), [&](std::size_t j) { return !done[j]; })) continue;
            const double d = StartNear(figures[i], at, false);
            if (d < best) best = d, pick = i;
        }
        if (pick == n) break;  // only empty figures remain
        StartNear(figures[pick], at, true);
        done[pick] = true;
        at = figures[pick].points.back();
        out.push_back(std::move(figures[pick]));
    }
    return out;
}

CutFigure Overcut(const CutFigure& figure, double length) {
    CutFigure out{figure.points, false};
    const std::vector<CutPoint>& p = figure.points;
    for (std::size_t i = 1; i < p.size() && length > 0; ++i) {
        const double d = Distance(p[i - 1], p[i]);
        if (d >= length) {
            out.points.push_back(Along(p[i - 1], p[i], length / d));
            break;
        }
        out.points.push_back(p[i]);
        length -= d;
    }
    return out;
}

CutFigure BladeOffsetPath(const CutFigure& figure, double r, std::optional<CutPoint> lead) {
    const std::vector<CutPoint> q = WithoutRepeats(figure.points);
    if (q.size() < 2) return figure;
    CutFigure out{{}, false};
    std::vector<CutPoint>& pts = out.points;
    CutPoint u = Direction(q[0], q[1]);
    if (lead && Distance(*lead, q[0]) > 1e-9) {
        const CutPoint in = Direction(*lead, q[0]);
        pts.push_back(Ahead(q[0], in, r));
        Swivel(pts, q[0], in, u, r);
    } else {
        pts.push_back(Ahead(q[0], u, r));
    }
    for (std::size_t i = 1; i < q.size(); ++i) {
        pts.push_back(Ahead(q[i], u, r));
        if (i + 1 == q.size()) break;
        const CutPoint v = Direction(q[i], q[i + 1]);
        Swivel(pts, q[i], u, v, r);
        u = v;
    }
    return out;
}

std::vector<CutFigure> PrepareCuts(std::vector<CutFigure> figures, const CutOptions& o) {
    if (o.WeedBorder > 0) {
        CutFigure border = WeedingBorder(figures, o.WeedBorder);
        if (!border.points.empty()) figures.push_back(std::move(border));
    }
    if (o.Optimise) figures = OrderFigures(std::move(figures));
    for (CutFigure& f : figures) {
        std::optional<CutPoint> lead;
        if (f.closed && f.points.size() >= 3) lead = f.points[f.points.size() - 2];
        if (o.Overcut > 0 && f.closed) f = Overcut(f, o.Overcut);
        if (o.BladeOffset > 0) f = BladeOffsetPath(f, o.BladeOffset, lead);
    }
    return figures;
}

}  // namespace drv
