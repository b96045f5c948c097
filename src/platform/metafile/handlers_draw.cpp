// Records that draw lines, curves and shapes.
#include "platform/metafile/record_handlers.h"

#include <cstring>

namespace corvan::emf {
namespace {

// Every point record starts with its bounds, which playback does not need.
template <void (GdiDevice::*kDraw)(std::span<const QPointF>), bool kSmall>
void Poly(PlayContext& c, ByteReader& r) {
    r.Skip(16);
    const std::uint32_t n = r.U32();
    const std::vector<QPointF> pts = ReadPoints(r, n, kSmall);
    if (r.Ok()) (c.dc.*kDraw)(pts);
}

template <void (GdiDevice::*kDraw)(std::span<const QPointF>, std::span<const std::uint32_t>),
          bool kSmall>
void PolyPoly(PlayContext& c, ByteReader& r) {
    r.Skip(16);
    const std::uint32_t polys = r.U32();
    const std::uint32_t total = r.U32();
    std::vector<std::uint32_t> counts;
    if (std::uint64_t{polys} * 4 > r.Remaining()) return;
    counts.reserve(polys);
    for (std::uint32_t i = 0; i < polys; ++i) counts.push_back(r.U32());
    const std::vector<QPointF> pts = ReadPoints(r, total, kSmall);
    if (r.Ok()) (c.dc.*kDraw)(pts, counts);
}

template <bool kSmall>
void PolyDraw(PlayContext& c, ByteReader& r) {
    r.Skip(16);
    const std::uint32_t n = r.U32();
    const std::vector<QPointF> pts = ReadPoints(r, n, kSmall);
    const auto types = r.Bytes(n);
    if (r.Ok()) c.dc.PolyDraw(pts, types);
}

template <void (GdiDevice::*kDraw)(const QRectF&)>
void Box(PlayContext& c, ByteReader& r) {
    const QRectF box = ReadBox(r);
    if (r.Ok()) (c.dc.*kDraw)(box);
}

void RoundRect(PlayContext& c, ByteReader& r) {
    const QRectF box = ReadBox(r);
    const double w = r.I32();
    const QSizeF corner(w, r.I32());
    if (r.Ok()) c.dc.RoundRect(box, corner);
}

template <void (GdiDevice::*kDraw)(const QRectF&, QPointF, QPointF)>
void ArcRecord(PlayContext& c, ByteReader& r) {
    const QRectF box = ReadBox(r);
    const QPointF start = ReadPointL(r);
    const QPointF end = ReadPointL(r);
    if (r.Ok()) (c.dc.*kDraw)(box, start, end);
}

void LineTo(PlayContext& c, ByteReader& r) {
    const QPointF p = ReadPointL(r);
    if (r.Ok()) c.dc.LineTo(p);
}

void AngleArc(PlayContext& c, ByteReader& r) {
    const QPointF centre = ReadPointL(r);
    const std::uint32_t radius = r.U32();
    const double start = r.F32();
    const double sweep = r.F32();
    if (r.Ok()) c.dc.AngleArc(centre, radius, start, sweep);
}

}  // namespace

std::vector<QPointF> ReadPoints(ByteReader& r, std::uint32_t count, bool small) {
    std::vector<QPointF> pts;
    if (std::uint64_t{count} * (small ? 4 : 8) > r.Remaining()) {
        r.Skip(r.Remaining() + 1);  // marks the reader failed
        return pts;
    }
    pts.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (small) {
            const double x = r.I16();
            pts.emplace_back(x, r.I16());
        } else {
            pts.push_back(ReadPointL(r));
        }
    }
    return pts;
}

void RegisterDrawHandlers(HandlerTable& t) {
    t[kPolyBezier] = &Poly<&GdiDevice::PolyBezier, false>;
    t[kPolygon] = &Poly<&GdiDevice::Polygon, false>;
    t[kPolyline] = &Poly<&GdiDevice::Polyline, false>;
    t[kPolyBezierTo] = &Poly<&GdiDevice::PolyBezierTo, false>;
    t[kPolylineTo] = &Poly<&GdiDevice::PolylineTo, false>;
    t[kPolyBezier16] = &Poly<&GdiDevice::PolyBezier, true>;
    t[kPolygon16] = &Poly<&GdiDevice::Polygon, true>;
    t[kPolyline16] = &Poly<&GdiDevice::Polyline, true>;
    t[kPolyBezierTo16] = &Poly<&GdiDevice::PolyBezierTo, true>;
    t[kPolylineTo16] = &Poly<&GdiDevice::PolylineTo, true>;
    t[kPolyPolyline] = &PolyPoly<&GdiDevice::PolyPolyline, false>;
    t[kPolyPolygon] = &PolyPoly<&GdiDevice::PolyPolygon, false>;
    t[kPolyPolyline16] = &PolyPoly<&GdiDevice::PolyPolyline, true>;
    t[kPolyPolygon16] = &PolyPoly<&GdiDevice::PolyPolygon, true>;
    t[kPolyDraw] = &PolyDraw<false>;
    t[kPolyDraw16] = &PolyDraw<true>;
    t[kRectangle] = &Box<&GdiDevice::Rectangle>;
    t[kEllipse] = &Box<&GdiDevice::Ellipse>;
    t[kRoundRect] = &RoundRect;
    t[kArc] = &ArcRecord<&GdiDevice::Arc>;
    t[kArcTo] = &ArcRecord<&GdiDevice::ArcTo>;
    t[kChord] = &ArcRecord<&GdiDevice::Chord>;
    t[kPie] = &ArcRecord<&GdiDevice::Pie>;
    t[kLineTo] = &LineTo;
    t[kAngleArc] = &AngleArc;
}

}  // namespace corvan::emf
