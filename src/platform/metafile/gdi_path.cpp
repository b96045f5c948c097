// The path bracket: figures collected in device space between BeginPath and
// EndPath, then filled, stroked, widened, flattened, read back or made the
// clip region.
#include "platform/metafile/gdi_device.h"

#include <QPainterPathStroker>

#include <cmath>

namespace corvan::emf {
namespace {

void FlattenCurve(QPointF p0, QPointF p1, QPointF p2, QPointF p3, int depth, GdiPath& out) {
    auto far = [&](QPointF c) {
        const QPointF d = p3 - p0;
        const double len = std::hypot(d.x(), d.y());
        if (len < 1e-9) return std::hypot(c.x() - p0.x(), c.y() - p0.y());
        return std::fabs((c.x() - p0.x()) * d.y() - (c.y() - p0.y()) * d.x()) / len;
    };
    if (depth >= 16 || std::max(far(p1), far(p2)) <= 0.25) {
        out.Add(p3, kPtLineTo);
        return;
    }
    const QPointF a = (p0 + p1) / 2, b = (p1 + p2) / 2, c = (p2 + p3) / 2;
    const QPointF ab = (a + b) / 2, bc = (b + c) / 2, mid = (ab + bc) / 2;
    FlattenCurve(p0, a, ab, mid, depth + 1, out);
    FlattenCurve(mid, bc, c, p3, depth + 1, out);
}

}  // namespace

GdiPath ToGdiPath(const QPainterPath& path, bool closed) {
    GdiPath out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
            case QPainterPath::MoveToElement:
                if (closed) out.CloseFigure();
                out.Add(e, kPtMoveTo);
                break;
            case QPainterPath::LineToElement:
                out.Add(e, kPtLineTo);
                break;
            default:
                out.Add(e, kPtBezierTo);
                break;
        }
    }
    if (closed) out.CloseFigure();
    return out;
}

QPainterPath ToPainterPath(const GdiPath& path) {
    QPainterPath out;
    const auto& p = path.points;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const std::uint8_t t = path.types[i] & ~kPtCloseFigure;
        if (t == kPtMoveTo || out.elementCount() == 0) {
            out.moveTo(p[i]);
        } else if (t == kPtBezierTo && i + 2 < p.size()) {
            out.cubicTo(p[i], p[i + 1], p[i + 2]);
            i += 2;
        } else {
            out.lineTo(p[i]);
        }
        if (path.types[i] & kPtCloseFigure) out.closeSubpath();
    }
    return out;
}

GdiPath Flattened(const GdiPath& path) {
    GdiPath out;
    const auto& p = path.points;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const std::uint8_t t = path.types[i] & ~kPtCloseFigure;
        if (t == kPtBezierTo && i + 2 < p.size() && !out.Empty()) {
            FlattenCurve(out.points.back(), p[i], p[i + 1], p[i + 2], 0, out);
            i += 2;
        } else {
            out.Add(p[i], t == kPtMoveTo || out.Empty() ? kPtMoveTo : kPtLineTo);
        }
        if (path.types[i] & kPtCloseFigure) out.CloseFigure();
    }
    return out;
}

void GdiDevice::AppendToPath(const GdiPath& device, bool continues) {
    GdiPath& path = state_.path;
    std::size_t first = 0;
    if (continues && !state_.pathNewFigure && !path.Empty() && device.types[0] == kPtMoveTo)
        first = 1;
    path.points.insert(path.points.end(), device.points.begin() + first, device.points.end());
    path.types.insert(path.types.end(), device.types.begin() + first, device.types.end());
    state_.pathNewFigure = !continues || (device.types.back() & kPtCloseFigure);
}

void GdiDevice::BeginPath() {
    state_.pathState = PathState::kOpen;
    state_.path = {};
    state_.pathNewFigure = true;
}

void GdiDevice::EndPath() {
    if (state_.pathState == PathState::kOpen) state_.pathState = PathState::kClosed;
}

void GdiDevice::AbortPath() {
    state_.pathState = PathState::kNone;
    state_.path = {};
}

void GdiDevice::CloseFigure() {
    if (state_.pathState != PathState::kOpen || state_.path.Empty()) return;
    state_.path.CloseFigure();
    state_.pathNewFigure = true;
}

bool GdiDevice::FlattenPath() {
    if (state_.pathState != PathState::kClosed) return false;
    state_.path = Flattened(state_.path);
    return true;
}

bool GdiDevice::WidenPath() {
    if (state_.pathState != PathState::kClosed) return false;
    StrokeStyle style = MakeStroke();
    if (style.ink.kind == FillStyle::kNone) return false;
    const QPainterPath outline = StrokeOutline(ToPainterPath(state_.path), style).simplified();
    state_.path = Flattened(ToGdiPath(outline, true));
    return true;
}

bool GdiDevice::UsePath(bool fill, bool stroke) {
    if (state_.pathState != PathState::kClosed) return false;
    Paint(state_.path, fill, stroke);
    AbortPath();
    return true;
}

bool GdiDevice::FillPath() {
    return UsePath(true, false);
}
bool GdiDevice::StrokePath() {
    return UsePath(false, true);
}
bool GdiDevice::StrokeAndFillPath() {
    return UsePath(true, true);
}

namespace {

QPoint WholePixel(QPointF p) {
    return QPoint(int(std::floor(p.x() + 0.5)), int(std::floor(p.y() + 0.5)));
}

// GDI keeps a path's points in whole device pixels and makes a clip region of
// it by the polygon scanline rules: each row's span starts at the pixel an
// edge crosses on the row's top and ends before the one where it leaves, so
// a sharp tip lying on a row still adds that row's pixels below it. All
// figures count together under the fill mode; they are joined into one
// outline through an anchor point, each link run both ways so it adds nothing.
QRegion PolygonRegion(const GdiPath& path, Qt::FillRule rule) {
    GdiPath whole = path;
    for (QPointF& p : whole.points) p = WholePixel(p);
    QPolygon joined;
    for (const QPolygonF& figure : ToPainterPath(whole).toSubpathPolygons()) {
        if (figure.isEmpty()) continue;
        const QPoint anchor = joined.isEmpty() ? WholePixel(figure.first()) : joined.first();
        for (const QPointF& p : figure) joined << WholePixel(p);
        joined << WholePixel(figure.first()) << anchor;
    }
    return joined.isEmpty() ? QRegion() : QRegion(joined, rule);
}

}  // namespace

bool GdiDevice::SelectClipPath(std::uint32_t mode) {
    if (state_.pathState != PathState::kClosed) return false;
    const Qt::FillRule rule = state_.polyFillMode == kWinding ? Qt::WindingFill : Qt::OddEvenFill;
    const QRegion region = PolygonRegion(state_.path, rule);
    AbortPath();
    SelectClipRegion(region, mode);
    return true;
}

std::vector<PathPoint> GdiDevice::GetPath() const {
    std::vector<PathPoint> out;
    if (state_.pathState != PathState::kClosed) return out;
    bool invertible = false;
    const QTransform inv = DeviceTransform().inverted(&invertible);
    out.reserve(state_.path.points.size());
    for (std::size_t i = 0; i < state_.path.points.size(); ++i) {
        const QPointF l = invertible ? inv.map(state_.path.points[i]) : state_.path.points[i];
        auto round = [](double v) {
            return static_cast<int>(std::lround(std::clamp(std::isfinite(v) ? v : 0, -2e9, 2e9)));
        };
        out.push_back({QPoint(round(l.x()), round(l.y())), state_.path.types[i]});
    }
    return out;
}

}  // namespace corvan::emf
