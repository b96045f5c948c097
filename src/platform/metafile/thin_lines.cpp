#include "platform/metafile/thin_lines.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace corvan::emf {

namespace {

struct Plotter {
    QImage& image;
    QPoint offset;  // painter translation: canvas point + offset = image pixel
    const QRegion* clip;
    QRect clipBox;
    QRgb colour;

    void Plot(int x, int y) const {
        const int ix = x + offset.x(), iy = y + offset.y();
        if (ix < 0 || iy < 0 || ix >= image.width() || iy >= image.height()) return;
        if (clip && (!clipBox.contains(x, y) || !clip->contains(QPoint(x, y)))) return;
        reinterpret_cast<QRgb*>(image.scanLine(iy))[ix] = colour;
    }
};

// Far beyond any canvas; keeps the integer arithmetic in range.
constexpr double kCoordLimit = 1 << 28;

int RoundHalfUp(double v) { return static_cast<int>(std::floor(std::clamp(v, -kCoordLimit, kCoordLimit) + 0.5)); }

// The pixels of the line from a to b, b itself left out: along the major
// axis one pixel per step, the minor coordinate rounded from the exact
// slope. Each pixel follows from the end points alone (no clipped start
// point, no running error), so only the steps inside `reach` are taken and
// every part of the line lands on the same pixels whatever the image shows.
void Line(const Plotter& plot, QPoint a, QPoint b, const QRect& reach) {
    const bool xMajor = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
    const auto major = [&](QPoint p) { return std::int64_t(xMajor ? p.x() : p.y()); };
    const auto minor = [&](QPoint p) { return std::int64_t(xMajor ? p.y() : p.x()); };
    const std::int64_t steps = std::abs(major(b) - major(a)), rise = std::abs(minor(b) - minor(a));
    if (steps == 0) return;
    const int sMajor = major(b) > major(a) ? 1 : -1, sMinor = minor(b) > minor(a) ? 1 : -1;
    const std::int64_t lo = xMajor ? reach.left() : reach.top(), hi = xMajor ? reach.right() : reach.bottom();
    std::int64_t first = sMajor > 0 ? lo - major(a) : major(a) - hi;
    std::int64_t last = sMajor > 0 ? hi - major(a) : major(a) - lo;
    first = std::max<std::int64_t>(first, 0);
    last = std::min(last, steps - 1);
    for (std::int64_t n = first; n <= last; ++n) {
        const std::int64_t m = major(a) + sMajor * n;
        const std::int64_t k = minor(a) + sMinor * ((2 * n * rise + steps) / (2 * steps));
        if (xMajor) plot.Plot(int(m), int(k));
        else plot.Plot(int(k), int(m));
    }
}

}  // namespace

void DrawThinLines(QPainter& painter, const QPainterPath& path, QRgb colour) {
    auto* image = dynamic_cast<QImage*>(painter.device());
    if (!image) return;
    const QTransform t = painter.transform();
    const QPoint offset(RoundHalfUp(t.dx()), RoundHalfUp(t.dy()));
    const QRegion clip = painter.hasClipping() ? painter.clipRegion() : QRegion();
    const Plotter plot{*image, offset, painter.hasClipping() ? &clip : nullptr, clip.boundingRect(),
                       0xFF000000u | colour};
    // The canvas area the image covers, one pixel more around it.
    const QRect reach = image->rect().translated(-offset).adjusted(-1, -1, 1, 1);
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        for (int i = 1; i < poly.size(); ++i) {
            const QPoint a(RoundHalfUp(poly[i - 1].x()), RoundHalfUp(poly[i - 1].y()));
            const QPoint b(RoundHalfUp(poly[i].x()), RoundHalfUp(poly[i].y()));
            Line(plot, a, b, reach);
        }
    }
}

}  // namespace corvan::emf
