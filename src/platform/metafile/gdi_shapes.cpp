// The drawing operations: logical geometry to device-space figures. In the
// compatible graphics mode boxes are laid out in device pixels with their
// right and bottom edges left out and arcs turn in device space; in the
// advanced mode the shape is built in logical units (edges included) and
// transformed as a whole, so rotation and shear apply to it.
#include "platform/metafile/gdi_device.h"

#include <cmath>
#include <numbers>

namespace corvan::emf {
namespace {

double Degrees(double radians) {
    return radians * 180 / std::numbers::pi;
}

// The angle of the ellipse parameter at which the ray from the centre
// through `p` meets the ellipse, counter-clockwise as seen with y down.
double RayAngle(const QRectF& box, QPointF p) {
    const QPointF c = box.center();
    const double a = box.width() / 2, b = box.height() / 2;
    return Degrees(std::atan2(-(p.y() - c.y()) / b, (p.x() - c.x()) / a));
}

QPointF EllipsePoint(const QRectF& box, double degrees) {
    const double t = degrees * std::numbers::pi / 180;
    return QPointF(box.center().x() + box.width() / 2 * std::cos(t),
                   box.center().y() - box.height() / 2 * std::sin(t));
}

}  // namespace

GdiPath GdiDevice::DevicePoly(std::span<const QPointF> pts, bool closed) const {
    const QTransform t = DeviceTransform();
    GdiPath path;
    path.points.reserve(pts.size());
    path.types.reserve(pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i)
        path.Add(SnapToPixel(t, pts[i]), i == 0 ? kPtMoveTo : kPtLineTo);
    if (closed) path.CloseFigure();
    return path;
}

GdiPath GdiDevice::DeviceBeziers(QPointF first, std::span<const QPointF> controls) const {
    const QTransform t = DeviceTransform();
    GdiPath path;
    path.Add(SnapToPixel(t, first), kPtMoveTo);
    for (std::size_t i = 0; i + 3 <= controls.size(); i += 3)
        for (std::size_t k = 0; k < 3; ++k) path.Add(SnapToPixel(t, controls[i + k]), kPtBezierTo);
    return path;
}

QRectF GdiDevice::DeviceBox(const QRectF& box) const {
    QRectF r = QRectF(ToDevice(box.topLeft()), ToDevice(box.bottomRight())).normalized();
    const QRectF other = QRectF(ToDevice(box.topRight()), ToDevice(box.bottomLeft())).normalized();
    r = r.united(other);
    r.setRight(r.right() - 1);
    r.setBottom(r.bottom() - 1);
    return r;
}

void GdiDevice::MoveTo(QPointF p) {
    state_.position = p;
    state_.pathNewFigure = true;
}

void GdiDevice::LineTo(QPointF p) {
    const QPointF pts[2] = {state_.position, p};
    state_.position = p;
    Emit(DevicePoly(pts, false), false, true);
}

void GdiDevice::Polyline(std::span<const QPointF> pts) {
    if (pts.size() < 2) return;
    Emit(DevicePoly(pts, false), false);
    state_.pathNewFigure = true;
}

void GdiDevice::PolylineTo(std::span<const QPointF> pts) {
    if (pts.empty()) return;
    GdiPath path = DevicePoly(pts, false);
    path.types.front() = kPtLineTo;
    path.points.insert(path.points.begin(), ToDevice(state_.position));
    path.types.insert(path.types.begin(), kPtMoveTo);
    state_.position = pts.back();
    Emit(path, false, true);
}

void GdiDevice::PolyBezier(std::span<const QPointF> pts) {
    if (pts.size() < 4) return;
    Emit(DeviceBeziers(pts.front(), pts.subspan(1)), false);
    state_.pathNewFigure = true;
}

void GdiDevice::PolyBezierTo(std::span<const QPointF> pts) {
    if (pts.size() < 3) return;
    Emit(DeviceBeziers(state_.position, pts), false, true);
    state_.position = pts[pts.size() / 3 * 3 - 1];
}

void GdiDevice::Polygon(std::span<const QPointF> pts) {
    if (pts.size() < 2) return;
    Emit(DevicePoly(pts, true), true);
}

void GdiDevice::PolyPolygon(std::span<const QPointF> pts, std::span<const std::uint32_t> counts) {
    GdiPath all;
    std::size_t at = 0;
    for (std::uint32_t n : counts) {
        if (n > pts.size() - at) break;
        if (n >= 2) {
            GdiPath one = DevicePoly(pts.subspan(at, n), true);
            all.points.insert(all.points.end(), one.points.begin(), one.points.end());
            all.types.insert(all.types.end(), one.types.begin(), one.types.end());
        }
        at += n;
    }
    Emit(all, true);
}

void GdiDevice::PolyPolyline(std::span<const QPointF> pts, std::span<const std::uint32_t> counts) {
    std::size_t at = 0;
    for (std::uint32_t n : counts) {
        if (n > pts.size() - at) break;
        Polyline(pts.subspan(at, n));
        at += n;
    }
}

void GdiDevice::PolyDraw(std::span<const QPointF> pts, std::span<const std::uint8_t> types) {
    const QTransform t = DeviceTransform();
    GdiPath path;
    path.Add(SnapToPixel(t, state_.position), kPtMoveTo);
    QPointF last = state_.position;
    for (std::size_t i = 0; i < pts.size() && i < types.size(); ++i) {
        const std::uint8_t type = types[i] & ~kPtCloseFigure;
        if (type == kPtBezierTo) {
            // A curve needs three points in a row, else GDI draws nothing at all.
            if (i + 2 >= pts.size() || (types[i + 1] & ~kPtCloseFigure) != kPtBezierTo ||
                (types[i + 2] & ~kPtCloseFigure) != kPtBezierTo)
                return;
            for (int k = 0; k < 3; ++k) path.Add(SnapToPixel(t, pts[i + k]), kPtBezierTo);
            i += 2;
        } else if (type == kPtMoveTo || type == kPtLineTo) {
            path.Add(SnapToPixel(t, pts[i]), type);
        } else {
            return;
        }
        last = pts[i];
        if (types[i] & kPtCloseFigure) path.CloseFigure();
    }
    state_.position = last;
    Emit(path, false, true);
}

// An inside-frame pen keeps a wide outline within the shape's box.
QRectF GdiDevice::InsideFrame(const QRectF& box) const {
    const LogPen& pen = state_.pen;
    if (pen.Style() != kPsInsideFrame || pen.width <= 1) return box;
    const double half = pen.width / 2.0;
    const QRectF r = box.normalized();
    if (r.width() <= 2 * half || r.height() <= 2 * half) return QRectF(r.center(), r.center());
    return r.adjusted(half, half, -half, -half);
}

GdiPath GdiDevice::BoxShape(const QRectF& outer, BoxKind kind, QSizeF corner) const {
    const bool compatible = state_.graphicsMode != kAdvanced;
    const QRectF box = InsideFrame(outer);
    QRectF r = compatible ? DeviceBox(box) : box.normalized();
    if (kind == BoxKind::kRectangle) {
        // Four corners, counter-clockwise from the top right, as GDI lists them.
        const QPointF pts[4] = {r.topRight(), r.topLeft(), r.bottomLeft(), r.bottomRight()};
        if (!compatible) return DevicePoly(pts, true);
        GdiPath path;
        for (int i = 0; i < 4; ++i) path.Add(pts[i], i == 0 ? kPtMoveTo : kPtLineTo);
        path.CloseFigure();
        return path;
    }
    QPainterPath shape;
    if (kind == BoxKind::kEllipse) {
        shape.addEllipse(r);
    } else {
        if (compatible) {
            const QTransform t = DeviceTransform();
            corner = QSizeF(corner.width() * std::hypot(t.m11(), t.m12()),
                            corner.height() * std::hypot(t.m21(), t.m22()));
        }
        shape.addRoundedRect(r, std::fabs(corner.width()) / 2, std::fabs(corner.height()) / 2);
    }
    return ToGdiPath(compatible ? shape : DeviceTransform().map(shape), true);
}

void GdiDevice::Rectangle(const QRectF& box) {
    Emit(BoxShape(box, BoxKind::kRectangle, {}), true);
}
void GdiDevice::Ellipse(const QRectF& box) {
    Emit(BoxShape(box, BoxKind::kEllipse, {}), true);
}
void GdiDevice::RoundRect(const QRectF& box, QSizeF corner) {
    Emit(BoxShape(box, BoxKind::kRoundRect, corner), true);
}

GdiPath GdiDevice::ArcShape(const QRectF& outer, QPointF start, QPointF end, ArcKind kind,
                            QPointF* endPoint) const {
    const bool compatible = state_.graphicsMode != kAdvanced;
    const QRectF box = InsideFrame(outer);
    const QRectF r = compatible ? DeviceBox(box) : box.normalized();
    if (compatible) {
        start = ToDevice(start);
        end = ToDevice(end);
    }
    if (r.width() <= 0 || r.height() <= 0) return {};
    const double a0 = RayAngle(r, start);
    double sweep = RayAngle(r, end) - a0;
    if (state_.arcDirection == kClockwise) {
        while (sweep >= 0) sweep -= 360;
    } else {
        while (sweep <= 0) sweep += 360;
    }
    QPainterPath shape;
    if (kind == ArcKind::kArcTo) {
        shape.moveTo(compatible ? ToDevice(state_.position) : state_.position);
    } else {
        shape.arcMoveTo(r, a0);
    }
    shape.arcTo(r, a0, sweep);
    // GDI builds a pie as the arc, then the line to the centre and back.
    if (kind == ArcKind::kPie) shape.lineTo(r.center());
    if (kind == ArcKind::kPie || kind == ArcKind::kChord) shape.closeSubpath();
    if (endPoint) {
        const QPointF e = EllipsePoint(r, a0 + sweep);
        *endPoint = compatible ? DPtoLP(e) : e;
    }
    return ToGdiPath(compatible ? shape : DeviceTransform().map(shape),
                     kind == ArcKind::kPie || kind == ArcKind::kChord);
}

void GdiDevice::Arc(const QRectF& box, QPointF start, QPointF end) {
    Emit(ArcShape(box, start, end, ArcKind::kArc, nullptr), false);
    state_.pathNewFigure = true;
}

void GdiDevice::ArcTo(const QRectF& box, QPointF start, QPointF end) {
    QPointF last = state_.position;
    GdiPath path = ArcShape(box, start, end, ArcKind::kArcTo, &last);
    state_.position = last;
    Emit(path, false, true);
}

void GdiDevice::Chord(const QRectF& box, QPointF start, QPointF end) {
    Emit(ArcShape(box, start, end, ArcKind::kChord, nullptr), true);
}

void GdiDevice::Pie(const QRectF& box, QPointF start, QPointF end) {
    Emit(ArcShape(box, start, end, ArcKind::kPie, nullptr), true);
}

void GdiDevice::AngleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees) {
    if (!(radius >= 0) || !std::isfinite(startDegrees) || !std::isfinite(sweepDegrees)) return;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    sweepDegrees = std::clamp(sweepDegrees, -3600.0, 3600.0);
    QPainterPath shape;
    shape.moveTo(state_.position);
    shape.arcTo(box, startDegrees, sweepDegrees);
    state_.position = EllipsePoint(box, startDegrees + sweepDegrees);
    Emit(ToGdiPath(DeviceTransform().map(shape), false), false, true);
}

}  // namespace corvan::emf
