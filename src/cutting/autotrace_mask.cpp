// The trace mask and the boundary walk.
#include "cutting/autotrace.h"

#include <algorithm>
#include <array>

namespace corvan {

namespace {

// Eight neighbours, east first, then clockwise (y grows downwards).
constexpr std::array<QPoint, 8> kDirections{QPoint(1, 0), QPoint(1, 1),   QPoint(0, 1),  QPoint(-1, 1),
                                            QPoint(-1, 0), QPoint(-1, -1), QPoint(0, -1), QPoint(1, -1)};
constexpr int kMaxSteps = 10000;

bool IsForeground(const std::uint8_t* bgr, Colour c, long t2, bool reversed) {
    const long db = long(bgr[0]) - BlueOf(c), dg = long(bgr[1]) - GreenOf(c), dr = long(bgr[2]) - RedOf(c);
    const long d2 = dr * dr + dg * dg + db * db;
    return reversed ? d2 > t2 : d2 <= t2;
}

int ForegroundNeighbours(const TraceMask& m, int x, int y) {
    int n = 0;
    for (const QPoint d : kDirections) n += m.At(x + d.x(), y + d.y()) == kMaskFore;
    return n;
}

// In place, so a pixel cleared early no longer props up its neighbours.
void RemoveSpecks(TraceMask& m) {
    for (int y = 1; y < m.height - 1; ++y)
        for (int x = 1; x < m.width - 1; ++x)
            if (m.At(x, y) == kMaskFore && ForegroundNeighbours(m, x, y) < 3) m.At(x, y) = kMaskBack;
}

void Grow(TraceMask& m) {
    TraceMask grown{m.width, m.height, std::vector<std::uint8_t>(m.values.size(), kMaskBack)};
    for (int y = 2; y < m.height - 2; ++y)
        for (int x = 2; x < m.width - 2; ++x) {
            const bool on = m.At(x, y) == kMaskFore || m.At(x - 1, y) == kMaskFore || m.At(x + 1, y) == kMaskFore ||
                            m.At(x, y - 1) == kMaskFore || m.At(x, y + 1) == kMaskFore;
            if (on) grown.At(x, y) = kMaskFore;
        }
    m = std::move(grown);
}

// One contour from its start pixel: the walk keeps the region on its
// right-hand side, marks every pixel it steps on and records a point at
// each change of direction.
std::vector<QPointF> WalkContour(TraceMask& m, QPoint start, long& steps) {
    std::vector<QPointF> line{start};
    QPoint p = start;
    int dir = 2;
    steps = 0;
    bool closed = false;
    while (steps < kMaxSteps) {
        int next = -1;
        for (int k = -2; k <= 7 && next < 0; ++k) {
            const int d = (dir + k + 8) % 8;
            const QPoint q = p + kDirections[static_cast<std::size_t>(d)];
            if (q.x() >= 0 && q.y() >= 0 && q.x() < m.width && q.y() < m.height && m.At(q.x(), q.y()) != kMaskBack)
                next = d;
        }
        if (next < 0) break;  // a lone pixel: nowhere to go
        if (next != dir) {
            const QPoint d = kDirections[static_cast<std::size_t>(dir)];
            line.emplace_back(p.x() - d.x() / 2.0, p.y() - d.y() / 2.0);
        }
        p += kDirections[static_cast<std::size_t>(next)];
        dir = next;
        ++steps;
        m.At(p.x(), p.y()) = kMaskBoundary;
        if (p == start) {
            closed = true;
            break;
        }
    }
    m.At(start.x(), start.y()) = kMaskStart;
    // A walk cut off at the step limit stays open.
    if (closed) line.push_back(start);
    return line;
}

// The next start pixel left of `from` in row y: foreground with background
// on its right; -1 when there is none.
int FindStart(const TraceMask& m, int from, int y) {
    for (int x = std::min(from, m.width - 2); x > 0; --x)
        if (m.At(x, y) == kMaskFore && m.At(x + 1, y) == kMaskBack) return x;
    return -1;
}

}  // namespace

TraceMask MakeTraceMask(const Bitmap24& source, const AutotraceSettings& s) {
    TraceMask m{source.Width(), source.Height(), {}};
    m.values.assign(static_cast<std::size_t>(m.width) * static_cast<std::size_t>(m.height), kMaskBack);
    const long t2 = long(s.tolerance) * s.tolerance;
    for (int y = 1; y < m.height - 1; ++y) {
        const std::uint8_t* row = source.Row(y);
        for (int x = 1; x < m.width - 1; ++x)
            if (IsForeground(row + 3 * x, s.traceColour, t2, s.reversed)) m.At(x, y) = kMaskFore;
    }
    RemoveSpecks(m);
    for (int i = 0; i < s.offset; ++i) Grow(m);
    return m;
}

Outcome<TracedContours> TraceContours(TraceMask& m, AutotraceProgress* progress) {
    TracedContours out;
    out.width = m.width;
    out.height = m.height;
    for (int y = 4; y <= m.height - 1; y += 4) {
        if (progress && !progress->Step(50 * y / m.height)) return Failure{"Cancelled"};
        for (int x = m.width - 1;;) {
            const int start = FindStart(m, x, y);
            if (start <= 0) break;
            long steps = 0;
            out.polylines.push_back(WalkContour(m, {start, y}, steps));
            out.totalPoints += steps;
            out.maxPoints = std::max(out.maxPoints, steps);
            if (start == 1) break;
            x = start;
        }
    }
    return out;
}

}  // namespace corvan
